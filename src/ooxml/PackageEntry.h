#pragma once

// The entries through which the dispatcher reaches the OOXML package readers.

#include <QString>

#include <cstdint>
#include <string>

namespace quillet {

class DocumentRecord;

// With a record, the document's properties and parts go into it too.
uint32_t exportPackageDocument(const std::string& source, const std::string& folder, uint32_t flags,
                               DocumentRecord* record = nullptr);
// "XLSX", "DOCX", "PPTX", or null for any other archive.
const char* packageFormatName(const std::string& path);
void packageDocumentContent(const std::string& path, QString& text);

}  // namespace quillet
