#include "legacy/BinaryReaderEntries.h"

#include <quillet/quillet.h>

namespace quillet {

// The binary presentation reader is not built yet.
int exportPresentationDocument(CompoundFile&, const std::string&, uint32_t)
{
    return Unsupported;
}

}  // namespace quillet
