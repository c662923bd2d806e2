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

// The text appended for a package with these parts (an empty part is left out).
std::u16string drawingText(const std::string& shapeBody, const std::string& frameBody)
{
    const std::string ns = " xmlns:p=\"http://schemas.openxmlformats.org/presentationml/2006/main\" "
                           "xmlns:a=\"http://schemas.openxmlformats.org/drawingml/2006/main\">";
    const std::string type = "http://schemas.microsoft.com/office/2006/relationships/";
    Parts parts;
    std::string rels;
    if (!shapeBody.empty()) {
        rels += relationship("r1", type + "shapeXml", "drs/shape.xml");
        parts["drs/shape.xml"] = "<p:sp" + ns + shapeBody + "</p:sp>";
    }
    if (!frameBody.empty()) {
        rels += relationship("r2", type + "graphicFrameDoc", "drs/frame.xml");
        parts["drs/frame.xml"] = "<p:graphicFrame" + ns + frameBody + "</p:graphicFrame>";
    }
    parts["_rels/.rels"] = relationships(rels);
    TempDir dir;
    ZipBuilder(parts).write(dir.file("1.zip"));
    {
        TextSink sink(dir.path());
        appendEmbeddedDrawingText(dir.file("1.zip"), sink);
        sink.close();
    }
    const std::string bytes = readFile(dir.file("1.txt"));
    return std::u16string(reinterpret_cast<const char16_t*>(bytes.data()), bytes.size() / 2);
}

std::string run(const std::string& text)
{
    return "<a:r><a:t>" + text + "</a:t></a:r>";
}

std::string txBody(const char* element, const std::string& children)
{
    return std::string("<") + element + "><a:p>" + children + "</a:p></" + element + ">";
}

std::string cell(const std::string& text)
{
    return "<a:tc>" + txBody("a:txBody", run(text)) + "</a:tc>";
}

}  // namespace

TEST(EmbeddedDrawing, RunsFollowedBySemicolons)
{
    const std::string table = "<a:graphic><a:graphicData><a:tbl><a:tr>" + cell("a") + cell("b") + "</a:tr><a:tr>" +
                              cell("c") + "</a:tr></a:tbl></a:graphicData></a:graphic>";
    const struct {
        const char* name;
        std::string shape, frame;
        std::u16string expected;
    } cases[] = {
        {"two runs keep their spaces", txBody("p:txBody", run(" one") + run("two ")), "", u" one;two ;"},
        {"fields, breaks and empty runs write nothing",
         txBody("p:txBody", "<a:fld><a:t>3</a:t></a:fld><a:br/>" + run("") + run("x")), "", u"x;"},
        {"Chinese and a character beyond the BMP", txBody("p:txBody", run("\xE4\xB8\xAD\xF0\x9F\x98\x80")), "",
         u"\u4E2D\U0001F600;"},
        {"invalid UTF-8 writes only the semicolon", txBody("p:txBody", run("ok") + run("caf\xE9") + run("\xC0\xAF")),
         "", u"ok;;;"},
        {"a text body deeper than the root's child", "<p:nvSpPr>" + txBody("p:txBody", run("no")) + "</p:nvSpPr>", "",
         u""},
        {"shape first, then table cells in order", txBody("p:txBody", run("S")), table, u"S;a;b;c;"},
        {"a graphic frame without a table", "",
         "<a:graphic><a:graphicData>" + txBody("p:txBody", run("no")) + "</a:graphicData></a:graphic>", u""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(drawingText(c.shape, c.frame), c.expected) << c.name;
}
