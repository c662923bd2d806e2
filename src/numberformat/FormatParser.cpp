#include "numberformat/FormatParser.h"

#include <cstdlib>
#include <string>

namespace quillet {
namespace {

using Kind = FormatToken::Kind;

char lower(char c)
{
    return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
}

bool startsWithNoCase(std::string_view text, size_t at, std::string_view word)
{
    if (text.size() - at < word.size())
        return false;
    for (size_t i = 0; i < word.size(); ++i) {
        if (lower(text[at + i]) != word[i])
            return false;
    }
    return true;
}

// The bytes of the UTF-8 character at `at`.
size_t characterLength(std::string_view text, size_t at)
{
    const unsigned char c = static_cast<unsigned char>(text[at]);
    size_t n = c < 0xC0 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
    if (n > text.size() - at)
        n = text.size() - at;
    return n;
}

bool isDateCode(Kind kind)
{
    return kind >= Kind::Year && kind <= Kind::AmPm;
}

class SectionBuilder {
public:
    explicit SectionBuilder(FormatSection& section) : s_(section) {}

    void literal(std::string_view text)
    {
        if (!s_.tokens.empty() && s_.tokens.back().kind == Kind::Literal)
            s_.tokens.back().text += text;
        else
            add(Kind::Literal).text = std::string(text);
    }
    FormatToken& add(Kind kind)
    {
        s_.tokens.emplace_back();
        s_.tokens.back().kind = kind;
        return s_.tokens.back();
    }
    void bracket(std::string_view inside);
    void finish();

private:
    void finishDateTime();
    void finishNumber();

