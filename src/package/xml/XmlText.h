#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace quillet {

// The bytes buffer[begin..end] (end inclusive; begin > end is empty) as UTF-8
// text. With decodeEntities the five predefined entities and character
// references are replaced; an "&" with no ";" anywhere after it stays as it
// is, and any other named entity makes the whole result empty.
std::string decodeXmlText(const char* buffer, size_t length, size_t begin, size_t end, bool decodeEntities);
// The same into out, reusing its storage.
void decodeXmlTextInto(const char* buffer, size_t length, size_t begin, size_t end, bool decodeEntities,
                       std::string& out);

// A code point as UTF-8; 0, surrogates and values above U+10FFFF give U+FFFD.
void appendUtf8CodePoint(uint32_t codePoint, std::string& out);

}  // namespace quillet
