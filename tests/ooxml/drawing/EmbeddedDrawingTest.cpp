// The shape and graphic-frame parts of drawing packages embedded in binary
// presentations, through the entry the presentation reader uses.
#include "ooxml/drawing/EmbeddedDrawingEntry.h"
#include "output/TextSink.h"

#include "support/TempDir.h"
#include "support/ZipBuilder.h"

#include <gtest/gtest.h>

using namespace quillet;
using namespace quillet::test;

namespace {

const char kNamespaces[] = "xmlns:p=\"http://schemas.openxmlformats.org/presentationml/2006/main\" "
                           "xmlns:a=\"http://schemas.openxmlformats.org/drawingml/2006/main\"";

std::string relationship(const char* type, const char* target)
{
    return std::string("<Relationship Id=\"r") + target +
           "\" Type=\"http://schemas.microsoft.com/office/2006/relationships/" + type + "\" Target=\"" + target +
           "\"/>";
}

// The text appended for a package with these parts (an empty part is left out).
std::u16string drawingText(const std::string& shapeBody, const std::string& frameBody)
{
    ZipBuilder zip;
    std::string rels;
    if (!shapeBody.empty()) {
        rels += relationship("shapeXml", "drs/shape.xml");
        zip.add("drs/shape.xml", std::string("<p:sp ") + kNamespaces + ">" + shapeBody + "</p:sp>");
    }
    if (!frameBody.empty()) {
        rels += relationship("graphicFrameDoc", "drs/frame.xml");
        zip.add("drs/frame.xml", std::string("<p:graphicFrame ") + kNamespaces + ">" + frameBody + "</p:graphicFrame>");
    }
    zip.add("_rels/.rels", "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">" +
                               rels + "</Relationships>");
    TempDir dir;
    zip.write(dir.file("1.zip"));
    {
        TextSink sink(dir.path());
        appendEmbeddedDrawingText(dir.file("1.zip"), sink);
        sink.close();
    }
    const std::string bytes = readFile(dir.file("1.txt"));
    return std::u16string(reinterpret_cast<const char16_t*>(bytes.data()), bytes.size() / 2);
}

std::string cell(const std::string& text)
{
    return "<a:tc><a:txBody><a:p><a:r><a:t>" + text + "</a:t></a:r></a:p></a:txBody></a:tc>";
}

}  // namespace

TEST(EmbeddedDrawing, RunsFollowedBySemicolons)
{
    const std::string table = "<a:graphic><a:graphicData><a:tbl><a:tr>" + cell("a") + cell("b") + "</a:tr><a:tr>" +
                              cell("c") + "</a:tr></a:tbl></a:graphicData></a:graphic>";
    struct Case {
        const char* name;
        std::string shape, frame;
        std::u16string expected;
    } cases[] = {
        {"two runs keep their spaces",
         "<p:txBody><a:p><a:r><a:t> one</a:t></a:r><a:r><a:t>two </a:t></a:r></a:p></p:txBody>", "", u" one;two ;"},
        {"fields, breaks and empty runs write nothing",
         "<p:txBody><a:p><a:fld><a:t>3</a:t></a:fld><a:br/><a:r><a:t></a:t></a:r><a:r><a:t>x</a:t></a:r></a:p></"
         "p:txBody>",
         "", u"x;"},
        {"Chinese and a character beyond the BMP",
         "<p:txBody><a:p><a:r><a:t>\xE4\xB8\xAD\xF0\x9F\x98\x80</a:t></a:r></a:p></p:txBody>", "",
         u"\u4E2D\U0001F600;"},
        {"invalid UTF-8 writes only the semicolon",
         "<p:txBody><a:p><a:r><a:t>ok</a:t></a:r><a:r><a:t>caf\xE9</a:t></a:r><a:r><a:t>\xC0\xAF</a:t></a:r></a:p></"
         "p:txBody>",
         "", u"ok;;;"},
        {"a text body deeper than the root's child",
         "<p:nvSpPr><p:txBody><a:p><a:r><a:t>no</a:t></a:r></a:p></p:txBody></p:nvSpPr>", "", u""},
        {"shape first, then table cells in order", "<p:txBody><a:p><a:r><a:t>S</a:t></a:r></a:p></p:txBody>", table,
         u"S;a;b;c;"},
        {"a graphic frame without a table", "",
         "<a:graphic><a:graphicData><p:txBody><a:p><a:r><a:t>no</a:t></a:r></a:p></p:txBody></a:graphicData></"
         "a:graphic>",
         u""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(drawingText(c.shape, c.frame), c.expected);
    }
}
