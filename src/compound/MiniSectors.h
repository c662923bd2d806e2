#pragma once

#include "compound/Sectors.h"

#include <vector>

namespace quillet {

// The 64-byte sectors of the mini stream, which lives in the chain of
// standard sectors that the root entry names.
class MiniSectors : public Sectors {
public:
    static constexpr size_t kSize = 64;

    MiniSectors(StdioFile& file, int64_t fileSize, int bigSectorSize, std::vector<int32_t> chain);

    // Raises CompoundFileError for a sector beyond the mini stream.
    size_t readSector(uint8_t* buffer, int32_t index) override;
    // Mini sectors that lie next to each other in the file come in one read.
    size_t readSectors(uint8_t* buffer, int32_t first, size_t count) override;
    size_t sectorSize() const override { return kSize; }

    // Whether the mini stream holds the sector at all.
    bool contains(int32_t index) const;

private:
    int64_t offsetOf(int32_t index) const;

    StdioFile& file_;
    int64_t fileSize_;
    int bigSectorSize_;
    std::vector<int32_t> chain_;
    int perBigSector_;
};

}  // namespace quillet
