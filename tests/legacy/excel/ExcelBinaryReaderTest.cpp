// The binary workbook reader on record streams built in code.
#include "legacy/excel/ExcelBinaryReader.h"
#include "compound/CompoundFileError.h"
#include "legacy/excel/ExcelNumberFormat.h"

#include "support/BiffBuilder.h"

#include <gtest/gtest.h>

#include <quillet/quillet.h>

#include <cmath>
#include <limits>

using namespace quillet;
using namespace quillet::test;

namespace {

struct Outcome {
    int code = -1;
    std::string text;  // "1.txt" as UTF-16LE, "(none)" when not written
};

Outcome runFile(const std::string& file, uint32_t flags = WriteText)
{
    TempDir dir;
    Outcome result;
    try {
        result.code = exportExcelDocument(*openBytes(file), dir.path(), flags);
    } catch (const CompoundFileError&) {
        result.code = ConversionFailed;
    }
    result.text = fileExists(dir.file("1.txt")) ? readFile(dir.file("1.txt")) : "(none)";
    return result;
}

Outcome run(const std::string& records, uint32_t flags = WriteText)
{
    return runFile(buildWorkbookFile(records), flags);
}

std::string text(const std::u16string& units)
{
    return utf16leBytes(units);
}

uint32_t rkInteger(int32_t value, bool hundredths = false)
{
    return (uint32_t(value) << 2) | 0x02 | (hundredths ? 0x01 : 0);
}

}  // namespace

TEST(ExcelBinaryReader, CellsInRecordOrderWithRowBreaks)
{
    const std::string sst = sstRecord({{u"x"}, {u""}, {u"\u4E2D\u6587", true}});
    const std::pair<std::string, std::u16string> cases[] = {
        {sst + labelSst(0, 0, 0) + numberCell(0, 1, 2.5) + rkCell(1, 0, rkInteger(7)), u"x\t2.500000\t\n7\t"},
        // LABEL has no row check; the next number on its row brings the break.
        {labelCell(0, 0, u"a") + labelCell(1, 0, u"b") + numberCell(1, 1, 1), u"a\tb\t\n1\t"},
        {labelCell(0, 0, u"") + labelCell(0, 1, u"\u00E9\u4E2D", true), u"\u00E9\u4E2D\t"},
        // A new sheet starting on another row breaks the line; nothing else marks it.
        {numberCell(3, 0, 1) + eofRecord() + bofRecord(0x10) + numberCell(0, 0, 2), u"\n1\t\n2\t"},
        // Shared-string cells before the table, outside it, or empty.
        {labelSst(2, 0, 0) + sst + labelSst(0, 0, 2), u"\u4E2D\u6587\t"},
        {sst + labelSst(1, 0, 7) + labelSst(2, 0, 1) + labelSst(2, 1, 0), u"\n\nx\t"},
        {sst + sstRecord({{u"second"}}) + labelSst(0, 0, 0), u"x\t"},
        // Records the reader does not know are passed over whole.
        {bofRecord() + biffRecord(0x00BD, std::string(20, '\x01')) + biffRecord(0x0006, std::string(30, 'f')) +
             numberCell(0, 0, 3) + eofRecord(),
         u"3\t"},
    };
    for (const auto& [records, expected] : cases) {
        const Outcome result = run(records);
        EXPECT_EQ(result.code, Success);
        EXPECT_EQ(result.text, text(expected));
    }
}

TEST(ExcelBinaryReader, NumbersAndRkValues)
{
    const double inf = std::numeric_limits<double>::infinity();
    const std::pair<double, std::u16string> numbers[] = {
        {0.1 + 0.2, u"0.300000"},
        {-0.0, u"0"},
        {1e-17, u"0"},  // within double epsilon of a whole number
        {1e15 + 0.5, u"1000000000000000.500000"},
        {9.2e18, u"9200000000000000000"},
        {-9223372036854775808.0, u"-9223372036854775808"},
        {9223372036854775808.0, u"9223372036854775808.000000"},
        {std::nan(""), u"nan"},
        {inf, u"inf"},
        {-inf, u"-inf"},
    };
    for (const auto& [value, expected] : numbers)
        EXPECT_EQ(formatCellNumber(value), expected) << value;
    const std::u16string huge = formatCellNumber(-1.5e300);
    EXPECT_EQ(huge.size(), 1 + 301 + 7u);
    EXPECT_EQ(huge.substr(0, 2), u"-1");
    EXPECT_EQ(formatCellNumber(std::numeric_limits<double>::max()).size(), 309 + 7u);

    const std::pair<uint32_t, std::u16string> rks[] = {
        {10, u"2"},
        {15, u"0.030000"},
        {0x3FF00000, u"1"},         // the upper bits of the double 1.0
        {0x3FF00001, u"0.010000"},  // and divided by 100
        {0xC0040000, u"-2.500000"},
        {rkInteger(-1), u"-1"},
        {rkInteger(-5, true), u"-0.050000"},
        {rkInteger(0x1FFFFFFF), u"536870911"},
    };
    std::string records;
    std::u16string expected;
    for (const auto& [rk, shown] : rks) {
        records += rkCell(0, 0, rk);
        expected += shown + u"\t";
    }
    EXPECT_EQ(run(records).text, text(expected));
}

