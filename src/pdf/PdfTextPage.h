#pragma once

#include <memory>
#include <mutex>
#include <string>

struct fz_context;
struct fz_display_list;

namespace quillet {

class PdfPage;

// The text of one parsed page in reading order as UTF-16, a line feed after
// each line, ligatures expanded, and a word hyphenated across two lines of a
// block joined (the hyphen and the line break dropped).
class PdfTextPage {
public:
    explicit PdfTextPage(PdfPage& page);
    ~PdfTextPage();
    PdfTextPage(const PdfTextPage&) = delete;
    PdfTextPage& operator=(const PdfTextPage&) = delete;

    int charCount();
    // The units [start, start + count), clamped to the text.
    std::u16string text(int start, int count);

    bool isBuilt();
    // False when the engine could not analyse the page; the text stays empty.
    bool build(fz_context* ctx, fz_display_list* list);
    void releaseEngineText();
    PdfPage& page() const { return *page_; }

private:
    PdfPage* page_;
    std::unique_ptr<std::u16string> engineText_;
    std::recursive_mutex mutex_;
};

}  // namespace quillet
