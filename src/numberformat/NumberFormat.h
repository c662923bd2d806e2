#pragma once

#include "numberformat/FormatSection.h"

#include <string>
#include <string_view>
#include <vector>

namespace quillet {

// A spreadsheet number format code ("0.00", "#,##0;[Red]-#,##0",
// "d-mmm-yy h:mm AM/PM", "# ?/?", ...) ready to show numbers the way Excel
// shows them in a wide enough column. Month and day names are English; colours
// are not shown; the currency text of a locale tag is.
class NumberFormat {
public:
    explicit NumberFormat(std::string_view code);

    // Appends the value as shown (UTF-8). In the 1904 date system day 0 is
    // 1904-01-01.
    void format(double value, bool date1904, std::string& out) const;
    // A section shows dates or times.
    bool isDateTime() const;

private:
    const FormatSection* choose(double value, bool& keepSign) const;

    std::vector<FormatSection> sections_;
};

// What "General" shows: whole numbers below 10^15 in full; others with up to
// 11 significant digits without trailing zeros, in scientific notation from
// 10^11 up and below 10^-9.
void appendGeneralNumber(double value, std::string& out);

}  // namespace quillet
