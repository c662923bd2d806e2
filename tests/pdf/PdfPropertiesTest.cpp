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
