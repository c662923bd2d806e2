#include "rtf/RtfEntry.h"

#include "rtf/RtfTextExtractor.h"

namespace quillet {

uint32_t exportRtfDocument(const std::string& source, const std::string& folder, uint32_t flags, DocumentRecord* record)
{
    RtfTextExtractor extractor(source);
    return extractor.exportText(folder, flags, record);
}

}  // namespace quillet
