// A real PowerPoint 97-2003 presentation written by LibreOffice Impress from
// the .fodp beside it, and the same file cut short and damaged.
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <quillet/quillet.h>

#include <set>

using namespace quillet;
using namespace quillet::test;

TEST(PptFixtures, ExactTextPictureAndDefinedAnswersWhenDamaged)
{
    // Slides in show order; notes follow the slides, as Impress stores them.
    const std::string slides =
        "Quarterly Review\tSales grew in every region\t中文演示文稿测试\tRegion\tTotal\tNorth\t42\t";
    const std::pair<uint32_t, std::string> cases[] = {
        {WriteText, slides + "\r\n"},
        {WriteText | WriteExtras | WritePictures, slides + "Speaker note one\t备注第二页\t\r\n"},
    };
    TempDir dir;
    const std::string path = dir.file("copy.ppt");
    const std::string original = readFile(std::string(QUILLET_TEST_DATA) + "/ppt/slides.ppt");
    writeFile(path, original);
    for (const auto& [flags, expected] : cases) {
        TempDir out;
        EXPECT_EQ(export2Txt(path.c_str(), out.path().c_str(), 0, flags, 0), Success);
        EXPECT_EQ(readFile(out.file("1.txt")), expected) << flags;
        const std::vector<std::string> files = listFolder(out.path());
        const std::vector<std::string> withPicture{"1.txt", "image1.png"}, textOnly{"1.txt"};
        EXPECT_EQ(files, (flags & WritePictures) ? withPicture : textOnly);
        if (flags & WritePictures) {
            EXPECT_EQ(readFile(out.file("image1.png")).substr(0, 8), "\x89PNG\r\n\x1a\n");
        }
    }
    EXPECT_STREQ(getFileFormate(path.c_str(), 0), "PPT");
    QString content = QStringLiteral("unchanged");
    quilletGetFileContent(QString::fromStdString(path), content);
    EXPECT_EQ(content, QStringLiteral("unchanged"));  // presentations have no in-memory text

    const std::set<uint32_t> defined = {Success, Unsupported, ConversionFailed, Refused, Encrypted};
    const size_t stride = original.size() / 211 + 1;
    for (size_t at = 0; at < original.size(); at += stride) {
        std::string damaged = original;
        damaged[at] = char(damaged[at] ^ 0x5A);
        for (const std::string& bytes : {original.substr(0, at), damaged}) {
            writeFile(path, bytes);
            TempDir out;
            const uint32_t code = export2Txt(path.c_str(), out.path().c_str(), 0, 0x111, 0);
            EXPECT_EQ(defined.count(code), 1u) << at << ": " << code;
            EXPECT_FALSE(fileExists(out.file("1.zip")));
        }
    }
}
