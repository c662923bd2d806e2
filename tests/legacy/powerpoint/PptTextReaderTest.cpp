// Binary presentations built in code, exported through the presentation entry.
#include "legacy/powerpoint/PptTextReader.h"

#include "support/PptBuilder.h"
#include "support/StructuredRead.h"
#include "support/ZipBuilder.h"

#include <gtest/gtest.h>

#include <optional>

using namespace quillet;
using namespace quillet::test;

namespace {

using Files = std::map<std::string, std::string>;

PptPage page(std::vector<std::string> records, std::vector<std::u16string> placeholders = {})
{
    return PptPage{std::move(placeholders), std::move(records)};
}

// A slide holding a shape whose tertiary property table starts with the
// metroBlob property; declared differs from the package's size when given.
std::string slideWithDrawing(const std::string& package, std::optional<uint32_t> declared = std::nullopt)
{
    const std::string fopt = le16(0x03A9 | 0xC000) + le32(declared.value_or(uint32_t(package.size()))) + package;
    const std::string shape = pptContainer(0xF004, {artHeader(1, 0xF122, uint32_t(fopt.size()), 3) + fopt});
    PptPlan plan;
    plan.slides = {page({textChars(u"before"), pptContainer(0xF003, {shape}), textChars(u"after")})};
    return buildPptFile(buildPptStream(plan));
}

// A drawing package with a shape part and a graphic frame part.
std::string drawingPackage()
{
    const std::string ns = " xmlns:p=\"http://schemas.openxmlformats.org/presentationml/2006/main\""
                           " xmlns:a=\"http://schemas.openxmlformats.org/drawingml/2006/main\"><";
    const std::string rel = "<Relationship Type=\"http://schemas.microsoft.com/office/2006/relationships/";
    return ZipBuilder()
        .add("_rels/.rels", "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">" +
                                rel + "shapeXml\" Target=\"s.xml\"/>" + rel +
                                "graphicFrameDoc\" Target=\"f.xml\"/></Relationships>")
        .add("s.xml", "<p:sp" + ns + "p:txBody><a:p><a:r><a:t>shape</a:t></a:r></a:p></p:txBody></p:sp>")
        .add("f.xml", "<p:graphicFrame" + ns + "/p:graphicFrame>")
        .bytes();
}

}  // namespace

TEST(PptTextReader, TextOfTheSlidesTheNewestEditsName)
{
    PptPlan plan;
    plan.slides = {page({textChars(u"First")}), page({textChars(u"Second")})};
    const PptStream two = buildPptStream(plan);
    PptStream looping = two, lost = two, sealed = two, junk{std::string(600, 'x')};
    looping.saveEdit({{2, pptContainer(1006, {textChars(u"New")})}});
    putU32(looping.bytes, looping.currentEdit + 16, looping.currentEdit);  // the edit before the last is itself
    lost.saveEdit({{2, ""}});
    putU32(lost.bytes, lost.bytes.size() - 40, 0x7FFFFFF0);  // the new directory's offset of slide 2
    sealed.saveEdit({}, 4);
    PptPlan masters = plan, outline, odd, extras;
    masters.masters = {page({textChars(u"Title master box"), outlineRef(0)}, {u"Title master title"})};
    outline.slides = {page({outlineRef(5), textBytes("box"), outlineRef(0), outlineRef(1)}, {u"Title", u"Body"})};
    odd.slides = {page({pptAtom(4000, std::string("A\0B", 3)), textBytes("caf\xE9")})};
    extras.slides = {page({textChars(u"S1"), taggedComment(u"Ann", u"Looks good")}),
                     page({comment10(u"Bo", u"Direct"), textChars(u"S2")})};
    extras.notes = {page({textChars(u"N1")})};
    extras.reverseStorage = true;  // stored: N1, S2, S1
    extras.masters = {page({textChars(u"Title master")})};
    const std::string withExtras = buildPptFile(buildPptStream(extras));
    const std::tuple<const char*, std::string, uint32_t, int, std::optional<std::u16string>> cases[] = {
        {"a looping edit chain: the edits it misses are read newest first", buildPptFile(looping), WriteText, 0,
         u"New\tSecond\t"},
        {"masters are collected, not written", buildPptFile(buildPptStream(masters)), WriteText, 0, u"First\tSecond\t"},
        {"placeholders by outline reference, surplus references write nothing", buildPptFile(buildPptStream(outline)),
         WriteText, 0, u"Title\tbox\tBody\t"},
        {"odd UTF-16 length and a Latin-1 byte", buildPptFile(buildPptStream(odd)), WriteText, 0, u"A\tcaf\u00E9\t"},
        {"a slide outside the stream is left out", buildPptFile(lost), WriteText, Refused, u"Second\t"},
        {"no document found", buildPptFile(junk, false), WriteText, Refused, std::nullopt},
        {"no Current User: an encrypted user edit found by the scan", buildPptFile(sealed, false), WriteText, Encrypted,
         std::nullopt},
        {"ZebEncryptionInfo", buildPptFile(two, true, {{"ZebEncryptionInfo", "x"}}), WriteText, Encrypted,
         std::nullopt},
        {"notes and comments only with extras", withExtras, WriteText, 0, u"S1\tS2\t"},
        {"in storage order", withExtras, WriteText | WriteExtras, 0, u"N1\tBo\tDirect\tS2\tS1\tAnn\tLooks good\t"},
        {"an embedded drawing package", slideWithDrawing(drawingPackage()), WriteText, 0, u"before\tshape;after\t"},
        {"an embedded part that is no ZIP archive", slideWithDrawing("PK\x03\x04 but not a package"), WriteText, 0,
         u"before\tafter\t"},
        {"a package longer than its record", slideWithDrawing(drawingPackage(), 0x7FFFFFF0), WriteText,
         ConversionFailed, u"before\t"},
    };
    for (const auto& [name, file, flags, code, text] : cases) {
        const Exported run = exportFile(exportPresentationDocument, file, flags);
        EXPECT_EQ(run.code, code) << name;
        EXPECT_EQ(run.text, text ? utf16leBytes(*text) : "(none)") << name;
        EXPECT_EQ(run.files, Files{}) << name;  // the package's temporary file is gone too
    }
}

