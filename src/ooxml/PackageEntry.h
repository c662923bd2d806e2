#pragma once

// The entries through which the dispatcher reaches the OOXML package readers.

#include <QString>

#include <cstdint>
#include <string>

namespace quillet {

uint32_t exportPackageDocument(const std::string& source, const std::string& folder, uint32_t flags);
// "XLSX", "DOCX", "PPTX", or null for any other archive.
const char* packageFormatName(const std::string& path);
void packageDocumentContent(const std::string& path, QString& text);

}  // namespace quillet
