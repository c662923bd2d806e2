#include "pdf/PdfDocument.h"

#include "pdf/PdfEngine.h"
#include "pdf/PdfJpegWriter.h"
#include "pdf/PdfPage.h"

#include <mupdf/fitz.h>
#include <mupdf/pdf.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <sys/stat.h>

namespace quillet {
namespace {

// fz_try is setjmp based: only plain values live in these helpers.
int openEngineDocument(fz_context* ctx, const char* path, pdf_document** out)
{
    pdf_document* doc = nullptr;
    int result = PdfDocument::Opened;
    fz_var(doc);
    fz_var(result);
    fz_try(ctx)
    {
        doc = pdf_open_document(ctx, path);
    }
    fz_catch(ctx)
    {
        const char* message = fz_caught_message(ctx);
        if (std::strstr(message, "encryption handler") != nullptr)
            result = PdfDocument::SecurityHandlerError;
        else if (std::strstr(message, "cannot open") != nullptr)
            result = PdfDocument::FileError;
        else
            result = PdfDocument::FormatError;
    }
    if (result != PdfDocument::Opened)
        return result;

    int pages = 0;
    fz_var(pages);
    fz_try(ctx)
    {
        if (pdf_needs_password(ctx, doc))
            result = PdfDocument::PasswordRequired;
        else
            pages = pdf_count_pages(ctx, doc);
        // Every page is an object of its own: a /Count beyond the object
        // count is a lie that would cost a failed lookup per page.
        pages = std::min(pages, pdf_xref_len(ctx, doc));
    }
    fz_catch(ctx)
    {
        result = PdfDocument::PageError;
    }
    if (result != PdfDocument::Opened || pages < 0) {
        pdf_drop_document(ctx, doc);
        return result != PdfDocument::Opened ? result : PdfDocument::PageError;
    }
    *out = doc;
    return pages;
}

}  // namespace

PdfDocument::PdfDocument(PdfEngine& engine) : engine_(engine) {}

PdfDocument::~PdfDocument()
{
    std::lock_guard<std::recursive_mutex> lock(closeMutex_);
    close();
}

fz_context* PdfDocument::context() const
{
    return engine_.context();
}

int PdfDocument::open(const char* path, size_t length)
{
    if (document_ != nullptr || !engine_.isInitialised())
        return EngineFailure;
    if (path == nullptr)
        return FileError;
    const std::string owned(path, strnlen(path, length));
    // The engine would read a directory or a device as a stream.
    struct stat st {};
    if (::stat(owned.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        return FileError;

    pdf_document* doc = nullptr;
    const int result = openEngineDocument(context(), owned.c_str(), &doc);
    if (result < 0)
        return result;
    document_ = doc;
    pageCount_ = result;
    return Opened;
}

PdfPage* PdfDocument::loadPage(int index)
{
    std::lock_guard<std::recursive_mutex> lock(loadMutex_);
    if (document_ == nullptr || index < 0 || index >= pageCount_)
        return nullptr;
    const auto cached = pages_.find(index);
    if (cached != pages_.end())
        return cached->second.get();
    auto page = std::make_unique<PdfPage>(*this);
    if (!page->bind(index))
        return nullptr;
    return pages_.emplace(index, std::move(page)).first->second.get();
}

int PdfDocument::close()
{
    std::lock_guard<std::recursive_mutex> lock(closeMutex_);
    if (document_ == nullptr)
        return 1;
    pages_.clear();
    dropPictures();
    pdf_drop_document(context(), document_);
    // Nothing cached for this document serves the next one.
    fz_empty_store(context());
    document_ = nullptr;
    pageCount_ = 0;
    return 0;
}

// Enough for the repeated pictures of any ordinary document; past it pictures
// are encoded each time they are placed.
constexpr size_t kPictureCacheBytes = 64 * 1024 * 1024;

std::string PdfDocument::pictureAsJpeg(const PdfPageObject& object)
{
    // The colour counts too: a stencil, or an image without colours, is painted in it.
    const PictureKey key{object.image, object.stencil, object.rgb[0], object.rgb[1], object.rgb[2]};
    {
        std::lock_guard<std::mutex> lock(pictureMutex_);
        const auto found = pictures_.find(key);
        if (found != pictures_.end())
            return found->second;
    }
    std::string bytes = encodePictureAsJpeg(context(), engine_.jpegEncoder(), object);
    std::lock_guard<std::mutex> lock(pictureMutex_);
    if (!bytes.empty() && object.image != nullptr && pictureBytes_ + bytes.size() <= kPictureCacheBytes &&
        pictures_.emplace(key, bytes).second) {
        // The reference keeps the image, and so the key, from being reused.
        fz_keep_image(context(), object.image);
        pictureBytes_ += bytes.size();
    }
    return bytes;
}

void PdfDocument::dropPictures()
{
    std::lock_guard<std::mutex> lock(pictureMutex_);
    for (const auto& [key, bytes] : pictures_)
        fz_drop_image(context(), const_cast<fz_image*>(std::get<0>(key)));
    pictures_.clear();
    pictureBytes_ = 0;
}

}  // namespace quillet
