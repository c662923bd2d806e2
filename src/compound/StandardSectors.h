#pragma once

#include "compound/Sectors.h"

namespace quillet {

// The file's own sectors: sector n starts after n + 1 sectors (the first
// holds the header).
class StandardSectors : public Sectors {
public:
    StandardSectors(StdioFile& file, int64_t fileSize, int sectorSize)
        : file_(file), fileSize_(fileSize), sectorSize_(static_cast<size_t>(sectorSize))
    {
    }

    size_t readSector(uint8_t* buffer, int32_t index) override;
    // One read for the whole run.
    size_t readSectors(uint8_t* buffer, int32_t first, size_t count) override;
    size_t sectorSize() const override { return sectorSize_; }

private:
    StdioFile& file_;
    int64_t fileSize_;
    size_t sectorSize_;
};

}  // namespace quillet
