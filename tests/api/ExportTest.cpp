// The exported functions as a caller sees them, on inputs the dispatcher
// decides alone (no reader involved).
#include <quillet/quillet.h>

#include "api/Signature.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <unistd.h>

using namespace quillet;
using namespace quillet::test;

namespace {

std::string padded(std::string bytes, size_t size)
{
    bytes.resize(size, 'x');
    return bytes;
}

const std::string kOle = "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1";

}  // namespace

TEST(Signature, FirstMatchingTestWins)
{
    const auto formatOf = [](const std::string& head) {
        unsigned char bytes[16] = {};
        std::memcpy(bytes, head.data(), std::min<size_t>(head.size(), 16));
        return detectFormat(bytes);
    };
    EXPECT_EQ(formatOf(kOle + "PK\x03\x04"), SourceFormat::Compound);
    EXPECT_EQ(formatOf("PK\x03\x04%PDF"), SourceFormat::Zip);
    EXPECT_EQ(formatOf("%PDF-1.7"), SourceFormat::Pdf);
    EXPECT_EQ(formatOf("x\\rtf"), SourceFormat::Rtf);  // any non-zero first byte
    EXPECT_EQ(formatOf(std::string("\0\\rtf1", 6)), SourceFormat::Unknown);
    EXPECT_EQ(formatOf("{\\RTF1"), SourceFormat::Unknown);
    EXPECT_EQ(formatOf("PK\x05\x06"), SourceFormat::Unknown);
}

TEST(Export, SizeWindowAndOutputFolder)
{
    TempDir dir;
    const std::string out = dir.file("out"), pdf = dir.file("a.pdf"), huge = dir.file("huge.pdf");
    writeFile(dir.file("small.doc"), padded(kOle, 511));
    writeFile(pdf, padded("%PDF-1.4\n", 600));
    writeFile(huge, "%PDF-1.4\n");
    ASSERT_EQ(::truncate(huge.c_str(), 0x40000000), 0);  // sparse: refused by size, never read
    EXPECT_EQ(export2Txt(dir.file("small.doc").c_str(), out.c_str(), 0, WriteText, 0), Unsupported);
    EXPECT_EQ(export2Txt(huge.c_str(), out.c_str(), 0, WriteText, 0), Unsupported);

    EXPECT_EQ(export2Txt(pdf.c_str(), dir.file("no/such").c_str(), 0, RefusePdf, 0), OutputFolderMissing);
    EXPECT_FALSE(fileExists(dir.file("no")));
    // The folder is made before the PDF is refused, and nothing is written in it.
    EXPECT_EQ(export2Txt(pdf.c_str(), dir.file("made/").c_str(), 0, RefusePdf, 0), Refused);
    EXPECT_TRUE(listFolder(dir.file("made")).empty());
    EXPECT_EQ(export2Txt(pdf.c_str(), dir.file("made\\sub\\").c_str(), 0, RefusePdf, 0), Refused);
    EXPECT_TRUE(fileExists(dir.file("made/sub")));
    EXPECT_NE(export2Txt(pdf.c_str(), out.c_str(), 0, RefusePdf | WriteText, 0), Refused);
    EXPECT_EQ(export2Txt(pdf.c_str(), "", 0, WriteText, 0), OutputFolderMissing);
    EXPECT_EQ(export2Txt(pdf.c_str(), nullptr, 0, WriteText, 0), OutputFolderMissing);
    // UTF-8 paths.
    const std::string named = dir.file("\xE6\x96\x87.pdf");
    writeFile(named, padded("%PDF-1.4\n", 600));
    EXPECT_EQ(export2Txt(named.c_str(), dir.file("\xC3\xA9").c_str(), 1, RefusePdf, 0), Refused);
}

// The record is written only with the text it describes, and never left
// from another run for a document that gives none.
TEST(Export, RecordOnlyWithTextAndNeverStale)
{
    TempDir dir;
    const std::string rtf = dir.file("a.rtf"), out = dir.file("out");
    writeFile(rtf, padded("{\\rtf1 {\\info{\\title T}}Body\\par}", 600));
    EXPECT_EQ(export2Txt(rtf.c_str(), out.c_str(), 0, WriteRecord, 0), Success);
    EXPECT_FALSE(fileExists(dir.file("out/1.json")));
    EXPECT_EQ(export2Txt(rtf.c_str(), out.c_str(), 0, WriteRecord | WriteText, 0), Success);
    EXPECT_EQ(readFile(dir.file("out/1.json")),
              "{\"code\":0,\"format\":\"RTF\",\"metadata\":{\"title\":\"T\"},\"parts\":[{\"index\":1,\"kind\":"
              "\"body\",\"name\":\"\",\"start\":0}]}\n");
    writeFile(dir.file("none.bin"), std::string(600, 'x'));
    EXPECT_EQ(export2Txt(dir.file("none.bin").c_str(), out.c_str(), 0, WriteRecord | WriteText, 0), Unsupported);
    EXPECT_FALSE(fileExists(dir.file("out/1.json")));
}

