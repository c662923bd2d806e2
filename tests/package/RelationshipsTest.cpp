#include "package/OxfrPackage.h"
#include "package/OxfrPart.h"
#include "package/RelationshipPaths.h"
#include "package/ZipArchive.h"

#include "support/TempDir.h"
#include "support/ZipBuilder.h"

#include <gtest/gtest.h>

using namespace quillet;
using namespace quillet::test;

namespace {

const std::string kOfficeDocument = relationship_type::OfficeDocument;

std::string rels(const std::string& body)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
           "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">" +
           body + "</Relationships>";
}

std::string rel(const std::string& id, const std::string& type, const std::string& target,
                const std::string& extra = "")
{
    return "<Relationship Id=\"" + id + "\" Type=\"" + type + "\" Target=\"" + target + "\"" + extra + "/>";
}

}  // namespace

TEST(Relationships, PartPaths)
{
    EXPECT_EQ(relationshipPartPath(""), "_rels/.rels");
    EXPECT_EQ(relationshipPartPath("word/document.xml"), "word/_rels/document.xml.rels");
    EXPECT_EQ(relationshipPartPath("/word/document.xml"), "word/_rels/document.xml.rels");
    EXPECT_EQ(relationshipPartPath("xl/worksheets/sheet1.xml"), "xl/worksheets/_rels/sheet1.xml.rels");
    // A part at the top of the package has relationships of its own.
    EXPECT_EQ(relationshipPartPath("part.xml"), "_rels/part.xml.rels");
}

TEST(Relationships, TargetResolution)
{
    EXPECT_EQ(resolveTarget("xl/workbook.xml", "worksheets/sheet1.xml"), "xl/worksheets/sheet1.xml");
    EXPECT_EQ(resolveTarget("xl/worksheets/sheet1.xml", "../drawings/drawing1.xml"), "xl/drawings/drawing1.xml");
    EXPECT_EQ(resolveTarget("word/document.xml", "../customXml/item1.xml"), "customXml/item1.xml");
    EXPECT_EQ(resolveTarget("", "word/document.xml"), "word/document.xml");
    EXPECT_EQ(resolveTarget("word/document.xml", "media/image1.png"), "word/media/image1.png");
    EXPECT_EQ(resolveTarget("word/document.xml", "comments.xml"), "word/comments.xml");
    // Absolute targets name the entry without their leading "/".
    EXPECT_EQ(resolveTarget("xl/workbook.xml", "/xl/worksheets/sheet1.xml"), "xl/worksheets/sheet1.xml");
    EXPECT_EQ(resolveTarget("", "/word/document.xml"), "word/document.xml");
    // Every "." and ".." segment is applied, however many.
    EXPECT_EQ(resolveTarget("xl/worksheets/sheet1.xml", "../../media/image1.png"), "media/image1.png");
    EXPECT_EQ(resolveTarget("xl/charts/sub/chart1.xml", "../../drawings/./d.xml"), "xl/drawings/d.xml");
    EXPECT_EQ(resolveTarget("word/document.xml", "./media/a.png"), "word/media/a.png");
    EXPECT_EQ(resolveTarget("", "./word/document.xml"), "word/document.xml");
    EXPECT_EQ(resolveTarget("word/document.xml", "../../../../x.xml"), "x.xml");
    EXPECT_EQ(resolveTarget("/word/document.xml", "a/../b.xml"), "word/b.xml");
    EXPECT_EQ(resolveTarget("word/document.xml", ".hidden/x.xml"), "word/.hidden/x.xml");
}

