#pragma once

#include "output/OutputFailure.h"
#include "output/TextSink.h"

#include <QString>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace quillet {

class DocumentRecord;
class PdfDocument;
class PdfEngine;
class PdfPage;
class PdfWatchdog;

// Walks a PDF page by page for one call: into "1.txt" and pictures, or into
// the in-memory text.
class PdfTextExtractor {
public:
    using Clock = int64_t (*)();

    // Without an initialised engine the extractor makes one for its call.
    // The clock counts milliseconds and never goes backwards.
    PdfTextExtractor(std::string path, PdfEngine* engine, Clock clock = nullptr);
    ~PdfTextExtractor();
    PdfTextExtractor(const PdfTextExtractor&) = delete;
    PdfTextExtractor& operator=(const PdfTextExtractor&) = delete;

    // 0, 4098 (cannot open, or no page of the tree can be found), 4102
    // (password or security handler), 4103 (time limit, checked between
    // pages and enforced inside a page by a watchdog), 4104 (a page failed);
    // instead of 0, the error number of "1.txt" or a picture file that could
    // not be created.
    // With a record, the properties and each page's start go into it too.
    uint32_t extract(const std::string& folder, uint32_t flags, int timeLimitSeconds, DocumentRecord* record = nullptr);
    // The same codes; `text` is set on 0 and 4104 only.
    uint32_t getContent(QString& text, int timeLimitSeconds);

    static constexpr int kContentPageLimit = 102;
    static constexpr int kMaxPicturesPerPage = 99;

private:
    PdfEngine* usableEngine();
    uint32_t openDocument(PdfDocument& document);
    bool pastLimit(int64_t start, int timeLimitSeconds) const;
    // Opens the document, calls opened, then hands each of the first
    // pageLimit pages to step once parsed, checking the time limit after
    // each; the tree's walk ends at the first page it does not hold. 0,
    // 4098, 4102, 4103 or 4104.
    uint32_t walkPages(int pageLimit, int timeLimitSeconds, const std::function<void(PdfDocument&)>& opened,
                       const std::function<void(PdfPage&)>& step);
    void appendPageText(PdfPage& page);
    void savePictures(PdfPage& page, const std::string& folder);

    std::string path_;
    std::unique_ptr<TextSink> sink_;
    PdfEngine* engine_;
    std::unique_ptr<PdfEngine> ownEngine_;
    Clock clock_;
    int64_t pictureCounter_ = 1;
    OutputFailure output_;
};

// The parse of a page: loaded, then run whole in one call, which the
// watchdog, when given, may stop.
int parsePage(PdfPage& page, PdfWatchdog* watchdog = nullptr);

}  // namespace quillet