TEST(Export, SourcesThatCannotBeOpened)
{
    TempDir dir;
    const std::string out = dir.file("out");
    EXPECT_EQ(export2Txt(dir.file("missing.doc").c_str(), out.c_str(), 0, WriteText, 0), uint32_t(ENOENT));
    EXPECT_TRUE(fileExists(out));  // made before the source was looked at
    EXPECT_EQ(export2Txt(nullptr, out.c_str(), 0, WriteText, 0), uint32_t(EINVAL));
    EXPECT_EQ(export2Txt(dir.path().c_str(), out.c_str(), 0, WriteText, 0), uint32_t(EISDIR));
    // A FIFO without a writer must not block: it reads as an empty file.
    ASSERT_EQ(::mkfifo(dir.file("pipe.doc").c_str(), 0600), 0);
    EXPECT_EQ(export2Txt(dir.file("pipe.doc").c_str(), out.c_str(), 0, WriteText, 0), uint32_t(Unsupported));
    EXPECT_STREQ(getFileFormate(dir.file("pipe.doc").c_str(), 0), "NOT_SUPPORT");
    QString text = QStringLiteral("kept");
    quilletGetFileContent(QString::fromStdString(dir.file("pipe.doc")), text);
    EXPECT_EQ(text, QStringLiteral("kept"));
    if (::geteuid() != 0) {
        writeFile(dir.file("locked.doc"), padded(kOle, 600));
        ::chmod(dir.file("locked.doc").c_str(), 0);
        EXPECT_EQ(export2Txt(dir.file("locked.doc").c_str(), out.c_str(), 0, WriteText, 0), uint32_t(EACCES));
    }
}

TEST(Export, OutputThatCannotBeCreatedFailsEveryReader)
{
    TempDir dir;
    writeFile(dir.file("file"), "x");
    const std::string blocked = dir.file("blocked");
    ASSERT_EQ(::mkdir(blocked.c_str(), 0700), 0);
    ASSERT_EQ(::mkdir((blocked + "/1.txt").c_str(), 0700), 0);
    const char* const sources[] = {"word/english.doc",  "xls/english.xls",          "ppt/slides.ppt",
                                   "docx/stories.docx", "xlsx/several-sheets.xlsx", "pptx/notes-comments.pptx",
                                   "rtf/wordpad.rtf",   "pdf/latin-accented.pdf"};
    for (const char* name : sources) {
        const std::string source = std::string(QUILLET_TEST_DATA) + "/" + name;
        for (uint32_t flags : {uint32_t(WriteText), uint32_t(WritePictures)})
            EXPECT_EQ(export2Txt(source.c_str(), dir.file("file").c_str(), 0, flags, 30), uint32_t(ENOTDIR))
                << name << " " << flags;
        EXPECT_EQ(export2Txt(source.c_str(), blocked.c_str(), 0, WriteText, 30), uint32_t(EISDIR)) << name;
    }
    // A picture file that cannot be created; the text is still written.
    const std::pair<const char*, const char*> pictures[] = {
        {"word/pictures.doc", "image1.png"},   {"xls/pictures.xls", "image1.png"},
        {"ppt/slides.ppt", "image1.png"},      {"docx/picture.docx", "image1.png"},
        {"rtf/libreoffice.rtf", "image2.wmf"}, {"pdf/latin-accented.pdf", "image1.jpg"},
    };
    for (const auto& [name, picture] : pictures) {
        TempDir out;
        ASSERT_EQ(::mkdir(out.file(picture).c_str(), 0700), 0);
        const std::string source = std::string(QUILLET_TEST_DATA) + "/" + name;
        testing::internal::CaptureStderr();
        EXPECT_EQ(export2Txt(source.c_str(), out.path().c_str(), 0, WriteText | WritePictures, 30), uint32_t(EISDIR))
            << name;
        testing::internal::GetCapturedStderr();
        EXPECT_TRUE(fileExists(out.file("1.txt"))) << name;
    }
}

TEST(FileFormat, NamesBySignatureWithoutSizeWindow)
{
    TempDir dir;
    writeFile(dir.file("tiny.pdf"), "%PDF");
    writeFile(dir.file("tiny.rtf"), "{\\rtf1}");
    writeFile(dir.file("empty"), "");
    EXPECT_STREQ(getFileFormate(dir.file("tiny.pdf").c_str(), 0), "PDF");
    EXPECT_STREQ(getFileFormate(dir.file("tiny.rtf").c_str(), 0), "RTF");
    EXPECT_STREQ(getFileFormate(dir.file("empty").c_str(), 0), "NOT_SUPPORT");
    EXPECT_STREQ(getFileFormate(dir.file("missing").c_str(), 0), "OPEN_ERR");
    EXPECT_STREQ(getFileFormate(dir.path().c_str(), 0), "OPEN_ERR");
    EXPECT_STREQ(getFileFormate(nullptr, 0), "OPEN_ERR");
}

TEST(FileContent, PlainTextByExtensionOtherwiseTextUnchanged)
{
    TempDir dir;
    writeFile(dir.file("a.TXT"), std::string("\xFF\xFE\x41\x00", 4));  // no size window for plain text
    writeFile(dir.file("a.rtf"), padded("{\\rtf1 hello", 600));
    QString text;
    quilletGetFileContent(QString::fromStdString(dir.file("a.TXT")), text);
    EXPECT_EQ(text, QStringLiteral("A"));
    for (const char* name : {"a.rtf", "missing.doc", ""}) {
        quilletGetFileContent(QString::fromStdString(dir.file(name)), text);
        EXPECT_EQ(text, QStringLiteral("A")) << name;
    }
}
