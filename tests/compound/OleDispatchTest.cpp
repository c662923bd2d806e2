// Which reader a compound file goes to, and what the library calls answer.
#include "compound/CompoundFile.h"
#include "compound/OleDispatch.h"

#include "support/CompoundFileBuilder.h"
#include "support/TempDir.h"
#include "support/WordDocumentBuilder.h"

#include <gtest/gtest.h>

#include <quillet/quillet.h>

using namespace quillet;
using namespace quillet::test;

namespace {

std::string fileWithStreams(const std::vector<std::string>& names)
{
    CompoundFileBuilder builder;
    for (const std::string& name : names)
        builder.addStream(name, "content of " + name);
    return builder.build();
}

std::string wordAndWorkbook()
{
    WordDocumentPlan plan;
    plan.pieces = {unicodePiece(u"word text")};
    const WordStreams streams = buildWordStreams(plan);
    CompoundFileBuilder builder;
    builder.addStream("Workbook", "not a workbook");
    builder.addStream("WordDocument", streams.wordDocument);
    builder.addStream("1Table", streams.table);
    return builder.build();
}

std::string formatOf(const std::string& path)
{
    const char* name = getFileFormate(path.c_str(), 0);
    return name != nullptr ? name : "(null)";
}

}  // namespace

TEST(OleDispatch, KindFromStreamNamesAndExtension)
{
    struct Case {
        std::vector<std::string> streams;
        std::string fileName;
        int kind;
    };
    const Case cases[] = {
        {{"WordDocument"}, "a.bin", WordKind},
        {{"Workbook"}, "a.bin", ExcelKind},
        {{"PowerPoint Document"}, "a.bin", PowerPointKind},
        {{"EncryptedPackage"}, "a.doc", EncryptedPackageKind},
        {{"WordDocument", "EncryptedPackage"}, "a.bin", WordKind},
        {{"WordDocument", "Workbook", "EncryptedPackage"}, "a.doc", EncryptedPackageKind},
        {{"WordDocument", "Workbook"}, "report.doc", WordKind},
        {{"WordDocument", "Workbook"}, "report.dat", AmbiguousKind},
        {{"WordDocument", "Workbook"}, "REPORT.XLS", ExcelKind},
        {{"WordDocument", "Workbook"}, "report.ppt", AmbiguousKind},
        {{"Workbook", "PowerPoint Document"}, "x.Ppt", PowerPointKind},
        {{"WordDocument", "Workbook", "PowerPoint Document"}, "x.xls", ExcelKind},
        {{"Other", "wordDocument"}, "x.doc", NoDocument},
    };
    for (const Case& c : cases) {
        TempDir dir;
        writeFile(dir.file(c.fileName), fileWithStreams(c.streams));
        EXPECT_EQ(CompoundFile(dir.file(c.fileName)).kind(), c.kind) << c.fileName << " " << c.streams.size();
    }

    // A path too short for an extension just matches none.
    TempDir dir;
    writeFile(dir.file("both"), fileWithStreams({"WordDocument", "Workbook"}));
    CompoundFile file(dir.file("both"));
    EXPECT_EQ(decideDocumentKind(file, "a"), AmbiguousKind);
    EXPECT_EQ(decideDocumentKind(file, ".doc"), WordKind);
}

TEST(OleDispatch, ExportCodesByKind)
{
    TempDir dir;
    const std::string out = dir.file("out");
    auto exportFile = [&](const std::string& name, const std::string& bytes) {
        writeFile(dir.file(name), bytes);
        return export2Txt(dir.file(name).c_str(), out.c_str(), 0, WriteText, 0);
    };
    EXPECT_EQ(exportFile("enc.doc", fileWithStreams({"EncryptedPackage"})), Encrypted);
    EXPECT_EQ(exportFile("none.doc", fileWithStreams({"Contents"})), Unsupported);
    EXPECT_FALSE(fileExists(out + "/1.txt"));

    // Several document streams, extension not decisive: the Word reader runs
    // after the spreadsheet reader fails.
    EXPECT_EQ(exportFile("both.bin", wordAndWorkbook()), Success);
    EXPECT_EQ(readFile(out + "/1.txt"), "word text\r\r\n");

    // An allocation table that cannot be completed ends the conversion.
    std::string broken = wordAndWorkbook();
    putU32(broken, 44, 0xFFFFFFFF);
    EXPECT_EQ(exportFile("broken.doc", broken), ConversionFailed);
}

TEST(OleDispatch, FormatNamesFromStreamsThatOpen)
{
    TempDir dir;
    auto named = [&](const std::vector<std::string>& streams) {
        writeFile(dir.file("f.bin"), fileWithStreams(streams));
        return formatOf(dir.file("f.bin"));
    };
    EXPECT_EQ(named({"WordDocument"}), "DOC");
    EXPECT_EQ(named({"Workbook"}), "XLS");
    EXPECT_EQ(named({"PowerPoint Document"}), "PPT");
    EXPECT_EQ(named({"Workbook", "WordDocument"}), "DOC");
    EXPECT_EQ(named({"WordDocument", "PowerPoint Document", "Workbook"}), "PPT");
    EXPECT_EQ(named({"EncryptedPackage"}), "(null)");
    EXPECT_EQ(named({}), "(null)");

    // A stream whose sectors lie outside the mini stream does not count.
    CompoundFileBuilder builder;
    builder.addStream("Workbook", "wb");
    const int word = builder.addStream("WordDocument", "wd");
    std::string bytes = builder.build();
    putU32(bytes, builder.directoryEntryOffset(word) + 116, 100);
    writeFile(dir.file("g.bin"), bytes);
    EXPECT_EQ(formatOf(dir.file("g.bin")), "XLS");

    putU32(bytes, 44, 0xFFFFFFFF);  // cannot be opened at all
    writeFile(dir.file("g.bin"), bytes);
    EXPECT_EQ(formatOf(dir.file("g.bin")), "(null)");
    // The name needs no size window, but a header it does.
    writeFile(dir.file("h.bin"), std::string("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8));
    EXPECT_EQ(formatOf(dir.file("h.bin")), "(null)");
}

TEST(OleDispatch, ContentOnlyForWordDocuments)
{
    TempDir dir;
    writeFile(dir.file("both.bin"), wordAndWorkbook());
    writeFile(dir.file("both.doc"), wordAndWorkbook());
    QString text = QStringLiteral("before");
    quilletGetFileContent(QString::fromStdString(dir.file("both.bin")), text);
    EXPECT_EQ(text, QStringLiteral("before"));
    quilletGetFileContent(QString::fromStdString(dir.file("both.doc")), text);
    EXPECT_EQ(text, QStringLiteral("word text"));

    std::string broken = wordAndWorkbook();
    putU32(broken, 44, 0xFFFFFFFF);
    writeFile(dir.file("broken.doc"), broken);
    quilletGetFileContent(QString::fromStdString(dir.file("broken.doc")), text);
    EXPECT_EQ(text, QStringLiteral("word text"));
}
