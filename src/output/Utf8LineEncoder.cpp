#include "output/Utf8LineEncoder.h"

#include "platform/Utf8.h"

#include <emmintrin.h>

namespace quillet {

char* Utf8LineEncoder::encode(const char16_t* units, size_t count, char* out)
{
    size_t i = 0;
    while (i < count) {
        // Eight units at a time while they are ASCII other than a line feed,
        // the common case; the first other unit goes the long way.
        if (high_ == 0 && i + 8 <= count) {
            const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(units + i));
            const __m128i wide = _mm_and_si128(block, _mm_set1_epi16(static_cast<short>(0xFF80)));
            const __m128i special =
                _mm_or_si128(_mm_cmpeq_epi16(block, _mm_set1_epi16(0x0A)),
                             _mm_xor_si128(_mm_cmpeq_epi16(wide, _mm_setzero_si128()), _mm_set1_epi16(-1)));
            const unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(special));
            // The output has room for three bytes a unit, so all eight may be stored.
            _mm_storel_epi64(reinterpret_cast<__m128i*>(out), _mm_packus_epi16(block, block));
            const size_t plain = mask == 0 ? 8 : static_cast<size_t>(__builtin_ctz(mask)) / 2;
            out += plain;
            i += plain;
            if (plain > 0)
                lineOpen_ = true;
            if (plain == 8)
                continue;
        }
        out = put(units[i], out);
        ++i;
    }
    return out;
}

char* Utf8LineEncoder::finish(char* out)
{
    if (high_ != 0) {
        high_ = 0;
        unpaired_ = true;
        out = putUtf8(0xFFFD, out);
    }
    if (lineOpen_) {
        lineOpen_ = false;
        *out++ = '\r';
        *out++ = '\n';
    }
    return out;
}

char* Utf8LineEncoder::put(char16_t unit, char* out)
{
    if (high_ != 0) {
        const char16_t high = high_;
        high_ = 0;
        if (isLowSurrogate(unit))
            return putUtf8(combineSurrogates(high, unit), out);
        unpaired_ = true;
        out = putUtf8(0xFFFD, out);
    }
    if (unit == 0x0A) {
        lineOpen_ = false;
        *out++ = '\r';
        *out++ = '\n';
        return out;
    }
    lineOpen_ = true;
    if (unit < 0x80) {
        *out++ = static_cast<char>(unit);
        return out;
    }
    if (isHighSurrogate(unit)) {
        high_ = unit;
        return out;
    }
    if (isLowSurrogate(unit))
        unpaired_ = true;
    return putUtf8(unit, out);
}

}  // namespace quillet
