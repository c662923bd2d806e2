#include "legacy/word/WordText.h"

#include <emmintrin.h>

namespace quillet {
namespace {

constexpr char16_t kFieldBegin = 0x13;
constexpr char16_t kFieldEnd = 0x15;

// The first unit that is a or b; eight units at a time, as fields are rare.
const char16_t* findMark(const char16_t* p, const char16_t* end, char16_t a, char16_t b)
{
    const __m128i first = _mm_set1_epi16(static_cast<short>(a)), second = _mm_set1_epi16(static_cast<short>(b));
    for (; end - p >= 8; p += 8) {
        const __m128i units = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const int hits = _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi16(units, first), _mm_cmpeq_epi16(units, second)));
        if (hits != 0)
            return p + __builtin_ctz(static_cast<unsigned>(hits)) / 2;
    }
    while (p < end && *p != a && *p != b)
        ++p;
    return p;
}

}  // namespace

// Equivalent to erasing the first field and searching again from the start:
// nothing before an erased field can hold a mark, so the search goes on
// where the field was. An end mark before any begin mark, or a begin mark
// with no end after it, stops the removal for the rest of the text.
void FieldCodeFilter::feed(const char16_t* units, size_t count, std::u16string& out)
{
    const char16_t* const end = units + count;
    const char16_t* p = units;
    while (p < end) {
        switch (state_) {
        case State::Verbatim:
            out.append(p, end);
            return;
        case State::Outside: {
            const char16_t* mark = findMark(p, end, kFieldBegin, kFieldEnd);
            out.append(p, mark);
            if (mark == end)
                return;
            if (*mark == kFieldEnd) {
                state_ = State::Verbatim;
                p = mark;
            } else {
                state_ = State::InField;
                held_.assign(1, kFieldBegin);
                p = mark + 1;
            }
            break;
        }
        case State::InField: {
            const char16_t* mark = findMark(p, end, kFieldEnd, kFieldEnd);
            if (mark == end) {
                held_.append(p, end);
                return;
            }
            held_.clear();
            state_ = State::Outside;
            p = mark + 1;
            break;
        }
        }
    }
}

void FieldCodeFilter::finish(std::u16string& out)
{
    if (state_ == State::InField)
        out += held_;
    held_.clear();
    state_ = State::Outside;
}

void removeFieldCodes(std::u16string& text)
{
    std::u16string kept;
    FieldCodeFilter filter;
    filter.feed(text.data(), text.size(), kept);
    filter.finish(kept);
    text.swap(kept);
}

}  // namespace quillet
