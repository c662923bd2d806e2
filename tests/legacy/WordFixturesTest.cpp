// Real Word 97-2003 files written by LibreOffice from our own text, and the
// same files cut short and damaged.
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <quillet/quillet.h>

#include <set>

using namespace quillet;
using namespace quillet::test;

namespace {

std::string fixture(const std::string& name)
{
    return std::string(QUILLET_TEST_DATA) + "/word/" + name;
}

struct Result {
    uint32_t code;
    std::string text;     // 1.txt
    QString content;      // quilletGetFileContent
    std::string format;
};

Result runAll(const std::string& path)
{
    TempDir out;
    Result result;
    result.code = export2Txt(path.c_str(), out.path().c_str(), 0, WriteText | WritePictures, 0);
    result.text = readFile(out.file("1.txt"));
    quilletGetFileContent(QString::fromStdString(path), result.content);
    const char* name = getFileFormate(path.c_str(), 0);
    result.format = name != nullptr ? name : "(null)";
    return result;
}

}  // namespace

TEST(WordFixtures, TextOfDocumentsWrittenByLibreOffice)
{
    struct Case {
        const char* file;
        std::string exported;
        QString content;
    };
    const Case cases[] = {
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
    for (const Case& c : cases) {
        const Result result = runAll(fixture(c.file));
        EXPECT_EQ(result.code, Success) << c.file;
        EXPECT_EQ(result.text, c.exported) << c.file;
        EXPECT_EQ(result.content, c.content) << c.file;
        EXPECT_EQ(result.format, "DOC") << c.file;
    }
}

// Every defined answer, and nothing else, for cut and damaged copies.
TEST(WordFixtures, TruncatedAndDamagedCopiesEndWithDefinedCodes)
{
    const std::set<uint32_t> defined = {Success, Unsupported, ConversionFailed, WordStructureMissing, Encrypted};
    const std::set<std::string> names = {"DOC", "(null)"};
    TempDir dir;
    const std::string path = dir.file("damaged.doc");
    for (const char* name : {"english.doc", "chinese.doc", "stories.doc"}) {
        const std::string original = readFile(fixture(name));
        ASSERT_GT(original.size(), 4096u);
        for (size_t length = 512; length < original.size(); length += 509) {
            writeFile(path, original.substr(0, length));
            const Result result = runAll(path);
            EXPECT_EQ(defined.count(result.code), 1u) << name << " cut at " << length << ": " << result.code;
            EXPECT_EQ(names.count(result.format), 1u) << name << " cut at " << length;
        }
        for (size_t at = 0; at < original.size(); at += 89) {
            std::string damaged = original;
            damaged[at] = char(damaged[at] ^ 0xA5);
            writeFile(path, damaged);
            const Result result = runAll(path);
            EXPECT_EQ(defined.count(result.code), 1u) << name << " byte " << at << ": " << result.code;
        }
    }
}
