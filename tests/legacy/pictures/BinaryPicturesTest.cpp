// Pictures of Word and Excel binary documents, written beside "1.txt".
#include "compound/CompoundFileError.h"
#include "legacy/excel/ExcelBinaryReader.h"
#include "legacy/powerpoint/PptTextReader.h"
#include "legacy/word/WordBinaryReader.h"

#include "support/BiffBuilder.h"
#include "support/OfficeArtBuilder.h"
#include "support/TempDir.h"
#include "support/WordDocumentBuilder.h"

#include <gtest/gtest.h>

#include <quillet/quillet.h>

#include <map>

using namespace quillet;
using namespace quillet::test;

namespace {

using Files = std::map<std::string, std::string>;

// Every file the export left but "1.txt", with its bytes.
Files picturesIn(const TempDir& dir)
{
    Files files;
    for (const std::string& name : listFolder(dir.path()))
        if (name != "1.txt")
            files[name] = readFile(dir.file(name));
    return files;
}

// Entries of the drawing group whose BLIPs lie in "WordDocument", in order.
struct DelayedPicture {
    std::string blip;
    uint8_t btWin32 = 6;
    uint32_t references = 1;
};

struct WordFile {
    WordPlan plan;
    WordPictureStreams art;
};

WordFile wordPlan(const std::vector<DelayedPicture>& pictures, const std::string& data = {})
{
    WordFile file;
    WordPlan& plan = file.plan;
    WordPictureStreams& art = file.art;
    plan.pieces = {{"Text beside pictures", false}};
    std::vector<std::string> entries;
    for (const DelayedPicture& p : pictures) {
        entries.push_back(
            blipEntry({p.btWin32, p.references, delayedBase(plan) + uint32_t(art.delayed.size()), "", "n"}));
        art.delayed += p.blip;
    }
    if (!pictures.empty())
        art.drawingGroup = drawingGroup(entries);
    art.data = data;
    return file;
}

Files exportWord(const WordFile& file)
{
    TempDir dir;
    EXPECT_EQ(exportWordDocument(*openBytes(buildWordFile(file.plan, file.art)), dir.path(), WriteText | WritePictures),
              0);
    return picturesIn(dir);
}

Files exportWorkbook(const std::string& records)
{
    TempDir dir;
    EXPECT_EQ(exportExcelDocument(*openBytes(buildWorkbookFile(records)), dir.path(), WritePictures), 0);
    return picturesIn(dir);
}

BlipEntry carrying(uint8_t btWin32, const std::string& blip)
{
    return {btWin32, 1, 0, blip, ""};
}

}  // namespace

