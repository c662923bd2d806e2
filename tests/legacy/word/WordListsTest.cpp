// List labels of binary Word documents: the numbering of list tables built here, and
// the paragraph properties that put a paragraph into a list.
#include "compound/CompoundFile.h"
#include "compound/CompoundFileError.h"
#include "legacy/word/WordFib.h"
#include "legacy/word/WordListNumbering.h"
#include "legacy/word/WordParagraphLists.h"

#include "support/CompoundFileBuilder.h"

#include <gtest/gtest.h>

using namespace quillet;
using namespace quillet::test;
using namespace std::string_literals;

namespace {

constexpr uint8_t kLegal = 0x04;

std::string level(int32_t start, uint8_t format, const std::u16string& text, uint8_t follow = 0, uint8_t flags = 0)
{
    // Placeholder positions, then one byte of character and two of paragraph properties.
    return le32(uint32_t(start)) + char(format) + char(flags) + std::string(9, '\0') + char(follow) +
           std::string(8, '\0') + "\x01\x02" + std::string(2, '\0') + "xyz" + le16(uint16_t(text.size())) +
           utf16leBytes(text);
}

std::string list(uint32_t id, bool simple)
{
    return le32(id) + std::string(22, '\0') + char(simple) + '\0';
}

// An override of list id; restart levels are (level, start) pairs.
struct Override {
    uint32_t id;
    std::vector<std::pair<uint8_t, int32_t>> restarts = {};
};

std::string overrides(const std::vector<Override>& entries)
{
    std::string head = le32(uint32_t(entries.size())), data;
    for (const Override& entry : entries) {
        head += le32(entry.id) + std::string(8, '\0') + char(entry.restarts.size()) + std::string(3, '\0');
        data += le32(0);
        for (const auto& [at, start] : entry.restarts)
            data += le32(uint32_t(start)) + le32(at | 0x10u);
    }
    return head + data;
}

struct Tables {
    std::string lists;
    std::string overrides;
};

struct OpenTable {
    std::unique_ptr<CompoundFile> file;
    std::unique_ptr<CompoundStream> stream;
};

OpenTable tableStream(const Tables& tables, WordFib& fib)
{
    fib.listsOffset = 0;
    fib.listsSize = uint32_t(tables.lists.size());
    fib.listOverridesOffset = uint32_t(tables.lists.size());
    fib.listOverridesSize = uint32_t(tables.overrides.size());
    CompoundFileBuilder builder;
    builder.add("1Table", tables.lists + tables.overrides);
    OpenTable table{openBytes(builder.build()), nullptr};
    table.stream = table.file->openStream("1Table");
    return table;
}

std::u16string labels(WordListNumbering& numbering, const std::vector<std::pair<int, int>>& paragraphs)
{
    std::u16string out;
    for (const auto& [override, at] : paragraphs) {
        numbering.appendLabel(override, at, out);
        out += u'|';
    }
    return out;
}

}  // namespace

// Counts run per list, whichever override leads there; a higher level
// restarts the lower ones; a restart applies once; a level shown below
// unused ones counts them as started.
TEST(WordListNumbering, LabelsCountedInDocumentOrder)
{
    std::string outline = list(7, false) + list(9, true) + list(13, true);
    outline += level(1, 0, u"\0)"s) + level(1, 4, u"\0.\1."s, 1) + level(1, 2, u"\0.\1.\2"s, 0, kLegal);
    outline += level(4, 1, u"(\3)"s, 2);
    for (int i = 4; i < 9; ++i)
        outline += level(1, 22, std::u16string(1, char16_t(i)));
    outline += level(1, 23, u"\uF0B7", 2) + level(27, 3, u"\0"s);
    Tables tables{le16(3) + outline, overrides({{7}, {9}, {7, {{0, 5}}}, {99}, {13}})};
    WordFib fib;
    WordListNumbering numbering;
    numbering.read(*tableStream(tables, fib).stream, fib);
    ASSERT_FALSE(numbering.empty());
    EXPECT_EQ(labels(numbering, {{1, 0}, {1, 1}, {1, 1}, {1, 2}, {1, 0}, {1, 1}, {1, 3}, {1, 5}, {1, 3}}),
              u"1)\t|1.a. |1.b. |1.2.1\t|2)\t|2.a. |(IV)\t|01\t|(V)\t|");
    EXPECT_EQ(labels(numbering, {{2, 0}, {2, 4}, {3, 0}, {3, 0}, {1, 0}, {5, 0}, {5, 0}}),
              u"\u2022\t|\u2022\t|5)\t|6)\t|7)\t|AA\t|BB\t|");
    // A missing override or list, a level past the last.
    EXPECT_EQ(labels(numbering, {{0, 0}, {4, 0}, {6, 0}, {-1, 0}, {1, 9}, {1, -1}}), u"||||||");
}

