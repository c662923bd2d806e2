#include "legacy/excel/ExcelNumberFormat.h"

#include <cfloat>
#include <charconv>
#include <cmath>

namespace quillet {

void appendCellNumber(double value, std::u16string& out)
{
    if (std::isnan(value)) {
        out += u"nan";
        return;
    }
    if (std::isinf(value)) {
        out += value < 0 ? u"-inf" : u"inf";
        return;
    }
    // The largest double has 309 digits before the point. to_chars writes
    // what printf's "%lld" and "%f" would, without their cost.
    char text[400];
    std::to_chars_result result;
    const bool inRange = value >= -9223372036854775808.0 && value < 9223372036854775808.0;
    const long long whole = inRange ? static_cast<long long>(value) : 0;
    if (inRange && std::fabs(value - static_cast<double>(whole)) <= DBL_EPSILON)
        result = std::to_chars(text, text + sizeof text, whole);
    else
        result = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, 6);
    if (result.ec == std::errc())
        out.append(text, result.ptr);
}

std::u16string formatCellNumber(double value)
{
    std::u16string text;
    appendCellNumber(value, text);
    return text;
}

}  // namespace quillet
