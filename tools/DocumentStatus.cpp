#include "DocumentStatus.h"

#include <quillet/quillet.h>

#include <cstring>

namespace quillet::cli {

const char* documentStatus(const DocumentResult& result, uint32_t flags)
{
    switch (result.code) {
    case quillet::Success:
        // A successful run that wrote no text is worth telling apart.
        return result.chars > 0 || (flags & quillet::WriteText) == 0 ? "ok" : "empty";
    case quillet::SharedStringsOnly:
        return "shared-strings-only";
    case quillet::Encrypted:
        return "encrypted";
    case quillet::Unsupported:
        return "unsupported";
    case quillet::Refused:
        // The same code means a PDF refused by the flags or a presentation without content.
        return std::strcmp(result.format, quillet::format::Pdf) == 0 ? "unsupported" : "empty";
    case quillet::ConversionFailed:
    case quillet::WordStructureMissing:
    case quillet::Unreadable:
    case quillet::PdfPageFailure:
        return "damaged";
    default:
        // Open errors of the source, a missing output folder, the PDF time limit.
        return "error";
    }
}

}  // namespace quillet::cli
