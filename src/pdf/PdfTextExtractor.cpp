#include "pdf/PdfTextExtractor.h"

#include "output/OutputPaths.h"
#include "pdf/CVRX_PDFDocument.h"
#include "pdf/CVRX_PDFEngine.h"
#include "pdf/CVRX_PDFPage.h"
#include "pdf/CVRX_PDFTextPage.h"
#include "platform/MonotonicClock.h"

#include <quillet/quillet.h>

#include <limits>

namespace quillet {

int parsePage(CVRX_PDFPage& page)
{
    int status = page.startParse();
    while (status == CVRX_PDFPage::ToBeContinued)
        status = page.continueParse(PdfTextExtractor::kSliceMilliseconds);
    return status;
}

PdfTextExtractor::PdfTextExtractor(std::string path, CVRX_PDFEngine* engine, Clock clock)
    : path_(std::move(path)), engine_(engine), clock_(clock != nullptr ? clock : platform::monotonicMilliseconds)
{
}

PdfTextExtractor::~PdfTextExtractor() = default;

CVRX_PDFEngine* PdfTextExtractor::usableEngine()
{
    if (engine_ != nullptr && engine_->isInitialised())
        return engine_;
    // A thread that never called quilletInitialize still converts.
    if (!ownEngine_) {
        ownEngine_ = std::make_unique<CVRX_PDFEngine>();
        if (ownEngine_->initialise() != 0)
            return nullptr;
    }
    return ownEngine_->isInitialised() ? ownEngine_.get() : nullptr;
}

uint32_t PdfTextExtractor::openDocument(CVRX_PDFDocument& document)
{
    switch (document.open(path_.c_str(), path_.size())) {
    case CVRX_PDFDocument::Opened:
        return Success;
    case CVRX_PDFDocument::PasswordRequired:
    case CVRX_PDFDocument::SecurityHandlerError:
        return Encrypted;
    default:
        return ConversionFailed;
    }
}

// Whole seconds of elapsed time, checked between pages only.
bool PdfTextExtractor::pastLimit(int64_t start, int timeLimitSeconds) const
{
    return (clock_() - start) / 1000 > timeLimitSeconds;
}

void PdfTextExtractor::appendPageText(CVRX_PDFPage& page)
{
    if (CVRX_PDFTextPage* text = page.textPage()) {
        const std::u16string units = text->text(0, text->charCount());
        sink_->appendWide(units);
    }
}

void PdfTextExtractor::savePictures(CVRX_PDFPage& page, const std::string& folder)
{
    int count = 0;
    if (!page.imageCount(count) || count < 1 || count > kMaxPicturesPerPage)
        return;
    for (int j = 1; j <= count; ++j) {
        const PdfPageObject* object = nullptr;
        if (!page.image(j, object))
            continue;
        const std::string path = picturePath(folder, pictureCounter_++, ".jpg");
        page.saveImage(object, QString::fromLocal8Bit(path.c_str(), int(path.size())).toStdWString());
    }
}

uint32_t PdfTextExtractor::walkPages(int pageLimit, int timeLimitSeconds, const std::function<void()>& opened,
                                     const std::function<void(CVRX_PDFPage&)>& step)
{
    const int64_t start = clock_();
    CVRX_PDFEngine* engine = usableEngine();
    if (engine == nullptr)
        return ConversionFailed;
    CVRX_PDFDocument document(*engine);
    const uint32_t openResult = openDocument(document);
    if (openResult != Success)
        return openResult;
    const int pages = document.pageCount();
    opened();

    uint32_t result = Success;
    for (int i = 0; i < pages && i < pageLimit; ++i) {
        CVRX_PDFPageImp* page = document.loadPage(i);
        if (page != nullptr && page->hasContent() && parsePage(*page) != CVRX_PDFPage::Done) {
            page->releasePage();
            result = PdfPageFailure;
            break;
        }
        if (page != nullptr) {
            step(*page);
            page->releasePage();
        }
        if (pastLimit(start, timeLimitSeconds)) {
            result = PdfTimeLimit;
            break;
        }
    }
    document.close();
    return result;
}

uint32_t PdfTextExtractor::extract(const std::string& folder, uint32_t flags, int timeLimitSeconds)
{
    const bool writeText = (flags & WriteText) != 0;
    const bool writePictures = (flags & WritePictures) != 0;
    const uint32_t result = walkPages(
        std::numeric_limits<int>::max(), timeLimitSeconds,
        [&] {
            if (writeText)
                sink_ = std::make_unique<TextSink>(folder);
        },
        [&](CVRX_PDFPage& page) {
            if (writeText)
                appendPageText(page);
            if (writePictures)
                savePictures(page, folder);
        });
    if (sink_)
        sink_->close();
    return result;
}

uint32_t PdfTextExtractor::getContent(QString& text, int timeLimitSeconds)
{
    const uint32_t result = walkPages(
        kContentPageLimit, timeLimitSeconds, [this] { sink_ = std::make_unique<TextSink>(std::string()); },
        [this](CVRX_PDFPage& page) { appendPageText(page); });
    // Past the time limit the text is left alone.
    if (result == Success || result == PdfPageFailure)
        text = sink_->text();
    return result;
}

}  // namespace quillet
