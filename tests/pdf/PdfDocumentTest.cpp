// The document, page and text-page wrapper over the engine.
#include "pdf/CVRX_PDFDocument.h"
#include "pdf/CVRX_PDFEngine.h"
#include "pdf/CVRX_PDFPage.h"
#include "pdf/CVRX_PDFTextPage.h"
#include "pdf/PdfJpegWriter.h"
#include "pdf/PdfPause.h"
#include "pdf/PdfTextExtractor.h"

#include "support/PdfBuilder.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <mupdf/fitz.h>

#include <sys/stat.h>

using namespace quillet;
using namespace quillet::test;

namespace {

const std::string kData = QUILLET_TEST_DATA "/pdf/";

class PdfDocumentTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(engine.initialise(), 0); }

    int openBytes(CVRX_PDFDocument& document, const std::string& bytes)
    {
        const std::string path = dir.file("doc" + std::to_string(++files) + ".pdf");
        writeFile(path, bytes);
        return document.open(path.c_str(), path.size());
    }

    CVRX_PDFEngine engine;
    TempDir dir;
    int files = 0;
};

TEST_F(PdfDocumentTest, OpenResults)
{
    const std::string good = PdfBuilder().textPage({"hello"}).build();
    ::mkfifo(dir.file("fifo").c_str(), 0600);
    const struct {
        std::string name, path;
        int expected;
    } cases[] = {
        {"missing", dir.file("missing.pdf"), CVRX_PDFDocument::FileError},
        {"directory", dir.path(), CVRX_PDFDocument::FileError},
        {"fifo", dir.file("fifo"), CVRX_PDFDocument::FileError},
        {"user password AES-256", kData + "encrypted-aes256.pdf", CVRX_PDFDocument::PasswordRequired},
        {"user password RC4", kData + "encrypted-rc4.pdf", CVRX_PDFDocument::PasswordRequired},
        {"owner password only", kData + "owner-only.pdf", CVRX_PDFDocument::Opened},
    };
    for (const auto& c : cases) {
        CVRX_PDFDocument document(engine);
        EXPECT_EQ(document.open(c.path.c_str(), c.path.size()), c.expected) << c.name;
        if (c.expected != CVRX_PDFDocument::Opened) {
            EXPECT_EQ(document.pageCount(), 0) << c.name;
            EXPECT_EQ(document.loadPage(0), nullptr) << c.name;
            EXPECT_EQ(document.close(), 1) << c.name;
        }
    }

    const struct {
        std::string name, bytes;
        int expected;
    } contents[] = {
        {"not a PDF", std::string(600, 'x'), CVRX_PDFDocument::FormatError},
        {"empty", "", CVRX_PDFDocument::FormatError},
        {"unknown security handler", PdfBuilder().textPage({"x"}).unknownSecurityHandler().build(),
         CVRX_PDFDocument::SecurityHandlerError},
        {"broken startxref", good.substr(0, good.rfind("startxref")) + "startxref\n99999\n%%EOF\n",
         CVRX_PDFDocument::Opened},
    };
    for (const auto& c : contents) {
        CVRX_PDFDocument document(engine);
        EXPECT_EQ(openBytes(document, c.bytes), c.expected) << c.name;
    }

    CVRX_PDFDocument document(engine);
    ASSERT_EQ(openBytes(document, good), CVRX_PDFDocument::Opened);
    EXPECT_EQ(openBytes(document, good), CVRX_PDFDocument::EngineFailure) << "already open";
    EXPECT_EQ(document.pageCount(), 1);
    EXPECT_EQ(document.loadPage(0), document.loadPage(0)) << "cached";
    EXPECT_EQ(document.loadPage(1), nullptr);
    EXPECT_EQ(document.loadPage(-1), nullptr);
    EXPECT_EQ(document.close(), 0);
    EXPECT_EQ(document.close(), 1);

    CVRX_PDFEngine idle;
    CVRX_PDFDocument withoutEngine(idle);
    EXPECT_EQ(openBytes(withoutEngine, good), CVRX_PDFDocument::EngineFailure);
}

