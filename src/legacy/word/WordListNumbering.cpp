#include "legacy/word/WordListNumbering.h"

#include "compound/CompoundStream.h"
#include "legacy/word/WordFib.h"

#include <algorithm>

namespace quillet {
namespace {

constexpr int64_t kListSize = 28;
constexpr int64_t kOverrideSize = 16;
constexpr uint8_t kSimpleList = 0x01;

enum Format : uint8_t {
    UpperRoman = 1,
    LowerRoman = 2,
    UpperLetter = 3,
    LowerLetter = 4,
    TwoDigits = 22,
    Bullet = 23,
    NoNumber = 255,
};

void appendDecimal(int32_t value, std::u16string& out)
{
    const std::string digits = std::to_string(value);
    out.append(digits.begin(), digits.end());
}

void appendRoman(int32_t value, bool upper, std::u16string& out)
{
    static constexpr struct {
        int32_t value;
        const char* text;
    } kNumerals[] = {{1000, "m"}, {900, "cm"}, {500, "d"}, {400, "cd"}, {100, "c"}, {90, "xc"}, {50, "l"},
                     {40, "xl"},  {10, "x"},   {9, "ix"},  {5, "v"},    {4, "iv"},  {1, "i"}};
    if (value <= 0 || value >= 4000) {
        appendDecimal(value, out);
        return;
    }
    for (const auto& numeral : kNumerals)
        for (; value >= numeral.value; value -= numeral.value)
            for (const char* c = numeral.text; *c != '\0'; ++c)
                out += char16_t(upper ? *c - 'a' + 'A' : *c);
}

// a..z, then aa..zz, and so on, as Word counts.
void appendLetters(int32_t value, bool upper, std::u16string& out)
{
    if (value <= 0 || value > 780) {
        appendDecimal(value, out);
        return;
    }
    out.append(size_t((value - 1) / 26 + 1), char16_t((upper ? 'A' : 'a') + (value - 1) % 26));
}

// Symbol-font bullets are private-use characters; the text keeps their look.
char16_t bulletCharacter(char16_t c)
{
    switch (c) {
    case 0xF0B7:
        return 0x2022;
    case 0xF0A7:
        return 0x25AA;
    case 0xF0D8:
        return 0x27A2;
    case 0xF0FC:
        return 0x2714;
    case 0xF076:
        return 0x2756;
    default:
        return c >= 0xF000 && c <= 0xF0FF ? char16_t(0x2022) : c;
    }
}

}  // namespace

WordListNumbering::Level WordListNumbering::readLevel(CompoundStream& table)
{
    Level level;
    level.start = int32_t(table.readU32());
    level.format = table.readU8();
    const uint8_t flags = table.readU8();
    level.legal = (flags & 0x04) != 0;
    level.restartLimited = (flags & 0x08) != 0;
    table.skip(9);  // the placeholders' positions: the text says as much
    level.follow = table.readU8();
    table.skip(8);
    const uint8_t characterBytes = table.readU8();
    const uint8_t paragraphBytes = table.readU8();
    level.restartLimit = table.readU8();
    table.skip(1 + int64_t(paragraphBytes) + characterBytes);
    level.text.resize(table.readU16());
    for (char16_t& unit : level.text)
        unit = char16_t(table.readU16());
    return level;
}

void WordListNumbering::read(CompoundStream& table, const WordFib& fib)
{
    lists_.clear();
    overrides_.clear();
    if (fib.listsSize < 2 || fib.listOverridesSize < 4 || !table.seek(fib.listsOffset))
        return;
    const int16_t count = int16_t(table.readU16());
    if (count <= 0 || int64_t(count) * kListSize + 2 > int64_t(fib.listsSize))
        return;
    std::vector<uint8_t> simple(static_cast<size_t>(count));
    lists_.resize(size_t(count));
    for (int16_t i = 0; i < count; ++i) {
        lists_[size_t(i)].id = table.readU32();
        table.skip(4 + 18);
        simple[size_t(i)] = table.readU8() & kSimpleList;
        table.skip(1);
    }
    // The levels follow the lists, in their order.
    for (size_t i = 0; i < lists_.size(); ++i)
        for (int level = 0; level < (simple[i] != 0 ? 1 : kLevels); ++level)
            lists_[i].levels.push_back(readLevel(table));
    readOverrides(table, fib);
}

void WordListNumbering::readOverrides(CompoundStream& table, const WordFib& fib)
{
    if (!table.seek(fib.listOverridesOffset))
        return;
    const uint32_t count = table.readU32();
    if (int64_t(count) * kOverrideSize + 4 > int64_t(fib.listOverridesSize))
        return;
    std::vector<Override> overrides(count);
    std::vector<uint8_t> levelCounts(count);
    for (uint32_t i = 0; i < count; ++i) {
        const uint32_t id = table.readU32();
        table.skip(8);
        levelCounts[i] = table.readU8();
        table.skip(3);
        const auto list = std::find_if(lists_.begin(), lists_.end(), [id](const List& l) { return l.id == id; });
        // A dangling override keeps its place, so later numbers stay right.
        overrides[i].list = size_t(list - lists_.begin());
    }
    // Each override's data: a position, then its level overrides.
    for (uint32_t i = 0; i < count; ++i) {
        table.skip(4);
        for (uint8_t j = 0; j < levelCounts[i]; ++j) {
            const int32_t startAt = int32_t(table.readU32());
            const uint32_t flags = table.readU32();
            const size_t level = flags & 0x0F;
            Level formatting;
            if ((flags & 0x20) != 0)
                formatting = readLevel(table);
            if (level >= size_t(kLevels))
                continue;
            Override& entry = overrides[i];
            if ((flags & 0x10) != 0) {
                entry.restarts[level] = true;
                entry.startAt[level] = startAt;
            }
            if ((flags & 0x20) != 0) {
                entry.formatted[level] = true;
                entry.levels[level] = std::move(formatting);
            }
        }
    }
    overrides_ = std::move(overrides);
}

void WordListNumbering::appendLabel(int override, int level, std::u16string& out)
{
    if (override <= 0 || size_t(override) > overrides_.size())
        return;
    Override& entry = overrides_[size_t(override) - 1];
    if (entry.list >= lists_.size())
        return;
    List& list = lists_[entry.list];
    if (list.levels.size() == 1)
        level = 0;
    if (level < 0 || size_t(level) >= list.levels.size())
        return;
    const auto levelAt = [&](size_t at) -> const Level& {
        return entry.formatted[at] ? entry.levels[at] : list.levels[at];
    };
    const size_t at = size_t(level);
    if (entry.restarts[at]) {
        // A restart applies to the override's first paragraph at that level.
        entry.restarts[at] = false;
        list.counts[at] = entry.startAt[at];
    } else if (list.counted[at]) {
        ++list.counts[at];
    } else {
        list.counts[at] = levelAt(at).start;
    }
    list.counted[at] = true;
    // A level shown under levels never used counts them as started.
    for (size_t above = 0; above < at; ++above)
        if (!list.counted[above]) {
            list.counted[above] = true;
            list.counts[above] = levelAt(above).start;
        }
    for (size_t deeper = at + 1; deeper < list.levels.size(); ++deeper) {
        const Level& below = levelAt(deeper);
        if (!below.restartLimited || at < below.restartLimit)
            list.counted[deeper] = false;
    }

    const Level& shown = levelAt(at);
    if (shown.format == Bullet) {
        for (char16_t unit : shown.text)
            out += bulletCharacter(unit);
    } else {
        for (char16_t unit : shown.text) {
            if (unit >= kLevels) {
                out += unit;
                continue;
            }
            const size_t of = std::min<size_t>(unit, list.levels.size() - 1);
            const Level& numbered = levelAt(of);
            const int32_t value = list.counts[of];
            const uint8_t format = shown.legal ? uint8_t(0) : numbered.format;
            switch (format) {
            case UpperRoman:
            case LowerRoman:
                appendRoman(value, format == UpperRoman, out);
                break;
            case UpperLetter:
            case LowerLetter:
                appendLetters(value, format == UpperLetter, out);
                break;
            case TwoDigits:
                if (value >= 0 && value < 10)
                    out += u'0';
                appendDecimal(value, out);
                break;
            case NoNumber:
            case Bullet:
                break;
            default:
                appendDecimal(value, out);
            }
        }
    }
    if (shown.text.empty())
        return;
    // A label followed by nothing still keeps apart from the first word.
    out += shown.follow == 1 ? u' ' : u'\t';
}

}  // namespace quillet
