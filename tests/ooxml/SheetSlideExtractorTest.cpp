// Spreadsheet and presentation packages built in code, read by their
// extractors directly.
#include "ooxml/pptx/PptxTextExtractor.h"
#include "ooxml/xlsx/XlsxTextExtractor.h"
#include "package/zip/ZipArchive.h"

#include "support/StructuredRead.h"
#include "support/ZipBuilder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>

using namespace quillet;
using namespace quillet::test;

namespace {

constexpr uint32_t kText = 0x10;
constexpr uint32_t kExtras = 0x110;

struct Case {
    const char* name;
    Parts parts;
    uint32_t flags;
    std::optional<std::string> expected;  // "1.txt", nullopt when none is written
};

template <class Extractor>
std::optional<std::string> exported(const std::string& zip, uint32_t flags)
{
    TempDir dir;
    writeFile(dir.file("in.zip"), zip);
    std::filesystem::create_directory(dir.file("out"));
    ZipArchive archive(dir.file("in.zip"));
    Extractor().exportText(archive, dir.file("out"), flags);
    return fileExists(dir.file("out/1.txt")) ? std::optional(readFile(dir.file("out/1.txt"))) : std::nullopt;
}

template <class Extractor>
void check(const std::vector<Case>& cases)
{
    for (const Case& c : cases)
        EXPECT_EQ(exported<Extractor>(ZipBuilder(c.parts).bytes(), c.flags), c.expected) << c.name;
}

std::string xmlPart(const std::string& root, const std::string& inside)
{
    return "<" + root + ">" + inside + "</" + root + ">";
}

// A workbook in the shape Excel writes: worksheet N is rIdN, the shared
// strings (si elements) rId1000, the styles rId1001, and the first sheet may
// have comments.
Parts workbook(const std::vector<std::string>& sheets, const std::string& strings = "",
               const std::string& comments = "", const std::string& styles = "")
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
    if (!styles.empty()) {
        rels += relationship("rId1001", "styles", "styles.xml");
        parts["xl/styles.xml"] = xmlPart("styleSheet", styles);
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

// A comment of about the given size, for parts that must be large.
std::string padding(size_t bytes)
{
    return "<!--" + std::string(bytes, ' ') + "-->";
}

std::string boldComment(const std::string& author, const std::string& text)
{
    return "<comment ref=\"A1\" authorId=\"0\"><text><r><rPr><b/></rPr><t xml:space=\"preserve\">" + author +
           "</t></r><r><t>" + text + "</t></r></text></comment>";
}

std::string spTree(const std::string& children)
{
    return "<p:cSld><p:spTree><p:nvGrpSpPr><p:cNvPr id=\"1\" name=\"\"/></p:nvGrpSpPr>" + children +
           "</p:spTree></p:cSld>";
}

// A presentation in the shape PowerPoint writes: slide N is rIdN, listed in
// order unless order names the ids; the first slide has notes and comments.
Parts presentation(const std::vector<std::string>& slides, const std::string& notes = "",
                   const std::string& comments = "", std::vector<std::string> order = {})
{
    Parts parts{{"_rels/.rels", relationships(relationship("rId1", "officeDocument", "ppt/presentation.xml"))},
                {"ppt/notesSlides/notesSlide1.xml", xmlPart("p:notes", spTree(notes))},
                {"ppt/comments/comment1.xml", xmlPart("p:cmLst", comments)}};
    std::string rels, list;
    for (size_t i = 1; i <= slides.size(); ++i) {
        const std::string n = std::to_string(i);
        if (order.size() < slides.size())
            order.push_back("rId" + n);
        rels += relationship("rId" + n, "slide", "slides/slide" + n + ".xml");
        parts["ppt/slides/slide" + n + ".xml"] = xmlPart("p:sld", spTree(slides[i - 1]));
        parts["ppt/slides/_rels/slide" + n + ".xml.rels"] =
            relationships(relationship("rId1", "slideLayout", "../slideLayouts/slideLayout1.xml") +
                          (i > 1 ? ""
                                 : relationship("rId2", "notesSlide", "../notesSlides/notesSlide1.xml") +
                                       relationship("rId3", "comments", "../comments/comment1.xml")));
    }
    for (size_t i = 0; i < order.size(); ++i)
        list += "<p:sldId id=\"" + std::to_string(256 + i) + "\" r:id=\"" + order[i] + "\"/>";
    parts["ppt/_rels/presentation.xml.rels"] = relationships(rels);
    parts["ppt/presentation.xml"] =
        xmlPart("p:presentation", "<p:sldMasterIdLst/><p:sldIdLst>" + list + "</p:sldIdLst><p:sldSz cx=\"9144000\"/>");
    return parts;
}

// A text body with one paragraph per entry; within an entry "|" separates
// runs and "^" stands for an a:br.
std::string body(const char* element, const std::vector<std::string>& paragraphs)
{
    std::string xml = std::string("<") + element + "><a:bodyPr/><a:lstStyle/>";
    for (const std::string& paragraph : paragraphs) {
        xml += "<a:p><a:pPr algn=\"l\"/>";
        for (size_t at = 0, end = 0; at <= paragraph.size(); at = end + 1) {
            end = std::min(paragraph.find_first_of("|^", at), paragraph.size());
            if (end > at)
                xml +=
                    "<a:r><a:rPr lang=\"en-US\" dirty=\"0\"/><a:t>" + paragraph.substr(at, end - at) + "</a:t></a:r>";
            if (end < paragraph.size() && paragraph[end] == '^')
                xml += "<a:br><a:rPr lang=\"en-US\"/></a:br>";
        }
        xml += "<a:endParaRPr lang=\"en-US\"/></a:p>";
    }
    return xml + "</" + element + ">";
}

std::string shape(const std::vector<std::string>& paragraphs)
{
    return "<p:sp><p:nvSpPr><p:cNvPr id=\"2\" name=\"Text\"/><p:cNvSpPr/><p:nvPr/></p:nvSpPr><p:spPr/>" +
           body("p:txBody", paragraphs) + "</p:sp>";
}

std::string group(const std::string& children)
{
    return "<p:grpSp><p:nvGrpSpPr/><p:grpSpPr/>" + children + "</p:grpSp>";
}

// A graphic frame holding a table, one paragraph per cell.
std::string table(const std::vector<std::vector<std::string>>& rows)
{
    std::string xml = "<p:graphicFrame><p:nvGraphicFramePr/><p:xfrm/><a:graphic><a:graphicData><a:tbl><a:tblGrid/>";
    for (const auto& row : rows) {
        xml += "<a:tr h=\"100\">";
        for (const std::string& cell : row)
            xml += "<a:tc>" + body("a:txBody", {cell}) + "<a:tcPr/></a:tc>";
        xml += "</a:tr>";
    }
    return xml + "</a:tbl></a:graphicData></a:graphic></p:graphicFrame>";
}

// A graphic frame showing the diagram whose data part is the relationship id.
std::string diagram(const std::string& id)
{
    return "<p:graphicFrame><a:graphic><a:graphicData uri=\"http://schemas.openxmlformats.org/drawingml/2006/diagram\">"
           "<dgm:relIds r:dm=\"" +
           id + "\" r:lo=\"rId9\"/></a:graphicData></a:graphic></p:graphicFrame>";
}

std::string comment(const std::string& text)
{
    return "<p:cm authorId=\"0\" idx=\"1\"><p:pos x=\"10\" y=\"10\"/><p:text>" + text + "</p:text></p:cm>";
}

}  // namespace

TEST(XlsxTextExtractor, CellsRowsSheetsCommentsAndSizeBounds)
{
    const std::string headers = "<headerFooter><oddHeader>&amp;CTop</oddHeader><evenHeader>Even</evenHeader>"
                                "<oddFooter>Foot</oddFooter><firstFooter>First</firstFooter></headerFooter>";
    const std::string twoSheets = "<workbook xmlns:r=\"r\"><sheets><sheet name=\"B\" sheetId=\"2\" r:id=\"rId2\"/>"
                                  "<sheet name=\"A\" sheetId=\"1\" r:id=\"rId1\"/></sheets></workbook>";
    check<XlsxTextExtractor>({
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
         kExtras, "1\t\n\t\n\tAnn:hello\n\tBob:bye\n\tplain\n\t\n\t2\t\n\t"},
        {"worksheets of 10 MiB together: the shared strings instead",
         workbook({padding(6 << 20), padding(5 << 20)}, sst({"a", "", "b c"})), kText, "a  b c "},
        {"just below 10 MiB the cells are read",
         workbook({sheet({"s:0"}, padding(XlsxTextExtractor::kWorksheetBound - 400))}, sst({"a"})), kText, "a\t\n\t"},
        {"a lone sheet whose part is missing counts below zero: the shared strings",
         edited(workbook({sheet({"s:0"})}, sst({"only"})), {{"xl/worksheets/sheet1.xml", ""}}), kText, "only "},
        {"no officeDocument relationship: no file", edited(workbook({sheet({"1"})}), {{"_rels/.rels", ""}}), kText,
         std::nullopt},
        {"pictures only: no file", workbook({sheet({"1"})}), 0x01, std::nullopt},
        {"spreadsheet names prefixed x read like unprefixed ones, other prefixes not",
         workbook({"<x:sheetData><x:row><x:c><x:v>1</x:v></x:c></x:row></x:sheetData>"
                   "<sheetData><row><c><x:v>2</x:v><v>3</v><s:v>4</s:v></c></row></sheetData>"}),
         kText, "1\t\n\t2\t3\t\n\t"},
    });
    // Nothing checks a declared size against the data: a sheet declared at 2 GiB is never read.
    std::string zip = ZipBuilder(workbook({sheet({"1"})}, sst({"s"}))).bytes();
    patchEntry(zip, "xl/worksheets/sheet1.xml", 22, 0x7FFFFFFF);
    EXPECT_EQ(exported<XlsxTextExtractor>(zip, kText), "s ");
}

