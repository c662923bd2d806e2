#pragma once

#include <cstddef>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <tuple>

struct fz_context;
struct fz_image;
struct pdf_document;

namespace quillet {

class PdfEngine;
class PdfPage;
struct PdfPageObject;

// One PDF document opened for one driver call, with its cache of pages.
class PdfDocument {
public:
    enum OpenResult {
        Opened = 0,
        EngineFailure = -1,  // also: already open
        FileError = -2,
        FormatError = -3,
        SecurityHandlerError = -4,
        PasswordRequired = -5,
        PageError = -6,
        EngineCode7 = -8,  // no MuPDF failure maps here
    };

    explicit PdfDocument(PdfEngine& engine);
    ~PdfDocument();
    PdfDocument(const PdfDocument&) = delete;
    PdfDocument& operator=(const PdfDocument&) = delete;

    // An OpenResult; on failure nothing stays open.
    int open(const char* path, size_t length);
    int pageCount() const { return pageCount_; }
    // Null when nothing is open, the index is out of range or the page tree
    // has no page there. Pages stay cached until close.
    PdfPage* loadPage(int index);
    // 1 when nothing was open, else 0.
    int close();

    // The picture as JPEG bytes (empty when it cannot be encoded). A picture
    // placed again, as a logo on every page is, is encoded once per document.
    std::string pictureAsJpeg(const PdfPageObject& object);

    PdfEngine& engine() const { return engine_; }
    fz_context* context() const;
    pdf_document* engineDocument() const { return document_; }

private:
    PdfEngine& engine_;
    pdf_document* document_ = nullptr;
    int pageCount_ = 0;
    std::map<int, std::unique_ptr<PdfPage>> pages_;
    std::recursive_mutex loadMutex_;
    std::recursive_mutex closeMutex_;

    // Encoded pictures by image (one reference held each), stencil and painting colour.
    using PictureKey = std::tuple<const fz_image*, bool, float, float, float>;
    std::map<PictureKey, std::string> pictures_;
    size_t pictureBytes_ = 0;
    std::mutex pictureMutex_;
    void dropPictures();
};

}  // namespace quillet
