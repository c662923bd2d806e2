#pragma once

#include "platform/CodePage.h"

#include <cstdint>
#include <string>

namespace quillet {

// Removes every field (begin mark U+0013 through end mark U+0015, with its
// code and its result) from the text, as long as the first field end follows
// the first field begin. Text behind a field stays.
void removeFieldCodes(std::u16string& text);

// The same over text that arrives in parts: feed each part in order, then
// finish. Only a field whose end has not shown yet is held back.
class FieldCodeFilter {
public:
    void feed(const char16_t* units, size_t count, std::u16string& out);
    // A field begun and never ended is kept, with all that follows it.
    void finish(std::u16string& out);

private:
    enum class State { Outside, InField, Verbatim };
    State state_ = State::Outside;
    std::u16string held_;  // from an open field's begin mark on
};

// The character of an 8-bit piece byte.
using platform::windows1252Character;

}  // namespace quillet
