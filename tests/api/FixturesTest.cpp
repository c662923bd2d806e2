// Real documents written by LibreOffice (from the flat documents beside them)
// and WordPad, through the exported calls: the exact text of each reader, and
// only defined answers for every cut-short or damaged copy.
#include "readable/ReadableText.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <quillet/quillet.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <set>

using namespace quillet;
using namespace quillet::test;

namespace {

std::string data(const std::string& name)
{
    return std::string(QUILLET_TEST_DATA) + "/" + name;
}

// Expected output is kept under data/expected/: NAME-FLAGS.txt for "1.txt" and
// NAME.content.txt for the in-memory text (no file: the call leaves the text
// alone). QUILLET_UPDATE_EXPECTED=1 writes them from what the library gives.
void expectOutput(const std::string& file, const std::string& actual)
{
    const std::string path = data("expected/" + file);
    if (std::getenv("QUILLET_UPDATE_EXPECTED") != nullptr)
        writeFile(path, actual);
    EXPECT_EQ(actual, readFile(path)) << path;
}

}  // namespace

TEST(Fixtures, ExactTextOfEachReader)
{
    const std::vector<std::string> text = {"1.txt"};
    const struct {
        const char* name;
        uint32_t flags;
        std::vector<std::string> files;
        const char* format;
    } cases[] = {
        {"word/english.doc", WriteText | WritePictures, text, "DOC"},
        {"word/chinese.doc", WriteText, text, "DOC"},
        // The footnote, then the header follow the main text; the page-number field gives its result.
        {"word/stories.doc", WriteText, text, "DOC"},
        {"word/pictures.doc", WriteText | WritePictures, {"1.txt", "image1.png", "image2.png"}, "DOC"},
        // List labels: two levels, bullets, a restart, a level start; a tab, a space or nothing after them.
        {"word/lists.doc", WriteText, text, "DOC"},
        // Every cell as its style shows it (Apples' amount and date are a MULRK
        // record); headers and footers keep their codes.
        {"xls/english.xls", WriteText, text, "XLS"},
        {"xls/english.xls", WriteText | WriteExtras, text, "XLS"},
        {"xls/chinese.xls", WriteText | WriteExtras, text, "XLS"},
        {"xls/pictures.xls", WriteText | WritePictures, {"1.txt", "image1.png", "image2.png"}, "XLS"},
        {"docx/stories.docx", WriteText, text, "DOCX"},
        {"docx/stories.docx", WriteText | WriteExtras, text, "DOCX"},
        {"docx/stories.docx", WriteExtras, {}, "DOCX"},
        {"docx/picture.docx", WriteText | WritePictures, {"1.txt", "image1.png"}, "DOCX"},
        // List labels and a TAB before each item; the footnote and endnote, then the
        // header's link and the footer's table with its page number.
        {"docx/lists.docx", WriteText, text, "DOCX"},
        {"docx/lists.docx", WriteText | WriteExtras, text, "DOCX"},
        // LibreOffice's default odd-page header and footer, codes included.
        {"xlsx/several-sheets.xlsx", WriteText, text, "XLSX"},
        {"xlsx/several-sheets.xlsx", WriteText | WriteExtras, text, "XLSX"},
        {"pptx/notes-comments.pptx", WriteText, text, "PPTX"},
        {"pptx/notes-comments.pptx", WriteText | WriteExtras, text, "PPTX"},
        // The slide-number field as LibreOffice stores it ("<number>"), a table in a group, and a
        // table in the notes.
        {"pptx/fields.pptx", WriteText, text, "PPTX"},
        {"pptx/fields.pptx", WriteText | WriteExtras, text, "PPTX"},
        // Slides in show order; notes follow the slides, as Impress stores them.
        {"ppt/slides.ppt", WriteText, text, "PPT"},
        {"ppt/slides.ppt", WriteText | WriteExtras | WritePictures, {"1.txt", "image1.png"}, "PPT"},
        {"rtf/libreoffice.rtf", WriteText | WritePictures, {"1.txt", "image1.png", "image2.wmf"}, "RTF"},
        {"rtf/wordpad.rtf", WriteText, text, "RTF"},
        {"rtf/chinese.rtf", WriteText, text, "RTF"},
    };
    for (const auto& f : cases) {
        char flags[16];
        std::snprintf(flags, sizeof flags, "0x%X", f.flags);
        SCOPED_TRACE(std::string(f.name) + " " + flags);
        TempDir out;
        const std::string path = data(f.name);
        EXPECT_EQ(export2Txt(path.c_str(), out.path().c_str(), 0, f.flags, 0), Success);
        EXPECT_EQ(listFolder(out.path()), f.files);
        if (!f.files.empty())
            expectOutput(std::string(f.name) + "-" + flags + ".txt", readFile(out.file("1.txt")));
        if (f.files.size() > 1) {
            EXPECT_EQ(readFile(out.file("image1.png")).substr(0, 8), "\x89PNG\r\n\x1A\n");
        }
        const QString unset = QStringLiteral("unset");
        QString content = unset;
        quilletGetFileContent(QString::fromStdString(path), content);
        const bool read = fileExists(data("expected/" + std::string(f.name) + ".content.txt"));
        if (read || content != unset)
            expectOutput(std::string(f.name) + ".content.txt", content.toUtf8().toStdString());
        EXPECT_STREQ(getFileFormate(path.c_str(), 0), f.format);

        // Asked for its record too, an export writes the same text and files, and 1.json.
        if ((f.flags & WriteText) == 0)
            continue;
        TempDir recorded;
        EXPECT_EQ(export2Txt(path.c_str(), recorded.path().c_str(), 0, f.flags | WriteRecord, 0), Success);
        std::vector<std::string> files = f.files;
        files.insert(files.begin(), "1.json");
        EXPECT_EQ(listFolder(recorded.path()), files);
        EXPECT_EQ(readFile(recorded.file("1.txt")), readFile(out.file("1.txt")));
        readable::Options options;
        options.structure = true;
        options.extras = (f.flags & WriteExtras) != 0;
        expectOutput(std::string(f.name) + "-" + flags + ".json",
                     readable::documentJson(readable::readDocument(path, options)) + "\n");
    }
}

