// PDF properties: the Info dictionary through the engine, and PDF dates.
#include "pdf/PdfProperties.h"

#include "pdf/PdfDocument.h"
#include "pdf/PdfEngine.h"

#include "support/PdfBuilder.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <map>

using namespace quillet;
using namespace quillet::test;

namespace {

std::map<std::string, std::string> propertiesOf(const std::string& path)
{
    PdfEngine engine;
    EXPECT_EQ(engine.initialise(), 0);
    PdfDocument document(engine);
    EXPECT_EQ(document.open(path.c_str(), path.size()), PdfDocument::Opened) << path;
    const DocumentMetadata metadata =
        readPdfProperties(document.context(), document.engineDocument(), document.pageCount());
    std::map<std::string, std::string> found;
    for (const DocumentMetadata::Entry& entry : metadata.entries())
        found[entry.name] = entry.value;
    return found;
}

}  // namespace

TEST(PdfProperties, InfoDictionaryPagesVersionAndEncryption)
{
    // As pdfinfo shows the LibreOffice fixture.
    EXPECT_EQ(propertiesOf(QUILLET_TEST_DATA "/pdf/latin-accented.pdf"),
              (std::map<std::string, std::string>{{"title", "Fixture"},
                                                  {"producer", "LibreOffice 7.4"},
                                                  {"created", "2026-12-06T16:28:26Z"},
                                                  {"pages", "2"},
                                                  {"pdf_version", "1.6"},
                                                  {"encrypted", "false"}}));
    EXPECT_EQ(propertiesOf(QUILLET_TEST_DATA "/pdf/owner-only.pdf").at("encrypted"), "true");
    // No Info dictionary: the counts and the version only.
    TempDir dir;
    writeFile(dir.file("bare.pdf"), PdfBuilder().textPage({"a"}).textPage({"b"}).build());
    const auto bare = propertiesOf(dir.file("bare.pdf"));
    EXPECT_EQ(bare.at("pages"), "2");
    EXPECT_EQ(bare.count("title"), 0u);
}

TEST(PdfProperties, DatesInUtc)
{
    const std::pair<const char*, const char*> dates[] = {
        {"D:20230405060708Z", "2023-04-05T06:07:08Z"},
        {"D:20230405060708+02'00'", "2023-04-05T04:07:08Z"},
        {"D:20230405000000-05'30", "2023-04-05T05:30:00Z"},
        {"D:20240101003000+01", "2023-12-31T23:30:00Z"},  // across a year
        {"D:2023", "2023-01-01T00:00:00Z"},
        {"D:202304", "2023-04-01T00:00:00Z"},
        {"20230405", "2023-04-05T00:00:00Z"},  // no prefix, as some writers do
        {"D:20240229120000", "2024-02-29T12:00:00Z"},
        {"D:20230229120000", ""},  // no such day
        {"D:20231305", ""},
        {"D:202304051", ""},  // half a part
        {"D:20230405060708+25'00'", ""},
        {"yesterday", ""},
        {"", ""},
        {"D:00001231", ""},
    };
    for (const auto& [pdf, iso] : dates)
        EXPECT_EQ(pdfDateAsIso(pdf), iso) << pdf;
}

namespace {

// A one-page PDF whose catalogue names an XMP packet, with an Info
// dictionary; no cross-reference table, so the engine finds the objects.
std::string pdfWithXmp(const std::string& packet, const std::string& info)
{
    return "%PDF-1.4\n1 0 obj <</Type/Catalog/Pages 2 0 R/Metadata 4 0 R>> endobj\n"
           "2 0 obj <</Type/Pages/Kids[3 0 R]/Count 1>> endobj\n"
           "3 0 obj <</Type/Page/Parent 2 0 R/MediaBox[0 0 10 10]>> endobj\n"
           "4 0 obj <</Type/Metadata/Subtype/XML/Length " +
           std::to_string(packet.size()) + ">> stream\n" + packet + "\nendstream endobj\n5 0 obj <<" + info +
           ">> endobj\ntrailer <</Root 1 0 R/Info 5 0 R>>\n%%EOF\n";
}

}  // namespace

// The XMP packet fills in what the Info dictionary lacks, from elements,
// list items or attributes; a packet that is not XML gives nothing.
TEST(PdfProperties, XmpPacketFillsWhatTheInfoDictionaryLacks)
{
    const std::string packet =
        "<?xpacket begin=\"\"?><x:xmpmeta xmlns:x=\"adobe:ns:meta/\"><rdf:RDF "
        "xmlns:rdf=\"http://www.w3.org/1999/02/22-rdf-syntax-ns#\"><rdf:Description "
        "xmlns:dc=\"http://purl.org/dc/elements/1.1/\" xmlns:xmp=\"http://ns.adobe.com/xap/1.0/\" "
        "xmlns:pdf=\"http://ns.adobe.com/pdf/1.3/\" xmp:CreateDate=\"2012-04-17T15:46:02.5+01:00\" "
        "xmp:ModifyDate=\"2012-04-18T08:00:00Z\"><dc:title><rdf:Alt><rdf:li xml:lang=\"x-default\">XMP "
        "title</rdf:li></rdf:Alt></dc:title><dc:creator><rdf:Seq><rdf:li>Ann</rdf:li><rdf:li>Bo "
        "&amp; Co</rdf:li></rdf:Seq></dc:creator><pdf:Producer> Writer 2 </pdf:Producer></rdf:Description>"
        "</rdf:RDF></x:xmpmeta><?xpacket end=\"w\"?>";
    TempDir dir;
    writeFile(dir.file("xmp.pdf"), pdfWithXmp(packet, "/Title(Info title)/ModDate(D:20120419)"));
    const auto found = propertiesOf(dir.file("xmp.pdf"));
    EXPECT_EQ(found.at("title"), "Info title");
    EXPECT_EQ(found.at("author"), "Ann; Bo & Co");
    EXPECT_EQ(found.at("producer"), "Writer 2");
    EXPECT_EQ(found.at("created"), "2012-04-17T14:46:02Z");
    EXPECT_EQ(found.at("modified"), "2012-04-19T00:00:00Z");

    writeFile(dir.file("broken.pdf"), pdfWithXmp(packet.substr(0, packet.size() / 2), ""));
    const auto broken = propertiesOf(dir.file("broken.pdf"));
    EXPECT_EQ(broken.count("author"), 0u);
    EXPECT_EQ(broken.count("title"), 0u);
    EXPECT_EQ(broken.at("pages"), "1");
}
