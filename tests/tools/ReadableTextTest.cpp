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

// Offsets in the export's text move to where their text lands in the
// readable one: inside a kept line to its character (or the line's kept end),
// elsewhere to the start of the next kept line.
TEST(ReadableText, OffsetsMoveWithTheirText)
{
    const std::string exported = "\tone\r\n\r\n\r\ntwo  \r\nthr\x07\x07"
                                 "ee";
    // The start; the leading tab; the LF ending "one"; a blank line; a trailing blank; the row mark's
    // second half; past the end.
    std::vector<size_t> offsets = {0, 1, 5, 7, 14, 21, 26};
    EXPECT_EQ(readableText(exported, offsets), "one\n\ntwo\nthr\nee\n");
    EXPECT_EQ(offsets, (std::vector<size_t>{0, 0, 5, 5, 8, 13, 16}));
}

// A record's marks cut the readable text whatever 1.txt's encoding; marks
// that run backwards or past the text, or no record at all, give one part.
TEST(ReadableText, ExportRecordsCutTheTextIntoParts)
{
    const auto cut = [](const std::string& exported, bool utf16, const std::string& json) {
        Document document;
        document.text = readableExport(exported, utf16);
        readExportRecord(exported, utf16, json, "DOC", document);
        std::vector<std::string> parts;
        for (const Part& part : document.parts)
            parts.push_back(part.kind + std::to_string(part.index) + "[" + part.name + "]" +
                            std::string(partText(document, part)));
        return parts;
    };
    const std::string marks = "{\"format\":\"PDF\",\"code\":4103,\"metadata\":{\"pages\":2},\"parts\":["
                              "{\"kind\":\"page\",\"index\":1,\"name\":\"\",\"start\":2},"
                              "{\"kind\":\"page\",\"index\":2,\"name\":\"p\",\"start\":";
    const std::string utf16 = utf16leBytes(u"\u00E9t\u00E9\r\nsecond\r\n");
    EXPECT_EQ(cut(utf16, true, marks + "10}]}"),
              (std::vector<std::string>{"page1[]\u00E9t\u00E9\n", "page2[p]second\n"}));
    EXPECT_EQ(cut("first\r\nsecond\r\n", false, marks + "7}]}"),
              (std::vector<std::string>{"page1[]first\n", "page2[p]second\n"}))
        << "text before the first mark joins the first part";
    for (const std::string& json : {marks + "1}]}", marks + "99}]}", std::string("not json"), std::string()})
        EXPECT_EQ(cut("first\r\nsecond\r\n", false, json), (std::vector<std::string>{"document1[]first\nsecond\n"}))
            << json;
    EXPECT_EQ(cut("", false, "{\"parts\":null}"), std::vector<std::string>{});

    Document document;
    readExportRecord("x", false, marks + "1}]}", "DOC", document);
    EXPECT_EQ(document.format, "PDF");
    EXPECT_EQ(document.metadataJson, "{\"pages\":2}");
    document.text = "x\x01"
                    "a\tb\n\xE4\xB8\xAD";
    document.parts = {{"sheet", 2, "Q\"3", 0, 5}, {"sheet", 3, "", 5, 4}};
    EXPECT_EQ(
        documentJson(document),
        "{\"code\":0,\"format\":\"PDF\",\"metadata\":{\"pages\":2},\"parts\":[{\"index\":2,"
        "\"kind\":\"sheet\",\"name\":\"Q\\\"3\",\"text\":\"x\\u0001a\\tb\"},{\"index\":3,\"kind\":\"sheet\",\"name\":"
        "\"\",\"text\":\"\\n\xE4\xB8\xAD\"}]}");
}
