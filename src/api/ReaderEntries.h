#pragma once

// The entries through which the dispatcher reaches each reader. Paths are
// native narrow paths; folders are the caller's output folder.

#include <QString>

#include <cstdint>
#include <string>

namespace quillet {

// OLE2 compound files: binary Word, Excel and PowerPoint documents.
uint32_t exportOleDocument(const std::string& source, const std::string& folder, uint32_t flags);
// "DOC", "XLS", "PPT", or null when the file holds none of their streams.
const char* oleFormatName(const std::string& path);
// Assigns text only for a word-processing document that reads cleanly.
void oleDocumentContent(const std::string& path, QString& text);

// ZIP packages: OOXML documents.
uint32_t exportPackageDocument(const std::string& source, const std::string& folder, uint32_t flags);
const char* packageFormatName(const std::string& path);
void packageDocumentContent(const std::string& path, QString& text);
// Builds the element and attribute name tables once per process.
void ensureNameTables();

// PDF.
uint32_t exportPdfDocument(const std::string& source, const std::string& folder, uint32_t flags,
                           int timeLimitSeconds);
void pdfDocumentContent(const std::string& path, QString& text, int timeLimitSeconds);

// RTF.
uint32_t exportRtfDocument(const std::string& source, const std::string& folder, uint32_t flags);

}  // namespace quillet