TEST(XlsxTextExtractor, CellsAsTheirStylesShowThem)
{
    // Styles 0 to 4: General, a built-in date, the workbook's own percent and time, an unknown format id.
    const std::string styles = "<numFmts count=\"2\"><numFmt numFmtId=\"164\" formatCode=\"0.0%\"/>"
                               "<numFmt numFmtId=\"165\" formatCode=\"h:mm AM/PM;&quot;never&quot;\"/></numFmts>"
                               "<cellStyleXfs><xf numFmtId=\"164\"/></cellStyleXfs><cellXfs count=\"5\">"
                               "<xf numFmtId=\"0\"/><xf numFmtId=\"14\"/><xf numFmtId=\"164\"/><xf numFmtId=\"165\"/>"
                               "<xf numFmtId=\"999\"/></cellXfs>";
    const auto cells = [](const std::string& row) { return "<sheetData><row>" + row + "</row></sheetData>"; };
    const std::string date1904 = "<workbook xmlns:r=\"r\"><workbookPr date1904=\"true\"/><sheets>"
                                 "<sheet name=\"A\" sheetId=\"1\" r:id=\"rId1\"/></sheets></workbook>";
    const std::string dates = cells("<c s=\"1\"><v>39045</v></c><c s=\"1\" t=\"d\"><v>2006-11-24T06:15:00</v></c>"
                                    "<c s=\"3\" t=\"d\"><v>2006-11-24T18:30:00Z</v></c><c t=\"d\"><v>2006-11-24</v></c>"
                                    "<c s=\"1\" t=\"d\"><v>24.11.2006</v></c>");
    check<XlsxTextExtractor>({
        {"numbers in their styles; out of range, unknown and unparsable ones as General or as written",
         workbook({cells("<c s=\"2\"><v>0.256</v></c><c s=\"3\"><v>0.260425</v></c><c s=\"3\"><v>-1</v></c>"
                         "<c s=\"4\"><v>1E-7</v></c><c s=\"9\"><v> 10.52 </v></c><c><v>3.1415926535</v></c>"
                         "<c s=\"2\"><v>12abc</v></c><c s=\"x\"><v>+2</v></c><c><v>inf</v></c><c><v>-.5</v></c>")},
                  "", "", styles),
         kText, "25.6%\t6:15 AM\tnever\t0.0000001\t10.52\t3.1415926535\t12abc\t2\tinf\t-0.5\t\n\t"},
        {"with extras, the text of the sheet's text boxes and shapes after its cells",
         edited(workbook({sheet({"1"})}),
                {{"xl/worksheets/_rels/sheet1.xml.rels", relationships(relationship("rId1", "drawing", "../d.xml"))},
                 {"xl/d.xml", "<xdr:wsDr><xdr:twoCellAnchor><xdr:sp><xdr:txBody><a:bodyPr/><a:p><a:r><a:t>Text</a:t>"
                              "</a:r><a:r><a:t> box</a:t></a:r></a:p><a:p/><a:p><a:fld><a:t>2</a:t></a:fld></a:p>"
                              "</xdr:txBody></xdr:sp></xdr:twoCellAnchor></xdr:wsDr>"}}),
         kExtras, "1\t\n\t\n\tText box\n\t2"},
        {"booleans, errors and formula strings",
         workbook({cells("<c t=\"b\"><v>1</v></c><c t=\"b\"><v>0</v></c><c t=\"b\"><v>yes</v></c>"
                         "<c t=\"e\"><v>#DIV/0!</v></c><c t=\"str\" s=\"2\"><f>A1</f><v>0.5</v></c>")},
                  "", "", styles),
         kText, "TRUE\tFALSE\tyes\t#DIV/0!\t0.5\t\n\t"},
        {"ISO dates shown by their date style; in other styles or unreadable, as written",
         workbook({dates}, "", "", styles), kText, "11/24/2006\t11/24/2006\t6:30 PM\t2006-11-24\t24.11.2006\t\n\t"},
        {"the 1904 date system moves serial numbers, not ISO dates",
         edited(workbook({dates}, "", "", styles), {{"xl/workbook.xml", date1904}}), kText,
         "11/25/2010\t11/24/2006\t6:30 PM\t2006-11-24\t24.11.2006\t\n\t"},
    });
}

