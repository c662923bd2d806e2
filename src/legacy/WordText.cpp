#include "legacy/WordText.h"

namespace quillet {
namespace {

constexpr char16_t kFieldBegin = 0x13;
constexpr char16_t kFieldEnd = 0x15;

constexpr char16_t kWindows1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

}  // namespace

// Equivalent to erasing the first field and searching again from the start,
// but linear: nothing before an erased field can hold a mark, so the search
// goes on where the field was.
void removeFieldCodes(std::u16string& text)
{
    std::u16string kept;
    size_t from = 0;
    for (;;) {
        const size_t begin = text.find(kFieldBegin, from);
        const size_t end = text.find(kFieldEnd, from);
        if (begin == std::u16string::npos || end == std::u16string::npos || begin > end)
            break;
        kept.append(text, from, begin - from);
        from = end + 1;
    }
    if (from == 0)
        return;
    kept.append(text, from, std::u16string::npos);
    text.swap(kept);
}

char16_t windows1252Character(uint8_t byte)
{
    if (byte >= 0x80 && byte <= 0x9F)
        return kWindows1252High[byte - 0x80];
    return byte;
}

}  // namespace quillet
