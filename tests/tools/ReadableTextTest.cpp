// Text for people: the marks of every reader's export made readable, plain
// text decoded, documents read from paths and from memory.
#include "readable/ReadableText.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <quillet/quillet.h>

using namespace quillet;
using namespace quillet::readable;
using namespace quillet::test;

TEST(ReadableText, ExportMarksBecomeLinesAndTabs)
{
    const std::pair<std::string, std::string> cases[] = {
        // Word: paragraph marks, a piece's CR LF, cells and a row's end, breaks, hyphens, anchors.
        {"a\rb\r\r\n", "a\nb\n"},
        {"x\x07y\x07\x07z\x07w\x07\x07", "x\ty\nz\tw\n"},
        {"page\x0Cnext\x0Bline\x0E"
         "col",
         "page\nnext\nline\ncol\n"},
        {"non\x1E"
         "breaking op\x1Ftional\x01\x02\x08\x13\x15",
         "non-breaking optional\n"},
        // Spreadsheets: the tab after each value, and the one that starts each row of a package.
        {"Item\tCount\t\n\tApples\t12\t\n\t", "Item\tCount\nApples\t12\n"},
        // Presentations: a tab before each text body.
        {"\tTitle\tBody\n\t\t", "Title\tBody\n"},
        // Blank lines: leading ones go, runs become one, trailing blanks go.
        {"\n\n\nfirst  \n\n\n\n\nsecond\t \n \n", "first\n\nsecond\n"},
        // Unicode line ends, C1 controls and DEL go; letters stay, whatever their script.
        {"a\xE2\x80\xA8"
         "b\xE2\x80\xA9"
         "c\xC2\x85\x7F",
         "a\nb\nc\n"},
        {"Moli\xC3\xA8re \xD0\x81\xD0\xBB\xCE\xB1 \xE4\xB8\xAD \xF0\x9F\x98\x80",
         "Moli\xC3\xA8re \xD0\x81\xD0\xBB\xCE\xB1 \xE4\xB8\xAD \xF0\x9F\x98\x80\n"},
        // What is not UTF-8 becomes U+FFFD, a byte at a time.
        {"a\xFF\xC3"
         "b\xED\xA0\x80",
         "a\xEF\xBF\xBD\xEF\xBF\xBD"
         "b\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\n"},
        {"", ""},
        {"\r\n\t \x07\x07", ""},
    };
    for (const auto& [exported, readable] : cases)
        EXPECT_EQ(readableText(exported), readable) << exported;
    // UTF-16LE as the binary readers leave it after a failed conversion.
    EXPECT_EQ(readableExport(utf16leBytes(u"\u4E2D\r\u00E9\x07\x07"), true), "\xE4\xB8\xAD\n\xC3\xA9\n");
    EXPECT_TRUE(exportIsUtf16(PdfTimeLimit, format::Pdf));
    EXPECT_FALSE(exportIsUtf16(Success, format::Doc));
    EXPECT_FALSE(exportIsUtf16(ConversionFailed, format::Docx));
}

TEST(ReadableText, PlainTextByItsByteOrderMarkOrAsUtf8)
{
    const std::pair<std::string, std::string> cases[] = {
        {std::string("\xFF\xFE\x41\x00\x0D\x00\x0A\x00\x42\x00", 10), "A\nB"},
        {std::string("\xFE\xFF\x04\x01\x00\x0D", 6), "\xD0\x81\n"},
        {"\xEF\xBB\xBF"
         "caf\xC3\xA9\r\n\tindented\x01",
         "caf\xC3\xA9\n\tindented"},
        {"Moli\xC3\xA8re", "Moli\xC3\xA8re"},
    };
    for (const auto& [bytes, text] : cases)
        EXPECT_EQ(readablePlainText(bytes), text) << bytes;
}

// Paths and bytes give the same text, and each failure its status: the tool's
// tests check both on every format. Here what only the reading itself decides.
TEST(ReadableText, ExtrasAndBytesOfNoFormat)
{
    const std::string stories = QUILLET_TEST_DATA "/docx/stories.docx";
    quilletInitialize();
    EXPECT_GT(readDocument(stories, {true}).text.size(), readDocument(stories, {false}).text.size());
    EXPECT_EQ(readDocumentBytes(std::string("\x01\x02\0\x03", 4) + std::string(600, 'x'), {}).code, Unsupported);
    EXPECT_EQ(readDocumentBytes("plain words", {}).text, "plain words");
    EXPECT_EQ(readDocument(QUILLET_TEST_DATA "/missing.txt", {}).code, 2u);
    quilletDestory();
}
