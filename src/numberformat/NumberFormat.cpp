#include "numberformat/NumberFormat.h"

#include "numberformat/DecimalDigits.h"
#include "numberformat/FormatParser.h"
#include "numberformat/SerialDateTime.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace quillet {
namespace {

using Kind = FormatToken::Kind;

constexpr const char* kMonths[] = {"January", "February", "March",     "April",   "May",      "June",
                                   "July",    "August",   "September", "October", "November", "December"};
constexpr const char* kDays[] = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};

// A non-negative number with at least `width` digits (at most 20); printf's
// cost shows on every date of a large sheet.
void appendPadded(long long value, int width, std::string& out)
{
    char text[24];
    char* end = text + sizeof text;
    char* at = end;
    unsigned long long rest = value < 0 ? 0 : static_cast<unsigned long long>(value);
    do {
        *--at = char('0' + rest % 10);
        rest /= 10;
    } while (rest != 0);
    for (int digits = int(end - at); digits < width && digits < 20; ++digits)
        *--at = '0';
    out.append(at, end);
}

// Integer digits into the digit places from the right; the first place takes
// all that are left. With grouping a comma goes between thousands.
std::vector<std::string> placeIntegerDigits(const std::string& digits, const std::vector<char>& places, bool grouping)
{
    std::vector<std::string> out(places.size());
    size_t left = digits.size();
    for (size_t j = places.size(); j-- > 0;) {
        if (left > 0)
            out[j] = digits[--left];
        else if (places[j] == '0')
            out[j] = "0";
        else if (places[j] == '?')
            out[j] = " ";
        if (j == 0 && left > 0)
            out[0] = digits.substr(0, left) + out[0];
    }
    if (!grouping)
        return out;
    int count = 0;
    for (size_t j = places.size(); j-- > 0;) {
        std::string grouped;
        for (size_t k = out[j].size(); k-- > 0;) {
            const char c = out[j][k];
            if (c >= '0' && c <= '9') {
                if (count > 0 && count % 3 == 0)
                    grouped.insert(grouped.begin(), ',');
                ++count;
            }
            grouped.insert(grouped.begin(), c);
        }
        out[j] = std::move(grouped);
    }
    return out;
}

void appendDigitsLeft(const std::string& digits, const std::vector<char>& places, std::string& out)
{
    // A denominator: digits first, then the padding of the places left over.
    out += digits;
    for (size_t i = digits.size(); i < places.size(); ++i)
        out += places[i] == '0' ? "0" : places[i] == '?' ? " " : "";
}

void appendDigitsRight(const std::string& digits, const std::vector<char>& places, std::string& out)
{
    for (size_t i = 0; i + digits.size() < places.size(); ++i)
        out += places[i] == '0' ? "0" : places[i] == '?' ? " " : "";
    out += digits;
}

void appendLiteralTokens(const FormatToken& token, double value, std::string& out)
{
    if (token.kind == Kind::Literal || token.kind == Kind::Percent)
        out += token.text;
    else if (token.kind == Kind::General || token.kind == Kind::Text)
        appendGeneralNumber(value, out);
}

void renderDateTime(const FormatSection& s, double value, bool date1904, std::string& out)
{
    SerialDateTime t;
    if (!t.set(value, date1904, s.subsecondDigits, s.secondsShown)) {
        appendGeneralNumber(value, out);
        return;
    }
    int64_t subsecondUnit = 1;
    for (int i = 0; i < s.subsecondDigits; ++i)
        subsecondUnit *= 10;
    const int64_t elapsedSeconds = t.elapsed / subsecondUnit;
    for (const FormatToken& token : s.tokens) {
        const int n = token.count;
        switch (token.kind) {
        case Kind::Year:
            if (n <= 2)
                appendPadded(((t.year % 100) + 100) % 100, 2, out);
            else
                appendPadded(t.year, 4, out);
            break;
        case Kind::Month:
            if (n <= 2)
                appendPadded(t.month, n, out);
            else if (n == 3)
                out.append(kMonths[t.month - 1], 3);
            else if (n == 4)
                out += kMonths[t.month - 1];
            else
                out += kMonths[t.month - 1][0];
            break;
        case Kind::Day:
            if (n <= 2)
                appendPadded(t.day, n, out);
            else if (n == 3)
                out.append(kDays[t.weekday], 3);
            else
                out += kDays[t.weekday];
            break;
        case Kind::Hour: {
            int hour = t.hour;
            if (s.hourOfTwelve) {
                hour %= 12;
                if (hour == 0)
                    hour = 12;
            }
            appendPadded(hour, n > 2 ? 2 : n, out);
            break;
        }
        case Kind::Minute:
            appendPadded(t.minute, n > 2 ? 2 : n, out);
            break;
        case Kind::Second:
            appendPadded(t.second, n > 2 ? 2 : n, out);
            break;
        case Kind::ElapsedHour:
            appendPadded(elapsedSeconds / 3600, n, out);
            break;
        case Kind::ElapsedMinute:
            appendPadded(elapsedSeconds / 60, n, out);
            break;
        case Kind::ElapsedSecond:
            appendPadded(elapsedSeconds, n, out);
            break;
        case Kind::Subsecond: {
            out += '.';
            std::string digits;
            appendPadded(t.subsecond, s.subsecondDigits, digits);
            digits.resize(size_t(n), '0');
            out += digits;
            break;
        }
        case Kind::AmPm: {
            const bool pm = t.hour >= 12;
            const bool lowerCase = token.text[0] == 'a' || token.text[0] == 'p';
            std::string marker = token.text.size() == 5 ? (pm ? "PM" : "AM") : (pm ? "P" : "A");
            if (lowerCase)
                for (char& c : marker)
                    c = char(c - 'A' + 'a');
            out += marker;
            break;
        }
        default:
            appendLiteralTokens(token, value, out);
        }
    }
}

