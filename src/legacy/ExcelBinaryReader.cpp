#include "legacy/BinaryReaderEntries.h"

#include <quillet/quillet.h>

namespace quillet {

// The binary spreadsheet reader is not built yet.
int exportExcelDocument(CompoundFile&, const std::string&, uint32_t)
{
    return Unsupported;
}

}  // namespace quillet
