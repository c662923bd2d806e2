// Spreadsheet packages built in code, read by the extractor directly.
#include "ooxml/xlsx/XlsxTextExtractor.h"

#include "support/ZipBuilder.h"

#include <gtest/gtest.h>

using namespace quillet;
using namespace quillet::test;

namespace {

constexpr uint32_t kText = 0x10;
constexpr uint32_t kExtras = 0x110;
const auto exportXlsx = extractPackage<XlsxTextExtractor>;

std::string xmlPart(const std::string& root, const std::string& inside)
{
    return "<" + root + " xmlns:r=\"r\">" + inside + "</" + root + ">";
}

// A workbook in the shape Excel writes: worksheet N is rIdN, the shared
// strings (si elements) rId1000, and the first sheet may have comments.
Parts workbook(const std::vector<std::string>& sheets, const std::string& strings = "",
               const std::string& comments = "")
{
    Parts parts{{"_rels/.rels", relationships(relationship("rId1", "officeDocument", "xl/workbook.xml"))}};
    std::string list, rels;
    for (size_t i = 1; i <= sheets.size(); ++i) {
        const std::string n = std::to_string(i);
        list += "<sheet name=\"Sheet" + n + "\" sheetId=\"" + n + "\" r:id=\"rId" + n + "\"/>";
        rels += relationship("rId" + n, "worksheet", "worksheets/sheet" + n + ".xml");
        parts["xl/worksheets/sheet" + n + ".xml"] = xmlPart("worksheet", sheets[i - 1]);
    }
    if (!strings.empty()) {
        rels += relationship("rId1000", "sharedStrings", "sharedStrings.xml");
        parts["xl/sharedStrings.xml"] = xmlPart("sst", strings);
    }
    if (!comments.empty()) {
        parts["xl/worksheets/_rels/sheet1.xml.rels"] = relationships(relationship("rId1", "comments", "../c.xml"));
        parts["xl/c.xml"] =
            xmlPart("comments", "<authors><author>Ann</author></authors><commentList>" + comments + "</commentList>");
    }
    parts["xl/_rels/workbook.xml.rels"] = relationships(rels);
    parts["xl/workbook.xml"] = xmlPart("workbook", "<sheets>" + list + "</sheets>");
    return parts;
}

std::string sst(const std::vector<std::string>& strings)
{
    std::string xml;
    for (const std::string& text : strings)
        xml += "<si><t>" + text + "</t></si>";
    return xml;
}

// One row; "s:3" is a shared-string cell, plain text a number.
std::string sheet(const std::vector<std::string>& cells, const std::string& after = "")
{
    std::string xml = "<sheetData><row>";
    for (const std::string& cell : cells) {
        const size_t colon = cell.find(':');
        xml += colon == std::string::npos
                   ? "<c r=\"A1\"><v>" + cell + "</v></c>"
                   : "<c r=\"A1\" t=\"" + cell.substr(0, colon) + "\"><v>" + cell.substr(colon + 1) + "</v></c>";
    }
    return xml + "</row></sheetData>" + after;
}

// Worksheet XML of about the given size: rows of numbers.
std::string paddedSheet(size_t bytes)
{
    std::string xml = "<sheetData>";
    while (xml.size() < bytes)
        xml += "<row><c r=\"A1\"><v>1</v></c><c r=\"A1\"><v>2</v></c></row>";
    return xml + "</sheetData>";
}

std::string boldComment(const std::string& author, const std::string& text)
{
    return "<comment ref=\"A1\" authorId=\"0\"><text><r><rPr><b/></rPr><t xml:space=\"preserve\">" + author +
           "</t></r><r><t>" + text + "</t></r></text></comment>";
}

}  // namespace

