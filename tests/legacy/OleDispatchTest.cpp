// Which reader a compound file goes to, and what the library calls answer.
#include "legacy/OleDispatch.h"

#include "support/BiffBuilder.h"
#include "support/WordDocumentBuilder.h"

#include <gtest/gtest.h>

using namespace quillet;
using namespace quillet::test;

namespace {

std::string fileWith(const std::vector<std::string>& streams)
{
    CompoundFileBuilder builder;
    for (const std::string& name : streams)
        builder.add(name, "x");
    return builder.build();
}

}  // namespace

TEST(OleDispatch, KindFromStreamNamesWithTheExtensionBreakingTies)
{
    const std::string word = "WordDocument", excel = "Workbook", show = "PowerPoint Document";
    const std::tuple<std::vector<std::string>, const char*, int> cases[] = {
        {{word, "EncryptedPackage"}, "a.bin", WordKind},
        {{word, excel}, "report.ppt", AmbiguousKind},
        {{excel, show}, "x.Ppt", PowerPointKind},
        {{word, excel}, ".doc", WordKind},
        {{word, excel}, "REPORT.XLS", ExcelKind},
        {{word, excel}, "doc", AmbiguousKind},  // too short for an extension
        {{"Book"}, "old.bin", ExcelKind},       // Excel 5 and 95
    };
    for (const auto& [streams, path, kind] : cases)
        EXPECT_EQ(decideDocumentKind(*openBytes(fileWith(streams)), path), kind) << path << " " << streams.size();
}

// Streams of an embedded object belong to it: a Word document that embeds a
// presentation and a workbook is a Word document, whatever its name says.
TEST(OleDispatch, OnlyTheFilesOwnStreamsNameIt)
{
    CompoundFileBuilder builder;
    addWordDocument(builder, {{{utf16leBytes(u"own text"), true}}});
    const int pool = builder.add("ObjectPool", "", 0, 1);
    builder.add("PowerPoint Document", "x", builder.add("_1234", "", pool, 1));
    builder.add("Workbook", "x", builder.add("MBD0001", "", 0, 1));
    CompoundFileBuilder capitals;
    capitals.add("WORKBOOK", labelCell(0, 0, {u"cell"}));
    const std::tuple<std::string, const char*, int, const char*> cases[] = {
        {builder.build(), "embeds.bin", WordKind, "DOC"},
        {capitals.build(), "capitals.bin", ExcelKind, "XLS"},
        {fileWith({"worddocument", "1table"}), "lower.bin", WordKind, "DOC"},
    };
    for (const auto& [bytes, name, kind, format] : cases) {
        TempDir dir;
        const std::string path = dir.file(name);
        writeFile(path, bytes);
        EXPECT_EQ(decideDocumentKind(CompoundFile(path), path), kind) << name;
        EXPECT_STREQ(getFileFormate(path.c_str(), 0), format) << name;
    }
}

TEST(OleDispatch, LibraryAnswersByKind)
{
    // No extension decides between a Word document and a workbook: the
    // spreadsheet reader runs first, and the Word reader after it fails.
    CompoundFileBuilder encryptedSheet, sheet;
    encryptedSheet.add("Workbook", biffRecord(0x002F, ""));
    sheet.add("Workbook", labelCell(0, 0, {u"cell"}));
    for (CompoundFileBuilder* builder : {&encryptedSheet, &sheet})
        addWordDocument(*builder, {{{utf16leBytes(u"word text"), true}}});
    const std::string both = encryptedSheet.build(), sheetFirst = sheet.build();
    std::string broken = both;
    putU32(broken, 44, 0xFFFFFFFF);  // the FAT cannot be completed
    const std::tuple<const char*, std::string, uint32_t, const char*, const char*, const char*> cases[] = {
        {"both.bin", both, Success, "word text\r\n", "DOC", "before"},
        {"sheet.bin", sheetFirst, Success, "cell\t\r\n", "DOC", "before"},
        {"broken.doc", broken, ConversionFailed, "", "", "before"},
        {"sealed.doc", fileWith({"EncryptedPackage"}), Encrypted, "", "", "before"},
    };
    for (const auto& [name, bytes, code, text, format, content] : cases) {
        TempDir dir;
        const std::string path = dir.file(name);
        writeFile(path, bytes);
        EXPECT_EQ(export2Txt(path.c_str(), dir.file("out").c_str(), 0, WriteText, 0), code) << name;
        EXPECT_EQ(readFile(dir.file("out/1.txt")), text) << name;
        const char* named = getFileFormate(path.c_str(), 0);
        EXPECT_STREQ(named != nullptr ? named : "", format) << name;
        QString read = QStringLiteral("before");
        quilletGetFileContent(QString::fromStdString(path), read);
        EXPECT_EQ(read, QString::fromUtf8(content)) << name;
    }
}
