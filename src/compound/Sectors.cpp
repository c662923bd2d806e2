#include "compound/Sectors.h"

#include "platform/StdioFile.h"

#include <cstring>

namespace quillet {

size_t Sectors::readSectors(uint8_t* buffer, int32_t first, size_t count)
{
    size_t got = 0;
    for (size_t i = 0; i < count; ++i)
        got += readSector(buffer + i * sectorSize(), first + static_cast<int32_t>(i));
    return got;
}

size_t Sectors::readFileBytes(StdioFile& file, int64_t fileSize, int64_t offset, uint8_t* buffer, size_t count)
{
    size_t got = 0;
    if (offset >= 0 && offset < fileSize)
        got = file.readAt(offset, buffer, count);
    // Never leave the previous sector's bytes behind a short read.
    std::memset(buffer + got, 0, count - got);
    return got;
}

}  // namespace quillet
