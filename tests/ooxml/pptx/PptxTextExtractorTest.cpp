// Presentation packages built in code, read by the extractor directly.
#include "ooxml/pptx/PptxTextExtractor.h"

#include "support/ZipBuilder.h"

#include <gtest/gtest.h>

using namespace quillet;
using namespace quillet::test;

namespace {

constexpr uint32_t kText = 0x10;
constexpr uint32_t kExtras = 0x110;
const auto exportPptx = extractPackage<PptxTextExtractor>;

std::string xmlPart(const std::string& root, const std::string& inside)
{
    return "<" + root + ">" + inside + "</" + root + ">";
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

std::string comment(const std::string& text)
{
    return "<p:cm authorId=\"0\" idx=\"1\"><p:pos x=\"10\" y=\"10\"/><p:text>" + text + "</p:text></p:cm>";
}

}  // namespace

TEST(PptxTextExtractor, SlideNotesAndCommentOutput)
{
    const struct {
        const char* name;
        Parts parts;
        uint32_t flags;
        std::optional<std::string> expected;
    } cases[] = {
        {"runs joined, paragraphs and breaks on lines of their own", presentation({shape({"On|e", "Two^Three"})}),
         kText, "\tOne\nTwo\nThree\n\t"},
        {"empty paragraphs: blank lines inside, nothing around", presentation({shape({"", "^A", "", "B", ""})}), kText,
         "\tA\n\nB\n\t"},
        {"two shapes, an empty slide, a table",
         presentation({shape({"A"}) + shape({"B"}), "", table({{"a", "b"}, {"c", "d"}})}), kText,
         "\tA\tB\n\t\n\t\ta\tb\tc\td\n\t"},
        {"groups, nested; a table inside a group gives nothing",
         presentation({group(shape({"A"}) + group(shape({"B"})) + table({{"t"}}))}), kText, "\tA\tB\n\t"},
        {"fields, pictures and connectors give nothing",
         presentation({"<p:sp><p:txBody><a:p><a:fld id=\"1\" type=\"slidenum\"><a:t>7</a:t></a:fld><a:r><a:t>x</a:t>"
                       "</a:r></a:p></p:txBody></p:sp><p:pic><p:txBody><a:p><a:r><a:t>no</a:t></a:r></a:p>"
                       "</p:txBody></p:pic><p:cxnSp/>"}),
         kText, "\tx\n\t"},
        {"slides in p:sldIdLst order, not part order",
         presentation({shape({"first part"}), shape({"second part"})}, "", "", {"rId2", "rId1"}), kText,
         "\tsecond part\n\t\tfirst part\n\t"},
        {"unknown and repeated ids: no slide, no separator",
         presentation({shape({"A"})}, "", "", {"rId9", "rId1", "rId1", ""}), kText, "\tA\n\t"},
        {"a slide part that is missing is passed over",
         edited(presentation({shape({"A"}), shape({"B"})}), {{"ppt/slides/slide1.xml", ""}}), kText, "\tB\n\t"},
        {"notes then comments with extras",
         presentation({shape({"Body"})}, shape({"Note"}) + group(shape({"grouped note"})),
                      comment("A") + comment("B") + "<p:unknown><p:text>u</p:text></p:unknown>"),
         kExtras, "\tBody\tNoteAB\n\t"},
        {"the pending tab of an empty body goes to the next text",
         presentation({shape({""}), shape({""}), shape({"D"})}, "<p:sp/>", comment("C")), kExtras,
         "\tC\n\t\n\t\tD\n\t"},
        {"notes without a shape tree",
         edited(presentation({shape({"S"})}, shape({"N"})),
                {{"ppt/notesSlides/notesSlide1.xml", "<p:notes><p:cSld/></p:notes>"}}),
         kExtras, "\tS\n\t"},
        {"a slide part of 10 MiB is skipped, separator included",
         presentation(
             {shape({"big"}) + "<!--" + std::string(PptxTextExtractor::kSlideBound, ' ') + "-->", shape({"small"})}),
         kText, "\tsmall\n\t"},
        {"no officeDocument relationship: no file", edited(presentation({shape({"A"})}), {{"_rels/.rels", ""}}), kText,
         std::nullopt},
        {"no presentation relationships: no file",
         edited(presentation({shape({"A"})}), {{"ppt/_rels/presentation.xml.rels", ""}}), kText, std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(exportPptx(ZipBuilder(c.parts).bytes(), c.flags), c.expected) << c.name;
}