TEST(Fixtures, CutAndDamagedCopiesGiveOnlyDefinedAnswers)
{
    const std::set<uint32_t> word = {Success, Unsupported, ConversionFailed, WordStructureMissing, Encrypted},
                             excel = {Success, Unsupported, ConversionFailed, Unreadable, Encrypted},
                             docx = {Success, Unsupported, ConversionFailed, WordStructureMissing},
                             package = {Success, Unsupported, ConversionFailed, PackageStructureMissing},
                             rtf = {Success, Unsupported},
                             ppt = {Success, Unsupported, ConversionFailed, Refused, Encrypted};
    const std::tuple<const char*, size_t, std::set<uint32_t>> cases[] = {
        {"word/english.doc", 89, word},
        {"word/chinese.doc", 89, word},
        {"word/stories.doc", 89, word},
        {"word/lists.doc", 29, word},
        {"xls/english.xls", 61, excel},
        {"xls/chinese.xls", 61, excel},
        {"docx/stories.docx", 97, docx},
        {"docx/lists.docx", 97, docx},
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
                // With the record, which reads properties and marks parts on the same damage.
                const uint32_t code = export2Txt(path.c_str(), out.path().c_str(), 0, 0x111 | WriteRecord, 0);
                EXPECT_EQ(defined.count(code), 1u) << name << " at " << at << ": " << code;
                EXPECT_FALSE(fileExists(out.file("1.zip")));
                QString text;
                quilletGetFileContent(QString::fromStdString(path), text);
            }
        }
    }
}
