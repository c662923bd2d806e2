#include "compound/CompoundStream.h"

#include "compound/CompoundFileError.h"
#include "compound/Sectors.h"
#include "platform/ByteOrder.h"

#include <quillet/quillet.h>

#include <algorithm>
#include <cstring>

namespace quillet {

CompoundStream::CompoundStream(Sectors& sectors, int64_t size, std::vector<int32_t> chain)
    : sectors_(sectors), size_(std::max<int64_t>(size, 0)), chain_(std::move(chain)), sectorSize_(sectors.sectorSize())
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
    // Only as many sectors as the stream still needs from here, in one run
    // of consecutive sector numbers.
    const int64_t sector = static_cast<int64_t>(sectorSize_);
    const int64_t needed = (size_ - static_cast<int64_t>(next_) * sector + sector - 1) / sector;
    const size_t most = static_cast<size_t>(std::clamp<int64_t>(needed, 1, kRunBytes / sectorSize_));
    size_t count = 1;
    while (count < most && next_ + count < chain_.size() &&
           int64_t(chain_[next_ + count]) == int64_t(chain_[next_ + count - 1]) + 1)
        ++count;
    if (buffer_.size() < count * sectorSize_)
        buffer_.resize(count * sectorSize_);
    sectors_.readSectors(buffer_.data(), chain_[next_], count);
    runStart_ = next_;
    loaded_ = count;
    next_ += count;
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
        const size_t take = std::min(count, loadedBytes() - offset_);
        if (out != nullptr) {
            std::memcpy(out, buffer_.data() + offset_, take);
            out += take;
        }
        offset_ += take;
        position_ += static_cast<int64_t>(take);
        count -= take;
        if (offset_ == loadedBytes())
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
    static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "UTF-16LE units are copied as they are");
    require(static_cast<int64_t>(byteCount));
    const size_t start = out.size();
    if (unicode) {
        const size_t units = byteCount / 2;
        out.resize(start + units);
        consume(reinterpret_cast<uint8_t*>(&out[start]), units * 2);
        consume(nullptr, byteCount % 2);
        return;
    }
    out.resize(start + byteCount);
    uint8_t chunk[4096];
    for (size_t done = 0; done < byteCount;) {
        const size_t take = std::min(sizeof chunk, byteCount - done);
        consume(chunk, take);
        for (size_t i = 0; i < take; ++i)
            out[start + done + i] = static_cast<char16_t>(chunk[i]);
        done += take;
    }
}

bool CompoundStream::seek(int64_t position)
{
    if (position < 0 || position >= size_)
        return false;
    const size_t index = static_cast<size_t>(position / static_cast<int64_t>(sectorSize_));
    const bool loaded = index >= runStart_ && index < runStart_ + loaded_;
    if (!loaded && index < chain_.size()) {
        next_ = index;
        loadNext();
    }
    position_ = position;
    offset_ = (index - runStart_) * sectorSize_ + static_cast<size_t>(position % static_cast<int64_t>(sectorSize_));
    return true;
}

uint16_t CompoundStream::readU16At(int64_t position)
{
    if (!seek(position))
        throw CompoundFileError();
    return readU16();
}

uint32_t CompoundStream::readU32At(int64_t position)
{
    if (!seek(position))
        throw CompoundFileError();
    return readU32();
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
    offset_ = 0;
    loaded_ = 0;
    runStart_ = next_ = chain_.size();
}

}  // namespace quillet