    FormatSection& s_;
};

void SectionBuilder::bracket(std::string_view inside)
{
    if (inside.empty())
        return;
    if (inside[0] == '$') {
        // [$€-407]: the currency text before the locale number.
        const size_t dash = inside.find('-');
        literal(inside.substr(1, dash == std::string_view::npos ? std::string_view::npos : dash - 1));
        return;
    }
    using Condition = FormatSection::Condition;
    const char first = inside[0];
    if (first == '<' || first == '>' || first == '=') {
        size_t at = 1;
        Condition c = first == '=' ? Condition::Equal : first == '<' ? Condition::Less : Condition::Greater;
        if (at < inside.size() && inside[at] == '=' && first != '=') {
            c = first == '<' ? Condition::LessEqual : Condition::GreaterEqual;
            ++at;
        } else if (first == '<' && at < inside.size() && inside[at] == '>') {
            c = Condition::NotEqual;
            ++at;
        }
        const std::string number(inside.substr(at));
        s_.condition = c;
        s_.operand = std::strtod(number.c_str(), nullptr);
        return;
    }
    // [h] [mm] [ss]: elapsed time; colours and everything else are not shown.
    const char code = lower(first);
    if (code != 'h' && code != 'm' && code != 's')
        return;
    for (char c : inside) {
        if (lower(c) != code)
            return;
    }
    FormatToken& token = add(code == 'h' ? Kind::ElapsedHour : code == 'm' ? Kind::ElapsedMinute : Kind::ElapsedSecond);
    token.count = int(inside.size());
}

void SectionBuilder::finish()
{
    for (const FormatToken& token : s_.tokens) {
        if (isDateCode(token.kind))
            s_.isDateTime = true;
        if (token.kind == Kind::Text)
            s_.hasText = true;
    }
    if (s_.isDateTime)
        finishDateTime();
    else
        finishNumber();
}

// m is a minute right after an hour or right before a second; a point and
// zeros after a second are its fraction; digits and points elsewhere are text.
void SectionBuilder::finishDateTime()
{
    std::vector<FormatToken>& t = s_.tokens;
    const auto nearestCode = [&](size_t from, int step) -> Kind {
        for (size_t i = from + size_t(step); i < t.size(); i += size_t(step)) {
            if (isDateCode(t[i].kind))
                return t[i].kind;
        }
        return Kind::Literal;
    };
    for (size_t i = 0; i < t.size(); ++i) {
        if (t[i].kind != Kind::Month || t[i].count > 2)
            continue;
        const Kind before = i == 0 ? Kind::Literal : nearestCode(i, -1);
        const Kind after = nearestCode(i, 1);
        if (before == Kind::Hour || before == Kind::ElapsedHour || after == Kind::Second ||
            after == Kind::ElapsedSecond)
            t[i].kind = Kind::Minute;
    }
    std::vector<FormatToken> out;
    for (size_t i = 0; i < t.size(); ++i) {
        FormatToken& token = t[i];
        const bool afterSecond =
            !out.empty() && (out.back().kind == Kind::Second || out.back().kind == Kind::ElapsedSecond);
        if (token.kind == Kind::Point && afterSecond && i + 1 < t.size() && t[i + 1].kind == Kind::Digit &&
            t[i + 1].placeholder == '0') {
            int digits = 0;
            while (i + 1 < t.size() && t[i + 1].kind == Kind::Digit && t[i + 1].placeholder == '0') {
                ++i;
                ++digits;
            }
            FormatToken sub;
            sub.kind = Kind::Subsecond;
            sub.count = digits;
            out.push_back(std::move(sub));
            if (digits > 3)
                digits = 3;
            if (digits > s_.subsecondDigits)
                s_.subsecondDigits = digits;
            continue;
        }
        if (token.kind == Kind::AmPm)
            s_.hourOfTwelve = true;
        if (token.kind == Kind::Second || token.kind == Kind::ElapsedSecond)
            s_.secondsShown = true;
        if (token.kind >= Kind::ElapsedHour && token.kind <= Kind::ElapsedSecond)
            s_.hasElapsed = true;
        if (token.kind == Kind::Digit || token.kind == Kind::Point || token.kind == Kind::Slash ||
            token.kind == Kind::Percent || token.kind == Kind::Comma) {
            token.text = token.kind == Kind::Digit   ? std::string(1, token.placeholder)
                         : token.kind == Kind::Point ? "."
                         : token.kind == Kind::Slash ? "/"
                         : token.kind == Kind::Comma ? ","
                                                     : "%";
            token.kind = Kind::Literal;
        }
        if (token.kind == Kind::Exponent) {
            token.text += token.placeholder;
            token.kind = Kind::Literal;
        }
        out.push_back(std::move(token));
    }
    t = std::move(out);
}

void SectionBuilder::finishNumber()
{
    std::vector<FormatToken>& t = s_.tokens;
    // A bar with digit places before it and a denominator after it.
    for (size_t i = 0; i < t.size(); ++i) {
        if (t[i].kind != Kind::Slash)
            continue;
        const bool before = i > 0 && t[i - 1].kind == Kind::Digit;
        const bool after = i + 1 < t.size() &&
                           (t[i + 1].kind == Kind::Digit ||
                            (t[i + 1].kind == Kind::Literal && t[i + 1].text[0] >= '1' && t[i + 1].text[0] <= '9'));
        if (before && after && !s_.isFraction) {
            s_.isFraction = true;
        } else {
            t[i].kind = Kind::Literal;
            t[i].text = "/";
        }
    }
    std::vector<FormatToken> out;
    bool seenDigit = false;
    bool seenPoint = false;
    int decimals = 0;
    for (size_t i = 0; i < t.size(); ++i) {
        FormatToken& token = t[i];
        if (token.kind == Kind::Percent)
            ++s_.percent;
        if (token.kind == Kind::Point) {
            if (seenPoint || s_.isFraction) {
                token.kind = Kind::Literal;
                token.text = ".";
            }
            seenPoint = true;
        }
        if (token.kind == Kind::Exponent)
            seenPoint = true;  // no grouping in the exponent
        if (token.kind == Kind::Digit) {
            seenDigit = true;
            if (seenPoint && ++decimals > FormatParser::kMaxDecimals)
                continue;
        }
        if (token.kind != Kind::Comma) {
            out.push_back(std::move(token));
            continue;
        }
        // A run of commas: between integer digits they group; after a digit
        // place they divide by 1000 each; elsewhere they are text.
        size_t end = i;
        while (end + 1 < t.size() && t[end + 1].kind == Kind::Comma)
            ++end;
        const bool digitNext = end + 1 < t.size() && t[end + 1].kind == Kind::Digit;
        const bool placeBefore = !out.empty() && (out.back().kind == Kind::Digit || out.back().kind == Kind::Point);
        if (seenDigit && digitNext && !seenPoint) {
            s_.grouping = true;
        } else if (placeBefore && !digitNext) {
            s_.thousands += int(end - i + 1);
        } else {
            for (size_t k = i; k <= end; ++k) {
                out.push_back(std::move(t[k]));
                out.back().kind = Kind::Literal;
                out.back().text = ",";
            }
        }
        i = end;
    }
    t = std::move(out);
}

// One section's tokens from `at`; stops after the ';' that ends it.
size_t parseSection(std::string_view code, size_t at, FormatSection& section, bool& ended)
{
    SectionBuilder b(section);
    while (at < code.size()) {
        const char c = code[at];
        if (c == ';') {
            b.finish();
            ended = true;
            return at + 1;
        }
        if (c == '"') {
            const size_t end = code.find('"', at + 1);
            const size_t stop = end == std::string_view::npos ? code.size() : end;
            b.literal(code.substr(at + 1, stop - at - 1));
            at = stop == code.size() ? stop : stop + 1;
            continue;
        }
        if (c == '\\' || c == '_' || c == '*') {
            ++at;
            if (at >= code.size())
                break;
            const size_t n = characterLength(code, at);
            // _x leaves the width of x blank; *x fills the column, which text has not got.
            if (c == '\\')
                b.literal(code.substr(at, n));
            else if (c == '_')
                b.literal(" ");
            at += n;
            continue;
        }
        if (c == '[') {
            const size_t end = code.find(']', at + 1);
            const size_t stop = end == std::string_view::npos ? code.size() : end;
            b.bracket(code.substr(at + 1, stop - at - 1));
            at = stop == code.size() ? stop : stop + 1;
            continue;
        }
        if (c == '0' || c == '#' || c == '?') {
            b.add(Kind::Digit).placeholder = c;
            ++at;
            continue;
        }
        if (c == ',') {
            b.add(Kind::Comma);
            ++at;
            continue;
        }
        if (c == '.') {
            b.add(Kind::Point);
            ++at;
            continue;
        }
        if (c == '%') {
            b.add(Kind::Percent).text = "%";
            ++at;
            continue;
        }
        if (c == '/') {
            b.add(Kind::Slash);
            ++at;
            continue;
        }
        if (c == '@') {
            b.add(Kind::Text);
            ++at;
            continue;
        }
        if ((c == 'E' || c == 'e') && at + 1 < code.size() && (code[at + 1] == '+' || code[at + 1] == '-')) {
            FormatToken& token = b.add(Kind::Exponent);
            token.text = std::string(1, c);
            token.placeholder = code[at + 1];
            at += 2;
            continue;
        }
        if (startsWithNoCase(code, at, "general")) {
            b.add(Kind::General);
            at += 7;
            continue;
        }
        if (startsWithNoCase(code, at, "am/pm") || startsWithNoCase(code, at, "a/p")) {
            const size_t n = startsWithNoCase(code, at, "am/pm") ? 5 : 3;
            FormatToken& token = b.add(Kind::AmPm);
            token.text = std::string(code.substr(at, n));
            at += n;
            continue;
        }
        const char l = lower(c);
        if (l == 'y' || l == 'm' || l == 'd' || l == 'h' || l == 's') {
            size_t end = at;
            while (end < code.size() && lower(code[end]) == l)
                ++end;
            FormatToken& token = b.add(l == 'y'   ? Kind::Year
                                       : l == 'm' ? Kind::Month
                                       : l == 'd' ? Kind::Day
                                       : l == 'h' ? Kind::Hour
                                                  : Kind::Second);
            token.count = int(end - at);
            at = end;
            continue;
        }
        const size_t n = characterLength(code, at);
        b.literal(code.substr(at, n));
        at += n;
    }
    b.finish();
    return at;
}

}  // namespace

bool FormatSection::accepts(double value) const
{
    switch (condition) {
    case Condition::None:
        return true;
    case Condition::Less:
        return value < operand;
    case Condition::LessEqual:
        return value <= operand;
    case Condition::Greater:
        return value > operand;
    case Condition::GreaterEqual:
        return value >= operand;
    case Condition::Equal:
        return value == operand;
    case Condition::NotEqual:
        return value != operand;
    }
    return true;
}

std::vector<FormatSection> FormatParser::parse(std::string_view code)
{
    if (code.size() > kMaxCode)
        code = code.substr(0, kMaxCode);
    std::vector<FormatSection> sections;
    size_t at = 0;
    bool ended = true;
    // A ';' at the very end still opens an (empty) section.
    while (ended && sections.size() < 4) {
        ended = false;
        sections.emplace_back();
        at = parseSection(code, at, sections.back(), ended);
    }
    return sections;
}

}  // namespace quillet