TEST(PptTextReader, PicturesStreamNumbersWhatItWrites)
{
    PptPlan plan;
    plan.slides = {page({textChars(u"First")})};
    const PptStream one = buildPptStream(plan);
    // An EMF is passed over without a number; a record that is no BLIP ends them.
    const std::string pictures = pngBlip("A") + artBlip(0xF01A, 0x3D4, 50, "E") + pngBlip("GIF89a") +
                                 artBlip(0xF01D, 0x46B, 33, "J") + pngBlip("C") + artHeader(0, 0xF00B, 0) +
                                 pngBlip("B");
    const Exported run =
        exportFile(exportPresentationDocument, buildPptFile(one, true, {{"Pictures", pictures}}), WritePictures);
    EXPECT_EQ(run.code, 0);
    EXPECT_EQ(run.files,
              (Files{{"image1.png", "A"}, {"image2.gif", "GIF89a"}, {"image3.jpeg", "J"}, {"image4.png", "C"}}));
    // A BLIP longer than its stream: the export fails, no cut picture is left.
    const std::string cut = pngBlip("A") + artHeader(0x6E0, 0xF01E, 5000) + std::string(40, 'x');
    const Exported failed =
        exportFile(exportPresentationDocument, buildPptFile(one, true, {{"Pictures", cut}}), WritePictures);
    EXPECT_EQ(failed.code, ConversionFailed);
    EXPECT_EQ(failed.files, (Files{{"image1.png", "A"}}));
}

TEST(PptTextReader, SlidesNamingOneOffsetOverAndOverStopTheRead)
{
    // 400 slide ids, all pointing at one slide of 40,000 characters: what the
    // readers pass is bounded by the stream's size, not by the ids.
    PptPlan plan;
    plan.slides.assign(400, page({}));
    plan.slides[0] = page({textBytes(std::string(40000, 'x'))});
    PptStream stream = buildPptStream(plan);
    for (uint32_t id = 3; id < 402; ++id)
        stream.persist[id] = stream.persist[2];
    const uint32_t directoryAt = stream.add(persistDirectory(stream.persist));
    stream.currentEdit = stream.add(userEdit(0, directoryAt));
    const Exported run = exportFile(exportPresentationDocument, buildPptFile(stream), WriteText);
    EXPECT_EQ(run.code, ConversionFailed);
    EXPECT_LT(run.text.size(), size_t(6) << 20);  // 32 MB unbounded
}

// Slides and notes pages are parts numbered by their place in their lists,
// in the order they are written.
TEST(PptTextReader, SlidesAndNotesArePartsNumberedByTheirLists)
{
    PptPlan plan;
    plan.slides = {page({textChars(u"S1"), taggedComment(u"Ann", u"Looks good")}),
                   page({comment10(u"Bo", u"Direct"), textChars(u"S2")})};
    plan.notes = {page({textChars(u"N1")})};
    plan.reverseStorage = true;  // stored: N1, S2, S1
    const std::string file = buildPptFile(buildPptStream(plan));
    EXPECT_EQ(partList(readStructured(file)), (std::vector<std::string>{"slide 1 : S1\t", "slide 2 : S2\n"}));
    EXPECT_EQ(
        partList(readStructured(file, true)),
        (std::vector<std::string>{"notes 1 : N1\t", "slide 2 : Bo\tDirect\tS2\t", "slide 1 : S1\tAnn\tLooks good\n"}));
}
