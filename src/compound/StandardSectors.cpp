#include "compound/StandardSectors.h"

namespace quillet {

size_t StandardSectors::readSector(uint8_t* buffer, int32_t index)
{
    return readSectors(buffer, index, 1);
}

size_t StandardSectors::readSectors(uint8_t* buffer, int32_t first, size_t count)
{
    const int64_t offset = first < 0 ? -1 : (static_cast<int64_t>(first) + 1) * static_cast<int64_t>(sectorSize_);
    return readFileBytes(file_, fileSize_, offset, buffer, sectorSize_ * count);
}

}  // namespace quillet
