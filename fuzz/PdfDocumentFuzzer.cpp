// Bytes as a PDF: open, then every page (up to 20) parsed under a watchdog of
// a second, its text read and its pictures counted, the first one encoded;
// then the in-memory entry.
#include "FuzzScratch.h"

#include "pdf/PdfDocument.h"
#include "pdf/PdfEngine.h"
#include "pdf/PdfJpegWriter.h"
#include "pdf/PdfPage.h"
#include "pdf/PdfTextExtractor.h"
#include "pdf/PdfTextPage.h"
#include "pdf/PdfWatchdog.h"
#include "platform/MonotonicClock.h"

#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static FuzzScratch scratch;
    static quillet::PdfEngine engine;
    if (!scratch.ready() || (!engine.isInitialised() && engine.initialise() != 0))
        return 0;
    const std::string source = scratch.write("input.pdf", data, size);
    {
        quillet::PdfDocument document(engine);
        quillet::PdfWatchdog watchdog(quillet::platform::monotonicMilliseconds,
                                      quillet::platform::monotonicMilliseconds() + 1000);
        if (document.open(source.c_str(), source.size()) == quillet::PdfDocument::Opened) {
            for (int i = 0; i < document.pageCount() && i < 20; ++i) {
                quillet::PdfPage* page = document.loadPage(i);
                if (page == nullptr || quillet::parsePage(*page, &watchdog) != quillet::PdfPage::Done)
                    continue;
                if (quillet::PdfTextPage* text = page->textPage())
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
