#include "legacy/word/WordText.h"

#include <emmintrin.h>

namespace quillet {
namespace {

constexpr char16_t kFieldBegin = 0x13;
constexpr char16_t kFieldSeparator = 0x14;
constexpr char16_t kFieldEnd = 0x15;

// The first field mark; eight units at a time, as fields are rare.
const char16_t* findMark(const char16_t* p, const char16_t* end)
{
    // A unit is a mark when it lies 0 to 2 above the begin mark: saturating
    // the distance down by 2 leaves 0 only for those.
    const __m128i first = _mm_set1_epi16(static_cast<short>(kFieldBegin)), span = _mm_set1_epi16(2);
    const __m128i zero = _mm_setzero_si128();
    for (; end - p >= 8; p += 8) {
        const __m128i units = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const __m128i beyond = _mm_subs_epu16(_mm_sub_epi16(units, first), span);
        const int hits = _mm_movemask_epi8(_mm_cmpeq_epi16(beyond, zero));
        if (hits != 0)
            return p + __builtin_ctz(static_cast<unsigned>(hits)) / 2;
    }
    while (p < end && (*p < kFieldBegin || *p > kFieldEnd))
        ++p;
    return p;
}

}  // namespace

void FieldCodeFilter::feed(const char16_t* units, size_t count, std::u16string& out)
{
    const char16_t* const end = units + count;
    for (const char16_t* p = units; p < end;) {
        const char16_t* mark = findMark(p, end);
        (hiding_ == 0 ? out : held_).append(p, mark);
        if (mark == end)
            return;
        if (*mark == kFieldBegin)
            openField();
        else if (*mark == kFieldSeparator)
            separateField();
        else
            closeField();
        p = mark + 1;
    }
}

void FieldCodeFilter::openField()
{
    if (hiding_++ == 0)
        held_.clear();
    inCode_.push_back(true);
}

// A separator or an end outside any field is a stray mark, dropped.
void FieldCodeFilter::separateField()
{
    if (inCode_.empty() || !inCode_.back())
        return;
    inCode_.back() = false;
    --hiding_;
}

void FieldCodeFilter::closeField()
{
    if (inCode_.empty())
        return;
    if (inCode_.back())
        --hiding_;
    inCode_.pop_back();
}

void FieldCodeFilter::finish(std::u16string& out)
{
    if (hiding_ > 0)
        out += held_;
    held_.clear();
    inCode_.clear();
    hiding_ = 0;
}

}  // namespace quillet
