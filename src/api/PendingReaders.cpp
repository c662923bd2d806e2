// Readers that are not built yet answer as if the format had no reader:
// export gives 4097, naming gives null, content leaves the text alone.
#include "api/ReaderEntries.h"

#include <quillet/quillet.h>

namespace quillet {

uint32_t exportPackageDocument(const std::string&, const std::string&, uint32_t)
{
    return Unsupported;
}

void packageDocumentContent(const std::string&, QString&) {}

uint32_t exportPdfDocument(const std::string&, const std::string&, uint32_t, int)
{
    return Unsupported;
}

void pdfDocumentContent(const std::string&, QString&, int) {}

uint32_t exportRtfDocument(const std::string&, const std::string&, uint32_t)
{
    return Unsupported;
}

}  // namespace quillet
