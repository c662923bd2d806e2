// The document, page and text-page wrapper over the engine: its guards against
// bad paths, bad indexes and use after release.
#include "pdf/PdfDocument.h"
#include "pdf/PdfEngine.h"
#include "pdf/PdfPage.h"
#include "pdf/PdfTextExtractor.h"
#include "pdf/PdfTextPage.h"

#include "support/PdfBuilder.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace quillet;
using namespace quillet::test;

TEST(PdfDocument, OpenGuardsAndIndexBounds)
{
    PdfEngine engine;
    ASSERT_EQ(engine.initialise(), 0);
    TempDir dir;
    const std::string good = PdfBuilder().textPage({"Alpha", "Beta"}).picturePage({{1, 1}, {2, 2}, {3, 3}}).build();
    writeFile(dir.file("good.pdf"), good);
    writeFile(dir.file("xref.pdf"), good.substr(0, good.rfind("startxref")) + "startxref\n99999\n%%EOF\n");
    ::mkfifo(dir.file("fifo").c_str(), 0600);
    const std::pair<std::string, int> opens[] = {
        {dir.file("missing.pdf"), PdfDocument::FileError},
        {dir.path(), PdfDocument::FileError},
        {dir.file("fifo"), PdfDocument::FileError},   // never waits for a writer
        {dir.file("xref.pdf"), PdfDocument::Opened},  // repaired
    };
    for (const auto& [path, expected] : opens) {
        PdfDocument document(engine);
        EXPECT_EQ(document.open(path.c_str(), path.size()), expected) << path;
        if (expected != PdfDocument::Opened) {
            EXPECT_EQ(document.loadPage(0), nullptr) << path;
            EXPECT_EQ(document.close(), 1) << path;
        }
    }
    const std::string path = dir.file("good.pdf");
    PdfEngine idle;
    PdfDocument withoutEngine(idle);
    EXPECT_EQ(withoutEngine.open(path.c_str(), path.size()), PdfDocument::EngineFailure);

    PdfDocument document(engine);
    ASSERT_EQ(document.open(path.c_str(), path.size()), PdfDocument::Opened);
    EXPECT_EQ(document.open(path.c_str(), path.size()), PdfDocument::EngineFailure) << "already open";
    EXPECT_EQ(document.loadPage(2), nullptr);
    EXPECT_EQ(document.loadPage(-1), nullptr);

    PdfPage* page = document.loadPage(0);
    ASSERT_NE(page, nullptr);
    ASSERT_EQ(parsePage(*page), PdfPage::Done);
    PdfTextPage* text = page->textPage();
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->text(6, 3), u"Bet");
    EXPECT_EQ(text->text(9, 100), u"a\n");
    EXPECT_EQ(text->text(-1, 3), u"");
    EXPECT_EQ(page->releasePage(), PdfPage::NotStarted);
    EXPECT_EQ(text->charCount(), 0) << "released with the page";
    EXPECT_EQ(parsePage(*page), PdfPage::Done) << "parses afresh";
    EXPECT_EQ(page->textPage()->charCount(), 11);
    page->releasePage();

    PdfPage* pictures = document.loadPage(1);
    int count = 0;
    EXPECT_FALSE(pictures->imageCount(count)) << "no engine page before the parse";
    ASSERT_EQ(parsePage(*pictures), PdfPage::Done);
    ASSERT_TRUE(pictures->imageCount(count));
    EXPECT_EQ(count, 3);
    const PdfPageObject* object = nullptr;
    for (int bad : {0, 4, -1})
        EXPECT_FALSE(pictures->image(bad, object)) << bad;
    const std::wstring nowhere = std::wstring(dir.path().begin(), dir.path().end()) + L"/none.jpg";
    pictures->saveImage(nullptr, nowhere);
    EXPECT_FALSE(fileExists(dir.file("none.jpg")));
    pictures->releasePage();
    EXPECT_EQ(document.close(), 0);
    EXPECT_EQ(document.close(), 1);
}
