// Binary presentations built in code, exported through the presentation entry.
#include "legacy/powerpoint/PptTextReader.h"
#include "compound/CompoundFileError.h"

#include "support/PptBuilder.h"
#include "support/TempDir.h"
#include "support/ZipBuilder.h"

#include <gtest/gtest.h>

#include <quillet/quillet.h>

#include <functional>
#include <map>

using namespace quillet;
using namespace quillet::test;

namespace {

constexpr uint32_t kText = WriteText;
constexpr uint32_t kExtras = WriteText | WriteExtras;

struct Exported {
    int code = -1;
    std::optional<std::u16string> text;  // "1.txt", when written
    std::map<std::string, std::string> pictures;
};

Exported exportPpt(const std::string& file, uint32_t flags)
{
    TempDir dir;
    Exported run;
    run.code = exportPresentationDocument(*openBytes(file), dir.path(), flags);
    for (const std::string& name : listFolder(dir.path())) {
        const std::string bytes = readFile(dir.file(name));
        if (name == "1.txt")
            run.text = std::u16string(reinterpret_cast<const char16_t*>(bytes.data()), bytes.size() / 2);
        else
            run.pictures[name] = bytes;
    }
    return run;
}

PptPage page(std::vector<std::string> records, std::vector<std::u16string> placeholders = {})
{
    return PptPage{std::move(placeholders), std::move(records)};
}

PptStream junkStream()
{
    PptStream stream;
    stream.bytes = std::string(600, 'x');
    return stream;
}

PptPlan twoSlides()
{
    PptPlan plan;
    plan.slides = {page({textChars(u"First")}), page({textChars(u"Second")})};
    return plan;
}

// A drawing package whose shape part holds the runs given, and whose graphic
// frame holds a table with one cell.
std::string drawingPackage(const std::string& runs, const std::string& cell = "Cell")
{
    const std::string ns = "xmlns:p=\"http://schemas.openxmlformats.org/presentationml/2006/main\" "
                           "xmlns:a=\"http://schemas.openxmlformats.org/drawingml/2006/main\"";
    return ZipBuilder()
        .add("_rels/.rels",
             "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
             "<Relationship Id=\"r1\" Type=\"http://schemas.microsoft.com/office/2006/relationships/shapeXml\" "
             "Target=\"drs/shapexml.xml\"/>"
             "<Relationship Id=\"r2\" Type=\"http://schemas.microsoft.com/office/2006/relationships/graphicFrameDoc\" "
             "Target=\"drs/e2oDoc.xml\"/></Relationships>")
        .add("drs/shapexml.xml", "<p:sp " + ns + "><p:txBody><a:p>" + runs + "</a:p></p:txBody></p:sp>")
        .add("drs/e2oDoc.xml", "<p:graphicFrame " + ns +
                                   "><a:graphic><a:graphicData><a:tbl><a:tr><a:tc><a:txBody><a:p>"
                                   "<a:r><a:t>" +
                                   cell +
                                   "</a:t></a:r></a:p></a:txBody></a:tc></a:tr></a:tbl>"
                                   "</a:graphicData></a:graphic></p:graphicFrame>")
        .bytes();
}

}  // namespace

