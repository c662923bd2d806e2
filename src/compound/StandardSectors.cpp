#include "compound/StandardSectors.h"

namespace quillet {

size_t StandardSectors::readSector(uint8_t* buffer, int32_t index)
{
    const int64_t offset = index < 0 ? -1 : (static_cast<int64_t>(index) + 1) * static_cast<int64_t>(sectorSize_);
    return readFileBytes(file_, fileSize_, offset, buffer, sectorSize_);
}

}  // namespace quillet
