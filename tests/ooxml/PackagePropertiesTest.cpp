// Document properties of packages, from their core and extended properties parts.
#include "ooxml/PackageProperties.h"

#include "package/opc/OpcPackage.h"
#include "package/zip/ZipArchive.h"

#include "support/TempDir.h"
#include "support/ZipBuilder.h"

#include <gtest/gtest.h>

#include <map>

using namespace quillet;
using namespace quillet::test;

namespace {

const std::string kRootRelationships =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>"
    "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
    "<Relationship Id=\"rId1\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/"
    "officeDocument\" Target=\"word/document.xml\"/>"
    "<Relationship Id=\"rId2\" Type=\"http://schemas.openxmlformats.org/package/2006/relationships/metadata/"
    "core-properties\" Target=\"props/core.xml\"/>"
    "<Relationship Id=\"rId3\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/"
    "extended-properties\" Target=\"props/app.xml\"/>"
    "</Relationships>";

std::map<std::string, std::string> propertiesOf(const ZipBuilder& zip)
{
    TempDir dir;
    const std::string path = dir.file("properties.docx");
    zip.write(path);
    ZipArchive archive(path);
    OpcPackage package(&archive);
    const DocumentMetadata metadata = readPackageProperties(package);
    std::map<std::string, std::string> found;
    for (const DocumentMetadata::Entry& entry : metadata.entries())
        found[entry.name] = entry.value + (entry.kind == DocumentMetadata::Kind::Count ? "#" : "");
    return found;
}

}  // namespace

TEST(PackageProperties, CoreAndExtendedPartsThroughTheirRelationships)
{
    ZipBuilder zip;
    zip.add("_rels/.rels", kRootRelationships)
        .add("word/document.xml", "<w:document/>")
        .add("props/core.xml", "<cp:coreProperties xmlns:cp=\"c\" xmlns:dc=\"d\" xmlns:dcterms=\"t\" xmlns:xsi=\"x\">"
                               "<dc:title>Caf&#233; &amp; r\xC3\xA9sum\xC3\xA9</dc:title><dc:subject></dc:subject>"
                               "<dc:creator> Ana </dc:creator><cp:lastModifiedBy>Ben</cp:lastModifiedBy>"
                               "<dcterms:created xsi:type=\"dcterms:W3CDTF\">2023-04-05T06:07:08Z</dcterms:created>"
                               "<dcterms:modified xsi:type=\"dcterms:W3CDTF\">2023-04-06T00:00:00Z</dcterms:modified>"
                               "<dc:title>second title: ignored</dc:title></cp:coreProperties>")
        .add("props/app.xml", "<Properties xmlns=\"e\"><Application>Microsoft Office Word</Application>"
                              "<Pages>2</Pages><Words>x12</Words><Characters>-4</Characters>"
                              "<Company>Example Ltd</Company><TitlesOfParts><vt:vector/></TitlesOfParts></Properties>");
    EXPECT_EQ(propertiesOf(zip), (std::map<std::string, std::string>{{"title", "Caf\xC3\xA9 & r\xC3\xA9sum\xC3\xA9"},
                                                                     {"author", "Ana"},
                                                                     {"last_author", "Ben"},
                                                                     {"created", "2023-04-05T06:07:08Z"},
                                                                     {"modified", "2023-04-06T00:00:00Z"},
                                                                     {"application", "Microsoft Office Word"},
                                                                     {"pages", "2#"},
                                                                     {"company", "Example Ltd"}}));
}

TEST(PackageProperties, MissingOrBrokenPartsGiveNothing)
{
    ZipBuilder missing;
    missing.add("_rels/.rels", kRootRelationships).add("word/document.xml", "<w:document/>");
    EXPECT_TRUE(propertiesOf(missing).empty());

    ZipBuilder broken;
    broken.add("_rels/.rels", kRootRelationships)
        .add("props/core.xml", "not xml at all < > &")
        .add("props/app.xml", std::string("\xFF\xFE<\0P\0>\0", 8));  // UTF-16: the scanner stops
    EXPECT_TRUE(propertiesOf(broken).empty());
}
