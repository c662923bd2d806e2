// The exported functions as a caller sees them, on inputs the dispatcher
// decides alone (no reader involved).
#include <quillet/quillet.h>

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

using namespace quillet;
using quillet::test::fileExists;
using quillet::test::listFolder;
using quillet::test::TempDir;
using quillet::test::writeFile;

namespace {

std::string padded(const std::string& head, size_t size)
{
    std::string bytes = head;
    bytes.resize(size, 'x');
    return bytes;
}

const std::string kOle = "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1";

}  // namespace

TEST(Export, SizeWindowRefusesSmallAndHugeSources)
{
    TempDir dir;
    writeFile(dir.file("small.doc"), padded(kOle, 511));
    writeFile(dir.file("text.bin"), padded("plain text", 512));
    EXPECT_EQ(export2Txt(dir.file("small.doc").c_str(), dir.file("out").c_str(), 0, WriteText, 0), Unsupported);
    EXPECT_EQ(export2Txt(dir.file("text.bin").c_str(), dir.file("out").c_str(), 0, WriteText, 0), Unsupported);

    // A sparse file just past 1 GiB is refused by its size, not read.
    const std::string huge = dir.file("huge.pdf");
    writeFile(huge, "%PDF-1.4\n");
    ASSERT_EQ(::truncate(huge.c_str(), 0x40000000), 0);
    EXPECT_EQ(export2Txt(huge.c_str(), dir.file("out").c_str(), 0, WriteText, 0), Unsupported);
    QString text = QStringLiteral("before");
    quilletGetFileContent(QString::fromStdString(huge), text);
    EXPECT_EQ(text, QStringLiteral("before"));
}

TEST(Export, OutputFolderRules)
{
    TempDir dir;
    writeFile(dir.file("a.pdf"), padded("%PDF-1.4\n", 600));
    const std::string source = dir.file("a.pdf");
    // Missing parent: 2, and nothing is created.
    EXPECT_EQ(export2Txt(source.c_str(), dir.file("no/such").c_str(), 0, RefusePdf, 0), OutputFolderMissing);
    EXPECT_FALSE(fileExists(dir.file("no")));
    // The folder is made (trailing separator or not) before the PDF is refused.
    EXPECT_EQ(export2Txt(source.c_str(), dir.file("made/").c_str(), 0, RefusePdf, 0), Refused);
    EXPECT_TRUE(listFolder(dir.file("made")).empty());
    EXPECT_EQ(export2Txt(source.c_str(), dir.file("made\\sub\\").c_str(), 0, RefusePdf, 0), Refused);
    EXPECT_TRUE(fileExists(dir.file("made/sub")));
    // Bit 0x1000 among others is not a refusal.
    EXPECT_NE(export2Txt(source.c_str(), dir.file("made").c_str(), 0, RefusePdf | WriteText, 0), Refused);
    EXPECT_EQ(export2Txt(source.c_str(), "", 0, WriteText, 0), OutputFolderMissing);
    EXPECT_EQ(export2Txt(source.c_str(), nullptr, 0, WriteText, 0), OutputFolderMissing);
}

TEST(Export, SourcesThatCannotBeOpened)
{
    TempDir dir;
    const std::string out = dir.file("out");
    EXPECT_EQ(export2Txt(dir.file("missing.doc").c_str(), out.c_str(), 0, WriteText, 0), uint32_t(ENOENT));
    EXPECT_TRUE(fileExists(out));  // made before the source was looked at
    EXPECT_EQ(export2Txt(nullptr, out.c_str(), 0, WriteText, 0), uint32_t(EINVAL));
    EXPECT_EQ(export2Txt(dir.path().c_str(), out.c_str(), 0, WriteText, 0), uint32_t(EISDIR));
    if (::geteuid() != 0) {
        writeFile(dir.file("locked.doc"), padded(kOle, 600));
        ::chmod(dir.file("locked.doc").c_str(), 0);
        EXPECT_EQ(export2Txt(dir.file("locked.doc").c_str(), out.c_str(), 0, WriteText, 0), uint32_t(EACCES));
    }
}

TEST(Export, Utf8PathsAreAccepted)
{
    TempDir dir;
    const std::string source = dir.file("\xE6\x96\x87\xE4\xBB\xB6.pdf");
    writeFile(source, padded("%PDF-1.4\n", 600));
    EXPECT_EQ(export2Txt(source.c_str(), dir.file("\xC3\xA9").c_str(), 1, RefusePdf, 0), Refused);
    EXPECT_STREQ(getFileFormate(source.c_str(), 1), "PDF");
}

TEST(FileFormat, NamesBySignatureWithoutSizeWindow)
{
    TempDir dir;
    writeFile(dir.file("tiny.pdf"), "%PDF");
    writeFile(dir.file("tiny.rtf"), "{\\rtf1}");
    writeFile(dir.file("zero.rtf"), std::string("\0\\rtf1}", 7));
    writeFile(dir.file("empty"), "");
    EXPECT_STREQ(getFileFormate(dir.file("tiny.pdf").c_str(), 0), "PDF");
    EXPECT_STREQ(getFileFormate(dir.file("tiny.rtf").c_str(), 0), "RTF");
    EXPECT_STREQ(getFileFormate(dir.file("zero.rtf").c_str(), 0), "NOT_SUPPORT");
    EXPECT_STREQ(getFileFormate(dir.file("empty").c_str(), 0), "NOT_SUPPORT");
    EXPECT_STREQ(getFileFormate(dir.file("missing").c_str(), 0), "OPEN_ERR");
    EXPECT_STREQ(getFileFormate(dir.path().c_str(), 0), "OPEN_ERR");
    EXPECT_STREQ(getFileFormate(nullptr, 0), "OPEN_ERR");
}

TEST(FileContent, PlainTextByExtensionAnyCase)
{
    TempDir dir;
    writeFile(dir.file("a.TXT"), std::string("\xFF\xFE\x41\x00", 4));
    writeFile(dir.file("b.txt"), "hi");  // below the size window: plain text has none
    QString text;
    quilletGetFileContent(QString::fromStdString(dir.file("a.TXT")), text);
    EXPECT_EQ(text, QStringLiteral("A"));
    quilletGetFileContent(QString::fromStdString(dir.file("b.txt")), text);
    EXPECT_EQ(text, QStringLiteral("hi"));
}

TEST(FileContent, UnreadableSourcesLeaveTheTextAlone)
{
    TempDir dir;
    writeFile(dir.file("a.rtf"), padded("{\\rtf1 hello", 600));
    writeFile(dir.file("short.pdf"), "%PDF-1.4");
    QString text = QStringLiteral("kept");
    for (const char* name : {"a.rtf", "short.pdf", "missing.doc", ""}) {
        quilletGetFileContent(QString::fromStdString(dir.file(name)), text);
        EXPECT_EQ(text, QStringLiteral("kept")) << name;
    }
}
