// The binary workbook reader on record streams built in code.
#include "legacy/excel/ExcelBinaryReader.h"
#include "legacy/excel/ExcelNumberFormat.h"

#include "support/BiffBuilder.h"

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
    const std::pair<double, std::u16string> numbers[] = {
        {std::nan(""), u"nan"},
        {std::numeric_limits<double>::infinity(), u"inf"},
        {-std::numeric_limits<double>::infinity(), u"-inf"},
    };
    for (const auto& [value, expected] : numbers)
        EXPECT_EQ(formatCellNumber(value), expected) << value;
    // The longest numbers keep every digit before the point.
    EXPECT_EQ(formatCellNumber(-1.5e300).size(), 1 + 301 + 7u);
    EXPECT_EQ(formatCellNumber(std::numeric_limits<double>::max()).size(), 309 + 7u);

    // Whole numbers (shifted by two) and the upper bits of a double, each as it is or divided by 100.
    const auto whole = [](int32_t value, uint32_t hundredths) { return (uint32_t(value) << 2) | 0x02 | hundredths; };
    const std::string rks = rkCell(0, 0, whole(0x1FFFFFFF, 0)) + rkCell(0, 0, whole(-5, 1)) + rkCell(0, 0, 0x3FF00000) +
                            rkCell(0, 0, 0x3FF00001) + rkCell(0, 0, 0xC0040000);
    EXPECT_EQ(run(rks).text, utf16leBytes(u"536870911\t-0.050000\t1\t0.010000\t-2.500000\t"));
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

    // The text object of another kind of object, a comment cut at a zero, a
    // text object without its text.
    const std::pair<std::string, std::u16string> comments[] = {
        {commentObject(3, 8) + commentText(u"picture") + noteRecord(3), u""},
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
        expected += (i == 0 ? u"abc\t" : u"abc\t\n") + formatCellNumber(i) + u"\t";
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
