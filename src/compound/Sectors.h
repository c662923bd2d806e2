#pragma once

#include <cstddef>
#include <cstdint>

namespace quillet {

class StdioFile;

// Fixed-size blocks of a compound file, addressed by index.
class Sectors {
public:
    virtual ~Sectors() = default;
    // Fills one sector; bytes beyond the end of the file read as zero.
    // Returns the number of bytes that came from the file.
    virtual size_t readSector(uint8_t* buffer, int32_t index) = 0;
    virtual size_t sectorSize() const = 0;
    // count consecutive sectors from first on; the same as count calls of
    // readSector, which is what this default does.
    virtual size_t readSectors(uint8_t* buffer, int32_t first, size_t count);

protected:
    // count bytes at offset, zero-filled where the file ends first.
    static size_t readFileBytes(StdioFile& file, int64_t fileSize, int64_t offset, uint8_t* buffer, size_t count);
};

}  // namespace quillet
