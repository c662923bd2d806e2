// Presentation packages built in code, read by the extractor directly.
#include "ooxml/pptx/PptxTextExtractor.h"

#include "support/PptxBuilder.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>

using namespace quillet;
using namespace quillet::test;

namespace {

constexpr uint32_t kText = 0x10;
constexpr uint32_t kExtras = 0x110;
const auto exportPptx = extractPackage<PptxTextExtractor>;

std::string shape(const std::vector<std::string>& paragraphs)
{
    return PptxBuilder::shape(paragraphs);
}

}  // namespace

TEST(PptxTextExtractor, SlideNotesAndCommentOutput)
{
    struct Case {
        const char* name;
        std::function<void(PptxBuilder&)> build;
        uint32_t flags;
        std::optional<std::string> expected;
    };
    const Case cases[] = {
        {"runs joined, paragraphs and breaks on lines of their own",
         [](PptxBuilder& b) {
             b.slide(shape({"On|e", "Two^Three"}));
         },
         kText, "\tOne\nTwo\nThree\n\t"},
        {"empty paragraphs: blank lines inside, nothing around",
         [](PptxBuilder& b) {
             b.slide(shape({"", "^A", "", "B", ""}));
         },
         kText, "\tA\n\nB\n\t"},
        {"two shapes, an empty slide, a table",
         [](PptxBuilder& b) {
             b.slide(shape({"A"}) + shape({"B"})).slide("").slide(PptxBuilder::table({{"a", "b"}, {"c", "d"}}));
         },
         kText, "\tA\tB\n\t\n\t\ta\tb\tc\td\n\t"},
        {"groups, nested; a table inside a group gives nothing",
         [](PptxBuilder& b) {
             b.slide(PptxBuilder::group(shape({"A"}) + PptxBuilder::group(shape({"B"})) + PptxBuilder::table({{"t"}})));
         },
         kText, "\tA\tB\n\t"},
        {"fields, pictures and connectors give nothing",
         [](PptxBuilder& b) {
             b.slide("<p:sp><p:txBody><a:p><a:fld id=\"1\" type=\"slidenum\"><a:t>7</a:t></a:fld>"
                     "<a:r><a:t>x</a:t></a:r></a:p></p:txBody></p:sp><p:pic><p:txBody><a:p><a:r><a:t>no</a:t>"
                     "</a:r></a:p></p:txBody></p:pic><p:cxnSp/>");
         },
         kText, "\tx\n\t"},
        {"slides in p:sldIdLst order, not part order",
         [](PptxBuilder& b) {
             b.slide(shape({"first part"})).slide(shape({"second part"})).order({"rId2", "rId1"});
         },
         kText, "\tsecond part\n\t\tfirst part\n\t"},
        {"unknown and repeated ids: no slide, no separator",
         [](PptxBuilder& b) {
             b.slide(shape({"A"})).order({"rId9", "rId1", "rId1", ""});
         },
         kText, "\tA\n\t"},
        {"a slide part that is missing is passed over",
         [](PptxBuilder& b) {
             b.slide(shape({"A"})).slide(shape({"B"}));
             b.parts().drop("ppt/slides/slide1.xml");
         },
         kText, "\tB\n\t"},
        {"notes then comments with extras",
         [](PptxBuilder& b) {
             b.slide(shape({"Body"}), shape({"Note"}) + PptxBuilder::group(shape({"grouped note"})),
                     PptxBuilder::comment("A") + PptxBuilder::comment("B") +
                         "<p:unknown><p:text>u</p:text></p:unknown>");
         },
         kExtras, "\tBody\tNoteAB\n\t"},
        {"the pending tab of an empty body goes to the next text",
         [](PptxBuilder& b) {
             b.slide(shape({""}), "<p:sp/>", PptxBuilder::comment("C")).slide(shape({""})).slide(shape({"D"}));
         },
         kExtras, "\tC\n\t\n\t\tD\n\t"},
        {"notes without a shape tree",
         [](PptxBuilder& b) {
             b.slide(shape({"S"}), shape({"N"}));
             b.parts().set("ppt/notesSlides/notesSlide1.xml", "<p:notes><p:cSld/></p:notes>");
         },
         kExtras, "\tS\n\t"},
        {"a slide part of 10 MiB is skipped, separator included",
         [](PptxBuilder& b) {
             b.slide(shape({"big"}) + "<!--" + std::string(PptxTextExtractor::kSlideBound, ' ') + "-->")
                 .slide(shape({"small"}));
         },
         kText, "\tsmall\n\t"},
        {"no officeDocument relationship: no file",
         [](PptxBuilder& b) {
             b.slide(shape({"A"}));
             b.parts().drop("_rels/.rels");
         },
         kText, std::nullopt},
        {"no presentation relationships: no file",
         [](PptxBuilder& b) {
             b.slide(shape({"A"}));
             b.parts().drop("ppt/_rels/presentation.xml.rels");
         },
         kText, std::nullopt},
        {"pictures only: no file", [](PptxBuilder& b) { b.slide(shape({"A"})); }, 0x01, std::nullopt},
    };
    for (const Case& c : cases) {
        PptxBuilder builder;
        c.build(builder);
        EXPECT_EQ(exportPptx(builder.bytes(), c.flags), c.expected) << c.name;
    }
}
