// Real Word 97-2003 files written by LibreOffice from our own text, and the
// same files cut short and damaged.
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <quillet/quillet.h>

#include <set>

using namespace quillet;
using namespace quillet::test;

namespace {

// The export's code and "1.txt", the in-memory text and the format name.
std::tuple<uint32_t, std::string, QString, const char*> runAll(const std::string& path)
{
    TempDir out;
    const uint32_t code = export2Txt(path.c_str(), out.path().c_str(), 0, WriteText | WritePictures, 0);
    QString content;
    quilletGetFileContent(QString::fromStdString(path), content);
    return {code, readFile(out.file("1.txt")), content, getFileFormate(path.c_str(), 0)};
}

}  // namespace

TEST(WordFixtures, ExactTextAndOnlyDefinedAnswersForCutOrDamagedCopies)
{
    const std::tuple<const char*, std::string, QString> cases[] = {
        {"english.doc",
         "Quillet reads binary Word documents.\r\xE2\x80\x9C" "Curly quotes\xE2\x80\x9D \xE2\x80\x93 en dash "
         "\xE2\x80\x94 em dash \xE2\x80\xA6 ellipsis \xE2\x82\xAC euro, caf\xC3\xA9.\ralpha\x07" "beta\x07\x07gamma\x07"
         "delta\x07\x07Visit  today.\rLast paragraph.\r\r\r\n",
         QString::fromUtf16(u"Quillet reads binary Word documents.\n\u201C" "Curly quotes\u201D \u2013 en dash \u2014 "
                            u"em dash \u2026 ellipsis  euro, caf.\nalpha beta  gamma delta  Visit  today.\nLast paragraph.\n")},
        {"chinese.doc",
         "中文文档测试：你好，世界。\r第二段包含English混排和数字123。\r《引号》「括号」、顿号；分号！\r\r\r\n",
         QString::fromUtf8("中文文档测试：你好，世界。\n第二段包含English混排和数字123。\n《引号》「括号」、顿号；分号！\n")},
        // Stories follow the main text: the footnote, then the header. The
        // page-number field goes with its result.
        {"stories.doc",
         "Body before the note\x02 and after it.\rPage  ends here.\r\x02\tThe footnote text.\r\rHeader text"
         "\r\r\r\r\r\r\r\r\n",
         QString::fromUtf8("Body before the note and after it.\nPage  ends here.\nThe footnote text.\n\nHeader text\n\n\n\n\n\n")},
    };
    const std::set<uint32_t> defined = {Success, Unsupported, ConversionFailed, WordStructureMissing, Encrypted};
    TempDir dir;
    const std::string path = dir.file("copy.doc");
    for (const auto& [name, exported, content] : cases) {
        const std::string original = readFile(std::string(QUILLET_TEST_DATA) + "/word/" + name);
        writeFile(path, original);
        const auto [code, text, read, format] = runAll(path);
        EXPECT_EQ(code, Success) << name;
        EXPECT_EQ(text, exported) << name;
        EXPECT_EQ(read, content) << name;
        EXPECT_STREQ(format, "DOC") << name;
        for (size_t at = 0; at < original.size(); at += 89) {
            std::string damaged = original;
            damaged[at] = char(damaged[at] ^ 0xA5);
            for (const std::string& bytes : {original.substr(0, at), damaged}) {
                writeFile(path, bytes);
                EXPECT_EQ(defined.count(std::get<0>(runAll(path))), 1u) << name << " at " << at;
            }
        }
    }
}
