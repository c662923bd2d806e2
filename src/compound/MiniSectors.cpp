#include "compound/MiniSectors.h"

#include "compound/CompoundFileError.h"

namespace quillet {

MiniSectors::MiniSectors(StdioFile& file, int64_t fileSize, int bigSectorSize, std::vector<int32_t> chain)
    : file_(file),
      fileSize_(fileSize),
      bigSectorSize_(bigSectorSize),
      chain_(std::move(chain)),
      perBigSector_(bigSectorSize / static_cast<int>(kSize))
{
}

bool MiniSectors::contains(int32_t index) const
{
    return index >= 0 && static_cast<size_t>(index / perBigSector_) < chain_.size();
}

size_t MiniSectors::readSector(uint8_t* buffer, int32_t index)
{
    if (!contains(index))
        throw CompoundFileError();
    const int64_t big = chain_[static_cast<size_t>(index / perBigSector_)];
    const int64_t offset = (big + 1) * bigSectorSize_ + static_cast<int64_t>(kSize) * (index % perBigSector_);
    return readFileBytes(file_, fileSize_, offset, buffer, kSize);
}

}  // namespace quillet
