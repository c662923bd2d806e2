#include "compound/MiniSectors.h"

#include "compound/CompoundFileError.h"

namespace quillet {

MiniSectors::MiniSectors(StdioFile& file, int64_t fileSize, int bigSectorSize, std::vector<int32_t> chain)
    : file_(file), fileSize_(fileSize), bigSectorSize_(bigSectorSize), chain_(std::move(chain)),
      perBigSector_(bigSectorSize / static_cast<int>(kSize))
{
}

bool MiniSectors::contains(int32_t index) const
{
    return index >= 0 && static_cast<size_t>(index / perBigSector_) < chain_.size();
}

int64_t MiniSectors::offsetOf(int32_t index) const
{
    const int64_t big = chain_[static_cast<size_t>(index / perBigSector_)];
    return (big + 1) * bigSectorSize_ + static_cast<int64_t>(kSize) * (index % perBigSector_);
}

size_t MiniSectors::readSector(uint8_t* buffer, int32_t index)
{
    return readSectors(buffer, index, 1);
}

size_t MiniSectors::readSectors(uint8_t* buffer, int32_t first, size_t count)
{
    size_t got = 0;
    for (size_t done = 0; done < count;) {
        const int32_t index = first + static_cast<int32_t>(done);
        if (!contains(index))
            throw CompoundFileError();
        const int64_t offset = offsetOf(index);
        size_t run = 1;
        while (done + run < count && contains(index + static_cast<int32_t>(run)) &&
               offsetOf(index + static_cast<int32_t>(run)) == offset + static_cast<int64_t>(kSize * run))
            ++run;
        got += readFileBytes(file_, fileSize_, offset, buffer + done * kSize, kSize * run);
        done += run;
    }
    return got;
}

}  // namespace quillet
