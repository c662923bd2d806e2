// Spreadsheet packages built in code, read by the extractor directly.
#include "ooxml/xlsx/XlsxTextExtractor.h"

#include "support/XlsxBuilder.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>

using namespace quillet;
using namespace quillet::test;

namespace {

constexpr uint32_t kText = 0x10;
constexpr uint32_t kExtras = 0x110;
const auto exportXlsx = extractPackage<XlsxTextExtractor>;

using R = std::vector<std::string>;

std::string sheet(const std::vector<R>& rows, const std::string& after = "")
{
    std::vector<std::string> xml;
    for (const R& row : rows)
        xml.push_back(XlsxBuilder::row(row));
    return XlsxBuilder::sheetData(xml) + after;
}

// Worksheet XML of about the given size: rows of numbers.
std::string paddedSheet(size_t bytes)
{
    const std::string row = XlsxBuilder::row({"1", "2"});
    std::string xml = "<sheetData>";
    while (xml.size() < bytes)
        xml += row;
    return xml + "</sheetData>";
}

}  // namespace

TEST(XlsxTextExtractor, CellRowSheetAndCommentOutput)
{
    const std::string headers = "<headerFooter><oddHeader>&amp;CTop</oddHeader><evenHeader>Even</evenHeader>"
                                "<oddFooter>Foot</oddFooter><firstFooter>First</firstFooter></headerFooter>";
    struct Case {
        const char* name;
        std::function<void(XlsxBuilder&)> build;
        uint32_t flags;
        std::optional<std::string> expected;
    };
    const Case cases[] = {
        {"an empty shared string writes no tab",
         [](XlsxBuilder& b) {
             b.sharedStrings({"", "y"}).worksheet(sheet({{"s:0", "s:1", "7"}}));
         },
         kText, "y\t7\t\n\t"},
        {"inline strings, plain and rich, like any other cell",
         [](XlsxBuilder& b) {
             b.worksheet(sheet({{"inlineStr:hi", "2"}}));
             b.worksheet("<sheetData><row><c t=\"inlineStr\"><is><r><t>a</t></r><r><t>b</t></r>"
                         "<rPh><t>ignored</t></rPh></is></c><c t=\"inlineStr\"><is/></c></row></sheetData>");
         },
         kText, "hi\t2\t\n\tab\t\n\t"},
        {"formula cells give their cached value, cells without v and empty rows nothing but the row end",
         [](XlsxBuilder& b) {
             b.worksheet("<sheetData><row><c><f>1+1</f><v>2</v></c><c s=\"1\"/><c t=\"str\"><v></v></c></row>"
                         "<row/><row r=\"9\" spans=\"1:2\"></row></sheetData>");
         },
         kText, "2\t\n\t\n\t\n\t"},
        {"rich shared strings joined, phonetic runs left out",
         [](XlsxBuilder& b) {
             b.sharedStringsXml("<si><r><rPr><b/></rPr><t>Bold</t></r><r><t xml:space=\"preserve\"> plain</t></r>"
                                "<rPh sb=\"0\" eb=\"1\"><t>yomi</t></rPh></si>");
             b.worksheet(sheet({{"s:0"}}));
         },
         kText, "Bold plain\t\n\t"},
        {"shared-string indexes out of range, negative, huge or without digits",
         [](XlsxBuilder& b) {
             b.sharedStrings({"zero", "one"})
                 .worksheet(sheet({{"s:2", "s:-1", "s:99999999999999999999", "s:x", "s: 1", "s:+1"}}));
         },
         kText, "zero\tone\tone\t\n\t"},
        {"no shared-strings part: string cells give nothing",
         [](XlsxBuilder& b) {
             b.worksheet(sheet({{"s:0", "3"}}));
         },
         kText, "3\t\n\t"},
        {"sheets in workbook order, not part order",
         [](XlsxBuilder& b) {
             b.worksheet(sheet({{"1"}})).worksheet(sheet({{"2"}}));
             b.parts().set("xl/workbook.xml",
                           "<workbook xmlns:r=\"r\"><sheets><sheet name=\"B\" sheetId=\"2\" r:id=\"rId2\"/>"
                           "<sheet name=\"A\" sheetId=\"1\" r:id=\"rId1\"/></sheets></workbook>");
         },
         kText, "2\t\n\t1\t\n\t"},
        {"unknown, external and dangling sheet relationships are passed over",
         [](XlsxBuilder& b) {
             b.worksheet(sheet({{"1"}}));
             b.parts().set("xl/workbook.xml",
                           "<workbook xmlns:r=\"r\"><sheets><sheet r:id=\"rId9\"/><sheet r:id=\"rIdX\"/>"
                           "<sheet r:id=\"rIdY\"/><sheet/><sheet r:id=\"rId1\"/></sheets></workbook>");
             b.parts().set("xl/_rels/workbook.xml.rels",
                           PackagePartSet::relationships(
                               PackagePartSet::relationship("rId1", "worksheet", "worksheets/sheet1.xml") +
                               PackagePartSet::relationship("rIdX", "worksheet", "http://example.com/s.xml", true) +
                               PackagePartSet::relationship("rIdY", "worksheet", "worksheets/missing.xml")));
         },
         kText, "1\t\n\t"},
        {"odd header and footer with extras; even and first ones never",
         [&](XlsxBuilder& b) { b.worksheet(sheet({{"1"}}, headers)); }, kExtras, "1\t\n\t&CTop\tFoot\t"},
        {"comments with extras, each after \\n\\t, the part followed by \\n\\t",
         [](XlsxBuilder& b) {
             b.worksheet(sheet({{"1"}}), XlsxBuilder::comment({"Ann:", "hello"}) +
                                             XlsxBuilder::comment({"Bob:", "bye"}) +
                                             "<comment ref=\"B1\"><text><t>plain</t></text></comment>"
                                             "<comment ref=\"C1\"/><unknown><t>u</t></unknown>");
             b.worksheet(sheet({{"2"}}));
         },
         kExtras, "1\t\n\t\n\tAnn:hello\n\tBob:bye\n\t\n\t\n\t2\t\n\t"},
        {"worksheets of 10 MiB together: the shared strings instead",
         [](XlsxBuilder& b) {
             b.sharedStrings({"a", "", "b c"}).worksheet(paddedSheet(6 << 20)).worksheet(paddedSheet(5 << 20));
         },
         kText, "a  b c "},
        {"just below 10 MiB the cells are read",
         [](XlsxBuilder& b) {
             b.sharedStrings({"a"}).worksheet("<sheetData><row><c t=\"s\"><v>0</v></c></row></sheetData><!--" +
                                              std::string(XlsxTextExtractor::kWorksheetBound - 400, ' ') + "-->");
         },
         kText, "a\t\n\t"},
        {"a lone sheet whose part is missing counts below zero: the shared strings",
         [](XlsxBuilder& b) {
             b.sharedStrings({"only"}).worksheet(sheet({{"s:0"}}));
             b.parts().drop("xl/worksheets/sheet1.xml");
         },
         kText, "only "},
        {"no officeDocument relationship: no file",
         [](XlsxBuilder& b) {
             b.worksheet(sheet({{"1"}}));
             b.parts().drop("_rels/.rels");
         },
         kText, std::nullopt},
        {"pictures only: no file", [](XlsxBuilder& b) { b.worksheet(sheet({{"1"}})); }, 0x01, std::nullopt},
        {"prefixed spreadsheet names are unknown",
         [](XlsxBuilder& b) {
             b.worksheet("<x:sheetData><x:row><x:c><x:v>1</x:v></x:c></x:row></x:sheetData>"
                         "<sheetData><row><c><x:v>2</x:v><v>3</v></c></row></sheetData>");
         },
         kText, "3\t\n\t"},
    };
    for (const Case& c : cases) {
        XlsxBuilder builder;
        c.build(builder);
        EXPECT_EQ(exportXlsx(builder.bytes(), c.flags), c.expected) << c.name;
    }
}

TEST(XlsxTextExtractor, AWorkbookDeclaringAHugeSheetFallsBackWithoutReadingIt)
{
    XlsxBuilder builder;
    builder.sharedStrings({"s"}).worksheet(sheet({{"1"}}));
    std::string bytes = builder.bytes();
    // Nothing checks a declared size against the data: make the sheet's 2 GiB.
    const std::string name = "xl/worksheets/sheet1.xml";
    size_t at = bytes.find(std::string("PK\x01\x02", 4));
    while (at != std::string::npos && bytes.compare(at + 46, name.size(), name) != 0)
        at = bytes.find(std::string("PK\x01\x02", 4), at + 4);
    ASSERT_NE(at, std::string::npos);
    bytes.replace(at + 24, 4, "\xFF\xFF\xFF\x7F");
    EXPECT_EQ(exportXlsx(bytes, kText), "s ");
}
