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
        {"both.bin", both, Success, "word text\r\r\n", "DOC", "before"},
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
