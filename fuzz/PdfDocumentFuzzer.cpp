// Bytes as a PDF: open, then every page (up to 20) parsed, its text read and
// its pictures counted, the first one encoded; then the in-memory entry.
#include "FuzzScratch.h"

#include "pdf/CVRX_PDFDocument.h"
#include "pdf/CVRX_PDFEngine.h"
#include "pdf/CVRX_PDFPage.h"
#include "pdf/CVRX_PDFTextPage.h"
#include "pdf/PdfJpegWriter.h"
#include "pdf/PdfTextExtractor.h"

#include <cstdint>
#include <cstdio>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static FuzzScratch scratch;
    static quillet::CVRX_PDFEngine engine;
    if (!scratch.ready() || (!engine.isInitialised() && engine.initialise() != 0))
        return 0;
    const std::string source = scratch.file("input.pdf");
    if (FILE* f = std::fopen(source.c_str(), "wb")) {
        std::fwrite(data, 1, size, f);
        std::fclose(f);
    }
    {
        quillet::CVRX_PDFDocument document(engine);
        if (document.open(source.c_str(), source.size()) == quillet::CVRX_PDFDocument::Opened) {
            for (int i = 0; i < document.pageCount() && i < 20; ++i) {
                quillet::CVRX_PDFPageImp* page = document.loadPage(i);
                if (page == nullptr || quillet::parsePage(*page) != quillet::CVRX_PDFPage::Done)
                    continue;
                if (quillet::CVRX_PDFTextPage* text = page->textPage())
                    text->text(0, text->charCount());
                int count = 0;
                const quillet::PdfPageObject* object = nullptr;
                if (page->imageCount(count) && count > 0 && page->image(count, object))
                    quillet::encodePictureAsJpeg(engine.context(), engine.jpegEncoder(), *object);
                page->releasePage();
            }
        }
    }
    QString text;
    quillet::PdfTextExtractor(source, &engine).getContent(text, 5);
    return 0;
}
