#include "compound/CompoundStream.h"

#include "compound/ByteOrder.h"
#include "compound/CompoundFileError.h"
#include "compound/Sectors.h"

#include <quillet/quillet.h>

#include <algorithm>
#include <cstring>

namespace quillet {

CompoundStream::CompoundStream(Sectors& sectors, int64_t size, std::vector<int32_t> chain)
    : sectors_(sectors),
      size_(std::max<int64_t>(size, 0)),
      chain_(std::move(chain)),
      buffer_(sectors.sectorSize()),
      sectorSize_(sectors.sectorSize())
{
    const int64_t sector = static_cast<int64_t>(sectorSize_);
    const int64_t capacity = static_cast<int64_t>(chain_.size()) * sector;
    const bool fits = !chain_.empty() && capacity - sector < size_ && size_ <= capacity;
    if (!fits) {
        status_ = ConversionFailed;
        size_ = std::min(size_, capacity);
    }
    loadNext();
}

void CompoundStream::loadNext()
{
    if (next_ >= chain_.size()) {
        if (remaining() > 0)
            status_ = ConversionFailed;
        return;
    }
    sectors_.readSector(buffer_.data(), chain_[next_]);
    ++next_;
    offset_ = 0;
}

void CompoundStream::require(int64_t count) const
{
    if (count < 0 || count > remaining())
        throw CompoundFileError();
}

void CompoundStream::consume(uint8_t* out, size_t count)
{
    while (count > 0) {
        const size_t take = std::min(count, sectorSize_ - offset_);
        if (out != nullptr) {
            std::memcpy(out, buffer_.data() + offset_, take);
            out += take;
        }
        offset_ += take;
        position_ += static_cast<int64_t>(take);
        count -= take;
        if (offset_ == sectorSize_)
            loadNext();
    }
}

uint8_t CompoundStream::readU8()
{
    uint8_t value = 0;
    readBytes(&value, 1);
    return value;
}

uint16_t CompoundStream::readU16()
{
    uint8_t bytes[2];
    readBytes(bytes, sizeof bytes);
    return loadU16(bytes);
}

uint32_t CompoundStream::readU32()
{
    uint8_t bytes[4];
    readBytes(bytes, sizeof bytes);
    return loadU32(bytes);
}

void CompoundStream::readBytes(void* buffer, size_t count)
{
    require(static_cast<int64_t>(count));
    consume(static_cast<uint8_t*>(buffer), count);
}

void CompoundStream::appendBytes(std::string& out, size_t count)
{
    require(static_cast<int64_t>(count));
    const size_t start = out.size();
    out.resize(start + count);
    consume(reinterpret_cast<uint8_t*>(&out[start]), count);
}

void CompoundStream::readText(std::u16string& out, size_t byteCount, bool unicode)
{
    require(static_cast<int64_t>(byteCount));
    std::string bytes;
    bytes.resize(byteCount);
    consume(reinterpret_cast<uint8_t*>(bytes.data()), byteCount);
    const auto* p = reinterpret_cast<const uint8_t*>(bytes.data());
    if (unicode) {
        const size_t units = byteCount / 2;
        out.reserve(out.size() + units);
        for (size_t i = 0; i < units; ++i)
            out.push_back(static_cast<char16_t>(loadU16(p + 2 * i)));
    } else {
        out.reserve(out.size() + byteCount);
        for (size_t i = 0; i < byteCount; ++i)
            out.push_back(static_cast<char16_t>(p[i]));
    }
}

bool CompoundStream::seek(int64_t position)
{
    if (position < 0 || position >= size_)
        return false;
    const size_t index = static_cast<size_t>(position / static_cast<int64_t>(sectorSize_));
    const bool loaded = next_ >= 1 && next_ - 1 == index && offset_ < sectorSize_;
    if (!loaded && index < chain_.size()) {
        next_ = index;
        loadNext();
    }
    position_ = position;
    offset_ = static_cast<size_t>(position % static_cast<int64_t>(sectorSize_));
    return true;
}

void CompoundStream::skip(int64_t count)
{
    require(count);
    if (count == 0)
        return;
    const int64_t target = position_ + count;
    if (target < size_) {
        seek(target);
        return;
    }
    // To the very end: nothing more will be read.
    position_ = target;
    offset_ = sectorSize_;
    next_ = chain_.size();
}

}  // namespace quillet
