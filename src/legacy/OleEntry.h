#pragma once

// The entries through which the dispatcher reaches the binary Word, Excel and
// PowerPoint readers. Paths are native narrow paths.

#include <QString>

#include <cstdint>
#include <string>

namespace quillet {

uint32_t exportOleDocument(const std::string& source, const std::string& folder, uint32_t flags);
// "DOC", "XLS", "PPT", or null when the file holds none of their streams.
const char* oleFormatName(const std::string& path);
// Assigns text only for a word-processing document that reads cleanly.
void oleDocumentContent(const std::string& path, QString& text);

}  // namespace quillet
