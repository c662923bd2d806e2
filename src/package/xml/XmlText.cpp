#include "package/xml/XmlText.h"

#include "platform/Utf8.h"

#include <cstdint>
#include <cstring>

namespace quillet {
namespace {

constexpr uint32_t kReplacement = 0xFFFD;
constexpr uint32_t kLargestCodePoint = 0x10FFFF;

struct NamedEntity {
    const char* text;  // after "&", with its ";"
    size_t length;
    char value;
};

constexpr NamedEntity kEntities[] = {
    {"amp;", 4, '&'}, {"lt;", 3, '<'}, {"gt;", 3, '>'}, {"quot;", 5, '"'}, {"apos;", 5, '\''},
};

int digitValue(char c, int base)
{
    int value = -1;
    if (c >= '0' && c <= '9')
        value = c - '0';
    else if (base == 16 && c >= 'a' && c <= 'f')
        value = c - 'a' + 10;
    else if (base == 16 && c >= 'A' && c <= 'F')
        value = c - 'A' + 10;
    return value;
}

// The leading digits of [from, to); values beyond the last code point stick
// just above it, so that no digit string overflows.
uint32_t referenceValue(const char* from, const char* to, int base)
{
    uint32_t value = 0;
    for (; from < to; ++from) {
        const int digit = digitValue(*from, base);
        if (digit < 0)
            break;
        value = value * static_cast<uint32_t>(base) + static_cast<uint32_t>(digit);
        if (value > kLargestCodePoint)
            value = kLargestCodePoint + 1;
    }
    return value;
}

}  // namespace

void appendUtf8CodePoint(uint32_t codePoint, std::string& out)
{
    appendUtf8(codePoint == 0 ? kReplacement : codePoint, out);
}

void decodeXmlTextInto(const char* buffer, size_t length, size_t begin, size_t end, bool decodeEntities,
                       std::string& out)
{
    if (begin > end || begin >= length) {
        out.clear();
        return;
    }
    if (end >= length)
        end = length - 1;
    const char* from = buffer + begin;
    const char* const stop = buffer + end + 1;
    const size_t size = static_cast<size_t>(stop - from);
    // Most runs and values are short and hold no "&".
    const char* amp = nullptr;
    if (decodeEntities) {
        if (size <= 32) {
            for (const char* at = from; at < stop; ++at) {
                if (*at == '&') {
                    amp = at;
                    break;
                }
            }
        } else {
            amp = static_cast<const char*>(std::memchr(from, '&', size));
        }
    }
    if (amp == nullptr) {
        // Cheaper than assign, which must allow for overlapping bytes.
        out.clear();
        out.append(from, size);
        return;
    }
    out.clear();
    out.reserve(size);
    while (amp != nullptr) {
        out.append(from, amp);
        const char* after = amp + 1;
        const size_t rest = static_cast<size_t>(stop - after);
        bool named = false;
        for (const NamedEntity& entity : kEntities) {
            if (rest >= entity.length && std::memcmp(after, entity.text, entity.length) == 0) {
                out += entity.value;
                from = after + entity.length;
                named = true;
                break;
            }
        }
        if (!named) {
            const char* semicolon = static_cast<const char*>(std::memchr(after, ';', rest));
            if (semicolon == nullptr || *after != '#') {
                // An entity declared in a document type is never expanded:
                // it stays as written, and so does the text around it.
                out += '&';
                from = after;
            } else {
                const bool hex = after + 1 < semicolon && after[1] == 'x';
                const char* digits = after + (hex ? 2 : 1);
                appendUtf8CodePoint(referenceValue(digits, semicolon, hex ? 16 : 10), out);
                from = semicolon + 1;
            }
        }
        amp = static_cast<const char*>(std::memchr(from, '&', static_cast<size_t>(stop - from)));
    }
    out.append(from, stop);
}

std::string decodeXmlText(const char* buffer, size_t length, size_t begin, size_t end, bool decodeEntities)
{
    std::string out;
    decodeXmlTextInto(buffer, length, begin, end, decodeEntities, out);
    return out;
}

}  // namespace quillet