TEST(ExcelBinaryReader, HeadersFootersAndCommentsOnlyWithExtras)
{
    const std::string records = biffRecord(0x0014, biffString(u"Report")) + biffRecord(0x0014, "") +
                                labelCell(0, 0, u"a") + commentObject(7) + commentText(u"Nice") + commentObject(8) +
                                commentText(u"\u6CE8\u91CA", true) + noteRecord(0, 0, 8) + noteRecord(0, 0, 7) +
                                noteRecord(0, 0, 7) + biffRecord(0x0015, biffString(u"Foot"));
    const std::tuple<uint32_t, int, std::string> cases[] = {
        {WriteText, Success, text(u"a\t")},
        {WriteText | WriteExtras, Success, text(u"\nReport\ta\t\u6CE8\u91CA\tNice\tFoot")},
        {WriteExtras, Success, "(none)"},
        {WritePictures, Success, "(none)"},
    };
    for (const auto& [flags, code, expected] : cases) {
        const Outcome result = run(records, flags);
        EXPECT_EQ(result.code, code) << flags;
        EXPECT_EQ(result.text, expected) << flags;
    }

    // Comment records out of their order, of other objects, or cut at a zero.
    const std::pair<std::string, std::u16string> comments[] = {
        {noteRecord(0, 0, 1) + commentObject(1) + commentText(u"late"), u""},
        {commentText(u"orphan") + noteRecord(0, 0, 0), u""},
        {biffRecord(0x005D, le16(0x15) + le16(0x12) + le16(8) + le16(3)) + commentText(u"picture") +
             noteRecord(0, 0, 3),
         u""},
        {commentObject(2) + commentText(std::u16string(u"ab\0cd", 5)) + noteRecord(0, 0, 2), u"ab\t"},
        {commentObject(2) + biffRecord(0x01B6, std::string(18, '\0')) + noteRecord(0, 0, 2), u""},
        // The text continues in a second CONTINUE, now 16-bit.
        {commentObject(4) + biffRecord(0x01B6, std::string(10, '\0') + le16(4) + std::string(6, '\0')) +
             biffRecord(0x003C, std::string("\0ab", 3)) + biffRecord(0x003C, "\x01" + utf16leBytes(u"\u4E2D\u6587")) +
             noteRecord(0, 0, 4),
         u"ab\u4E2D\u6587\t"},
    };
    for (const auto& [records, expected] : comments)
        EXPECT_EQ(run(records, WriteText | WriteExtras).text, text(expected));
}

TEST(ExcelBinaryReader, LongOutputKeepsItsOrderAndGoesWithEncryption)
{
    std::string records;
    std::u16string expected;
    for (uint16_t i = 0; i < 20000; ++i) {
        // LABEL has no row check: the break comes before the number.
        records += labelCell(i, 0, u"abc") + numberCell(i, 1, i);
        expected += (i == 0 ? u"abc\t" : u"abc\t\n") + formatCellNumber(i) + u"\t";
    }
    EXPECT_EQ(run(records).text, text(expected));

    const std::string filePass = biffRecord(0x002F, le16(1) + std::string(52, '\0'));
    CompoundFileBuilder noWorkbook;
    noWorkbook.add("Book", numberCell(0, 0, 1));
    const std::tuple<std::string, uint32_t, int> cases[] = {
        {buildWorkbookFile(bofRecord() + numberCell(0, 0, 1) + filePass + numberCell(0, 1, 2)), WriteText, Encrypted},
        {buildWorkbookFile(filePass), WritePictures, Encrypted},
        {buildWorkbookFile(records + biffRecord(0x002F, "")), WriteText, Encrypted},  // after flushed output
        {buildWorkbookFile(numberCell(0, 0, 1), {"ZebEncryptionInfo"}), WriteText, Encrypted},
        {noWorkbook.build(), WriteText, Unreadable},
    };
    for (const auto& [file, flags, code] : cases) {
        const Outcome result = runFile(file, flags);
        EXPECT_EQ(result.code, code);
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
            const std::string bytes = biffRichString({s, i % 2 == 1, uint16_t(i % 3), i % 5 ? "" : "pho"});
            if (pieces.back().size() + bytes.size() > 8224)
                pieces.emplace_back();
            pieces.back() += bytes;
        }
        return biffSplit(0x00FC, pieces);
    };
    const std::string cells = labelSst(0, 0, 5) + numberCell(1, 0, 1);
    std::u16string listed;
    const Outcome streamed = run(table(6000, 120000, listed) + cells);
    EXPECT_EQ(streamed.code, SharedStringsOnly);
    EXPECT_EQ(streamed.text, text(listed));

    // Too few strings, or too few uses each: an ordinary table.
    for (const auto& [unique, uses] : {std::pair<uint32_t, uint32_t>{4999, 120000}, {6000, 119999}}) {
        std::u16string ignored;
        const Outcome result = run(table(unique, uses, ignored) + cells);
        EXPECT_EQ(result.code, Success);
        EXPECT_EQ(result.text, text(u"sffffff\u00E9\t\n1\t"));
    }
}