// The best fraction of at most maxDenominator below the bar, or with a fixed one.
void nearestFraction(double value, long long maxDenominator, long long fixed, long long& numerator,
                     long long& denominator)
{
    if (fixed > 0) {
        denominator = fixed;
        numerator = std::llround(value * double(fixed));
        return;
    }
    double best = 2;
    numerator = 0;
    denominator = 1;
    for (long long d = 1; d <= maxDenominator; ++d) {
        const long long n = std::llround(value * double(d));
        const double error = std::fabs(value - double(n) / double(d));
        if (error < best - 1e-12) {
            best = error;
            numerator = n;
            denominator = d;
        }
    }
}

void renderFraction(const FormatSection& s, double value, std::string& out)
{
    const std::vector<FormatToken>& t = s.tokens;
    size_t bar = 0;
    while (bar < t.size() && t[bar].kind != Kind::Slash)
        ++bar;
    if (bar == t.size()) {
        appendGeneralNumber(value, out);
        return;
    }
    size_t numeratorStart = bar;
    while (numeratorStart > 0 && t[numeratorStart - 1].kind == Kind::Digit)
        --numeratorStart;
    std::vector<char> integerPlaces, numeratorPlaces, denominatorPlaces;
    for (size_t i = 0; i < numeratorStart; ++i) {
        if (t[i].kind == Kind::Digit)
            integerPlaces.push_back(t[i].placeholder);
    }
    for (size_t i = numeratorStart; i < bar; ++i)
        numeratorPlaces.push_back(t[i].placeholder);
    // The denominator: digit places, or written digits (then a fixed one).
    size_t after = bar + 1;
    long long fixed = 0;
    std::string fixedRest;
    // Places past the parser's limit are dropped, so the bar may end the section.
    if (after < t.size() && t[after].kind == Kind::Literal) {
        const std::string& text = t[after].text;
        size_t k = 0;
        while (k < text.size() && text[k] >= '0' && text[k] <= '9' && fixed < 100000)
            fixed = fixed * 10 + (text[k++] - '0');
        fixedRest = text.substr(k);
        ++after;
        while (fixedRest.empty() && after < t.size() && t[after].kind == Kind::Digit && t[after].placeholder == '0' &&
               fixed < 100000) {
            fixed *= 10;
            ++after;
        }
    } else {
        while (after < t.size() && t[after].kind == Kind::Digit)
            denominatorPlaces.push_back(t[after++].placeholder);
    }
    const bool hasInteger = !integerPlaces.empty();
    if (value >= 1e15) {
        appendGeneralNumber(value, out);
        return;
    }
    double whole = hasInteger ? std::floor(value) : 0;
    long long numerator = 0, denominator = 1;
    int digits = int(denominatorPlaces.size());
    if (digits > FormatParser::kMaxDenominatorDigits)
        digits = FormatParser::kMaxDenominatorDigits;
    long long maxDenominator = 1;
    for (int i = 0; i < digits; ++i)
        maxDenominator *= 10;
    nearestFraction(value - whole, maxDenominator - 1, fixed, numerator, denominator);
    if (hasInteger && numerator >= denominator) {
        whole += 1;
        numerator = 0;
    }
    char text[32];
    std::snprintf(text, sizeof text, "%.0f", whole);
    const std::string wholeDigits = whole > 0 || numerator == 0 ? text : "";
    const std::vector<std::string> integerOut = placeIntegerDigits(wholeDigits, integerPlaces, s.grouping);
    // With a whole number and no fraction the fraction's places stay blank.
    const bool blankFraction = hasInteger && numerator == 0;
    size_t integerAt = 0;
    for (size_t i = 0; i < t.size(); ++i) {
        const FormatToken& token = t[i];
        if (i < numeratorStart) {
            if (token.kind == Kind::Digit)
                out += integerOut[integerAt++];
            else
                appendLiteralTokens(token, value, out);
            continue;
        }
        if (i == numeratorStart) {
            const std::string n = std::to_string(numerator), d = std::to_string(denominator);
            std::string fraction;
            appendDigitsRight(n, numeratorPlaces, fraction);
            fraction += '/';
            if (fixed > 0)
                fraction += d + fixedRest;
            else
                appendDigitsLeft(d, denominatorPlaces, fraction);
            if (blankFraction)
                fraction.assign(fraction.size(), ' ');
            out += fraction;
            i = after - 1;
            continue;
        }
        appendLiteralTokens(token, value, out);
    }
}

