#pragma once

#include <string>
#include <vector>

namespace quillet {

// One piece of a format section, in the order written.
struct FormatToken {
    enum Kind : unsigned char {
        Literal,
        Digit,     // 0 # ?
        Point,     // the decimal point
        Comma,     // grouping, scaling or text, decided by its neighbours
        Percent,   // % (also shown)
        Exponent,  // E+ E- (text holds the E as written)
        Slash,     // a fraction's bar
        Text,      // @
        General,   // the word General inside a section
        Year,
        Month,
        Day,
        Hour,
        Minute,
        Second,
        ElapsedHour,
        ElapsedMinute,
        ElapsedSecond,
        Subsecond,  // the 0s after a seconds code's point
        AmPm,
    };
    Kind kind = Literal;
    char placeholder = 0;  // Digit: 0 # ?; Exponent: + or -
    int count = 0;         // the letters of a date code, the digits of a subsecond
    std::string text;      // Literal; AmPm and Exponent as written
};

// One of up to four ';'-separated sections of a format code.
struct FormatSection {
    enum class Condition : unsigned char { None, Less, LessEqual, Greater, GreaterEqual, Equal, NotEqual };

    bool accepts(double value) const;

    std::vector<FormatToken> tokens;
    Condition condition = Condition::None;
    double operand = 0;
    bool isDateTime = false;
    bool isFraction = false;
    bool hasText = false;   // @
    bool grouping = false;  // a comma between integer digits
    int percent = 0;        // each % multiplies by 100
    int thousands = 0;      // each comma after the last digit divides by 1000
    bool hourOfTwelve = false;
    int subsecondDigits = 0;
    bool secondsShown = false;
    bool hasElapsed = false;
};

}  // namespace quillet