TEST(BinaryPictures, WordDrawingGroupAndDataNumbering)
{
    const std::string jpeg17 = artBlip(0xF01D, 0x46A, 17, "J17"), jpeg33 = artBlip(0xF01D, 0x46B, 33, "J33");
    struct Case {
        const char* name;
        WordFile plan;
        Files expected;
    } cases[] = {
        {"three PNG and an EMF",
         wordPlan({{pngBlip("A")}, {emfBlip("E"), 2}, {pngBlip("B")}, {pngBlip("C")}}),
         {{"image1.png", "A"}, {"image2.png", "B"}, {"image3.png", "C"}}},
        {"GIF under the PNG type", wordPlan({{pngBlip("GIF89a-data")}}), {{"image1.gif", "GIF89a-data"}}},
        {"JPEG 0x46A then 0x46B",
         wordPlan({{jpeg17, 5}, {jpeg33, 5}}),
         {{"image1.jpeg", "J17"}, {"image2.jpeg", "J33"}}},
        {"no references", wordPlan({{pngBlip("gone"), 6, 0}, {pngBlip("kept")}}), {{"image1.png", "kept"}}},
        {"unknown entry passed over", wordPlan({{pngBlip("x"), 1}, {pngBlip("kept")}}), {{"image1.png", "kept"}}},
        {"counter shared with Data",
         wordPlan({{pngBlip("A")}, {emfBlip("E"), 2}, {pngBlip("B")}},
                  pictureBlock(blipEntry(carrying(6, pngBlip("C")))) + pictureBlock("") +
                      pictureBlock(artBlip(0xF029, 0x6E5, 33, "T")) + pictureBlock(emfBlip("E2")) +
                      pictureBlock(artBlip(0xF01D, 0x46A, 17, "D"))),
         {{"image1.png", "A"}, {"image2.png", "B"}, {"image3.png", "C"}, {"image4.tiff", "T"}, {"image5.jpeg", "D"}}},
        {"Data entry of unknown kind passed over",
         wordPlan({}, pictureBlock(blipEntry(carrying(1, pngBlip("u")))) + pictureBlock(pngBlip("P"))),
         {{"image1.png", "P"}}},
        {"blocks back to back and padded",
         wordPlan({},
                  pictureBlock(pngBlip("A")) + pictureBlock(pngBlip("B")).substr(0, 110) + pictureBlock(pngBlip("C"))),
         {{"image1.png", "A"}, {"image2.png", "B"}, {"image3.png", "C"}}},
        {"picture header not 68", wordPlan({}, pictureBlock(pngBlip("P"), 8, 64)), {}},
        {"block length of four billion", wordPlan({}, le32(0xFFFFFFF0u) + pictureBlock(pngBlip("P")).substr(4)), {}},
        {"delayed BLIP beyond the stream",
         [] {
             WordFile plan = wordPlan({{pngBlip("A")}});
             plan.art.delayed.clear();
             return plan;
         }(),
         {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(exportWord(c.plan), c.expected);
    }
}

TEST(BinaryPictures, BlipLongerThanItsStreamLeavesNoCutPicture)
{
    WordFile plan = wordPlan({{pngBlip("whole")}});
    plan.art.delayed = artHeader(0x6E0, 0xF01E, 100000) + std::string(17 + 30, 'x');
    TempDir dir;
    EXPECT_THROW(exportWordDocument(*openBytes(buildWordFile(plan.plan, plan.art)), dir.path(), WritePictures),
                 CompoundFileError);
    EXPECT_EQ(picturesIn(dir), Files{});
}

TEST(BinaryPictures, WorkbookDrawingGroupAcrossContinueRecords)
{
    const std::string big(20000, 'p');
    const std::string group = drawingGroup(
        {blipEntry(carrying(6, pngBlip(big))), blipEntry(carrying(4, artBlip(0xF01C, 0x542, 50, "pict"))),
         blipEntry(carrying(0, pngBlip("error kind"))), blipEntry(carrying(5, artBlip(0xF01D, 0x46B, 33, "jpeg"))),
         blipEntry(BlipEntry{6, 0, 0, "", ""}),  // deleted: no BLIP
         blipEntry(carrying(6, pngBlip("GIF8x")))});
    struct Case {
        const char* name;
        std::string records;
        Files expected;
    } cases[] = {
        {"one record",
         drawingGroupRecord(group, 70000),
         {{"image1.png", big}, {"image2.jpeg", "jpeg"}, {"image3.gif", "GIF8x"}}},
        {"split every 8224 bytes",
         drawingGroupRecord(group),
         {{"image1.png", big}, {"image2.jpeg", "jpeg"}, {"image3.gif", "GIF8x"}}},
        {"split inside headers",
         drawingGroupRecord(group, 7),
         {{"image1.png", big}, {"image2.jpeg", "jpeg"}, {"image3.gif", "GIF8x"}}},
        {"each record numbers from 1",
         drawingGroupRecord(drawingGroup({blipEntry(carrying(6, pngBlip("one")))})) +
             drawingGroupRecord(drawingGroup({blipEntry(carrying(18, artBlip(0xF01D, 0x6E2, 17, "two")))})),
         {{"image1.png", "one"}, {"image1.jpeg", "two"}}},
        {"store longer than its record",
         drawingGroupRecord(drawingGroup({blipEntry(carrying(6, pngBlip("one")))}).substr(0, 80) + "xx"),
         {}},
        {"picture going on in a second drawing group record",
         [] {
             const std::string body = drawingGroup({blipEntry(carrying(6, pngBlip(std::string(300, 'q'))))});
             return biffRecord(0x00EB, body.substr(0, 200)) + biffRecord(0x00EB, body.substr(200));
         }(),
         {}},
        {"kind 9 ends the store",
         drawingGroupRecord(
             drawingGroup({blipEntry(carrying(9, pngBlip("no"))), blipEntry(carrying(6, pngBlip("x")))})),
         {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(exportWorkbook(bofRecord() + c.records + eofRecord()), c.expected);
    }
}

TEST(BinaryPictures, UnwritableFolderSaysOpenErrorOnceAndKeepsTheText)
{
    TempDir dir;
    const std::string missing = dir.file("missing");
    const WordFile word = wordPlan({{pngBlip("A")}, {pngBlip("B")}}, pictureBlock(pngBlip("C")));
    const std::string doc = buildWordFile(word.plan, word.art);
    const std::string book =
        buildWorkbookFile(bofRecord() + drawingGroupRecord(drawingGroup({blipEntry(carrying(6, pngBlip("A")))})) +
                          drawingGroupRecord(drawingGroup({blipEntry(carrying(6, pngBlip("B")))})) + eofRecord());
    testing::internal::CaptureStderr();
    EXPECT_EQ(exportWordDocument(*openBytes(doc), missing, WritePictures), 0);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "open error!\n");
    testing::internal::CaptureStderr();
    EXPECT_EQ(exportExcelDocument(*openBytes(book), missing, WritePictures), 0);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "open error!\n");

    EXPECT_EQ(exportWordDocument(*openBytes(doc), dir.path(), WriteText | WritePictures), 0);
    EXPECT_EQ(readFile(dir.file("1.txt")), utf16leBytes(u"Text beside pictures\r\n"));
}

TEST(BinaryPictures, LibreOfficeDocumentAndWorkbook)
{
    for (const char* name : {"word/pictures.doc", "xls/pictures.xls"}) {
        SCOPED_TRACE(name);
        TempDir dir;
        const auto file = openBytes(readFile(std::string(QUILLET_TEST_DATA) + "/" + name));
        const bool word = std::string(name).rfind("word", 0) == 0;
        EXPECT_EQ(word ? exportWordDocument(*file, dir.path(), WritePictures)
                       : exportExcelDocument(*file, dir.path(), WritePictures),
                  0);
        const Files got = picturesIn(dir);
        ASSERT_EQ(got.size(), 2u);
        // A 16x12 red square, then a 10x20 blue bar.
        EXPECT_EQ(got.at("image1.png").substr(16, 8), le32(0x10000000u) + le32(0x0C000000u));
        EXPECT_EQ(got.at("image2.png").substr(16, 8), le32(0x0A000000u) + le32(0x14000000u));
    }
}