void renderNumber(const FormatSection& s, double value, std::string& out)
{
    const std::vector<FormatToken>& t = s.tokens;
    std::vector<char> integerPlaces, decimalPlaces;
    int exponentPlaces = 0;
    int region = 0;  // 0 integer, 1 decimals, 2 exponent
    bool hasExponent = false;
    for (const FormatToken& token : t) {
        if (token.kind == Kind::Point && region == 0)
            region = 1;
        if (token.kind == Kind::Exponent) {
            region = 2;
            hasExponent = true;
        }
        if (token.kind != Kind::Digit)
            continue;
        if (region == 0)
            integerPlaces.push_back(token.placeholder);
        else if (region == 1)
            decimalPlaces.push_back(token.placeholder);
        else
            ++exponentPlaces;
    }
    DecimalDigits d(value);
    int exponent = 0;
    const int decimals = int(decimalPlaces.size());
    if (hasExponent && !d.isZero()) {
        const int places = int(integerPlaces.size());
        const bool engineering = places > 1 && integerPlaces[0] == '#';
        const int magnitude = d.point() - 1;
        const int step = engineering ? places : 1;
        if (engineering)
            exponent = (magnitude >= 0 ? magnitude / places : -((-magnitude + places - 1) / places)) * places;
        else
            exponent = places == 0 ? magnitude + 1 : magnitude - (places - 1);
        d.shiftPoint(-exponent);
        d.roundToDecimals(decimals);
        const int wide = engineering ? places : places == 0 ? 0 : places;
        if (d.point() > wide) {
            exponent += step;
            d.shiftPoint(-step);
        }
    } else {
        d.roundToDecimals(decimals);
    }
    const std::vector<std::string> integerOut = placeIntegerDigits(d.integerDigits(), integerPlaces, s.grouping);
    const std::string decimalDigits = d.fractionDigits(decimals);
    // Trailing zeros drop at # places and turn blank at ? places.
    std::vector<std::string> decimalOut(decimalPlaces.size());
    bool trailing = true;
    for (size_t i = decimalPlaces.size(); i-- > 0;) {
        const char digit = decimalDigits[i];
        if (trailing && digit == '0' && decimalPlaces[i] != '0') {
            decimalOut[i] = decimalPlaces[i] == '?' ? " " : "";
            continue;
        }
        trailing = false;
        decimalOut[i] = std::string(1, digit);
    }
    // Integer digits with no place for them go before the point.
    const std::string looseInteger = integerPlaces.empty() ? d.integerDigits() : std::string();
    bool looseWritten = looseInteger.empty();
    size_t integerAt = 0, decimalAt = 0;
    region = 0;
    for (const FormatToken& token : t) {
        if (!looseWritten && (token.kind == Kind::Point || token.kind == Kind::Digit || token.kind == Kind::Exponent)) {
            out += looseInteger;
            looseWritten = true;
        }
        switch (token.kind) {
        case Kind::Point:
            if (region == 0)
                region = 1;
            out += '.';
            break;
        case Kind::Exponent: {
            region = 2;
            out += token.text;
            if (exponent < 0)
                out += '-';
            else if (token.placeholder == '+')
                out += '+';
            appendPadded(exponent < 0 ? -exponent : exponent, exponentPlaces, out);
            break;
        }
        case Kind::Digit:
            if (region == 0)
                out += integerOut[integerAt++];
            else if (region == 1)
                out += decimalOut[decimalAt++];
            break;
        default:
            appendLiteralTokens(token, value, out);
        }
    }
    if (!looseWritten)
        out += looseInteger;
}

bool hasDigitPlaces(const FormatSection& s)
{
    for (const FormatToken& token : s.tokens) {
        if (token.kind == Kind::Digit)
            return true;
    }
    return false;
}

// Control characters show nothing in a cell; a damaged FORMAT record may hold
// zero bytes, which must not reach the text.
std::string withoutControls(std::string_view code)
{
    std::string kept;
    kept.reserve(code.size());
    for (char c : code) {
        if (static_cast<unsigned char>(c) >= 0x20)
            kept.push_back(c);
    }
    return kept;
}

}  // namespace

