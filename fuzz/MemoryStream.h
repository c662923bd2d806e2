#pragma once

// A compound stream over the fuzzer's bytes, laid out as consecutive sectors,
// so a reader can be driven without building a compound file around them.

#include "compound/CompoundStream.h"
#include "compound/Sectors.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <numeric>

class MemorySectors : public quillet::Sectors {
public:
    MemorySectors(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    size_t readSector(uint8_t* buffer, int32_t index) override
    {
        const size_t at = size_t(index) * kSize, n = at < size_ ? std::min(kSize, size_ - at) : 0;
        std::memcpy(buffer, data_ + at, n);
        std::memset(buffer + n, 0, kSize - n);
        return n;
    }
    size_t sectorSize() const override { return kSize; }

    std::unique_ptr<quillet::CompoundStream> stream()
    {
        std::vector<int32_t> chain(std::max<size_t>((size_ + kSize - 1) / kSize, 1));
        std::iota(chain.begin(), chain.end(), 0);
        return std::make_unique<quillet::CompoundStream>(*this, int64_t(size_), chain);
    }

private:
    static constexpr size_t kSize = 512;
    const uint8_t* data_;
    size_t size_;
};