TEST(ExcelBinaryReader, StringsAndValuesAcrossContinueRecords)
{
    const std::pair<std::string, std::u16string> cases[] = {
        // 8-bit characters continued as 16-bit ones, and the other way round.
        {biffSplit(0x00FC, {sstHead(1, 1) + le16(6) + '\0' + "abc", "\x01" + utf16leBytes(u"d\u4E2Df")}) +
             labelSst(0, 0, 0),
         u"abcd\u4E2Df\t"},
        {biffSplit(0x00FC, {sstHead(1, 1) + le16(4) + '\x01' + utf16leBytes(u"ab"), std::string("\0cd", 3)}) +
             labelSst(0, 0, 0),
         u"abcd\t"},
        // Runs and a phonetic block running on into the CONTINUE, then the next string.
        {biffSplit(0x00FC, {sstHead(2, 2) + biffRichString({u"one", false, 2, "phon"}).substr(0, 14),
                            biffRichString({u"one", false, 2, "phon"}).substr(14) + biffRichString({u"two"})}) +
             labelSst(0, 0, 0) + labelSst(0, 1, 1),
         u"one\ttwo\t"},
        // A string cut by its record with no CONTINUE: the table ends there and
        // the records after it are read as usual.
        {biffRecord(0x00FC, sstHead(2, 2) + le16(10) + '\0' + "abc") + labelCell(0, 0, u"next") + labelSst(0, 1, 0),
         u"next\tabc\t"},
        // A shared-string index split over a CONTINUE.
        {sstRecord({{u"zero"}, {u"one"}}) + biffSplit(0x00FD, {cellHead(0, 0) + "\x01", std::string("\0\0\0", 3)}),
         u"one\t"},
        // An SST of four billion strings with three in its record.
        {biffRecord(0x00FC, sstHead(0xFFFFFFFF, 0xFFFFFFFF) + biffRichString({u"a"}) + biffRichString({u"b"}) +
                                biffRichString({u"c"})) +
             labelSst(0, 0, 2),
         u"c\t"},
        // Strings behind the declared count.
        {biffRecord(0x00FC, sstHead(1, 1) + biffRichString({u"a"}) + biffRichString({u"extra"})) + labelSst(0, 0, 1),
         u"extra\t"},
        // A long chain of empty CONTINUE records ends the table.
        {biffRecord(0x00FC, sstHead(9, 9) + biffRichString({u"a"})) +
             biffSplit(0x003C, std::vector<std::string>(1000)) + labelSst(0, 0, 0) + labelSst(0, 1, 1),
         u"a\t"},
        // A record claiming more bytes than the stream holds ends the records.
        {numberCell(0, 0, 1) + le16(0x0208) + le16(0xFFFF) + std::string(20, '\x7F'), u"1\t"},
        // Three bytes are no record header.
        {numberCell(0, 0, 4) + "\x03\x02\x0E", u"4\t"},
    };
    for (const auto& [records, expected] : cases) {
        const Outcome result = run(records);
        EXPECT_EQ(result.code, Success) << expected.size();
        EXPECT_EQ(result.text, text(expected));
    }

    // Values split with nothing to continue them, or missing from their record
    // (a cell record cut by the end of the stream is empty).
    for (const std::string& records :
         {sstRecord({{u"a"}}) + biffRecord(0x00FD, cellHead(0, 0) + "\x01\x00"), biffRecord(0x00FD, cellHead(0, 0)),
          biffRecord(0x0203, cellHead(0, 0) + "1234"), biffRecord(0x00FC, "\x01\x00")})
        EXPECT_EQ(run(records).code, ConversionFailed);
    // What was read before the damage stays in the file.
    const Outcome cut = run(numberCell(0, 0, 1) + le16(0x0203) + le16(0xFFFF) + std::string(20, '\x7F'));
    EXPECT_EQ(cut.code, ConversionFailed);
    EXPECT_EQ(cut.text, text(u"1\t"));
}
