#include "legacy/ExcelNumberFormat.h"

#include <cfloat>
#include <cmath>
#include <cstdio>

namespace quillet {

std::u16string formatCellNumber(double value)
{
    if (std::isnan(value))
        return u"nan";
    if (std::isinf(value))
        return value < 0 ? u"-inf" : u"inf";
    // The largest double prints 309 digits before the point.
    char text[400];
    int length;
    const bool inRange = value >= -9223372036854775808.0 && value < 9223372036854775808.0;
    const long long whole = inRange ? static_cast<long long>(value) : 0;
    if (inRange && std::fabs(value - static_cast<double>(whole)) <= DBL_EPSILON)
        length = std::snprintf(text, sizeof text, "%lld", whole);
    else
        length = std::snprintf(text, sizeof text, "%f", value);
    if (length < 0)
        return {};
    if (static_cast<size_t>(length) >= sizeof text)
        length = sizeof text - 1;
    return std::u16string(text, text + length);
}

}  // namespace quillet
