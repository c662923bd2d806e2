// RTF files through the export: the text file, pictures, result codes, and
// real documents written by LibreOffice and WordPad.
#include "rtf/RtfEntry.h"

#include "support/RtfBuilder.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <quillet/quillet.h>

#include <sys/stat.h>

using namespace quillet;
using namespace quillet::test;

namespace {

const std::string kPng = "\x89PNG\r\n\x1A\n" + std::string(100, 'p');
const std::string kJpeg = "\xFF\xD8\xFF\xE0" + std::string(300, 'j');

std::string threePictures()
{
    return RtfBuilder()
        .text("Before ")
        .picture("pngblip", kPng)
        .raw("{\\*\\shppict")
        .picture("jpegblip", kJpeg, 0)
        .raw("}")
        .picture("pngblip", kPng + "2", 7)
        .text(" after.")
        .buildPadded();
}

std::string fixture(const std::string& name)
{
    return readFile(std::string(QUILLET_TEST_DATA) + "/rtf/" + name);
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
        {WriteText | WritePictures | WriteExtras, "Before  after.\r\n", {"1.txt", "image1.png", "image2.jpg", "image3.png"}},
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
    TempDir dir, out;
    writeFile(dir.file("in.rtf"), "{\\rtf1\\ansicpg936 \\'c4\\'e3\\par}");
    EXPECT_EQ(exportRtfDocument(dir.file("in.rtf"), out.path(), WriteText), Success);
    EXPECT_EQ(readFile(out.file("1.txt")), utf16leBytes(u"\u4F60\n"));

    TempDir empty;
    EXPECT_EQ(exportRtfDocument(dir.file("missing.rtf"), empty.path(), WriteText | WritePictures), Unreadable);
    EXPECT_TRUE(listFolder(empty.path()).empty());
    writeFile(dir.file("plain.rtf"), RtfBuilder().word("b").word("fs", 24).word("i0").buildPadded());
    EXPECT_EQ(export2Txt(dir.file("plain.rtf").c_str(), empty.path().c_str(), 0, WriteText, 0), Success);
    EXPECT_EQ(readFile(empty.file("1.txt")), "\r\n");  // only the builder's closing \par
}

TEST(RtfExport, PictureThatCannotBeCreatedIsReportedAndSkipped)
{
    TempDir dir, out;
    writeFile(dir.file("in.rtf"), threePictures());
    ASSERT_EQ(::mkdir(out.file("image1.png").c_str(), 0700), 0);
    testing::internal::CaptureStderr();
    EXPECT_EQ(export2Txt(dir.file("in.rtf").c_str(), out.path().c_str(), 0, WritePictures | WriteText, 0), Success);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "open error!\n");
    EXPECT_EQ(readFile(out.file("image2.jpg")), kJpeg);
    EXPECT_EQ(readFile(out.file("image3.png")), kPng + "2");
}

TEST(RtfFixtures, ExactTextPicturesAndOnlyDefinedAnswersForDamagedCopies)
{
    const std::tuple<const char*, std::string, std::vector<std::string>> cases[] = {
        {"libreoffice.rtf",
         "Quillet reads RTF documents.\r\n\xE2\x80\x9C" "Curly quotes\xE2\x80\x9D \xE2\x80\x93 en dash \xE2\x80\x94 em dash "
         "\xE2\x80\xA6 ellipsis \xE2\x82\xAC euro, caf\xC3\xA9; semicolons stay.\r\nalpha\tbeta\t\r\ngamma\tdelta\t\r\n"
         "Greek \xCE\xB1\xCE\xB2\xCE\xB3 and Chinese \xE4\xB8\xAD\xE6\x96\x87 and a picture: \r\nLast paragraph.\r\n",
         {"1.txt", "image1.png", "image2.wmf"}},
        {"wordpad.rtf",
         "WordPad heading\r\nPlain text with italics, a tab  and caf\xC3\xA9 na\xC3\xAFve \xE2\x82\xAC" "5.\r\n"
         "Red text; then black.\r\n\xC2\xB7  First bullet\r\n\xC2\xB7  Second bullet\r\n"
         "Polish: \xC5\x81\xC3\xB3" "d\xC5\xBA and an em dash\xE2\x80\x94" "done.\r\nexample link\r\n",
         {"1.txt"}},
        {"chinese.rtf",
         "中文文档测试：你好，世界。\r\n第二段包含English混排和数字123。\r\n《引号》「括号」、顿号；分号！ € \xF0\x9F\x98\x80\r\n",
         {"1.txt"}},
    };
    TempDir dir;
    const std::string path = dir.file("copy.rtf");
    for (const auto& [name, text, files] : cases) {
        const std::string original = fixture(name);
        writeFile(path, original);
        TempDir out;
        EXPECT_EQ(export2Txt(path.c_str(), out.path().c_str(), 0, WriteText | WritePictures, 0), Success) << name;
        EXPECT_EQ(readFile(out.file("1.txt")), text) << name;
        EXPECT_EQ(listFolder(out.path()), files) << name;
        for (size_t at = 0; at < original.size(); at += 97) {
            std::string damaged = original;
            damaged[at] = char(damaged[at] ^ 0x5A);
            for (const std::string& bytes : {original.substr(0, at), damaged}) {
                writeFile(path, bytes);
                const uint32_t code = export2Txt(path.c_str(), out.path().c_str(), 0, WriteText | WritePictures, 0);
                EXPECT_TRUE(code == Success || code == Unsupported) << name << " at " << at << ": " << code;
            }
        }
    }
    TempDir out;
    writeFile(path, fixture("libreoffice.rtf"));
    export2Txt(path.c_str(), out.path().c_str(), 0, WritePictures, 0);
    EXPECT_EQ(readFile(out.file("image1.png")).substr(0, 8), "\x89PNG\r\n\x1A\n");
}
