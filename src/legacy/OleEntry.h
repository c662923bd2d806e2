#pragma once

// The entries through which the dispatcher reaches the binary Word, Excel and
// PowerPoint readers. Paths are native narrow paths.

#include <QString>

#include <cstdint>
#include <string>

namespace quillet {

class DocumentRecord;

// With a record, the document's properties and parts go into it too.
uint32_t exportOleDocument(const std::string& source, const std::string& folder, uint32_t flags,
                           DocumentRecord* record = nullptr);
// "DOC", "XLS", "PPT", or null when the file holds none of their streams.
const char* oleFormatName(const std::string& path);
// Assigns text only for a word-processing document that reads cleanly.
void oleDocumentContent(const std::string& path, QString& text);

}  // namespace quillet
