#pragma once

// The entries through which the dispatcher reaches the PDF drivers.

#include <QString>

#include <cstdint>
#include <string>

namespace quillet {

class PdfEngine;

// `engine` is the calling thread's engine, or null when the thread never
// initialised one; a temporary engine then serves the call.
uint32_t exportPdfDocument(const std::string& source, const std::string& folder, uint32_t flags, int timeLimitSeconds,
                           PdfEngine* engine);
void pdfDocumentContent(const std::string& path, QString& text, int timeLimitSeconds, PdfEngine* engine);

}  // namespace quillet