TEST(PptxTextExtractor, SlideNotesAndCommentOutput)
{
    check<PptxTextExtractor>({
        {"runs joined, paragraphs and breaks on lines of their own", presentation({shape({"On|e", "Two^Three"})}),
         kText, "\tOne\nTwo\nThree\n\t"},
        {"empty paragraphs: blank lines inside, nothing around", presentation({shape({"", "^A", "", "B", ""})}), kText,
         "\tA\n\nB\n\t"},
        {"two shapes, an empty slide, a table",
         presentation({shape({"A"}) + shape({"B"}), "", table({{"a", "b"}, {"c", "d"}})}), kText,
         "\tA\tB\n\t\n\t\ta\tb\tc\td\n\t"},
        {"groups, nested, and a table inside a group",
         presentation({group(shape({"A"}) + group(shape({"B"})) + table({{"t"}}))}), kText, "\tA\tB\tt\n\t"},
        {"a field gives its text as a run; pictures and connectors give nothing",
         presentation({"<p:sp><p:txBody><a:p><a:fld id=\"1\" type=\"slidenum\"><a:rPr/><a:t>7</a:t></a:fld><a:r>"
                       "<a:t>x</a:t></a:r></a:p></p:txBody></p:sp><p:pic><p:txBody><a:p><a:r><a:t>no</a:t></a:r>"
                       "</a:p></p:txBody></p:pic><p:cxnSp/>"}),
         kText, "\t7x\n\t"},
        {"a diagram's points after the slide's own text, in data order, each diagram once",
         edited(presentation({shape({"A"}), diagram("rId7") + shape({"B"}) + diagram("rId7") + diagram("rId1")}),
                {{"ppt/slides/_rels/slide2.xml.rels",
                  relationships(relationship("rId1", "slideLayout", "../slideLayouts/slideLayout1.xml") +
                                relationship("rId7", "diagramData", "../diagrams/data1.xml"))},
                 {"ppt/diagrams/data1.xml",
                  "<dgm:dataModel><dgm:ptLst><dgm:pt modelId=\"0\" type=\"doc\"><dgm:prSet/></dgm:pt><dgm:pt "
                  "modelId=\"2\"><dgm:prSet/>" +
                      body("dgm:t", {"First"}) + "</dgm:pt><dgm:pt modelId=\"1\">" + body("dgm:t", {"Second|half"}) +
                      "</dgm:pt></dgm:ptLst><dgm:cxnLst/></dgm:dataModel>"}}),
         kText, "\tA\n\t\tB\tFirst\tSecondhalf\n\t"},
        {"slides in p:sldIdLst order, not part order",
         presentation({shape({"first part"}), shape({"second part"})}, "", "", {"rId2", "rId1"}), kText,
         "\tsecond part\n\t\tfirst part\n\t"},
        {"unknown and repeated ids: no slide, no separator",
         presentation({shape({"A"})}, "", "", {"rId9", "rId1", "rId1", ""}), kText, "\tA\n\t"},
        {"a slide part that is missing is passed over",
         edited(presentation({shape({"A"}), shape({"B"})}), {{"ppt/slides/slide1.xml", ""}}), kText, "\tB\n\t"},
        {"notes with their tables, then comments with extras",
         presentation({shape({"Body"})}, shape({"Note"}) + group(shape({"grouped note"})) + table({{"cell"}}),
                      comment("A") + comment("B") + "<p:unknown><p:text>u</p:text></p:unknown>"),
         kExtras, "\tBody\tNote\tcell\tA\tB\n\t"},
        {"the pending tab of an empty body goes to the next text",
         presentation({shape({""}), shape({""}), shape({"D"})}, "<p:sp/>", comment("C")), kExtras,
         "\tC\n\t\n\t\tD\n\t"},
        {"notes without a shape tree",
         edited(presentation({shape({"S"})}, shape({"N"})),
                {{"ppt/notesSlides/notesSlide1.xml", "<p:notes><p:cSld/></p:notes>"}}),
         kExtras, "\tS\n\t"},
        {"a slide part of 10 MiB is skipped, separator included",
         presentation({shape({"big"}) + padding(PptxTextExtractor::kSlideBound), shape({"small"})}), kText,
         "\tsmall\n\t"},
        {"no officeDocument relationship: no file", edited(presentation({shape({"A"})}), {{"_rels/.rels", ""}}), kText,
         std::nullopt},
        {"no presentation relationships: no file",
         edited(presentation({shape({"A"})}), {{"ppt/_rels/presentation.xml.rels", ""}}), kText, std::nullopt},
    });
}

