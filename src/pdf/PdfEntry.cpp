#include "pdf/PdfEntry.h"

#include <quillet/quillet.h>

namespace quillet {

// The PDF drivers are not built yet: export answers "unsupported" and the
// content call leaves the text alone.
uint32_t exportPdfDocument(const std::string&, const std::string&, uint32_t, int)
{
    return Unsupported;
}

void pdfDocumentContent(const std::string&, QString&, int) {}

}  // namespace quillet
