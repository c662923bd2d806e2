// Bytes as the "Workbook" record stream, read straight from memory: the
// first byte picks the export flags, the rest are the records.
#include "FuzzScratch.h"

#include "compound/CompoundFileError.h"
#include "compound/CompoundStream.h"
#include "compound/Sectors.h"
#include "legacy/ExcelBinaryReader.h"

#include <quillet/quillet.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <numeric>
#include <string>
#include <vector>

namespace {

class MemorySectors : public quillet::Sectors {
public:
    MemorySectors(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    size_t readSector(uint8_t* buffer, int32_t index) override
    {
        const size_t at = size_t(index) * kSize;
        const size_t n = at < size_ ? std::min(kSize, size_ - at) : 0;
        std::memcpy(buffer, data_ + at, n);
        std::memset(buffer + n, 0, kSize - n);
        return n;
    }
    size_t sectorSize() const override { return kSize; }

private:
    static constexpr size_t kSize = 512;
    const uint8_t* data_;
    size_t size_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static FuzzScratch scratch;
    if (!scratch.ready() || size < 1)
        return 0;
    static const uint32_t kFlags[] = {0x10, 0x110, 0x111, 0x01};
    const uint32_t flags = kFlags[data[0] % 4];
    MemorySectors sectors(data + 1, size - 1);
    std::vector<int32_t> chain(std::max<size_t>((size - 1 + 511) / 512, 1));
    std::iota(chain.begin(), chain.end(), 0);
    quillet::CompoundStream stream(sectors, int64_t(size - 1), chain);
    const std::string out = scratch.file("out");
    std::filesystem::create_directory(out);
    try {
        quillet::ExcelBinaryReader reader;
        reader.exportWorkbook(stream, out, flags);
    } catch (const quillet::CompoundFileError&) {
        // a defined end: 4098 at the library boundary
    }
    return 0;
}
