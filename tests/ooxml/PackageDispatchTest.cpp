// The result of a package export by kind: a main part to read, or the
// structure-missing answer; Strict packages read as their transitional twins.
#include "ooxml/OoxmlPackageFile.h"

#include "support/TempDir.h"
#include "support/ZipBuilder.h"

#include <gtest/gtest.h>

#include <quillet/quillet.h>

using namespace quillet;
using namespace quillet::test;

namespace {

struct Export {
    uint32_t code;
    std::vector<std::string> files;
    std::string text;
};

Export exportOf(const std::string& path, uint32_t flags)
{
    TempDir out;
    const uint32_t code = OoxmlPackageFile(path).exportPackage(out.path(), flags);
    const std::vector<std::string> files = listFolder(out.path());
    return {code, files, fileExists(out.file("1.txt")) ? readFile(out.file("1.txt")) : "(none)"};
}

std::string data(const std::string& name)
{
    return std::string(QUILLET_TEST_DATA) + "/" + name;
}

}  // namespace

TEST(OoxmlPackageFile, NoMainPartToReadIsStructureMissingForEveryKind)
{
    const std::pair<std::string, std::string> kinds[] = {{"xl/workbook.xml", "<workbook/>"},
                                                         {"word/document.xml", "<w:document/>"},
                                                         {"ppt/presentation.xml", "<p:presentation/>"}};
    TempDir dir;
    for (const auto& [main, xml] : kinds) {
        const auto mainAt = [&](const std::string& target, const std::string& more = "") {
            return relationships(relationship("rId1", "officeDocument", target, more));
        };
        const std::string cases[] = {"", mainAt("missing.xml"), mainAt(main, " TargetMode=\"External\"")};
        for (const std::string& rels : cases) {
            SCOPED_TRACE(main + " " + rels);
            Parts parts{{main, xml}, {"media/p.png", "png"}};
            if (!rels.empty())
                parts["_rels/.rels"] = rels;
            ZipBuilder(parts).write(dir.file("a.zip"));
            const Export text = exportOf(dir.file("a.zip"), WriteText | WritePictures);
            EXPECT_EQ(text.code, PackageStructureMissing);
            EXPECT_EQ(text.files, std::vector<std::string>{"p.png"});
            EXPECT_EQ(exportOf(dir.file("a.zip"), WritePictures).code, Success);
        }
    }
    // A presentation part without relationships names no slides.
    ZipBuilder({{"ppt/presentation.xml", "<p:presentation/>"},
                {"_rels/.rels", relationships(relationship("rId1", "officeDocument", "ppt/presentation.xml"))}})
        .write(dir.file("b.zip"));
    const Export slides = exportOf(dir.file("b.zip"), WriteText);
    EXPECT_EQ(slides.code, PackageStructureMissing);
    EXPECT_EQ(slides.text, "(none)");
}

TEST(OoxmlPackageFile, StrictPackagesGiveTheTextOfTheirTransitionalTwins)
{
    const std::pair<const char*, const char*> pairs[] = {{"letters/letters.docx", "strict/letters.docx"},
                                                         {"docx/lists.docx", "strict/lists.docx"},
                                                         {"letters/letters.xlsx", "strict/letters.xlsx"},
                                                         {"letters/letters.pptx", "strict/letters.pptx"},
                                                         {"pptx/fields.pptx", "strict/fields.pptx"}};
    for (const auto& [transitional, strict] : pairs) {
        SCOPED_TRACE(strict);
        const Export expected = exportOf(data(transitional), WriteText | WriteExtras);
        const Export read = exportOf(data(strict), WriteText | WriteExtras);
        EXPECT_EQ(read.code, Success);
        EXPECT_GT(read.text.size(), 20u);
        EXPECT_EQ(read.text, expected.text);
        QString body, twin;
        OoxmlPackageFile(data(transitional)).packageContent(body);
        OoxmlPackageFile(data(strict)).packageContent(twin);
        EXPECT_EQ(twin, body);
    }
}
