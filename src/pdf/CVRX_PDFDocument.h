#pragma once

#include <cstddef>
#include <map>
#include <memory>
#include <mutex>

struct fz_context;
struct pdf_document;

namespace quillet {

class CVRX_PDFEngine;
class CVRX_PDFPageImp;

// One PDF document opened for one driver call, with its cache of pages.
class CVRX_PDFDocument {
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

    explicit CVRX_PDFDocument(CVRX_PDFEngine& engine);
    ~CVRX_PDFDocument();
    CVRX_PDFDocument(const CVRX_PDFDocument&) = delete;
    CVRX_PDFDocument& operator=(const CVRX_PDFDocument&) = delete;

    // An OpenResult; on failure nothing stays open.
    int open(const char* path, size_t length);
    int pageCount() const { return pageCount_; }
    // Null when nothing is open, the index is out of range or the page tree
    // has no page there. Pages stay cached until close.
    CVRX_PDFPageImp* loadPage(int index);
    // 1 when nothing was open, else 0.
    int close();

    CVRX_PDFEngine& engine() const { return engine_; }
    fz_context* context() const;
    pdf_document* engineDocument() const { return document_; }

private:
    CVRX_PDFEngine& engine_;
    pdf_document* document_ = nullptr;
    int pageCount_ = 0;
    std::map<int, std::unique_ptr<CVRX_PDFPageImp>> pages_;
    std::recursive_mutex loadMutex_;
    std::recursive_mutex closeMutex_;
};

}  // namespace quillet
