// Format naming of ZIP sources, and the package layer on real packages.
#include "package/ElementHandler.h"
#include "package/OxfrPackage.h"
#include "package/OxfrPart.h"
#include "package/XmlPart.h"
#include "package/ZipArchive.h"

#include "support/TempDir.h"
#include "support/ZipBuilder.h"

#include <quillet/quillet.h>

#include <gtest/gtest.h>

using namespace quillet;
using namespace quillet::test;

namespace {

std::string fixture(const std::string& name)
{
    return std::string(QUILLET_TEST_DATA) + "/package/" + name;
}

std::string formatOf(const std::string& path)
{
    const char* name = getFileFormate(path.c_str(), 0);
    return name != nullptr ? name : "(null)";
}

// Collects the text of every known element.
class TextCollector : public DefaultElementHandler {
public:
    explicit TextCollector(std::string& text) : text_(text) {}
    void characters(const std::string& text) override { text_ += text + "|"; }
    ElementHandler* getChildHandler(int) override { return adoptChild<TextCollector>(text_); }

private:
    std::string& text_;
};

std::string partText(ZipArchive& archive, const std::string& entry, Vocabulary vocabulary)
{
    std::string text;
    TextCollector root(text);
    parseXmlPart(&archive, entry, &root, vocabulary);
    return text;
}

}  // namespace

TEST(PackageFormat, NamesPackagesByTheirMainPart)
{
    EXPECT_EQ(formatOf(fixture("libreoffice.docx")), "DOCX");
    EXPECT_EQ(formatOf(fixture("libreoffice.xlsx")), "XLSX");
    EXPECT_EQ(formatOf(fixture("libreoffice.pptx")), "PPTX");

    TempDir dir;
    struct Case {
        std::vector<std::string> entries;
        std::string expected;
    };
    const Case cases[] = {
        {{"word/document.xml"}, "DOCX"},
        {{"ppt/presentation.xml"}, "PPTX"},
        {{"xl/workbook.xml"}, "XLSX"},
        // Several main parts: spreadsheet first, then word-processing.
        {{"ppt/presentation.xml", "word/document.xml", "xl/workbook.xml"}, "XLSX"},
        {{"ppt/presentation.xml", "word/document.xml"}, "DOCX"},
        // Names are exact bytes.
        {{"XL/workbook.xml"}, "(null)"},
        {{"/word/document.xml"}, "(null)"},
        {{"content.xml", "mimetype"}, "(null)"},
        // An archive without entries starts with its end record, not "PK\3\4".
        {{}, "NOT_SUPPORT"},
    };
    for (const Case& c : cases) {
        ZipBuilder builder;
        for (const std::string& entry : c.entries)
            builder.add(entry, "<x/>");
        builder.write(dir.file("case.zip"));
        EXPECT_EQ(formatOf(dir.file("case.zip")), c.expected) << (c.entries.empty() ? "empty" : c.entries[0]);
    }
    // A ZIP signature without an archive behind it.
    writeFile(dir.file("fake.docx"), std::string("PK\x03\x04", 4) + std::string(600, 'x'));
    EXPECT_EQ(formatOf(dir.file("fake.docx")), "(null)");
}

TEST(PackageFormat, ReadsTheTextOfRealPackages)
{
    {
        ZipArchive archive(fixture("libreoffice.docx"));
        OxfrPackage package(&archive);
        ASSERT_NE(package.mainDocumentPart(), nullptr);
        EXPECT_EQ(package.mainDocumentPart()->path(), "word/document.xml");
        const std::string text = partText(archive, "word/document.xml", Vocabulary::WordProcessing);
        EXPECT_NE(text.find("Hello from LibreOffice Writer|"), std::string::npos) << text;
        EXPECT_NE(text.find("Second paragraph|"), std::string::npos) << text;
    }
    {
        ZipArchive archive(fixture("libreoffice.xlsx"));
        OxfrPackage package(&archive);
        OxfrPart* workbook = package.mainDocumentPart();
        ASSERT_NE(workbook, nullptr);
        OxfrRelationship* strings = workbook->relationships()->findByType(relationship_type::SharedStrings);
        ASSERT_NE(strings, nullptr);
        EXPECT_EQ(strings->getTargetPart()->path(), "xl/sharedStrings.xml");
        EXPECT_EQ(partText(archive, "xl/sharedStrings.xml", Vocabulary::Spreadsheet), "Name|Value|alpha|beta|");
    }
    {
        ZipArchive archive(fixture("libreoffice.pptx"));
        OxfrPackage package(&archive);
        OxfrPart* presentation = package.mainDocumentPart();
        ASSERT_NE(presentation, nullptr);
        OxfrRelationship* slide = presentation->relationships()->findByType(
            "http://schemas.openxmlformats.org/officeDocument/2006/relationships/slide");
        ASSERT_NE(slide, nullptr);
        EXPECT_EQ(slide->getTargetPart()->path(), "ppt/slides/slide1.xml");
        const std::string text = partText(archive, "ppt/slides/slide1.xml", Vocabulary::Presentation);
        EXPECT_NE(text.find("Hello from LibreOffice Impress|"), std::string::npos) << text;
    }
}
