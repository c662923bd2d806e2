// Real documents written by LibreOffice (from the flat documents beside them)
// and WordPad, through the exported calls: the exact text of each reader, and
// only defined answers for every cut-short or damaged copy.
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <quillet/quillet.h>

#include <algorithm>
#include <cstring>
#include <set>

using namespace quillet;
using namespace quillet::test;

namespace {

struct Fixture {
    const char* name;  // under the test data folder
    uint32_t flags;
    std::string exported;  // "1.txt"
    QString content;       // the in-memory text; "unset" when the call leaves it alone
    std::vector<std::string> files;
    const char* format;
};

std::string data(const std::string& name)
{
    return std::string(QUILLET_TEST_DATA) + "/" + name;
}

}  // namespace

TEST(Fixtures, ExactTextOfEachReader)
{
    const QString unset = QStringLiteral("unset");
    const std::vector<std::string> text = {"1.txt"};
    const std::string docxBody =
        "\nThe opening paragraph of the report.\nA sentence with a comment attached to it.\nRegion\nRevenue\nNorth"
        "\n1200\nBefore the box.\nText inside the box\n中文段落：这是一个测试文档。\nTab\tseparated\nnext line";
    const QString docxContent = QString::fromUtf8(
        "\nThe opening paragraph of the report.\nA sentence with a comment attached to it.\nRegion\nRevenue\nNorth"
        "\n1200\nBefore the box.\nText inside the box\n中文段落：这是一个测试文档。\nTabseparated\nnext line");
    const std::string sheet1 =
        "Item\tCount\tPrice\t\n\tApples\t12\t0.5\t\n\tPears & plums\t3\t1\t\n\tApples\t#VALUE!\t\n\t";
    const std::string sheet2 = "你好，世界\t价格\t\n\t第二行\t42\t\n\t";
    // LibreOffice's default odd-page header and footer, codes included.
    const std::string headerFooter = "&C&\"DejaVu Serif,Book\"&12&A\t&C&\"DejaVu Serif,Book\"&12Page &P\t";
    const std::string slide1 = "\tQuarterly review\tFirst point\nSecond point";
    const std::string slide2 = "\t中文幻灯片：你好\tNorth\tSouth\t东\t西";
    // Slides in show order; notes follow the slides, as Impress stores them.
    const std::string slides =
        "Quarterly Review\tSales grew in every region\t中文演示文稿测试\tRegion\tTotal\tNorth\t42\t";
    const Fixture cases[] = {
        {"word/english.doc", WriteText | WritePictures,
         "Quillet reads binary Word documents.\r\xE2\x80\x9C"
         "Curly quotes\xE2\x80\x9D \xE2\x80\x93 en dash "
         "\xE2\x80\x94 em dash \xE2\x80\xA6 ellipsis \xE2\x82\xAC euro, caf\xC3\xA9.\ralpha\x07"
         "beta\x07\x07gamma\x07"
         "delta\x07\x07Visit  today.\rLast paragraph.\r\r\r\n",
         QString::fromUtf16(
             u"Quillet reads binary Word documents.\n\u201C"
             "Curly quotes\u201D \u2013 en dash \u2014 "
             u"em dash \u2026 ellipsis  euro, caf.\nalpha beta  gamma delta  Visit  today.\nLast paragraph.\n"),
         text, "DOC"},
        {"word/chinese.doc", WriteText,
         "中文文档测试：你好，世界。\r第二段包含English混排和数字123。\r《引号》「括号」、顿号；分号！\r\r\r\n",
         QString::fromUtf8(
             "中文文档测试：你好，世界。\n第二段包含English混排和数字123。\n《引号》「括号」、顿号；分号！\n"),
         text, "DOC"},
        // The footnote, then the header follow the main text; the page-number field gives its result.
        {"word/stories.doc", WriteText,
         "Body before the note\x02 and after it.\rPage  ends here.\r\x02\tThe footnote text.\r\rHeader text"
         "\r\r\r\r\r\r\r\r\n",
         QString::fromUtf8(
             "Body before the note and after it.\nPage  ends here.\nThe footnote text.\n\nHeader text\n\n\n\n\n\n"),
         text, "DOC"},
        // Cells of a MULRK record (Apples' amount and date) are not read; a date
        // alone is its serial number; headers and footers keep their codes.
        {"xls/english.xls", WriteText,
         "Item\tAmount\tDate\t\r\nApples\t\r\nPears and \xE2\x80\x9Cquotes\xE2\x80\x9D caf\xC3\xA9\t-2.500000\t"
         "1234567.125000\t\r\nApples\t100000\t\r\nDue\t45688\t\r\nSecond sheet\t\r\n0.001000\t\r\n",
         unset, text, "XLS"},
        {"xls/english.xls", WriteText | WriteExtras,
         "\r\n&CQuarterly Report\t&CPage footerItem\tAmount\tDate\t\r\nApples\t\r\nPears and \xE2\x80\x9Cquotes"
         "\xE2\x80\x9D caf\xC3\xA9\t-2.500000\t1234567.125000\t\r\nApples\t100000\t\r\nDue\t45688\tFresh from the "
         "orchard\t\r\n&CQuarterly Report\t&CPage footer\r\nSecond sheet\t\r\n0.001000\t\r\n",
         unset, text, "XLS"},
        {"xls/chinese.xls", WriteText | WriteExtras,
         "\r\n&C季度报告\t&C页脚项目\t金额\t日期\t\r\n苹果\t\r\n梨子，《引号》\t-2.500000\t1234567."
         "125000\t\r\n苹果\t100000\t\r\n"
         "到期\t45688\t新鲜的苹果\t\r\n&C季度报告\t&C页脚\r\n第二张表\t\r\n0.001000\t\r\n",
         unset, text, "XLS"},
        {"docx/stories.docx", WriteText, docxBody, docxContent, text, "DOCX"},
        {"docx/stories.docx", WriteText | WriteExtras,
         docxBody + "Please check this figure.\nQuarterly header line\nConfidential footer line\n", docxContent, text,
         "DOCX"},
        {"docx/stories.docx", WriteExtras, "", docxContent, {}, "DOCX"},
        {"docx/picture.docx",
         WriteText | WritePictures,
         "\nA red square follows.\nAfter the picture.",
         QStringLiteral("\nA red square follows.\nAfter the picture."),
         {"1.txt", "image1.png"},
         "DOCX"},
        {"xlsx/several-sheets.xlsx", WriteText, sheet1 + sheet2, unset, text, "XLSX"},
        {"xlsx/several-sheets.xlsx", WriteText | WriteExtras,
         sheet1 + headerFooter + "\n\tCheck the apples\n\t" + sheet2 + headerFooter + "\n\t批注内容\n\t" + headerFooter,
         unset, text, "XLSX"},
        {"pptx/notes-comments.pptx", WriteText, slide1 + "\n\t" + slide2 + "\n\t\n\t", unset, text, "PPTX"},
        {"pptx/notes-comments.pptx", WriteText | WriteExtras,
         slide1 + "\tSpeaker notes here" + "Check the figures\n\t" + slide2 + "\t备注文字\n\t\n\t", unset, text,
         "PPTX"},
        {"ppt/slides.ppt", WriteText, slides + "\r\n", unset, text, "PPT"},
        {"ppt/slides.ppt",
         WriteText | WriteExtras | WritePictures,
         slides + "Speaker note one\t备注第二页\t\r\n",
         unset,
         {"1.txt", "image1.png"},
         "PPT"},
        {"rtf/libreoffice.rtf",
         WriteText | WritePictures,
         "Quillet reads RTF documents.\r\n\xE2\x80\x9C"
         "Curly quotes\xE2\x80\x9D \xE2\x80\x93 en dash \xE2\x80\x94 em dash "
         "\xE2\x80\xA6 ellipsis \xE2\x82\xAC euro, caf\xC3\xA9; semicolons stay.\r\nalpha\tbeta\t\r\ngamma\tdelta\t\r\n"
         "Greek \xCE\xB1\xCE\xB2\xCE\xB3 and Chinese \xE4\xB8\xAD\xE6\x96\x87 and a picture: \r\nLast paragraph.\r\n",
         unset,
         {"1.txt", "image1.png", "image2.wmf"},
         "RTF"},
        {"rtf/wordpad.rtf", WriteText,
         "WordPad heading\r\nPlain text with italics, a tab  and caf\xC3\xA9 na\xC3\xAFve \xE2\x82\xAC"
         "5.\r\n"
         "Red text; then black.\r\n\xC2\xB7  First bullet\r\n\xC2\xB7  Second bullet\r\n"
         "Polish: \xC5\x81\xC3\xB3"
         "d\xC5\xBA and an em dash\xE2\x80\x94"
         "done.\r\nexample link\r\n",
         unset, text, "RTF"},
        {"rtf/chinese.rtf", WriteText,
         "中文文档测试：你好，世界。\r\n第二段包含English混排和数字123。\r\n《引号》「括号」、顿号；分号！ € "
         "\xF0\x9F\x98\x80\r\n",
         unset, text, "RTF"},
    };
    for (const Fixture& f : cases) {
        SCOPED_TRACE(std::string(f.name) + " " + std::to_string(f.flags));
        TempDir out;
        const std::string path = data(f.name);
        EXPECT_EQ(export2Txt(path.c_str(), out.path().c_str(), 0, f.flags, 0), Success);
        EXPECT_EQ(readFile(out.file("1.txt")), f.exported);
        EXPECT_EQ(listFolder(out.path()), f.files);
        QString content = unset;
        quilletGetFileContent(QString::fromStdString(path), content);
        EXPECT_EQ(content, f.content);
        EXPECT_STREQ(getFileFormate(path.c_str(), 0), f.format);
        if (f.files.size() > 1) {
            EXPECT_EQ(readFile(out.file("image1.png")).substr(0, 8), "\x89PNG\r\n\x1A\n");
        }
    }
}

