// The binary workbook reader on record streams built in code.
#include "legacy/excel/ExcelBinaryReader.h"

#include "support/BiffBuilder.h"
#include "support/StructuredRead.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace quillet;
using namespace quillet::test;

namespace {

Exported run(const std::string& records, uint32_t flags = WriteText)
{
    return exportFile(exportExcelDocument, buildWorkbookFile(records), flags);
}

}  // namespace

TEST(ExcelBinaryReader, CellsAndSharedStringsInRecordOrder)
{
    const std::string sst = biffRecord(0x00FC, sstHead(3, 3) + biffString({u"x"}) + biffString({u""}) +
                                                   biffString({u"\u4E2D\u6587", true}));
    const std::pair<std::string, std::u16string> cases[] = {
        // LABEL has no row check; the next number on its row brings the break.
        {labelCell(0, 0, {u"a"}) + labelCell(0, 1, {u""}) + labelCell(1, 0, {u"\u00E9\u4E2D", true}) +
             numberCell(1, 1, 1),
         u"a\t\u00E9\u4E2D\t\n1\t"},
        // Shared-string cells before the table, past its end or empty; a second table is not read.
        {labelSst(2, 0, 0) + sst + biffRecord(0x00FC, sstHead(1, 1) + biffString({u"second"})) + labelSst(0, 0, 2) +
             labelSst(1, 0, 7) + labelSst(2, 0, 1) + labelSst(2, 1, 0),
         u"\u4E2D\u6587\t\n\nx\t"},
        // 16-bit characters continued as 8-bit ones.
        {biffSplit(0x00FC, {sstHead(1, 1) + le16(4) + '\x01' + utf16leBytes(u"ab"), std::string("\0cd", 3)}) +
             labelSst(0, 0, 0),
         u"abcd\t"},
        // Strings behind the declared count.
        {biffRecord(0x00FC, sstHead(1, 1) + biffString({u"a"}) + biffString({u"extra"})) + labelSst(0, 0, 1),
         u"extra\t"},
    };
    for (const auto& [records, expected] : cases) {
        const Exported result = run(records);
        EXPECT_EQ(result.code, Success) << expected.size();
        EXPECT_EQ(result.text, utf16leBytes(expected));
    }

    // Values split with nothing to continue them, or missing from their record
    // (a cell record cut by the end of the stream is empty).
    for (const std::string& records :
         {biffRecord(0x00FC, sstHead(1, 1) + biffString({u"a"})) + biffRecord(0x00FD, cellHead(0, 0) + "\x01\x00"),
          biffRecord(0x00FD, cellHead(0, 0)), biffRecord(0x0203, cellHead(0, 0) + "1234"),
          biffRecord(0x00FC, "\x01\x00")})
        EXPECT_EQ(run(records).code, ConversionFailed);
    // What was read before the damage stays in the file.
    const Exported cut = run(numberCell(0, 0, 1) + le16(0x0203) + le16(0xFFFF) + std::string(20, '\x7F'));
    EXPECT_EQ(cut.code, ConversionFailed);
    EXPECT_EQ(cut.text, utf16leBytes(u"1\t"));
}

TEST(ExcelBinaryReader, NumbersAndRkValues)
{
    // Without cell styles numbers show as General does.
    const std::string numbers = numberCell(0, 0, std::nan("")) +
                                numberCell(0, 0, std::numeric_limits<double>::infinity()) + numberCell(0, 0, -1.5e300) +
                                numberCell(0, 0, 3.1415926535) + numberCell(0, 0, 1e-7);
    EXPECT_EQ(run(numbers).text, utf16leBytes(u"#NUM!\t#DIV/0!\t-1.5E+300\t3.1415926535\t0.0000001\t"));

    // Whole numbers (shifted by two) and the upper bits of a double, each as it is or divided by 100.
    const std::string rks = rkCell(0, 0, rkWhole(0x1FFFFFFF)) + rkCell(0, 0, rkWhole(-5) | 1) +
                            rkCell(0, 0, 0x3FF00000) + rkCell(0, 0, 0x3FF00001) + rkCell(0, 0, 0xC0040000);
    EXPECT_EQ(run(rks).text, utf16leBytes(u"536870911\t-0.05\t1\t0.01\t-2.5\t"));
}

