#include "rtf/RtfEntry.h"

#include <quillet/quillet.h>

namespace quillet {

// The RTF reader is not built yet.
uint32_t exportRtfDocument(const std::string&, const std::string&, uint32_t)
{
    return Unsupported;
}

}  // namespace quillet
