#include "compound/Sectors.h"

#include "platform/StdioFile.h"

#include <cstring>

namespace quillet {

size_t Sectors::readFileBytes(StdioFile& file, int64_t fileSize, int64_t offset, uint8_t* buffer,
                              size_t count)
{
    size_t got = 0;
    if (offset >= 0 && offset < fileSize) {
        file.seek(offset);
        got = file.read(buffer, count);
    }
    // Never leave the previous sector's bytes behind a short read.
    std::memset(buffer + got, 0, count - got);
    return got;
}

}  // namespace quillet
