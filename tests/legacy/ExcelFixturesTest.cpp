// Real Excel 97-2003 workbooks written by LibreOffice Calc from the .fods
// beside them, and the same files cut short and damaged.
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <quillet/quillet.h>

#include <set>

using namespace quillet;
using namespace quillet::test;

TEST(ExcelFixtures, ExactTextWithAndWithoutExtrasAndDefinedAnswersWhenDamaged)
{
    // Cells in a MULRK record (Apples' amount and date) are not read; a date
    // alone is its serial number; the header and footer keep their codes.
    const std::tuple<const char*, std::string, std::string> cases[] = {
        {"english.xls",
         "Item\tAmount\tDate\t\r\nApples\t\r\nPears and \xE2\x80\x9Cquotes\xE2\x80\x9D caf\xC3\xA9\t-2.500000\t"
         "1234567.125000\t\r\nApples\t100000\t\r\nDue\t45688\t\r\nSecond sheet\t\r\n0.001000\t\r\n",
         "\r\n&CQuarterly Report\t&CPage footerItem\tAmount\tDate\t\r\nApples\t\r\nPears and \xE2\x80\x9Cquotes"
         "\xE2\x80\x9D caf\xC3\xA9\t-2.500000\t1234567.125000\t\r\nApples\t100000\t\r\nDue\t45688\tFresh from the "
         "orchard\t\r\n&CQuarterly Report\t&CPage footer\r\nSecond sheet\t\r\n0.001000\t\r\n"},
        {"chinese.xls",
         "项目\t金额\t日期\t\r\n苹果\t\r\n梨子，《引号》\t-2.500000\t1234567.125000\t\r\n苹果\t100000\t\r\n到期\t45688\t\r\n"
         "第二张表\t\r\n0.001000\t\r\n",
         "\r\n&C季度报告\t&C页脚项目\t金额\t日期\t\r\n苹果\t\r\n梨子，《引号》\t-2.500000\t1234567.125000\t\r\n苹果\t100000\t\r\n"
         "到期\t45688\t新鲜的苹果\t\r\n&C季度报告\t&C页脚\r\n第二张表\t\r\n0.001000\t\r\n"},
    };
    const std::set<uint32_t> defined = {Success, Unsupported, ConversionFailed, Unreadable, Encrypted};
    TempDir dir;
    const std::string path = dir.file("copy.xls");
    for (const auto& [name, text, extras] : cases) {
        const std::string original = readFile(std::string(QUILLET_TEST_DATA) + "/xls/" + name);
        writeFile(path, original);
        for (const auto& [flags, expected] : {std::pair<uint32_t, std::string>{WriteText, text},
                                              {WriteText | WriteExtras | WritePictures, extras}}) {
            TempDir out;
            EXPECT_EQ(export2Txt(path.c_str(), out.path().c_str(), 0, flags, 0), Success) << name;
            EXPECT_EQ(readFile(out.file("1.txt")), expected) << name << " " << flags;
        }
        EXPECT_STREQ(getFileFormate(path.c_str(), 0), "XLS");
        QString content = QStringLiteral("unchanged");
        quilletGetFileContent(QString::fromStdString(path), content);
        EXPECT_EQ(content, QStringLiteral("unchanged"));  // workbooks have no in-memory text

        for (size_t at = 0; at < original.size(); at += 61) {
            std::string damaged = original;
            damaged[at] = char(damaged[at] ^ 0x5A);
            for (const std::string& bytes : {original.substr(0, at), damaged}) {
                writeFile(path, bytes);
                TempDir out;
                const uint32_t code = export2Txt(path.c_str(), out.path().c_str(), 0, 0x111, 0);
                EXPECT_EQ(defined.count(code), 1u) << name << " at " << at << ": " << code;
            }
        }
    }
}
