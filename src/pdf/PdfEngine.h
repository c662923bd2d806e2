#pragma once

// The PDF engine of one thread: a MuPDF context with its document handlers
// and the JPEG encoder used for pictures. Made by quilletInitialize, torn
// down by quilletDestory; a thread that never initialised gets one for the
// length of a single conversion.

struct fz_context;

namespace quillet {

class PdfEngine {
public:
    PdfEngine() = default;
    ~PdfEngine();
    PdfEngine(const PdfEngine&) = delete;
    PdfEngine& operator=(const PdfEngine&) = delete;

    // 0 on success; -1 no context (allocator, store, colour and font
    // tables), -2 no PDF document handler, -3 no JPEG encoder.
    int initialise();
    // -1 when not initialised, else 0.
    int teardown();
    bool isInitialised() const { return context_ != nullptr; }

    fz_context* context() const { return context_; }
    void* jpegEncoder() const { return encoder_; }

private:
    fz_context* context_ = nullptr;
    void* encoder_ = nullptr;
};

}  // namespace quillet
