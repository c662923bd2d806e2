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

class CVRX_PDFDocument;
class CVRX_PDFTextPage;

// One object of a parsed page; only pictures are kept.
struct PdfPageObject {
    static constexpr int kImage = 3;
    int type = kImage;
    fz_image* image = nullptr;  // one reference held
    bool stencil = false;       // painted in `rgb` where the mask is set
    float rgb[3] = {0, 0, 0};
};

class CVRX_PDFPage {
public:
    // Parse status.
    enum Status { Failed = -1, NotStarted = 0, ToBeContinued = 1, Done = 3 };

    virtual ~CVRX_PDFPage() = default;
    virtual bool hasContent() const = 0;
    virtual int startParse() = 0;
    virtual int continueParse(int budgetMilliseconds) = 0;
    virtual int releasePage() = 0;
    virtual CVRX_PDFTextPage* textPage() = 0;
    virtual bool imageCount(int& count) = 0;
    // 1-based, counted from the last picture drawn.
    virtual bool image(int index, const PdfPageObject*& object) = 0;
    virtual void saveImage(const PdfPageObject* object, const std::wstring& path) = 0;
};

class CVRX_PDFPageImp : public CVRX_PDFPage {
public:
    explicit CVRX_PDFPageImp(CVRX_PDFDocument& document);
    ~CVRX_PDFPageImp() override;
    CVRX_PDFPageImp(const CVRX_PDFPageImp&) = delete;
    CVRX_PDFPageImp& operator=(const CVRX_PDFPageImp&) = delete;

    // Finds the page's dictionary in the page tree.
    bool bind(int index);

    bool hasContent() const override { return holder_.dictionary != nullptr; }
    int startParse() override;
    int continueParse(int budgetMilliseconds) override;
    int releasePage() override;
    CVRX_PDFTextPage* textPage() override;
    bool imageCount(int& count) override;
    bool image(int index, const PdfPageObject*& object) override;
    void saveImage(const PdfPageObject* object, const std::wstring& path) override;

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

    CVRX_PDFDocument& document_;
    int index_ = -1;
    Holder holder_;
    std::vector<PdfPageObject> objects_;
    bool objectsCollected_ = false;
    std::unique_ptr<CVRX_PDFTextPage> textPage_;
    std::mutex releaseMutex_;
};

}  // namespace quillet