NumberFormat::NumberFormat(std::string_view code) : sections_(FormatParser::parse(withoutControls(code)))
{
    // A code that keeps nothing (say "[Blue") shows numbers as General does.
    if (sections_.size() == 1 && sections_[0].tokens.empty())
        sections_[0].tokens.emplace_back().kind = FormatToken::General;
}

bool NumberFormat::isDateTime() const
{
    for (const FormatSection& s : sections_) {
        if (s.isDateTime)
            return true;
    }
    return false;
}

// Excel's choice: without conditions the first section is for positive
// numbers (and zero when there is no third), the second for negative ones
// (without their sign), the third for zero; a fourth is for text.
const FormatSection* NumberFormat::choose(double value, bool& keepSign) const
{
    using Condition = FormatSection::Condition;
    keepSign = true;
    const size_t count = sections_.size() > 3 ? 3 : sections_.size();
    const bool conditional =
        sections_[0].condition != Condition::None || (count > 1 && sections_[1].condition != Condition::None);
    if (!conditional) {
        if (value < 0 && count >= 2) {
            keepSign = false;
            return &sections_[1];
        }
        if (value == 0 && count >= 3)
            return &sections_[2];
        return &sections_[0];
    }
    const auto keepsSignIn = [&](const FormatSection& s) {
        // A section only for negative numbers writes its own sign, if any.
        return !((s.condition == Condition::Less || s.condition == Condition::LessEqual) && s.operand <= 0);
    };
    for (size_t i = 0; i < count; ++i) {
        const FormatSection& s = sections_[i];
        if (s.condition == Condition::None && i == 0)
            return &s;
        if (s.condition == Condition::None || s.accepts(value)) {
            keepSign = keepsSignIn(s);
            return &s;
        }
    }
    return nullptr;
}

void NumberFormat::format(double value, bool date1904, std::string& out) const
{
    if (!std::isfinite(value)) {
        out += std::isnan(value) ? "#NUM!" : "#DIV/0!";
        return;
    }
    bool keepSign = true;
    const FormatSection* s = choose(value, keepSign);
    if (s == nullptr || (s->hasText && !hasDigitPlaces(*s) && !s->isDateTime && s->tokens.size() == 1)) {
        appendGeneralNumber(value, out);
        return;
    }
    if (s->isDateTime && !s->hasElapsed) {
        renderDateTime(*s, value, date1904, out);
        return;
    }
    double magnitude = std::fabs(value);
    for (int i = 0; i < s->percent && magnitude < 1e300; ++i)
        magnitude *= 100;
    for (int i = 0; i < s->thousands; ++i)
        magnitude /= 1000;
    std::string shown;
    if (s->isDateTime)
        renderDateTime(*s, magnitude, date1904, shown);
    else if (s->isFraction)
        renderFraction(*s, magnitude, shown);
    else if (hasDigitPlaces(*s))
        renderNumber(*s, magnitude, shown);
    else
        for (const FormatToken& token : s->tokens)
            appendLiteralTokens(token, magnitude, shown);
    // The sign only goes with a value that does not show as zero.
    if (value < 0 && keepSign) {
        bool nonZero = false;
        for (char c : shown)
            nonZero = nonZero || (c >= '1' && c <= '9');
        if (nonZero)
            out += '-';
    }
    out += shown;
}

void appendGeneralNumber(double value, std::string& out)
{
    if (!std::isfinite(value)) {
        out += std::isnan(value) ? "#NUM!" : "#DIV/0!";
        return;
    }
    // Whole numbers, most cells of most workbooks, directly; a wide column
    // shows all fifteen digits of one.
    if (std::fabs(value) < 1e15 && value == std::floor(value)) {
        char text[24];
        const std::to_chars_result end = std::to_chars(text, text + sizeof text, static_cast<long long>(value));
        out.append(text, end.ptr);
        return;
    }
    if (value < 0)
        out += '-';
    DecimalDigits d(std::fabs(value));
    d.roundToSignificant(11);
    if (d.isZero()) {
        if (value < 0)
            out.pop_back();
        out += '0';
        return;
    }
    const int magnitude = d.point() - 1;
    if (magnitude >= 11 || magnitude < -9) {
        const std::string& digits = d.digits();
        out += digits[0];
        if (digits.size() > 1) {
            out += '.';
            out.append(digits, 1, std::string::npos);
        }
        out += magnitude < 0 ? "E-" : "E+";
        appendPadded(magnitude < 0 ? -magnitude : magnitude, 2, out);
        return;
    }
    const std::string whole = d.integerDigits();
    out += whole.empty() ? "0" : whole;
    const int decimals = int(d.digits().size()) - d.point();
    if (decimals > 0) {
        out += '.';
        out += d.fractionDigits(decimals);
    }
}

}  // namespace quillet
