#pragma once

#include <cstddef>
#include <string>

namespace quillet {

inline bool isHighSurrogate(char16_t u) { return u >= 0xD800 && u <= 0xDBFF; }
inline bool isLowSurrogate(char16_t u) { return u >= 0xDC00 && u <= 0xDFFF; }

// A code point as UTF-8; surrogates and values above U+10FFFF give U+FFFD.
void appendUtf8(char32_t codePoint, std::string& out);

// UTF-16 as UTF-8, pairs combined; an unpaired surrogate becomes U+FFFD.
std::string utf16ToUtf8(const char16_t* units, size_t count);

}  // namespace quillet