TEST(WordListNumbering, CountsThatDoNotFitGiveNoLabels)
{
    const std::string one = list(7, true) + level(1, 0, u"\0."s);
    WordFib fib;
    WordListNumbering numbering;
    numbering.read(*tableStream({le16(3) + one, overrides({{7}})}, fib).stream, fib);
    EXPECT_TRUE(numbering.empty());
    numbering.read(*tableStream({le16(1) + one, le32(3) + overrides({{7}}).substr(4)}, fib).stream, fib);
    EXPECT_TRUE(numbering.empty());
    numbering.read(*tableStream({le16(0xFFFF) + one, overrides({{7}})}, fib).stream, fib);
    EXPECT_TRUE(numbering.empty());
    // A level whose text runs past the stream.
    std::string cut = le16(1) + one;
    cut.replace(cut.size() - 6, 2, le16(900));
    EXPECT_THROW(numbering.read(*tableStream({cut, overrides({{7}})}, fib).stream, fib), CompoundFileError);
    numbering.read(*tableStream({le16(1) + one, overrides({{7}})}, fib).stream, fib);
    std::u16string out;
    numbering.appendLabel(1, 0, out);
    EXPECT_EQ(out, u"1.\t");
}

namespace {

// A property page whose runs of 16 bytes from 0x400 on carry these properties (style number first);
// an empty one has none, a null one points past the page.
std::string propertyPage(const std::vector<const std::string*>& runs)
{
    std::string page(512, '\0');
    for (size_t i = 0; i <= runs.size(); ++i)
        putU32(page, int64_t(i * 4), uint32_t(0x400 + i * 16));
    size_t at = 0x100;
    for (size_t i = 0; i < runs.size(); ++i) {
        char& offset = page[(runs.size() + 1) * 4 + i * 13];
        if (runs[i] == nullptr) {
            offset = char(0xFF);
        } else if (!runs[i]->empty()) {
            offset = char(at / 2);
            page[at] = char((runs[i]->size() + 2) / 2);
            page.replace(at + 1, runs[i]->size(), *runs[i]);
            at += 2 + runs[i]->size() + runs[i]->size() % 2;
        }
    }
    page[511] = char(runs.size());
    return page;
}

struct Paragraphs {
    std::unique_ptr<CompoundFile> file;
    WordParagraphLists lists;
};

// The page as page 2, a damaged page 3, a page past the stream, and the styles before the bin table.
void readParagraphs(Paragraphs& paragraphs, const std::string& page, const std::string& styles = "")
{
    std::string garbage(512, '\x7F');
    garbage[511] = char(0xFF);
    CompoundFileBuilder builder;
    builder.add("WordDocument", std::string(0x400, '\0') + page + garbage);
    builder.add("1Table",
                styles + le32(0x400) + le32(0x430) + le32(0x440) + le32(0x450) + le32(2) + le32(3) + le32(40));
    paragraphs.file = openBytes(builder.build());
    WordFib fib;
    fib.stylesSize = uint32_t(styles.size());
    fib.paragraphBinsOffset = uint32_t(styles.size());
    fib.paragraphBinsSize = 4 * 4 + 3 * 4;
    paragraphs.lists.read(*paragraphs.file->openStream("WordDocument"), *paragraphs.file->openStream("1Table"), fib);
}

std::pair<int, int> listAt(const Paragraphs& paragraphs, const std::vector<WordPiece>& pieces, size_t piece, int32_t cp)
{
    const WordParagraphLists::Membership list = paragraphs.lists.at(pieces, piece, cp);
    return {list.override, list.level};
}

}  // namespace