TEST(PptTextReader, TextOfSlides)
{
    struct Case {
        const char* name;
        std::function<std::string()> file;
        uint32_t flags;
        int code;
        std::optional<std::u16string> text;
    };
    const Case cases[] = {
        {"no Current User: the user edits are scanned", [] { return buildPptFile(buildPptStream(twoSlides()), false); },
         kText, 0, u"First\tSecond\t"},
        {"incremental saves: the newest offset of an id wins",
         [] {
             PptStream stream = buildPptStream(twoSlides());
             stream.saveEdit({{3, pptContainer(1006, {textChars(u"Second, edited")})}});
             stream.saveEdit({{2, pptContainer(1006, {textChars(u"First, edited")})}});
             return buildPptFile(stream);
         },
         kText, 0, u"First, edited\tSecond, edited\t"},
        {"a user-edit chain that loops: the edits it misses are read newest first",
         [] {
             PptStream stream = buildPptStream(twoSlides());
             stream.saveEdit({{2, pptContainer(1006, {textChars(u"New")})}});
             putU32(stream.bytes, stream.currentEdit + 16, stream.currentEdit);  // offsetLastEdit: itself
             return buildPptFile(stream);
         },
         kText, 0, u"New\tSecond\t"},
        {"masters are collected, not written",
         [] {
             PptPlan plan = twoSlides();
             plan.masters = {page({textChars(u"Master box")}, {u"Master title"})};
             plan.titleMasters = {page({textChars(u"Title master box"), outlineRef(0)}, {u"Title master title"})};
             return buildPptFile(buildPptStream(plan));
         },
         kText, 0, u"First\tSecond\t"},
        {"placeholders by outline reference, surplus references write nothing",
         [] {
             PptPlan plan;
             plan.slides = {page({outlineRef(5), textBytes("box"), outlineRef(0), outlineRef(1)}, {u"Title", u"Body"})};
             return buildPptFile(buildPptStream(plan));
         },
         kText, 0, u"Title\tbox\tBody\t"},
        {"odd UTF-16 length and a Latin-1 byte",
         [] {
             PptPlan plan;
             plan.slides = {page({pptAtom(4000, std::string("A\0B", 3)), textBytes("caf\xE9")})};
             return buildPptFile(buildPptStream(plan));
         },
         kText, 0, u"A\tcaf\u00E9\t"},
        {"a slide outside the stream is left out and answers 4101",
         [] {
             PptStream stream = buildPptStream(twoSlides());
             stream.saveEdit({{2, ""}});
             putU32(stream.bytes, stream.bytes.size() - 36 - 4, 0x7FFFFFF0);
             return buildPptFile(stream);
         },
         kText, Refused, u"Second\t"},
        {"no document found: 4101 without a text file", [] { return buildPptFile(junkStream(), false); }, kText,
         Refused, std::nullopt},
        {"encrypted user edit found by the scan",
         [] {
             PptStream stream = buildPptStream(twoSlides());
             stream.saveEdit({}, 4);
             return buildPptFile(stream, false);
         },
         kText, Encrypted, std::nullopt},
        {"ZebEncryptionInfo",
         [] {
             return buildPptFile(buildPptStream(twoSlides()), true, {{"ZebEncryptionInfo", "x"}});
         },
         kText, Encrypted, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Exported run = exportPpt(c.file(), c.flags);
        EXPECT_EQ(run.code, c.code);
        EXPECT_EQ(run.text, c.text);
    }
}

TEST(PptTextReader, NotesAndCommentsOnlyWithExtrasInStorageOrder)
{
    PptPlan plan;
    plan.slides = {page({textChars(u"S1"), taggedComment(u"Ann", u"Looks good")}),
                   page({comment10(u"Bo", u"Direct"), textChars(u"S2")})};
    plan.notes = {page({textChars(u"N1")})};
    plan.reverseStorage = true;  // stored: N1, S2, S1
    plan.titleMasters = {page({textChars(u"Title master")})};
    const std::string file = buildPptFile(buildPptStream(plan));
    EXPECT_EQ(exportPpt(file, kText).text, u"S1\tS2\t");
    EXPECT_EQ(exportPpt(file, kExtras).text, u"N1\tBo\tDirect\tS2\tS1\tAnn\tLooks good\t");
    EXPECT_EQ(exportPpt(file, WriteExtras).text, std::nullopt);
}

TEST(PptTextReader, EmbeddedDrawingPackage)
{
    const std::string runs = "<a:r><a:t> one </a:t></a:r><a:fld><a:t>7</a:t></a:fld><a:br/><a:r><a:t>two</a:t></a:r>";
    struct Case {
        const char* name;
        std::string shape;
        int code;
        std::u16string text;
    } cases[] = {
        {"shape and table text", metroBlobShape(drawingPackage(runs)), 0, u"before\t one ;two;Cell;after\t"},
        {"not a ZIP archive", metroBlobShape("PK\x03\x04 but not a package"), 0, u"before\tafter\t"},
        {"length beyond its record", metroBlobShape(drawingPackage(runs), 0x7FFFFFF0), -1, u"before\t"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PptPlan plan;
        plan.slides = {page({textChars(u"before"), pptContainer(0xF003, {c.shape}), textChars(u"after")})};
        const std::string file = buildPptFile(buildPptStream(plan));
        TempDir dir;
        int code = -1;
        try {
            code = exportPresentationDocument(*openBytes(file), dir.path(), kText);
        } catch (const std::runtime_error&) {
            // a damaged record or part: 4098 at the library boundary
        }
        EXPECT_EQ(code, c.code);
        EXPECT_EQ(listFolder(dir.path()), std::vector<std::string>{"1.txt"});
        const std::string bytes = readFile(dir.file("1.txt"));
        if (c.code == 0) {
            EXPECT_EQ(bytes, utf16leBytes(c.text));
        }
    }
}

TEST(PptTextReader, PicturesStream)
{
    const std::string pictures =
        pngBlip("A") + emfBlip("E") + pngBlip("B") + pngBlip("GIF89a") + artBlip(0xF01D, 0x46B, 33, "J") + pngBlip("C");
    struct Case {
        const char* name;
        std::string stream;
        uint32_t flags;
        int code;
        std::map<std::string, std::string> expected;
    } cases[] = {
        {"PNG, EMF passed over without a number, GIF, JPEG",
         pictures,
         WritePictures,
         0,
         {{"image1.png", "A"},
          {"image2.png", "B"},
          {"image3.gif", "GIF89a"},
          {"image4.jpeg", "J"},
          {"image5.png", "C"}}},
        {"a record that is no BLIP ends them",
         pngBlip("A") + artHeader(0, 0xF00B, 0) + pngBlip("B"),
         WritePictures,
         0,
         {{"image1.png", "A"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PptStream stream = c.code == 0 ? buildPptStream(twoSlides()) : junkStream();
        const Exported run = exportPpt(buildPptFile(stream, c.code == 0, {{"Pictures", c.stream}}), c.flags);
        EXPECT_EQ(run.code, c.code);
        EXPECT_EQ(run.pictures, c.expected);
    }
    // A BLIP longer than its stream: the export fails, no cut picture is left.
    TempDir dir;
    const std::string cut = pngBlip("A") + artHeader(0x6E0, 0xF01E, 5000) + std::string(40, 'x');
    EXPECT_THROW(
        exportPresentationDocument(*openBytes(buildPptFile(buildPptStream(twoSlides()), true, {{"Pictures", cut}})),
                                   dir.path(), WritePictures),
        CompoundFileError);
    EXPECT_EQ(listFolder(dir.path()), std::vector<std::string>{"image1.png"});
}

TEST(PptTextReader, SlidesNamingOneOffsetOverAndOverStopTheRead)
{
    // 400 slide ids, all pointing at one slide of 40,000 characters: what the
    // readers pass is bounded by the stream's size, not by the ids.
    PptPlan plan;
    plan.slides.assign(400, page({}));
    plan.slides[0] = page({textBytes(std::string(40000, 'x'))});
    PptStream stream = buildPptStream(plan);
    std::map<uint32_t, uint32_t> directory{{1, 0}};
    for (uint32_t id = 2; id < 402; ++id)
        directory[id] = stream.persist[2];
    const uint32_t directoryAt = uint32_t(stream.add(persistDirectory(directory)));
    stream.currentEdit = uint32_t(stream.add(userEdit(0, directoryAt, 1)));
    TempDir dir;
    EXPECT_THROW(exportPresentationDocument(*openBytes(buildPptFile(stream)), dir.path(), kText), CompoundFileError);
    EXPECT_LT(readFile(dir.file("1.txt")).size(), size_t(6) << 20);  // 32 MB unbounded
}
