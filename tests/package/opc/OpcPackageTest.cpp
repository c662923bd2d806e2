// Packages: relationship paths and targets, lookups, and format naming.
#include "package/opc/OpcPackage.h"
#include "package/opc/PackagePart.h"
#include "package/opc/RelationshipPaths.h"
#include "package/zip/ZipArchive.h"

#include "support/TempDir.h"
#include "support/ZipBuilder.h"

#include <quillet/quillet.h>

#include <gtest/gtest.h>

using namespace quillet;
using namespace quillet::test;

namespace {

const std::string kType = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/";

std::string formatOf(const std::string& path)
{
    const char* name = getFileFormate(path.c_str(), 0);
    return name != nullptr ? name : "(null)";
}

}  // namespace

TEST(OpcPackage, RelationshipPathsAndTargets)
{
    EXPECT_EQ(relationshipPartPath(""), "_rels/.rels");
    EXPECT_EQ(relationshipPartPath("/word/document.xml"), "word/_rels/document.xml.rels");
    EXPECT_EQ(relationshipPartPath("document.xml"), "_rels/document.xml.rels");  // a part at the root
    // Absolute targets name the entry without their leading "/"; every "." and ".." is applied.
    const std::string cases[][3] = {{"xl/workbook.xml", "/xl/styles.xml", "xl/styles.xml"},
                                    {"xl/worksheets/sheet1.xml", "../../media/image1.png", "media/image1.png"},
                                    {"xl/charts/sub/chart1.xml", "../.././d.xml", "xl/d.xml"},
                                    {"word/document.xml", "../../../x.xml", "x.xml"},
                                    {"/word/document.xml", "a/../.b.xml", "word/.b.xml"}};
    for (const auto& c : cases)
        EXPECT_EQ(resolveTarget(c[0], c[1]), c[2]) << c[0] << " + " << c[1];
}

TEST(OpcPackage, RelationshipLookups)
{
    TempDir dir;
    const std::string strict = "http://purl.oclc.org/ooxml/officeDocument/relationships/officeDocument";
    ZipBuilder()
        .add("_rels/.rels", "<Relationships>" + relationship("rId1", "officeDocument", "xl/workbook.xml") +
                                relationship("rId9", "officeDocument", "other.xml") + "</Relationships>")
        .add("xl/_rels/workbook.xml.rels",
             "<pr:Relationships xmlns:pr=\"x\">" + relationship("rId1", "worksheet", "worksheets/sheet1.xml") +
                 "<pr:" + relationship("rId2", "sharedStrings", "/xl/sharedStrings.xml").substr(1) +
                 relationship("rId1", "sharedStrings", "duplicate.xml") +
                 relationship("rId5", "hyperlink", "https://a.org/?b&amp;c", " TargetMode=\"External\"") +
                 "<Relationship Id=\"rId6\" Target=\"t.xml\"><Relationship Id=\"nested\"/></Relationship>")
        .add("xl/workbook.xml", "<workbook/>")
        .add("xl/worksheets/sheet1.xml", "<worksheet/>")
        .add("xl/sharedStrings.xml", "<sst/>")
        .write(dir.file("a.xlsx"));
    ZipArchive archive(dir.file("a.xlsx"));
    OpcPackage package(&archive);
    ASSERT_NE(package.mainDocumentPart(), nullptr);
    EXPECT_EQ(package.mainDocumentPart()->path(), "xl/workbook.xml");
    RelationshipList* relationships = package.mainDocumentPart()->relationships();
    ASSERT_EQ(relationships->count(), 5);
    // Of duplicate ids the first counts; ids are compared exactly.
    EXPECT_EQ(relationships->findById("rId1")->getTargetPart()->path(), "xl/worksheets/sheet1.xml");
    EXPECT_EQ(relationships->findById("RID1"), nullptr);
    // Types too are compared exactly: one letter's case makes another type.
    EXPECT_EQ(relationships->findByType(kType + "sharedstrings"), nullptr);
    EXPECT_EQ(relationships->findByType(kType + "Worksheet"), nullptr);
    PackagePart* strings = relationships->findByType(relationship_type::SharedStrings)->getTargetPart();
    EXPECT_EQ(strings->path() + " " + std::to_string(strings->size()), "xl/sharedStrings.xml 6");
    EXPECT_EQ(strings->relationships()->count(), 0);
    Relationship* link = relationships->findById("rId5");
    EXPECT_TRUE(link->isExternal() && link->target() == "https://a.org/?b&c" && !link->getTargetPart());
    // Strict relationship types read as their transitional twins; other purl names stay as written.
    ZipBuilder()
        .add("_rels/.rels",
             "<Relationships>" + relationship("z", "http://purl.oclc.org/ooxml/x", "z.xml") +
                 relationship("a", strict, "d.xml") + relationship("c", relationship_type::ShapeXml, "s") +
                 relationship("b", "officeDocument", "http://h/d.xml", " TargetMode=\"External\"") + "</Relationships>")
        .add("d.xml", "<w:document/>")
        .write(dir.file("b.docx"));
    ZipArchive other(dir.file("b.docx")), missing(dir.file("missing.docx"));
    OpcPackage strictPackage(&other), none(&missing);
    EXPECT_EQ(strictPackage.relationships().at(0)->type(), "http://purl.oclc.org/ooxml/x");
    EXPECT_EQ(strictPackage.relationships().at(1)->type(), relationship_type::OfficeDocument);
    EXPECT_EQ(strictPackage.mainDocumentPart()->path(), "d.xml");
    EXPECT_EQ(strictPackage.shapeXmlPart()->path(), "s");
    EXPECT_EQ(none.relationships().count(), 0);
}

TEST(OpcPackage, FormatNamesByTheMainPart)
{
    TempDir dir;
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"word/document.xml"}, "DOCX"},
        {{"ppt/presentation.xml"}, "PPTX"},
        {{"xl/workbook.xml"}, "XLSX"},
        // Of several main parts the spreadsheet wins, then the word-processing one.
        {{"ppt/presentation.xml", "word/document.xml", "xl/workbook.xml"}, "XLSX"},
        {{"ppt/presentation.xml", "word/document.xml"}, "DOCX"},
        // Names are exact bytes.
        {{"XL/workbook.xml"}, "(null)"},
        {{"/word/document.xml"}, "(null)"},
        {{"content.xml", "mimetype"}, "(null)"},
        // An archive without entries starts with its end record, not "PK\3\4".
        {{}, "NOT_SUPPORT"}};
    for (const auto& [entries, expected] : cases) {
        ZipBuilder builder;
        for (const std::string& entry : entries)
            builder.add(entry, "<x/>");
        builder.write(dir.file("case.zip"));
        EXPECT_EQ(formatOf(dir.file("case.zip")), expected) << entries.size();
    }
    writeFile(dir.file("fake.docx"), std::string("PK\x03\x04", 4) + std::string(600, 'x'));
    EXPECT_EQ(formatOf(dir.file("fake.docx")), "(null)");
}
