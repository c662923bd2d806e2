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

char16_t* putUtf16(char32_t cp, char16_t* out)
{
    if (cp > 0x10FFFF)
        cp = 0xFFFD;
    if (cp >= 0x10000) {
        cp -= 0x10000;
        *out++ = static_cast<char16_t>(0xD800 + (cp >> 10));
        *out++ = static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
    } else {
        *out++ = static_cast<char16_t>(cp);
    }
    return out;
}

void appendUtf16(char32_t cp, std::u16string& out)
{
    char16_t units[2];
    out.append(units, static_cast<size_t>(putUtf16(cp, units) - units));
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

void appendUtf8AsUtf16(std::string_view utf8, std::u16string& out)
{
    for (size_t i = 0; i < utf8.size();) {
        const unsigned char lead = static_cast<unsigned char>(utf8[i]);
        if (lead < 0x80) {
            out += char16_t(lead);
            ++i;
            continue;
        }
        const size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 0;
        char32_t cp = length == 4 ? lead & 0x07 : length == 3 ? lead & 0x0F : lead & 0x1F;
        size_t k = 1;
        for (; length > 0 && k < length && i + k < utf8.size(); ++k) {
            const unsigned char c = static_cast<unsigned char>(utf8[i + k]);
            if ((c & 0xC0) != 0x80)
                break;
            cp = (cp << 6) | (c & 0x3F);
        }
        if (length == 0 || k < length || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
            out += char16_t(0xFFFD);
            i += length == 0 ? 1 : k;
            continue;
        }
        appendUtf16(cp, out);
        i += length;
    }
}

}  // namespace quillet