TEST_F(PdfDocumentTest, ParseStatusAndTextPage)
{
    CVRX_PDFDocument document(engine);
    ASSERT_EQ(openBytes(document, PdfBuilder().textPage({"Alpha", "Beta"}).rawPage("").build()), 0);
    CVRX_PDFPageImp* page = document.loadPage(0);
    ASSERT_NE(page, nullptr);
    EXPECT_TRUE(page->hasContent());
    EXPECT_EQ(page->textPage(), nullptr) << "not parsed yet";
    EXPECT_EQ(page->startParse(), CVRX_PDFPage::ToBeContinued);
    EXPECT_EQ(page->continueParse(200), CVRX_PDFPage::Done);
    CVRX_PDFTextPage* text = page->textPage();
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text, page->textPage());
    EXPECT_EQ(text->text(0, text->charCount()), u"Alpha\nBeta\n");
    EXPECT_EQ(text->text(6, 3), u"Bet");
    EXPECT_EQ(text->text(9, 100), u"a\n");
    EXPECT_EQ(text->text(-1, 3), u"");
    EXPECT_EQ(page->releasePage(), CVRX_PDFPage::NotStarted);
    EXPECT_EQ(text->charCount(), 0) << "released with the page";
    EXPECT_EQ(parsePage(*page), CVRX_PDFPage::Done) << "parses afresh";
    EXPECT_EQ(page->textPage()->charCount(), 11);
    page->releasePage();

    CVRX_PDFPageImp* empty = document.loadPage(1);
    ASSERT_NE(empty, nullptr);
    EXPECT_EQ(parsePage(*empty), CVRX_PDFPage::Done);
    EXPECT_EQ(empty->textPage()->text(0, empty->textPage()->charCount()), u"");
}

TEST_F(PdfDocumentTest, PicturesAreIndexedFromTheLastDrawn)
{
    CVRX_PDFDocument document(engine);
    ASSERT_EQ(openBytes(document, PdfBuilder().picturePage({{1, 1}, {2, 2}, {3, 3}}).build()), 0);
    CVRX_PDFPageImp* page = document.loadPage(0);
    int count = 0;
    EXPECT_FALSE(page->imageCount(count)) << "no engine page before the parse";
    ASSERT_EQ(parsePage(*page), CVRX_PDFPage::Done);
    ASSERT_TRUE(page->imageCount(count));
    EXPECT_EQ(count, 3);
    const PdfPageObject* object = nullptr;
    for (int j = 1; j <= 3; ++j) {
        ASSERT_TRUE(page->image(j, object));
        EXPECT_EQ(object->image->w, 4 - j) << j;
    }
    EXPECT_FALSE(page->image(0, object));
    EXPECT_FALSE(page->image(4, object));
    EXPECT_FALSE(page->image(-1, object));

    ASSERT_TRUE(page->image(1, object));
    const std::wstring path = L"" + std::wstring(dir.path().begin(), dir.path().end()) + L"/third.jpg";
    page->saveImage(object, path);
    EXPECT_EQ(readFile(dir.file("third.jpg")).substr(0, 3), "\xFF\xD8\xFF");
    page->saveImage(nullptr, path + L"x");
    EXPECT_FALSE(fileExists(dir.file("third.jpgx")));
    page->releasePage();
}

TEST_F(PdfDocumentTest, HugePicturesAreNotDecoded)
{
    CVRX_PDFDocument document(engine);
    ASSERT_EQ(openBytes(document, PdfBuilder().hugePicturePage(10000, 10000).build()), 0);
    CVRX_PDFPageImp* page = document.loadPage(0);
    ASSERT_EQ(parsePage(*page), CVRX_PDFPage::Done);
    int count = 0;
    ASSERT_TRUE(page->imageCount(count));
    ASSERT_EQ(count, 1);
    const PdfPageObject* object = nullptr;
    ASSERT_TRUE(page->image(1, object));
    EXPECT_EQ(encodePictureAsJpeg(engine.context(), engine.jpegEncoder(), *object), "");
    page->releasePage();
}

TEST(PdfPause, BudgetOnTheMonotonicClock)
{
    CPDFium_Pause spent(0);
    EXPECT_TRUE(spent.NeedToPauseNow());
    CPDFium_Pause fresh(60000);
    EXPECT_FALSE(fresh.NeedToPauseNow());
    CPDFium_Pause delegating(60000, &spent);
    EXPECT_TRUE(delegating.NeedToPauseNow());
}

TEST(PdfEngine, InitialiseAndTeardown)
{
    CVRX_PDFEngine engine;
    EXPECT_EQ(engine.teardown(), -1);
    EXPECT_EQ(engine.initialise(), 0);
    EXPECT_TRUE(engine.isInitialised());
    EXPECT_EQ(engine.teardown(), 0);
    EXPECT_FALSE(engine.isInitialised());
}

}  // namespace