TEST(Fixtures, CutAndDamagedCopiesGiveOnlyDefinedAnswers)
{
    const std::set<uint32_t> word = {Success, Unsupported, ConversionFailed, WordStructureMissing, Encrypted},
                             excel = {Success, Unsupported, ConversionFailed, Unreadable, Encrypted},
                             docx = {Success, Unsupported, ConversionFailed, WordStructureMissing},
                             package = {Success, Unsupported, ConversionFailed}, rtf = {Success, Unsupported},
                             ppt = {Success, Unsupported, ConversionFailed, Refused, Encrypted};
    const std::tuple<const char*, size_t, std::set<uint32_t>> cases[] = {
        {"word/english.doc", 89, word},
        {"word/chinese.doc", 89, word},
        {"word/stories.doc", 89, word},
        {"xls/english.xls", 61, excel},
        {"xls/chinese.xls", 61, excel},
        {"docx/stories.docx", 97, docx},
        {"xlsx/several-sheets.xlsx", 211, package},
        {"pptx/notes-comments.pptx", 211, package},
        {"ppt/slides.ppt", 2204, ppt},
        {"rtf/libreoffice.rtf", 97, rtf},
        {"rtf/wordpad.rtf", 97, rtf},
        {"rtf/chinese.rtf", 97, rtf},
    };
    TempDir dir;
    for (const auto& [name, step, defined] : cases) {
        const std::string original = readFile(data(name));
        const std::string path = dir.file(std::string("copy") + std::strrchr(name, '.'));
        for (size_t at = 0; at < original.size(); at += step) {
            std::string damaged = original;
            damaged[at] = char(damaged[at] ^ 0x5A);
            for (const std::string& bytes : {original.substr(0, std::max<size_t>(at, 600)), damaged}) {
                writeFile(path, bytes);
                TempDir out;
                const uint32_t code = export2Txt(path.c_str(), out.path().c_str(), 0, 0x111, 0);
                EXPECT_EQ(defined.count(code), 1u) << name << " at " << at << ": " << code;
                EXPECT_FALSE(fileExists(out.file("1.zip")));
                QString text;
                quilletGetFileContent(QString::fromStdString(path), text);
            }
        }
    }
}
