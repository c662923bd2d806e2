#include "platform/Utf8.h"

namespace quillet {

char* putUtf8(char32_t cp, char* out)
{
    if ((cp >= 0xD800 && cp <= 0xDFFF) || cp > 0x10FFFF)
        cp = 0xFFFD;
    if (cp < 0x80) {
        *out++ = static_cast<char>(cp);
    } else if (cp < 0x800) {
        *out++ = static_cast<char>(0xC0 | (cp >> 6));
        *out++ = static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        *out++ = static_cast<char>(0xE0 | (cp >> 12));
        *out++ = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        *out++ = static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        *out++ = static_cast<char>(0xF0 | (cp >> 18));
        *out++ = static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        *out++ = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        *out++ = static_cast<char>(0x80 | (cp & 0x3F));
    }
    return out;
}

void appendUtf8(char32_t cp, std::string& out)
{
    char bytes[4];
    out.append(bytes, static_cast<size_t>(putUtf8(cp, bytes) - bytes));
}

std::string utf16ToUtf8(const char16_t* units, size_t count)
{
    std::string out(count * 3, '\0');
    char* end = out.data();
    for (size_t i = 0; i < count; ++i) {
        const char16_t u = units[i];
        if (isHighSurrogate(u) && i + 1 < count && isLowSurrogate(units[i + 1])) {
            end = putUtf8(combineSurrogates(u, units[i + 1]), end);
            ++i;
        } else {
            end = putUtf8(u, end);  // a lone surrogate becomes U+FFFD there
        }
    }
    out.resize(static_cast<size_t>(end - out.data()));
    return out;
}

}  // namespace quillet
