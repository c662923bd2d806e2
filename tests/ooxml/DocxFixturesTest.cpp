// Word-processing packages written by LibreOffice from our own flat documents
// (the .fodt beside each), through the exported calls and the tool.
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <quillet/quillet.h>

#include <cstdio>

using namespace quillet;
using namespace quillet::test;

namespace {

const std::string kBody =
    "\nThe opening paragraph of the report.\nA sentence with a comment attached to it.\nRegion\nRevenue\nNorth\n1200"
    "\nBefore the box.\nText inside the box\n中文段落：这是一个测试文档。\nTab\tseparated\nnext line";

std::string toolOutput(const std::string& arguments)
{
    std::string out;
    FILE* pipe = ::popen((std::string(QUILLET_CLI_PATH) + " " + arguments + " 2>&1").c_str(), "r");
    char buffer[4096];
    for (size_t n; pipe != nullptr && (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        out.append(buffer, n);
    if (pipe != nullptr)
        ::pclose(pipe);
    return out;
}

std::string fixture(const char* name)
{
    return std::string(QUILLET_TEST_DATA) + "/docx/" + name;
}

}  // namespace

TEST(DocxFixtures, StoriesInOrderWithExtrasAndBodyAloneOtherwise)
{
    const std::pair<uint32_t, std::string> cases[] = {
        {WriteText, kBody},
        {WriteText | WriteExtras,
         kBody + "Please check this figure.\nQuarterly header line\nConfidential footer line\n"},
        {WriteExtras, "(none)"},
    };
    for (const auto& [flags, expected] : cases) {
        TempDir out;
        EXPECT_EQ(export2Txt(fixture("stories.docx").c_str(), out.path().c_str(), 0, flags, 0), Success);
        EXPECT_EQ(fileExists(out.file("1.txt")) ? readFile(out.file("1.txt")) : "(none)", expected) << flags;
    }
    QString text;
    quilletGetFileContent(QString::fromStdString(fixture("stories.docx")), text);
    EXPECT_EQ(text, QString::fromUtf8("\nThe opening paragraph of the report.\nA sentence with a comment attached to "
                                      "it.\nRegion\nRevenue\nNorth\n1200\nBefore the box.\nText inside the box\n"
                                      "中文段落：这是一个测试文档。\nTabseparated\nnext line"));
    EXPECT_STREQ(getFileFormate(fixture("stories.docx").c_str(), 0), "DOCX");
}

TEST(DocxFixtures, PicturesBesideTheTextUnderTheirOwnNames)
{
    TempDir out;
    EXPECT_EQ(export2Txt(fixture("picture.docx").c_str(), out.path().c_str(), 0, WriteText | WritePictures, 0),
              Success);
    EXPECT_EQ(listFolder(out.path()), (std::vector<std::string> {"1.txt", "image1.png"}));
    EXPECT_EQ(readFile(out.file("1.txt")), "\nA red square follows.\nAfter the picture.");
    EXPECT_EQ(readFile(out.file("image1.png")).substr(0, 4), "\x89PNG");
}

TEST(DocxFixtures, DamagedCopiesEndWithDefinedResults)
{
    const std::string original = readFile(fixture("stories.docx"));
    TempDir dir;
    const std::string path = dir.file("copy.docx");
    for (size_t at = 0; at < original.size(); at += 97) {
        for (const bool cut : {false, true}) {
            std::string damaged = cut ? original.substr(0, std::max<size_t>(at, 600)) : original;
            if (!cut)
                damaged[at] = char(damaged[at] ^ 0x5A);
            writeFile(path, damaged);
            TempDir out;
            const uint32_t code = export2Txt(path.c_str(), out.path().c_str(), 0, 0x111, 0);
            EXPECT_TRUE(code == Success || code == Unsupported || code == ConversionFailed ||
                        code == WordStructureMissing)
                << at << " " << code;
            QString text;
            quilletGetFileContent(QString::fromStdString(path), text);
        }
    }
}

TEST(DocxFixtures, ToolExportsWithExtrasAndPrintsTheFilteredBody)
{
    TempDir out;
    EXPECT_EQ(toolOutput("export " + fixture("stories.docx") + " " + out.path() + " --extras").substr(0, 2), "0 ");
    EXPECT_EQ(readFile(out.file("1.txt")),
              kBody + "Please check this figure.\nQuarterly header line\nConfidential footer line\n");
    const std::string printed = toolOutput("text " + fixture("stories.docx"));
    EXPECT_NE(printed.find("Tabseparated\nnext line"), std::string::npos) << printed;
    EXPECT_EQ(printed.find("Please check"), std::string::npos);
}
