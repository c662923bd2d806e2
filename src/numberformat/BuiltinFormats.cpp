#include "numberformat/BuiltinFormats.h"

namespace quillet {
namespace {

// Ids 5 to 8, 23 to 36 and 41 to 44 depend on the locale; workbooks write
// their codes out, so these stand in only when a workbook does not.
constexpr std::string_view kCodes[] = {
    "General",
    "0",
    "0.00",
    "#,##0",
    "#,##0.00",
    "\"$\"#,##0_);(\"$\"#,##0)",
    "\"$\"#,##0_);[Red](\"$\"#,##0)",
    "\"$\"#,##0.00_);(\"$\"#,##0.00)",
    "\"$\"#,##0.00_);[Red](\"$\"#,##0.00)",
    "0%",
    "0.00%",
    "0.00E+00",
    "# ?/?",
    "# ?\?/??",
    "m/d/yyyy",
    "d-mmm-yy",
    "d-mmm",
    "mmm-yy",
    "h:mm AM/PM",
    "h:mm:ss AM/PM",
    "h:mm",
    "h:mm:ss",
    "m/d/yyyy h:mm",
    "General",
    "General",
    "General",
    "General",
    "yyyy/m/d",
    "yyyy/m/d",
    "yyyy/m/d",
    "m/d/yy",
    "yyyy/m/d",
    "h:mm",
    "h:mm:ss",
    "h:mm",
    "h:mm:ss",
    "yyyy/m/d",
    "#,##0_);(#,##0)",
    "#,##0_);[Red](#,##0)",
    "#,##0.00_);(#,##0.00)",
    "#,##0.00_);[Red](#,##0.00)",
    "_(* #,##0_);_(* (#,##0);_(* \"-\"_);_(@_)",
    "_(\"$\"* #,##0_);_(\"$\"* (#,##0);_(\"$\"* \"-\"_);_(@_)",
    "_(* #,##0.00_);_(* (#,##0.00);_(* \"-\"??_);_(@_)",
    "_(\"$\"* #,##0.00_);_(\"$\"* (#,##0.00);_(\"$\"* \"-\"??_);_(@_)",
    "mm:ss",
    "[h]:mm:ss",
    "mm:ss.0",
    "##0.0E+0",
    "@",
};

}  // namespace

std::string_view builtinFormatCode(unsigned id)
{
    return id < sizeof kCodes / sizeof kCodes[0] ? kCodes[id] : kCodes[0];
}

}  // namespace quillet