TEST(ExcelBinaryReader, CellValuesAsTheirStylesShowThem)
{
    // Styles 0 to 3: General, a workbook's own percent, a built-in date, a workbook's own date.
    const std::string styles = formatRecord(164, u"0.0%") + formatRecord(165, u"d mmmm yyyy \u00E9") +
                               cellStyleRecord(0) + cellStyleRecord(164) + cellStyleRecord(14) + cellStyleRecord(165);
    const std::pair<std::string, std::u16string> cases[] = {
        {styles + numberCell(0, 0, 0.256, 1) + rkCell(0, 1, rkWhole(39045), 2) + numberCell(0, 2, 39045, 3) +
             numberCell(0, 3, 2.5, 9),
         u"25.6%\t11/24/2006\t24 November 2006 \u00E9\t2.5\t"},
        // The 1904 date system moves every date.
        {biffRecord(0x0022, le16(1)) + styles + rkCell(0, 0, rkWhole(0), 2), u"1/1/1904\t"},
        // A run of numbers, each with its style; the row changes before the run.
        {styles + numberCell(0, 0, 1) + mulRkCells(1, 0, {{0, rkWhole(7)}, {1, rkWhole(1)}, {2, rkWhole(61)}}),
         u"1\t\n7\t100.0%\t3/1/1900\t"},
        // Formula results: a number in its style, a string from the STRING record after it, a boolean,
        // an error, an empty string; a STRING with no formula before it is not a cell.
        {styles + formulaCell(0, 0, doubleBytes(0.5), 1) + formulaCell(0, 1, formulaResult(0)) +
             biffRecord(0x04BC, "shared") + biffRecord(0x0207, biffString({u"text"})) +
             formulaCell(1, 0, formulaResult(1, 1)) + formulaCell(1, 1, formulaResult(2, 0x07)) +
             formulaCell(1, 2, formulaResult(3)) + biffRecord(0x0207, biffString({u"stray"})),
         u"50.0%\ttext\t\nTRUE\t#DIV/0!\t"},
        {boolErrCell(0, 0, 0, false) + boolErrCell(0, 1, 1, false) + boolErrCell(1, 0, 0x2A, true) +
             boolErrCell(1, 1, 0x17, true),
         u"FALSE\tTRUE\t\n#N/A\t#REF!\t"},
        // A section that shows nothing leaves no value and no tab.
        {formatRecord(164, u"0;;") + cellStyleRecord(164) + numberCell(0, 0, 0, 0) + numberCell(0, 1, -3, 0), u""},
        // Records cut short: a run without its last column, a style without its format.
        {mulRkCells(0, 0, {}) + biffRecord(0x00BD, le16(0) + le16(0) + le16(0)) + biffRecord(0x00E0, "") +
             numberCell(0, 0, 2, 0),
         u"2\t"},
    };
    for (const auto& [records, expected] : cases) {
        const Exported result = run(records);
        EXPECT_EQ(result.code, Success);
        EXPECT_EQ(result.text, expected.empty() ? "" : utf16leBytes(expected)) << utf16leBytes(expected);
    }
}

TEST(ExcelBinaryReader, Excel5WorkbooksInABookStream)
{
    // 8-bit strings in the CODEPAGE record's page (here 1251), counted in 16 bits in cells and in 8
    // bits in formats, headers and footers; the first BOF decides, a sheet's later one does not.
    const std::string records =
        biffRecord(0x0809, le16(0x0500) + le16(5)) + biffRecord(0x0042, le16(1251)) +
        biffRecord(0x041E, le16(164) + std::string(1, '\x04') + "0.0%") + cellStyleRecord(164) +
        biffRecord(0x0014, '\x06' + std::string("Header")) + biffRecord(0x0809, le16(0x0600) + le16(0x10)) +
        biffRecord(0x0204, cellHead(0, 0) + le16(3) + "\xCF\xF0\xE8") + numberCell(0, 1, 0.5, 0) +
        biffRecord(0x00D6, cellHead(1, 0) + le16(2) + "ab\x01\x00\x00") + formulaCell(1, 1, formulaResult(0)) +
        biffRecord(0x0207, le16(9) + "xyz") + biffRecord(0x001C, le16(1) + le16(1) + le16(4) + "note") +
        biffRecord(0x0015, '\x04' + std::string("Foot"));
    CompoundFileBuilder book;
    book.add("Book", records);
    EXPECT_EQ(exportFile(exportExcelDocument, book.build(), WriteText | WriteExtras).text,
              utf16leBytes(u"\nHeader\t\u041F\u0440\u0438\t50.0%\tab\t\nxyz\tnote\tFoot"));
}

TEST(ExcelBinaryReader, HeadersFootersAndCommentsOnlyWithExtras)
{
    const std::string records = biffRecord(0x0014, biffString({u"Report"})) + biffRecord(0x0014, "") +
                                labelCell(0, 0, {u"a"}) + commentObject(7) + commentText(u"Nice") + commentObject(8) +
                                commentText(u"\u6CE8\u91CA", true) + noteRecord(8) + noteRecord(7) + noteRecord(7) +
                                biffRecord(0x0015, biffString({u"Foot"}));
    EXPECT_EQ(run(records).text, utf16leBytes(u"a\t"));
    EXPECT_EQ(run(records, WriteText | WriteExtras).text, utf16leBytes(u"\nReport\ta\t\u6CE8\u91CA\tNice\tFoot"));
    EXPECT_EQ(run(records, WriteExtras).text, "(none)");

    // The text of a text box or other shape where it stands (none without an object before it), a
    // comment cut at a zero, a text object without its text.
    const std::pair<std::string, std::u16string> comments[] = {
        {commentObject(3, 8) + commentText(u"picture") + noteRecord(3), u"picture\t"},
        {labelCell(0, 0, {u"a"}) + commentObject(4, 6) + commentText(u"Box") + commentText(u"orphan"), u"a\tBox\t"},
        {commentObject(2) + commentText(std::u16string(u"ab\0cd", 5)) + noteRecord(2), u"ab\t"},
        {commentObject(2) + biffRecord(0x01B6, std::string(18, '\0')) + noteRecord(2), u""},
    };
    for (const auto& [records, expected] : comments)
        EXPECT_EQ(run(records, WriteText | WriteExtras).text, utf16leBytes(expected));
}