// Sheets are parts named as the workbook names them; slides are parts
// numbered by their place in the presentation's list, their notes and
// comments parts of their own under the same number. The properties come
// along from the package's own parts.
TEST(PackageRecord, SheetsAndSlidesArePartsWithTheirNamesAndNumbers)
{
    Parts book = workbook({sheet({"1"}), sheet({"2"})});
    book["_rels/.rels"] = relationships(
        relationship("rId1", "officeDocument", "xl/workbook.xml") +
        "<Relationship Id=\"rId2\" Type=\"http://schemas.openxmlformats.org/package/2006/relationships/metadata/"
        "core-properties\" Target=\"docProps/core.xml\"/>");
    book["docProps/core.xml"] =
        "<cp:coreProperties xmlns:cp=\"http://schemas.openxmlformats.org/package/2006/metadata/core-properties\" "
        "xmlns:dc=\"http://purl.org/dc/elements/1.1/\"><dc:title>Q3 &amp; Q4</dc:title><dc:creator>Ann</dc:creator>"
        "</cp:coreProperties>";
    const readable::Document workbookRead = readStructured(ZipBuilder(book).bytes());
    EXPECT_EQ(workbookRead.format, "XLSX");
    EXPECT_EQ(workbookRead.metadataJson, "{\"author\":\"Ann\",\"title\":\"Q3 & Q4\"}");
    EXPECT_EQ(partList(workbookRead), (std::vector<std::string>{"sheet 1 Sheet1: 1\n", "sheet 2 Sheet2: 2\n"}));

    const Parts deck =
        presentation({shape({"Body"})}, shape({"Note"}) + table({{"cell"}}), comment("A") + comment("B"));
    EXPECT_EQ(partList(readStructured(ZipBuilder(deck).bytes(), true)),
              (std::vector<std::string>{"slide 1 : Body", "notes 1 : \tNote\tcell", "comments 1 : \tA\tB\n"}));
    EXPECT_EQ(partList(readStructured(
                  ZipBuilder(presentation({shape({"first part"}), shape({"second part"})}, "", "", {"rId2", "rId1"}))
                      .bytes())),
              (std::vector<std::string>{"slide 1 : second part\n", "slide 2 : first part\n"}));
    EXPECT_EQ(partList(readStructured(
                  ZipBuilder(presentation({shape({"A"})}, "", "", {"rId9", "rId1", "rId1", ""})).bytes())),
              (std::vector<std::string>{"slide 2 : A\n"}));
}

