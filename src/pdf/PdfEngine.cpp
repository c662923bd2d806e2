#include "pdf/PdfEngine.h"

#include <mupdf/fitz.h>
#include <turbojpeg.h>

// Defined by MuPDF beside the other handlers; its headers declare none.
extern "C" fz_document_handler pdf_document_handler;

namespace quillet {
namespace {

constexpr size_t kStoreBytes = size_t(64) << 20;

// MuPDF reports damage it repairs on stderr; a library stays quiet.
void silence(void*, const char*) {}

// Only the PDF handler: the others would pull in HTML layout and shaping.
bool registerHandlers(fz_context* ctx)
{
    bool ok = true;
    fz_var(ok);
    fz_try(ctx)
    {
        fz_register_document_handler(ctx, &pdf_document_handler);
        ok = fz_recognize_document(ctx, "application/pdf") != nullptr;
    }
    fz_catch(ctx)
    {
        ok = false;
    }
    return ok;
}

}  // namespace

PdfEngine::~PdfEngine()
{
    teardown();
}

int PdfEngine::initialise()
{
    if (context_ != nullptr)
        return 0;
    // The store caches fonts and decoded pictures; a quarter of MuPDF's
    // default keeps a thread's engine small in a long-lived process.
    fz_context* ctx = fz_new_context(nullptr, nullptr, kStoreBytes);
    if (ctx == nullptr)
        return -1;
    fz_set_warning_callback(ctx, silence, nullptr);
    fz_set_error_callback(ctx, silence, nullptr);
    if (!registerHandlers(ctx)) {
        fz_drop_context(ctx);
        return -2;
    }
    tjhandle encoder = tjInitCompress();
    if (encoder == nullptr) {
        fz_drop_context(ctx);
        return -3;
    }
    context_ = ctx;
    encoder_ = encoder;
    return 0;
}

int PdfEngine::teardown()
{
    if (context_ == nullptr)
        return -1;
    tjDestroy(encoder_);
    encoder_ = nullptr;
    fz_drop_context(context_);
    context_ = nullptr;
    return 0;
}

}  // namespace quillet