TEST(XlsxTextExtractor, CellsRowsSheetsCommentsAndSizeBounds)
{
    const std::string headers = "<headerFooter><oddHeader>&amp;CTop</oddHeader><evenHeader>Even</evenHeader>"
                                "<oddFooter>Foot</oddFooter><firstFooter>First</firstFooter></headerFooter>";
    const std::string twoSheets = "<workbook xmlns:r=\"r\"><sheets><sheet name=\"B\" sheetId=\"2\" r:id=\"rId2\"/>"
                                  "<sheet name=\"A\" sheetId=\"1\" r:id=\"rId1\"/></sheets></workbook>";
    const struct {
        const char* name;
        Parts parts;
        uint32_t flags;
        std::optional<std::string> expected;
    } cases[] = {
        {"an empty shared string writes no tab", workbook({sheet({"s:0", "s:1", "7"})}, sst({"", "y"})), kText,
         "y\t7\t\n\t"},
        {"inline strings, plain and rich, like any other cell",
         workbook({"<sheetData><row><c t=\"inlineStr\"><is><t>hi</t></is></c><c><v>2</v></c></row></sheetData>",
                   "<sheetData><row><c t=\"inlineStr\"><is><r><t>a</t></r><r><t>b</t></r><rPh><t>ignored</t></rPh>"
                   "</is></c><c t=\"inlineStr\"><is/></c></row></sheetData>"}),
         kText, "hi\t2\t\n\tab\t\n\t"},
        {"formula cells give their cached value, cells without v and empty rows nothing but the row end",
         workbook({"<sheetData><row><c><f>1+1</f><v>2</v></c><c s=\"1\"/><c t=\"str\"><v></v></c></row>"
                   "<row/><row r=\"9\" spans=\"1:2\"></row></sheetData>"}),
         kText, "2\t\n\t\n\t\n\t"},
        {"rich shared strings joined, phonetic runs left out",
         workbook({sheet({"s:0"})}, "<si><r><rPr><b/></rPr><t>Bold</t></r><r><t xml:space=\"preserve\"> plain</t>"
                                    "</r><rPh sb=\"0\" eb=\"1\"><t>yomi</t></rPh></si>"),
         kText, "Bold plain\t\n\t"},
        {"shared-string indexes out of range, negative, huge or without digits",
         workbook({sheet({"s:2", "s:-1", "s:99999999999999999999", "s:x", "s: 1", "s:+1"})}, sst({"zero", "one"})),
         kText, "zero\tone\tone\t\n\t"},
        {"no shared-strings part: string cells give nothing", workbook({sheet({"s:0", "3"})}), kText, "3\t\n\t"},
        {"sheets in workbook order, not part order",
         edited(workbook({sheet({"1"}), sheet({"2"})}), {{"xl/workbook.xml", twoSheets}}), kText, "2\t\n\t1\t\n\t"},
        {"unknown, external and dangling sheet relationships are passed over",
         edited(workbook({sheet({"1"})}),
                {{"xl/workbook.xml", "<workbook xmlns:r=\"r\"><sheets><sheet r:id=\"rId9\"/><sheet r:id=\"rIdX\"/>"
                                     "<sheet r:id=\"rIdY\"/><sheet/><sheet r:id=\"rId1\"/></sheets></workbook>"},
                 {"xl/_rels/workbook.xml.rels",
                  relationships(relationship("rId1", "worksheet", "worksheets/sheet1.xml") +
                                relationship("rIdX", "worksheet", "http://e/s.xml", " TargetMode=\"External\"") +
                                relationship("rIdY", "worksheet", "worksheets/missing.xml"))}}),
         kText, "1\t\n\t"},
        {"odd header and footer with extras; even and first ones never", workbook({sheet({"1"}, headers)}), kExtras,
         "1\t\n\t&CTop\tFoot\t"},
        {"comments with extras, each after \\n\\t, the part followed by \\n\\t",
         workbook({sheet({"1"}), sheet({"2"})}, "",
                  boldComment("Ann:", "hello") + boldComment("Bob:", "bye") +
                      "<comment ref=\"B1\"><text><t>plain</t></text></comment><comment ref=\"C1\"/>"
                      "<unknown><t>u</t></unknown>"),
         kExtras, "1\t\n\t\n\tAnn:hello\n\tBob:bye\n\t\n\t\n\t2\t\n\t"},
        {"worksheets of 10 MiB together: the shared strings instead",
         workbook({paddedSheet(6 << 20), paddedSheet(5 << 20)}, sst({"a", "", "b c"})), kText, "a  b c "},
        {"just below 10 MiB the cells are read",
         workbook({sheet({"s:0"}, "<!--" + std::string(XlsxTextExtractor::kWorksheetBound - 400, ' ') + "-->")},
                  sst({"a"})),
         kText, "a\t\n\t"},
        {"a lone sheet whose part is missing counts below zero: the shared strings",
         edited(workbook({sheet({"s:0"})}, sst({"only"})), {{"xl/worksheets/sheet1.xml", ""}}), kText, "only "},
        {"no officeDocument relationship: no file", edited(workbook({sheet({"1"})}), {{"_rels/.rels", ""}}), kText,
         std::nullopt},
        {"pictures only: no file", workbook({sheet({"1"})}), 0x01, std::nullopt},
        {"prefixed spreadsheet names are unknown",
         workbook({"<x:sheetData><x:row><x:c><x:v>1</x:v></x:c></x:row></x:sheetData>"
                   "<sheetData><row><c><x:v>2</x:v><v>3</v></c></row></sheetData>"}),
         kText, "3\t\n\t"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(exportXlsx(ZipBuilder(c.parts).bytes(), c.flags), c.expected) << c.name;
    // Nothing checks a declared size against the data: a sheet declared at 2 GiB is never read.
    std::string zip = ZipBuilder(workbook({sheet({"1"})}, sst({"s"}))).bytes();
    patchEntry(zip, "xl/worksheets/sheet1.xml", 22, 0x7FFFFFFF);
    EXPECT_EQ(exportXlsx(zip, kText), "s ");
}
