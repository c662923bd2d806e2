#pragma once

#include <cstdint>
#include <string>

namespace quillet {

// Removes every field (begin mark U+0013 through end mark U+0015, with its
// code and its result) from the text, as long as the first field end follows
// the first field begin. Text behind a field stays.
void removeFieldCodes(std::u16string& text);

// The character of an 8-bit piece byte: Windows-1252, whose 0x80-0x9F hold
// quotes, dashes and the euro sign; the five bytes it leaves undefined, and
// all others, keep their value.
char16_t windows1252Character(uint8_t byte);

}  // namespace quillet
