#pragma once

// The entry through which the dispatcher reaches the RTF reader.

#include <cstdint>
#include <string>

namespace quillet {

class DocumentRecord;

// With a record, the document's properties and parts go into it too.
uint32_t exportRtfDocument(const std::string& source, const std::string& folder, uint32_t flags,
                           DocumentRecord* record = nullptr);

}  // namespace quillet