TEST(Relationships, PackageAndPartLookups)
{
    TempDir dir;
    const std::string sharedStrings = relationship_type::SharedStrings;
    ZipBuilder()
        .add("_rels/.rels",
             rels(rel("rId3", "http://schemas.openxmlformats.org/package/2006/relationships/metadata/core-properties",
                      "docProps/core.xml") +
                  rel("rId1", kOfficeDocument, "xl/workbook.xml") + rel("rId9", kOfficeDocument, "other.xml")))
        .add("xl/workbook.xml", "<workbook/>")
        .add("xl/_rels/workbook.xml.rels",
             rels(rel("rId1", "http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet",
                      "worksheets/sheet1.xml") +
                  rel("rId2", sharedStrings, "/xl/sharedStrings.xml") + rel("rId1", sharedStrings, "duplicate.xml") +
                  rel("rId4", "HTTP://schemas.openxmlformats.org/officeDocument/2006/relationships/comments",
                      "comments1.xml") +
                  rel("rId5", "http://schemas.openxmlformats.org/officeDocument/2006/relationships/hyperlink",
                      "https://example.com/a?b&amp;c", " TargetMode=\"External\"") +
                  "<Relationship Id=\"rId6\" Target=\"noType.xml\"><Relationship Id=\"nested\"/></Relationship>" +
                  "<Other Id=\"rId7\"/>"))
        .add("xl/worksheets/sheet1.xml", "<worksheet/>")
        .add("xl/sharedStrings.xml", "<sst/>")
        .write(dir.file("a.xlsx"));

    ZipArchive archive(dir.file("a.xlsx"));
    OxfrPackage package(&archive);
    EXPECT_EQ(package.relationships().count(), 3);
    OxfrPart* main = package.mainDocumentPart();
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(main->path(), "xl/workbook.xml");
    EXPECT_EQ(main->size(), 11);
    EXPECT_EQ(package.mainDocumentPart(), main);
    EXPECT_EQ(package.shapeXmlPart(), nullptr);

    OxfrRelationships* relationships = main->relationships();
    ASSERT_NE(relationships, nullptr);
    EXPECT_EQ(main->relationships(), relationships);
    EXPECT_EQ(relationships->sourcePath(), "xl/workbook.xml");
    ASSERT_EQ(relationships->count(), 6);
    EXPECT_EQ(relationships->at(-1), nullptr);
    EXPECT_EQ(relationships->at(6), nullptr);

    // Duplicate ids: the first counts.
    OxfrRelationship* sheet = relationships->findById("rId1");
    ASSERT_NE(sheet, nullptr);
    EXPECT_EQ(sheet->getTargetPart()->path(), "xl/worksheets/sheet1.xml");
    EXPECT_EQ(sheet->getTargetPart(), sheet->getTargetPart());
    EXPECT_EQ(relationships->findById("RID1"), nullptr);

    OxfrRelationship* strings = relationships->findByType(sharedStrings);
    ASSERT_NE(strings, nullptr);
    EXPECT_EQ(strings->id(), "rId2");
    EXPECT_EQ(strings->target(), "/xl/sharedStrings.xml");
    EXPECT_EQ(strings->getTargetPart()->path(), "xl/sharedStrings.xml");
    EXPECT_EQ(strings->getTargetPart()->size(), 6);

    // Type URIs are compared exactly.
    EXPECT_EQ(relationships->findByType(relationship_type::Comments), nullptr);
    EXPECT_EQ(relationships->findByType(""), nullptr);

    OxfrRelationship* link = relationships->findById("rId5");
    ASSERT_NE(link, nullptr);
    EXPECT_TRUE(link->isExternal());
    EXPECT_EQ(link->target(), "https://example.com/a?b&c");
    EXPECT_EQ(link->getTargetPart(), nullptr);

    OxfrRelationship* untyped = relationships->findById("rId6");
    ASSERT_NE(untyped, nullptr);
    EXPECT_EQ(untyped->type(), "");
    EXPECT_EQ(untyped->getTargetPart()->path(), "xl/noType.xml");
    EXPECT_EQ(untyped->getTargetPart()->size(), -1);
    EXPECT_EQ(relationships->findById("nested"), nullptr);
    EXPECT_EQ(relationships->findById("rId7"), nullptr);

    // Parts without relationship parts have empty lists.
    EXPECT_EQ(sheet->getTargetPart()->relationships()->count(), 0);
}

TEST(Relationships, OddPackages)
{
    TempDir dir;
    // Strict-conformance types all read as the package namespace.
    ZipBuilder()
        .add("_rels/.rels", rels(rel("rId1", "http://purl.oclc.org/ooxml/officeDocument/relationships/officeDocument",
                                     "word/document.xml")))
        .add("word/document.xml", "<w:document/>")
        .write(dir.file("strict.docx"));
    ZipArchive strictArchive(dir.file("strict.docx"));
    OxfrPackage strict(&strictArchive);
    EXPECT_EQ(strict.mainDocumentPart(), nullptr);
    EXPECT_EQ(strict.relationships().at(0)->type(), relationship_type::Package);

    // Prefixed relationship elements, an external main part, a missing rels part.
    ZipBuilder()
        .add("_rels/.rels",
             "<pr:Relationships xmlns:pr=\"x\"><pr:Relationship Id=\"a\" Type=\"" + kOfficeDocument +
                 "\" Target=\"http://host/doc.xml\" TargetMode=\"External\"/><pr:Relationship Id=\"b\" Type=\"" +
                 relationship_type::ShapeXml + "\" Target=\"drawing1.xml\"/></pr:Relationships>")
        .write(dir.file("odd.zip"));
    ZipArchive oddArchive(dir.file("odd.zip"));
    OxfrPackage odd(&oddArchive);
    EXPECT_EQ(odd.relationships().count(), 2);
    EXPECT_EQ(odd.mainDocumentPart(), nullptr);
    ASSERT_NE(odd.shapeXmlPart(), nullptr);
    EXPECT_EQ(odd.shapeXmlPart()->path(), "drawing1.xml");
    EXPECT_EQ(odd.shapeXmlPart()->relationships()->count(), 0);

    ZipBuilder().add("word/document.xml", "<w:document/>").write(dir.file("bare.zip"));
    ZipArchive bareArchive(dir.file("bare.zip"));
    OxfrPackage bare(&bareArchive);
    EXPECT_EQ(bare.relationships().count(), 0);
    EXPECT_EQ(bare.mainDocumentPart(), nullptr);

    OxfrPackage none(nullptr);
    EXPECT_EQ(none.relationships().count(), 0);
}