// A paragraph's list is the one its mark carries, even when the paragraph
// starts in a piece that lies elsewhere; damaged pages and properties add none.
TEST(WordParagraphLists, ListOfTheParagraphMark)
{
    // A table definition and a variable-size modifier before the list.
    const std::string listed = le16(0) + le16(0xD608) + le16(3) + "ab" + le16(0xC60D) + "\x01z" + le16(0x460B) +
                               le16(2) + le16(0x260A) + "\x01",
                      none;
    Paragraphs paragraphs;
    readParagraphs(paragraphs, propertyPage({&listed, &none, nullptr}));
    ASSERT_TRUE(paragraphs.lists.anyList());

    // Piece 0 holds the start of run 1 but the paragraph goes on in piece 1, which ends with run 0.
    const std::vector<WordPiece> pieces = {
        {0, 2, 0x410, true}, {2, 10, 0x400, true}, {10, 18, 0x410, true}, {18, 26, 0x420, true}, {26, 28, 0x900, true}};
    const std::pair<int, int> noList{0, 0};
    EXPECT_EQ(listAt(paragraphs, pieces, 0, 0), std::make_pair(2, 1));
    EXPECT_EQ(listAt(paragraphs, pieces, 1, 5), std::make_pair(2, 1));
    EXPECT_EQ(listAt(paragraphs, pieces, 2, 12), noList);
    EXPECT_EQ(listAt(paragraphs, pieces, 3, 18), noList);
    EXPECT_EQ(listAt(paragraphs, pieces, 4, 26), noList);
    EXPECT_EQ(listAt(paragraphs, pieces, 1, 10), noList);
    EXPECT_EQ(listAt(paragraphs, pieces, 9, 0), noList);
}

// A paragraph style gives its list, or its base's, unless the paragraph or
// the style itself names another (none included).
TEST(WordParagraphLists, ListsOfParagraphStyles)
{
    // A paragraph (kind 1) or character (kind 2) style with its paragraph properties.
    const auto style = [](uint16_t kind, uint16_t base, const std::string& properties) {
        const std::string name = le16(1) + utf16leBytes(u"s") + le16(0),
                          body = le16(0) + le16(uint16_t(kind | base << 4)) + std::string(6, '\0') + name +
                                 le16(uint16_t(2 + properties.size())) + le16(0) + properties;
        return le16(uint16_t(body.size())) + body;
    };
    const std::string list3 = le16(0x460B) + le16(3), level2 = le16(0x260A) + "\x02";
    const std::string styles = le16(4) + le16(7) + le16(10) + style(1, 0xFFF, list3 + le16(0x260A) + '\0') +
                               style(1, 0, level2) + style(2, 0xFFF, list3) + le16(0) + style(1, 4, "") +
                               style(1, 1, le16(0x460B) + le16(0)) + style(1, 0x999, list3);
    const std::string ofStyle1 = le16(1), ownList = le16(1) + le16(0x460B) + le16(2), ofStyle5 = le16(5);
    Paragraphs paragraphs;
    readParagraphs(paragraphs, propertyPage({&ofStyle1, &ownList, &ofStyle5}), styles);
    const std::vector<WordPiece> pieces = {{0, 24, 0x400, true}};
    EXPECT_EQ(listAt(paragraphs, pieces, 0, 0), std::make_pair(3, 2));
    EXPECT_EQ(listAt(paragraphs, pieces, 0, 8), std::make_pair(2, 2));
    EXPECT_EQ(listAt(paragraphs, pieces, 0, 16), std::make_pair(0, 2));

    // Styles past their table's end give nothing.
    Paragraphs cut;
    readParagraphs(cut, propertyPage({&ofStyle1}), styles.substr(0, 40));
    EXPECT_FALSE(cut.lists.anyList());
}
