#pragma once

// The entries through which the dispatcher reaches the PDF drivers.

#include <QString>

#include <cstdint>
#include <string>

namespace quillet {

uint32_t exportPdfDocument(const std::string& source, const std::string& folder, uint32_t flags,
                           int timeLimitSeconds);
void pdfDocumentContent(const std::string& path, QString& text, int timeLimitSeconds);

}  // namespace quillet
