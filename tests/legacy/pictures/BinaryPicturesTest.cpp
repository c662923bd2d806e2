// Pictures of Word and Excel binary documents, written beside "1.txt".
#include "legacy/excel/ExcelBinaryReader.h"
#include "legacy/word/WordBinaryReader.h"
#include "output/TextFileReencoding.h"

#include "support/BiffBuilder.h"
#include "support/WordDocumentBuilder.h"

#include <gtest/gtest.h>

#include <cerrno>

using namespace quillet;
using namespace quillet::test;

namespace {

using Files = std::map<std::string, std::string>;

// A document whose drawing group lists these entries and whose "Data" stream holds data.
WordPlan wordPlan(std::vector<BlipEntry> pictures, std::string data = {})
{
    return {{{"Text beside pictures", false}}, 0x0200, 93, "1Table", 1, std::move(pictures), {}, std::move(data)};
}

}  // namespace

TEST(BinaryPictures, WordDrawingGroupThenDataShareTheNumbering)
{
    // Data blocks: a store entry carrying its BLIP, one without a picture,
    // an entry of a kind never written, and blocks back to back or padded.
    const std::string data =
        pictureBlock(blipEntry({6, pngBlip("C")})) + pictureBlock("") + pictureBlock(artBlip(0xF029, 0x6E5, 33, "T")) +
        pictureBlock(artBlip(0xF01A, 0x3D4, 50, "E2")) + pictureBlock(blipEntry({1, pngBlip("u")})) +
        pictureBlock(pngBlip("P")).substr(0, 110) + pictureBlock(pngBlip("Q"));
    WordPlan beyond = wordPlan({{6, pngBlip("A")}}), cut = beyond;
    WordPlan storeCountsOne = wordPlan({{6, pngBlip("A")}, {6, pngBlip("B")}, {6, pngBlip("C")}});
    storeCountsOne.countedPictures = 1;
    beyond.delayed = "";
    cut.delayed = artHeader(0x6E0, 0xF01E, 100000) + std::string(17 + 30, 'x');
    const std::tuple<WordPlan, int, Files> cases[] = {
        // An EMF, an entry without references and one of a kind never written take no number.
        {wordPlan({{6, pngBlip("A")},
                   {2, artBlip(0xF01A, 0x3D4, 50, "E")},
                   {6, pngBlip("GIF89a-data")},
                   {5, artBlip(0xF01D, 0x46A, 17, "J")},
                   {6, pngBlip("gone"), 0},
                   {1, pngBlip("x")},
                   {6, pngBlip("B")}},
                  data),
         0,
         {{"image1.png", "A"},
          {"image2.gif", "GIF89a-data"},
          {"image3.jpeg", "J"},
          {"image4.png", "B"},
          {"image5.png", "C"},
          {"image6.tiff", "T"},
          {"image7.png", "P"},
          {"image8.png", "Q"}}},
        {wordPlan({}, pictureBlock(pngBlip("P"), 64)), 0, {}},  // picture header not 68
        // Blocks of other data (mapping mode 0, an odd length) before a picture.
        {wordPlan({}, otherDataBlock("form") + otherDataBlock("x") + pictureBlock(pngBlip("P"))),
         0,
         {{"image1.png", "P"}}},
        {storeCountsOne, 0, {{"image1.png", "A"}, {"image2.png", "B"}, {"image3.png", "C"}}},
        {beyond, 0, {}},              // the delayed BLIP lies beyond "WordDocument"
        {cut, ConversionFailed, {}},  // a BLIP longer than its stream leaves no cut picture
    };
    for (const auto& [plan, code, expected] : cases) {
        const Exported run = exportFile(exportWordDocument, buildWordFile(plan), WriteText | WritePictures);
        EXPECT_EQ(run.code, code);
        EXPECT_EQ(run.files, expected);
    }
}

TEST(BinaryPictures, WorkbookDrawingGroupAcrossContinueRecords)
{
    const std::string one = drawingGroup({{6, pngBlip(std::string(300, 'q'))}});
    const std::pair<std::string, Files> cases[] = {
        // Each record numbers from 1; an entry whose picture was deleted has no BLIP.
        {drawingGroupRecord(drawingGroup({{6, ""}, {6, pngBlip("one")}})) +
             drawingGroupRecord(drawingGroup({{18, artBlip(0xF01D, 0x6E2, 17, "two")}})),
         {{"image1.png", "one"}, {"image1.jpeg", "two"}}},
        {drawingGroupRecord(one.substr(0, 80) + "xx"), {}},  // a store longer than its record
        // A picture going on in a second drawing group record, not a CONTINUE.
        {biffRecord(0x00EB, one.substr(0, 200)) + biffRecord(0x00EB, one.substr(200)),
         {{"image1.png", std::string(300, 'q')}}},
        {drawingGroupRecord(drawingGroup({{9, pngBlip("no")}, {6, pngBlip("x")}})), {}},  // kind 9 ends the store
    };
    for (const auto& [records, expected] : cases) {
        const Exported run = exportFile(exportExcelDocument, buildWorkbookFile(records), WritePictures);
        EXPECT_EQ(run.code, 0);
        EXPECT_EQ(run.files, expected);
    }
}

TEST(BinaryPictures, UnwritableFolderSaysOpenErrorOnceAndFailsTheExport)
{
    TempDir dir;
    const std::string doc = buildWordFile(wordPlan({{6, pngBlip("A")}, {6, pngBlip("B")}}, pictureBlock(pngBlip("C"))));
    const std::string book = buildWorkbookFile(drawingGroupRecord(drawingGroup({{6, pngBlip("A")}})) +
                                               drawingGroupRecord(drawingGroup({{6, pngBlip("B")}})));
    testing::internal::CaptureStderr();
    EXPECT_EQ(exportWordDocument(*openBytes(doc), dir.file("missing"), WritePictures), ENOENT);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "open error!\n");
    testing::internal::CaptureStderr();
    EXPECT_EQ(exportExcelDocument(*openBytes(book), dir.file("missing"), WritePictures), ENOENT);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "open error!\n");

    EXPECT_EQ(exportWordDocument(*openBytes(doc), dir.path(), WriteText | WritePictures), 0);
    finishTextFile(dir.path(), false);
    EXPECT_EQ(readFile(dir.file("1.txt")), utf16leBytes(u"Text beside pictures\n"));
}
