#include "pdf/PdfEntry.h"

#include "pdf/PdfTextExtractor.h"

namespace quillet {

uint32_t exportPdfDocument(const std::string& source, const std::string& folder, uint32_t flags, int timeLimitSeconds,
                           PdfEngine* engine)
{
    PdfTextExtractor extractor(source, engine);
    return extractor.extract(folder, flags, timeLimitSeconds);
}

void pdfDocumentContent(const std::string& path, QString& text, int timeLimitSeconds, PdfEngine* engine)
{
    PdfTextExtractor extractor(path, engine);
    extractor.getContent(text, timeLimitSeconds);
}

}  // namespace quillet