// Parts that inflate far beyond what their archive may hold: the structures
// read from them stop at the archive's budget, long before the part's end.
TEST(PackageBudget, StructuresStopAtTheArchivesBudget)
{
    constexpr uint64_t kBudget = 1 << 20;
    TempDir dir;
    std::filesystem::create_directory(dir.file("out"));
    const auto archiveOf = [&](ZipBuilder zip) {
        zip.write(dir.file("in.zip"));
        return std::make_unique<ZipArchive>(dir.file("in.zip"), kBudget);
    };

    // 64 MiB of shared strings: those read until then stand for the workbook.
    ZipBuilder strings(edited(workbook({sheet({"s:0", "7"})}, sst({"x"})), {{"xl/sharedStrings.xml", ""}}));
    strings.addRepeated("xl/sharedStrings.xml", "<sst><si><t>first</t></si>", "<si><t>bomb</t></si>", 64 << 20 >> 4,
                        "</sst>");
    auto archive = archiveOf(strings);
    EXPECT_EQ(XlsxTextExtractor().exportText(*archive, dir.file("out"), kText), 1u);
    const std::string text = readFile(dir.file("out/1.txt"));
    EXPECT_EQ(text.substr(0, 16), "first bomb bomb ");
    EXPECT_LT(text.size(), kBudget / 8) << "each string is charged with its own overhead";
    EXPECT_EQ(text.find('7'), std::string::npos) << "worksheets are not read";

    // A slide list of millions, and a relationship table of as many.
    ZipBuilder slides(edited(presentation({shape({"A"})}), {{"ppt/presentation.xml", ""}}));
    slides.addRepeated("ppt/presentation.xml", "<p:presentation><p:sldIdLst>", "<p:sldId id=\"256\" r:id=\"rId1\"/>",
                       2 << 20, "</p:sldIdLst></p:presentation>");
    archive = archiveOf(slides);
    EXPECT_THROW(PptxTextExtractor().exportText(*archive, dir.file("out"), kText), BudgetExceeded);

    ZipBuilder rels(edited(workbook({sheet({"1"})}), {{"xl/_rels/workbook.xml.rels", ""}}));
    rels.addRepeated("xl/_rels/workbook.xml.rels", "<Relationships>",
                     relationship("rId1", "worksheet", "worksheets/sheet1.xml"), 1 << 20, "</Relationships>");
    archive = archiveOf(rels);
    EXPECT_THROW(XlsxTextExtractor().exportText(*archive, dir.file("out"), kText), BudgetExceeded);

    // The same kinds of structure, small, fit.
    archive = archiveOf(ZipBuilder(presentation({shape({"A"})}, "", "", {"rId1", "rId1", "rId1"})));
    PptxTextExtractor().exportText(*archive, dir.file("out"), kText);
    EXPECT_EQ(readFile(dir.file("out/1.txt")), "\tA\n\t");
    EXPECT_GT(archive->budget().left(), kBudget - 4096);
}
