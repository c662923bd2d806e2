// RTF files through the export: the text file, pictures and result codes.
#include "output/TextFileReencoding.h"
#include "rtf/RtfEntry.h"

#include "support/RtfBuilder.h"
#include "support/StructuredRead.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <quillet/quillet.h>

#include <sys/stat.h>

#include <cerrno>

using namespace quillet;
using namespace quillet::test;

namespace {

const std::string kPng = "\x89PNG\r\n\x1A\n" + std::string(100, 'p');
const std::string kJpeg = "\xFF\xD8\xFF\xE0" + std::string(300, 'j');

std::string threePictures()
{
    return rtfDocument("Before " + rtfPicture("pngblip", kPng) + "{\\*\\shppict" + rtfPicture("jpegblip", kJpeg, 0) +
                       "}" + rtfPicture("pngblip", kPng + "2", 7) + " after.");
}

}  // namespace

TEST(RtfExport, FlagsDecideTextAndPictures)
{
    struct Case {
        uint32_t flags;
        std::string text;
        std::vector<std::string> files;
    };
    const Case cases[] = {
        {WritePictures, "", {"1.txt", "image1.png", "image2.jpg", "image3.png"}},
        {WriteText, "Before  after.\r\n", {"1.txt"}},
        {WriteText | WritePictures | WriteExtras,
         "Before  after.\r\n",
         {"1.txt", "image1.png", "image2.jpg", "image3.png"}},
        {0, "", {"1.txt"}},
    };
    TempDir dir;
    writeFile(dir.file("in.rtf"), threePictures());
    for (const Case& c : cases) {
        TempDir out;
        EXPECT_EQ(export2Txt(dir.file("in.rtf").c_str(), out.path().c_str(), 0, c.flags, 0), Success);
        EXPECT_EQ(readFile(out.file("1.txt")), c.text) << c.flags;
        EXPECT_EQ(listFolder(out.path()), c.files) << c.flags;
        if (c.files.size() == 4) {
            EXPECT_EQ(readFile(out.file("image1.png")), kPng);
            EXPECT_EQ(readFile(out.file("image2.jpg")), kJpeg);
            EXPECT_EQ(readFile(out.file("image3.png")), kPng + "2");
        }
    }
    EXPECT_STREQ(getFileFormate(dir.file("in.rtf").c_str(), 0), "RTF");
    QString content = QStringLiteral("unset");
    quilletGetFileContent(QString::fromStdString(dir.file("in.rtf")), content);
    EXPECT_EQ(content, QStringLiteral("unset"));  // RTF is read on the export path only
}

TEST(RtfExport, ReaderEntryWritesUtf16AndAnswersMissingSources)
{
    // The reader's text as a failed conversion would leave it: as appended.
    const auto appended = [](const TempDir& folder) {
        finishTextFile(folder.path(), false);
        return readFile(folder.file("1.txt"));
    };
    TempDir dir, out;
    writeFile(dir.file("in.rtf"), "{\\rtf1\\ansicpg936 \\'c4\\'e3\\par}");
    EXPECT_EQ(exportRtfDocument(dir.file("in.rtf"), out.path(), WriteText), Success);
    EXPECT_EQ(appended(out), utf16leBytes(u"\u4F60\n"));
    // Text goes to the file in pieces as it is read; none is lost between them.
    std::string rtf = "{\\rtf1 ";
    std::u16string text;
    for (int i = 0; i < 30000; ++i) {
        rtf += i % 3 ? "word " : "\\u8364?\\par ";
        text += i % 3 ? u"word " : u"\u20AC\n";
    }
    writeFile(dir.file("long.rtf"), rtf + "}");
    EXPECT_EQ(exportRtfDocument(dir.file("long.rtf"), out.path(), WriteText), Success);
    EXPECT_EQ(appended(out), utf16leBytes(text));
    // Headers and footers only with 0x110, after the body.
    writeFile(dir.file("header.rtf"), "{\\rtf1{\\headerr top}body\\par}");
    const std::pair<uint32_t, std::u16string> headerCases[] = {{WriteText, u"body\n"},
                                                               {WriteText | WriteExtras, u"body\ntop"}};
    for (const auto& [flags, text] : headerCases) {
        EXPECT_EQ(exportRtfDocument(dir.file("header.rtf"), out.path(), flags), Success);
        EXPECT_EQ(appended(out), utf16leBytes(text)) << flags;
    }

    TempDir empty;
    EXPECT_EQ(exportRtfDocument(dir.file("missing.rtf"), empty.path(), WriteText | WritePictures), Unreadable);
    EXPECT_TRUE(listFolder(empty.path()).empty());
}

TEST(RtfExport, OutputThatCannotBeCreatedFailsTheExport)
{
    TempDir dir, out;
    writeFile(dir.file("in.rtf"), threePictures());
    ASSERT_EQ(::mkdir(out.file("image1.png").c_str(), 0700), 0);
    testing::internal::CaptureStderr();
    EXPECT_EQ(export2Txt(dir.file("in.rtf").c_str(), out.path().c_str(), 0, WritePictures | WriteText, 0),
              uint32_t(EISDIR));
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "open error!\n");
    EXPECT_EQ(readFile(out.file("image2.jpg")), kJpeg) << "the other pictures are still written";
    EXPECT_EQ(readFile(out.file("image3.png")), kPng + "2");

    // "1.txt" is made whatever the flags.
    TempDir blocked;
    ASSERT_EQ(::mkdir(blocked.file("1.txt").c_str(), 0700), 0);
    for (uint32_t flags : {uint32_t(WriteText), uint32_t(WritePictures), 0u}) {
        EXPECT_EQ(export2Txt(dir.file("in.rtf").c_str(), blocked.path().c_str(), 0, flags, 0), uint32_t(EISDIR))
            << flags;
        EXPECT_FALSE(fileExists(blocked.file("1.txtutf8.txt"))) << flags;
    }
}

// The info group gives the properties and none of the text; the text is one
// part, the headers after the body as the export writes them.
TEST(RtfExport, InfoGroupPropertiesAndTheBodyAsOnePart)
{
    const readable::Document document =
        readStructured(rtfDocument("{\\info{\\title Q3 \\'e9t\\'e9}{\\author Ann}{\\nofpages4}"
                                   "{\\creatim\\yr2024\\mo2\\dy29\\hr13\\min5}}{\\header Top\\par}Body\\par"),
                       true);
    EXPECT_EQ(document.metadataJson, "{\"author\":\"Ann\",\"created\":\"2024-02-29T13:05:00\",\"pages\":4,"
                                     "\"title\":\"Q3 \u00E9t\u00E9\"}");
    EXPECT_EQ(partList(document), (std::vector<std::string>{"body 1 : Body\n\nTop\n"}));
}
