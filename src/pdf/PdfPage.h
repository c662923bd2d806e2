#pragma once

#include <memory>
#include <mutex>
#include <string>
#include <vector>

struct fz_context;
struct fz_display_list;
struct fz_image;
struct fz_page;
struct pdf_obj;

namespace quillet {

class PdfDocument;
class PdfTextPage;
class PdfWatchdog;

// One object of a parsed page; only pictures are kept.
struct PdfPageObject {
    static constexpr int kImage = 3;
    int type = kImage;
    fz_image* image = nullptr;  // one reference held
    bool stencil = false;       // painted in `rgb` where the mask is set
    float rgb[3] = {0, 0, 0};
};

// One page of an open document: parsed on request into a display list, from
// which its text page and its pictures come.
class PdfPage {
public:
    // Parse status. Stopped: the watchdog ended the run at its deadline.
    enum Status { Failed = -1, NotStarted = 0, ToBeContinued = 1, Done = 3, Stopped = 4 };

    explicit PdfPage(PdfDocument& document);
    ~PdfPage();
    PdfPage(const PdfPage&) = delete;
    PdfPage& operator=(const PdfPage&) = delete;

    // Finds the page's dictionary in the page tree.
    bool bind(int index);

    bool hasContent() const { return holder_.dictionary != nullptr; }
    int startParse();
    // MuPDF runs a page whole, so one call finishes the parse, unless the
    // watchdog stops it; a stopped page parses afresh after its release.
    int continueParse(PdfWatchdog* watchdog = nullptr);
    int releasePage();
    PdfTextPage* textPage();
    bool imageCount(int& count);
    // 1-based, counted from the last picture drawn.
    bool image(int index, const PdfPageObject*& object);
    // The error number of a picture file that could not be created, else 0
    // (also when the object is no picture or does not encode).
    int saveImage(const PdfPageObject* object, const std::wstring& path);

    int status();

private:
    struct Holder {
        pdf_obj* dictionary = nullptr;
        fz_page* page = nullptr;
        fz_display_list* list = nullptr;  // the parse product
        std::recursive_mutex mutex;
        int starts = 0;
        int parses = 0;
        int status = NotStarted;
    };

    fz_context* context() const;
    bool collectObjects();
    void dropParseProducts();
    void dropObjects();

    PdfDocument& document_;
    int index_ = -1;
    Holder holder_;
    std::vector<PdfPageObject> objects_;
    bool objectsCollected_ = false;
    std::unique_ptr<PdfTextPage> textPage_;
    std::mutex releaseMutex_;
};

}  // namespace quillet
