#include "pdf/PdfTextExtractor.h"

#include "output/DocumentRecord.h"
#include "output/OutputPaths.h"
#include "pdf/PdfDocument.h"
#include "pdf/PdfEngine.h"
#include "pdf/PdfPage.h"
#include "pdf/PdfProperties.h"
#include "pdf/PdfTextPage.h"
#include "pdf/PdfWatchdog.h"
#include "platform/MonotonicClock.h"

#include <quillet/quillet.h>

#include <limits>

namespace quillet {

int parsePage(PdfPage& page, PdfWatchdog* watchdog)
{
    const int status = page.startParse();
    return status == PdfPage::ToBeContinued ? page.continueParse(watchdog) : status;
}

PdfTextExtractor::PdfTextExtractor(std::string path, PdfEngine* engine, Clock clock)
    : path_(std::move(path)), engine_(engine), clock_(clock != nullptr ? clock : platform::monotonicMilliseconds)
{
}

PdfTextExtractor::~PdfTextExtractor() = default;

PdfEngine* PdfTextExtractor::usableEngine()
{
    if (engine_ != nullptr && engine_->isInitialised())
        return engine_;
    // A thread that never called quilletInitialize still converts.
    if (!ownEngine_) {
        ownEngine_ = std::make_unique<PdfEngine>();
        if (ownEngine_->initialise() != 0)
            return nullptr;
    }
    return ownEngine_->isInitialised() ? ownEngine_.get() : nullptr;
}

uint32_t PdfTextExtractor::openDocument(PdfDocument& document)
{
    switch (document.open(path_.c_str(), path_.size())) {
    case PdfDocument::Opened:
        return Success;
    case PdfDocument::PasswordRequired:
    case PdfDocument::SecurityHandlerError:
        return Encrypted;
    default:
        return ConversionFailed;
    }
}

// Whole seconds of elapsed time, as the watchdog's deadline counts them.
bool PdfTextExtractor::pastLimit(int64_t start, int timeLimitSeconds) const
{
    return (clock_() - start) / 1000 > timeLimitSeconds;
}

void PdfTextExtractor::appendPageText(PdfPage& page)
{
    if (PdfTextPage* text = page.textPage()) {
        const std::u16string units = text->text(0, text->charCount());
        sink_->appendWide(units);
    }
}

void PdfTextExtractor::savePictures(PdfPage& page, const std::string& folder)
{
    int count = 0;
    if (!page.imageCount(count) || count < 1 || count > kMaxPicturesPerPage)
        return;
    for (int j = 1; j <= count; ++j) {
        const PdfPageObject* object = nullptr;
        if (!page.image(j, object))
            continue;
        const std::string path = picturePath(folder, pictureCounter_++, ".jpg");
        output_.note(page.saveImage(object, QString::fromLocal8Bit(path.c_str(), int(path.size())).toStdWString()));
    }
}

uint32_t PdfTextExtractor::walkPages(int pageLimit, int timeLimitSeconds,
                                     const std::function<void(PdfDocument&)>& opened,
                                     const std::function<void(PdfPage&)>& step)
{
    const int64_t start = clock_();
    PdfEngine* engine = usableEngine();
    if (engine == nullptr)
        return ConversionFailed;
    PdfDocument document(*engine);
    const uint32_t openResult = openDocument(document);
    if (openResult != Success)
        return openResult;
    const int pages = document.pageCount();
    // A tree that names pages but holds none is a damaged document.
    if (pages > 0 && document.loadPage(0) == nullptr) {
        document.close();
        return ConversionFailed;
    }
    opened(document);

    // The limit is passed once the elapsed whole seconds exceed it.
    PdfWatchdog watchdog(clock_, start + (int64_t(timeLimitSeconds) + 1) * 1000);
    uint32_t result = Success;
    for (int i = 0; i < pages && i < pageLimit; ++i) {
        // A /Count larger than the tree: the pages past its end are not there.
        PdfPage* page = document.loadPage(i);
        if (page == nullptr)
            break;
        const int status = page->hasContent() ? parsePage(*page, &watchdog) : PdfPage::Done;
        if (status != PdfPage::Done) {
            page->releasePage();
            result = status == PdfPage::Stopped ? PdfTimeLimit : PdfPageFailure;
            break;
        }
        step(*page);
        page->releasePage();
        if (pastLimit(start, timeLimitSeconds)) {
            result = PdfTimeLimit;
            break;
        }
    }
    document.close();
    return result;
}

uint32_t PdfTextExtractor::extract(const std::string& folder, uint32_t flags, int timeLimitSeconds,
                                   DocumentRecord* record)
{
    const bool writeText = (flags & WriteText) != 0;
    const bool writePictures = (flags & WritePictures) != 0;
    int pageNumber = 0;
    const uint32_t result = walkPages(
        std::numeric_limits<int>::max(), timeLimitSeconds,
        [&](PdfDocument& document) {
            if (record != nullptr)
                record->metadata() =
                    readPdfProperties(document.context(), document.engineDocument(), document.pageCount());
            if (writeText) {
                sink_ = std::make_unique<TextSink>(folder, TextSink::FileForm::Utf8Lines);
                sink_->setRecord(record);
            }
        },
        [&](PdfPage& page) {
            ++pageNumber;
            if (writeText) {
                sink_->beginPart("page", pageNumber);
                appendPageText(page);
            }
            if (writePictures)
                savePictures(page, folder);
        });
    if (record != nullptr && result == Encrypted)
        record->metadata().setFlag("encrypted", true);
    if (sink_)
        output_.note(sink_->close());
    return output_.result(result);
}

uint32_t PdfTextExtractor::getContent(QString& text, int timeLimitSeconds)
{
    const uint32_t result = walkPages(
        kContentPageLimit, timeLimitSeconds,
        [this](PdfDocument&) { sink_ = std::make_unique<TextSink>(std::string()); },
        [this](PdfPage& page) { appendPageText(page); });
    // Past the time limit the text is left alone.
    if (result == Success || result == PdfPageFailure)
        text = sink_->text();
    return result;
}

}  // namespace quillet
