// Real packages written by LibreOffice Calc and Impress from our own text:
// several sheets, comments, notes, a table and Chinese text.
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <quillet/quillet.h>

#include <string>
#include <vector>

using namespace quillet;
using namespace quillet::test;

namespace {

// Through the library's export; the in-memory call reads neither kind.
std::string exportFixture(const std::string& name, uint32_t flags)
{
    TempDir out;
    const std::string path = std::string(QUILLET_TEST_DATA) + "/" + name;
    EXPECT_EQ(export2Txt(path.c_str(), out.path().c_str(), 0, flags, 0), Success) << name;
    EXPECT_STREQ(getFileFormate(path.c_str(), 0), name.find(".xlsx") != std::string::npos ? "XLSX" : "PPTX");
    QString content = QStringLiteral("unset");
    quilletGetFileContent(QString::fromStdString(path), content);
    EXPECT_EQ(content, QStringLiteral("unset")) << name;
    return readFile(out.file("1.txt"));
}

}  // namespace

TEST(SheetSlideFixtures, LibreOfficeFilesGiveTheirTextAndExtras)
{
    const std::string sheet1 = "Item\tCount\tPrice\t\n\tApples\t12\t0.5\t\n\tPears & plums\t3\t1\t\n\tApples\t#VALUE!\t\n\t";
    const std::string sheet2 = "你好，世界\t价格\t\n\t第二行\t42\t\n\t";
    // LibreOffice's default odd-page header and footer, codes included.
    const std::string headerFooter = "&C&\"DejaVu Serif,Book\"&12&A\t&C&\"DejaVu Serif,Book\"&12Page &P\t";
    const std::string slide1 = "\tQuarterly review\tFirst point\nSecond point";
    const std::string slide2 = "\t中文幻灯片：你好\tNorth\tSouth\t东\t西";
    const std::tuple<const char*, uint32_t, std::string> cases[] = {
        {"xlsx/several-sheets.xlsx", 0x10, sheet1 + sheet2},
        {"xlsx/several-sheets.xlsx", 0x110,
         sheet1 + headerFooter + "\n\tCheck the apples\n\t" + sheet2 + headerFooter + "\n\t批注内容\n\t" + headerFooter},
        {"pptx/notes-comments.pptx", 0x10, slide1 + "\n\t" + slide2 + "\n\t\n\t"},
        {"pptx/notes-comments.pptx", 0x110,
         slide1 + "\tSpeaker notes here" + "Check the figures\n\t" + slide2 + "\t备注文字\n\t\n\t"},
    };
    for (const auto& [name, flags, expected] : cases)
        EXPECT_EQ(exportFixture(name, flags), expected) << name << " " << flags;
}

TEST(SheetSlideFixtures, DamagedAndCutCopiesEndInDefinedCodes)
{
    TempDir dir;
    for (const char* name : {"xlsx/several-sheets.xlsx", "pptx/notes-comments.pptx"}) {
        const std::string original = readFile(std::string(QUILLET_TEST_DATA) + "/" + name);
        const std::string path = dir.file(std::string("copy") + (name[0] == 'x' ? ".xlsx" : ".pptx"));
        std::vector<std::string> copies;
        for (size_t at = 0; at < original.size(); at += 211) {
            std::string damaged = original;
            damaged[at] = char(damaged[at] ^ 0x5A);
            copies.push_back(damaged);
        }
        for (size_t size = 512; size < original.size(); size += original.size() / 7)
            copies.push_back(original.substr(0, size));
        for (const std::string& copy : copies) {
            writeFile(path, copy);
            const uint32_t code = export2Txt(path.c_str(), dir.file("out").c_str(), 0, 0x111, 0);
            EXPECT_TRUE(code == Success || code == Unsupported || code == ConversionFailed) << name << " " << code;
        }
    }
}
