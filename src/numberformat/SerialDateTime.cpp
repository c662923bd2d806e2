#include "numberformat/SerialDateTime.h"

#include "platform/CivilDate.h"

#include <cmath>

namespace quillet {
namespace {

using platform::civilFromDays;
using platform::daysFromCivil;

// Reads exactly `count` digits.
bool readDigits(std::string_view text, size_t& at, size_t count, int& value)
{
    if (text.size() - at < count)
        return false;
    value = 0;
    for (size_t end = at + count; at < end; ++at) {
        if (text[at] < '0' || text[at] > '9')
            return false;
        value = value * 10 + (text[at] - '0');
    }
    return true;
}

bool isZone(char c)
{
    return c == 'Z' || c == '+' || c == '-';
}

int64_t floorDiv(int64_t a, int64_t b)
{
    const int64_t q = a / b;
    return (a % b != 0 && ((a < 0) != (b < 0))) ? q - 1 : q;
}

// 1899-12-30 and 1904-01-01 as days since 1970-01-01.
constexpr int64_t kEpoch1900 = -25569;
constexpr int64_t kEpoch1904 = -24107;

}  // namespace

bool SerialDateTime::set(double serial, bool date1904, int subsecondDigits, bool secondsShown)
{
    // Years 1 to 9999 in either system.
    if (!(serial > -693595.0 && serial < 2958466.0))
        return false;
    int64_t scale = 1;
    for (int i = 0; i < subsecondDigits; ++i)
        scale *= 10;
    const int64_t unitsPerDay = 86400 * scale;
    // A hair over the cut keeps 1/24 (3599.9999... seconds) a whole hour.
    const double units = serial * double(unitsPerDay);
    const int64_t total = secondsShown ? std::llround(units) : int64_t(std::floor(units + 1e-6));
    const int64_t days = floorDiv(total, unitsPerDay);
    int64_t rest = total - days * unitsPerDay;
    elapsed = total;
    subsecond = int(rest % scale);
    rest /= scale;
    second = int(rest % 60);
    minute = int(rest / 60 % 60);
    hour = int(rest / 3600);

    const int64_t epoch = date1904 ? kEpoch1904 : kEpoch1900;
    weekday = int(((days + epoch) % 7 + 7 + 4) % 7);  // 1970-01-01 was a Thursday
    if (date1904 || days < 0 || days > 60) {
        civilFromDays(days + epoch, year, month, day);
        return true;
    }
    // The 1900 system's first two months, whose weekdays Excel also counts from a Sunday 1900-01-01.
    weekday = int((days + 6) % 7);
    year = 1900;
    if (days == 60) {
        month = 2;
        day = 29;
    } else if (days == 0) {
        month = 1;
        day = 0;
    } else {
        civilFromDays(days + epoch + 1, year, month, day);
    }
    return true;
}

bool serialFromIsoDate(std::string_view text, bool date1904, double& serial)
{
    size_t at = 0;
    double days = 0;
    int year = 0, month = 0, day = 0;
    const bool hasDate = text.size() >= 10 && text[4] == '-';
    if (hasDate) {
        if (!readDigits(text, at, 4, year) || text[at++] != '-' || !readDigits(text, at, 2, month) ||
            text[at++] != '-' || !readDigits(text, at, 2, day) || month < 1 || month > 12 || day < 1 || day > 31)
            return false;
        // No 30 February: the day must come back as it was written.
        int y = 0, m = 0, d = 0;
        civilFromDays(daysFromCivil(year, month, day), y, m, d);
        if (d != day)
            return false;
        days = double(daysFromCivil(year, month, day) - (date1904 ? kEpoch1904 : kEpoch1900));
        // The 1900 system counts a 29 February 1900 that never was.
        if (!date1904 && days < 61)
            days -= 1;
        if (at < text.size() && text[at] == 'T')
            ++at;
    }
    double seconds = 0;
    if (at < text.size() && !(hasDate && isZone(text[at]))) {
        int hour = 0, minute = 0, second = 0;
        if (!readDigits(text, at, 2, hour) || at >= text.size() || text[at++] != ':' ||
            !readDigits(text, at, 2, minute))
            return false;
        if (at < text.size() && text[at] == ':') {
            ++at;
            if (!readDigits(text, at, 2, second))
                return false;
        }
        double fraction = 0, scale = 0.1;
        if (at < text.size() && text[at] == '.') {
            for (++at; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at, scale /= 10)
                fraction += (text[at] - '0') * scale;
        }
        // A zone suffix is left as it is: the cell shows the time written.
        if (at < text.size() && !isZone(text[at]))
            return false;
        seconds = hour * 3600.0 + minute * 60.0 + second + fraction;
    } else if (!hasDate) {
        return false;
    }
    serial = days + seconds / 86400;
    return true;
}

}  // namespace quillet
