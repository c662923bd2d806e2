#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace quillet {

class Sectors;

// One stream of a compound file, read through a buffer that holds a run of
// sectors lying next to each other in the file, loaded with one read. Every
// read or skip that asks for more than remains raises CompoundFileError.
// The sectors belong to the compound file, which must outlive the stream.
class CompoundStream {
public:
    // A chain that cannot hold size bytes sets status 4098 and cuts the
    // size to what the chain holds.
    CompoundStream(Sectors& sectors, int64_t size, std::vector<int32_t> chain);
    CompoundStream(const CompoundStream&) = delete;
    CompoundStream& operator=(const CompoundStream&) = delete;

    uint8_t readU8();
    uint16_t readU16();
    uint32_t readU32();
    void readBytes(void* buffer, size_t count);
    void appendBytes(std::string& out, size_t count);
    // With unicode, byteCount / 2 UTF-16LE units (an odd last byte is passed
    // over); without, each byte becomes the unit of the same value.
    void readText(std::u16string& out, size_t byteCount, bool unicode);

    // False, and nothing moves, unless 0 <= position < size.
    bool seek(int64_t position);
    // Read at a fixed offset; an offset outside the stream raises CompoundFileError.
    uint16_t readU16At(int64_t position);
    uint32_t readU32At(int64_t position);
    void skip(int64_t count);

    int64_t size() const { return size_; }
    int64_t position() const { return position_; }
    int64_t remaining() const { return size_ - position_; }
    int status() const { return status_; }

    // Bytes a run load reads at most.
    static constexpr size_t kRunBytes = 64 * 1024;

private:
    void require(int64_t count) const;
    void loadNext();
    size_t loadedBytes() const { return loaded_ * sectorSize_; }
    // count bytes that require() has admitted; out may be null to skip.
    void consume(uint8_t* out, size_t count);

    Sectors& sectors_;
    int64_t size_;
    int64_t position_ = 0;
    int status_ = 0;
    std::vector<int32_t> chain_;
    size_t next_ = 0;  // chain index of the next sector to load
    std::vector<uint8_t> buffer_;
    size_t offset_ = 0;    // in buffer_
    size_t runStart_ = 0;  // chain index of the first sector in buffer_
    size_t loaded_ = 0;    // sectors in buffer_
    size_t sectorSize_;
};

}  // namespace quillet