TEST(ExcelBinaryReader, LongOutputKeepsItsOrderAndGoesWithEncryption)
{
    std::string records;
    std::u16string expected;
    for (uint16_t i = 0; i < 20000; ++i) {
        // LABEL has no row check: the break comes before the number.
        records += labelCell(i, 0, {u"abc"}) + numberCell(i, 1, i);
        const std::string number = std::to_string(i);
        expected += (i == 0 ? u"abc\t" : u"abc\t\n") + std::u16string(number.begin(), number.end()) + u"\t";
    }
    EXPECT_EQ(run(records).text, utf16leBytes(expected));

    for (const std::string& file : {buildWorkbookFile(records + biffRecord(0x002F, "")),  // after flushed output
                                    buildWorkbookFile(numberCell(0, 0, 1), {"ZebEncryptionInfo"})}) {
        const Exported result = exportFile(exportExcelDocument, file, WriteText);
        EXPECT_EQ(result.code, Encrypted);
        EXPECT_EQ(result.text, "(none)");
    }
}

TEST(ExcelBinaryReader, LargeReusedSharedStringTablesStream)
{
    // The strings in an SST record and CONTINUE records broken between strings.
    const auto table = [](uint32_t unique, uint32_t uses, std::u16string& listed) {
        std::vector<std::string> pieces{sstHead(uses, unique)};
        for (uint32_t i = 0; i < unique; ++i) {
            const std::u16string s = u"s" + std::u16string(1 + i % 7, u'a' + char16_t(i % 26)) + u"\u00E9";
            listed += s + u"\r\n";
            const std::string bytes = biffString({s, i % 2 == 1, uint16_t(i % 3), i % 5 ? "" : "pho"});
            if (pieces.back().size() + bytes.size() > 8224)
                pieces.emplace_back();
            pieces.back() += bytes;
        }
        return biffSplit(0x00FC, pieces);
    };
    const std::string cells = labelSst(0, 0, 5) + numberCell(1, 0, 1);
    std::u16string listed;
    const Exported streamed = run(table(6000, 120000, listed) + cells);
    EXPECT_EQ(streamed.code, SharedStringsOnly);
    EXPECT_EQ(streamed.text, utf16leBytes(listed));
    // Too few strings, or too few uses each: an ordinary table.
    for (const auto& [unique, uses] : {std::pair<uint32_t, uint32_t>{4999, 120000}, {6000, 119999}}) {
        std::u16string ignored;
        const Exported result = run(table(unique, uses, ignored) + cells);
        EXPECT_EQ(result.code, Success);
        EXPECT_EQ(result.text, utf16leBytes(u"sffffff\u00E9\t\n1\t"));
    }
}

// Each sheet's substream is a part named as the workbook lists it; a chart's
// substream inside a sheet is part of that sheet, and a sheet's first row
// never continues the last row of the sheet before.
TEST(ExcelBinaryReader, SheetsArePartsNamedAsTheWorkbookListsThem)
{
    const auto bof = [](uint16_t kind) { return biffRecord(0x0809, le16(0x0600) + le16(kind)); };
    const std::string eof = biffRecord(0x000A, "");
    const auto sheetName = [](const std::string& name, bool wide) {
        return biffRecord(0x0085, le32(0) + std::string(2, '\0') + char(wide ? name.size() / 2 : name.size()) +
                                      char(wide ? 1 : 0) + name);
    };
    const std::string records = bof(5) + sheetName("Data", false) + sheetName(utf16leBytes(u"\u00DCn\u00EF"), true) +
                                eof + bof(0x10) + numberCell(0, 0, 1) + bof(0x20) + numberCell(5, 0, 9) + eof + eof +
                                bof(0x10) + numberCell(0, 0, 2) + eof + bof(0x10) + numberCell(0, 0, 3) + eof;
    const std::string file = buildWorkbookFile(records);
    EXPECT_EQ(exportFile(exportExcelDocument, file, WriteText).text, utf16leBytes(u"1\t\n9\t\n2\t\n3\t"));
    const readable::Document document = readStructured(file);
    EXPECT_EQ(partList(document),
              (std::vector<std::string>{"sheet 1 Data: 1\n9\n", "sheet 2 \u00DCn\u00EF: 2\n", "sheet 3 : 3\n"}));
}
