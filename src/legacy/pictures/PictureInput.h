#pragma once

#include <cstddef>
#include <cstdint>

#include "compound/CompoundStream.h"

namespace quillet {

// The bytes a picture source is read from: a compound stream, or a BIFF
// record with its CONTINUE records. Counts what it was asked for, so a walk
// can be bounded by a stored length.
class PictureInput {
public:
    virtual ~PictureInput() = default;

    uint8_t readU8()
    {
        consumed_ += 1;
        return doReadU8();
    }
    uint16_t readU16()
    {
        consumed_ += 2;
        return doReadU16();
    }
    uint32_t readU32()
    {
        consumed_ += 4;
        return doReadU32();
    }
    void readBytes(void* out, size_t count)
    {
        consumed_ += count;
        doReadBytes(out, count);
    }
    void skip(uint64_t count)
    {
        consumed_ += count;
        doSkip(count);
    }
    uint64_t consumed() const { return consumed_; }

protected:
    virtual uint8_t doReadU8() = 0;
    virtual uint16_t doReadU16() = 0;
    virtual uint32_t doReadU32() = 0;
    virtual void doReadBytes(void* out, size_t count) = 0;
    virtual void doSkip(uint64_t count) = 0;

private:
    uint64_t consumed_ = 0;
};

// Passes the drawing-group container's header and its FDGG record; false
// when the bytes are not those two.
inline bool skipDrawingGroupHeader(PictureInput& in)
{
    if (in.readU32() != 0xF000000Fu)
        return false;
    in.skip(4);
    if (in.readU32() != 0xF0060000u)
        return false;
    in.skip(in.readU32());
    return true;
}

class StreamPictureInput final : public PictureInput {
public:
    explicit StreamPictureInput(CompoundStream& stream) : stream_(stream) {}

protected:
    uint8_t doReadU8() override { return stream_.readU8(); }
    uint16_t doReadU16() override { return stream_.readU16(); }
    uint32_t doReadU32() override { return stream_.readU32(); }
    void doReadBytes(void* out, size_t count) override { stream_.readBytes(out, count); }
    // A count beyond the stream raises the stream's error rather than wrapping.
    void doSkip(uint64_t count) override
    {
        stream_.skip(count > uint64_t(INT64_MAX) ? INT64_MAX : static_cast<int64_t>(count));
    }

private:
    CompoundStream& stream_;
};

}  // namespace quillet
