#pragma once

#include <cstdint>
#include <string_view>

namespace quillet {

// A spreadsheet serial number as a calendar date and a time of day. In the
// 1900 system day 1 is 1900-01-01, day 0 shows as 1900-01-00 and day 60 is
// the 29 February 1900 that Lotus 1-2-3 invented; in the 1904 system day 0 is
// 1904-01-01. Days before the epoch count back from 1899-12-30 (1904-01-01).
struct SerialDateTime {
    int year = 1900;
    int month = 1;
    int day = 0;
    int weekday = 0;  // 0 is Sunday
    int hour = 0;
    int minute = 0;
    int second = 0;
    int subsecond = 0;  // in units of 10^-subsecondDigits seconds
    // The whole time in units of 10^-subsecondDigits seconds, for [h], [m], [s].
    int64_t elapsed = 0;

    // Rounded to the subsecond digits shown (0 to 3), or cut to whole
    // seconds when no seconds are shown. False for serials outside the years
    // 1 to 9999.
    bool set(double serial, bool date1904, int subsecondDigits, bool secondsShown = true);
};

// An ISO 8601 date, time or both ("2006-11-24", "2006-11-24T06:15:00.5",
// "06:15:00") as a serial number of the date system; false when the text is
// not one.
bool serialFromIsoDate(std::string_view text, bool date1904, double& serial);

}  // namespace quillet
