#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace quillet {

inline bool isHighSurrogate(char16_t u)
{
    return u >= 0xD800 && u <= 0xDBFF;
}
inline bool isLowSurrogate(char16_t u)
{
    return u >= 0xDC00 && u <= 0xDFFF;
}

inline char32_t combineSurrogates(char16_t high, char16_t low)
{
    return 0x10000 + ((char32_t(high) - 0xD800) << 10) + (char32_t(low) - 0xDC00);
}

// Writes a code point as UTF-8 (at most 4 bytes) and returns the end;
// surrogates and values above U+10FFFF give U+FFFD.
char* putUtf8(char32_t codePoint, char* out);

// A code point as UTF-8, appended by the same rule.
void appendUtf8(char32_t codePoint, std::string& out);

// Writes a code point as UTF-16 (one unit, or a pair above U+FFFF) and returns
// the end; values above U+10FFFF give U+FFFD, surrogates stay as they are.
char16_t* putUtf16(char32_t codePoint, char16_t* out);

// A code point as UTF-16, appended by the same rule.
void appendUtf16(char32_t codePoint, std::u16string& out);

// UTF-16 as UTF-8, pairs combined; an unpaired surrogate becomes U+FFFD.
std::string utf16ToUtf8(const char16_t* units, size_t count);

// UTF-8 appended as UTF-16; a malformed byte becomes U+FFFD.
void appendUtf8AsUtf16(std::string_view utf8, std::u16string& out);

}  // namespace quillet
