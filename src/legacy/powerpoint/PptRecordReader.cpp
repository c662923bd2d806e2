#include "legacy/powerpoint/PptRecordReader.h"

#include "compound/CompoundFileError.h"
#include "compound/CompoundStream.h"

#include <algorithm>

namespace quillet {

PptRecordReader::PptRecordReader(CompoundStream& stream, int64_t* work) : stream_(stream), work_(work)
{
    if (stream_.remaining() < 8)
        return;
    consumed(8);
    const int64_t after = stream_.remaining() - 8;
    if (!readHeader())
        return;
    // A container's length is not checked, but nothing lies past the stream:
    // its end is where the stream ends.
    budget_ = std::min<int64_t>(length_, after);
    bodyLength_ = kPending;
    pendingValid_ = version_ == 0xF || length_ <= after;
}

bool PptRecordReader::readHeader()
{
    const uint16_t word = stream_.readU16();
    version_ = word & 0xF;
    instance_ = word >> 4;
    type_ = stream_.readU16();
    length_ = static_cast<int32_t>(stream_.readU32());
    return version_ == 0xF || length_ >= 0;
}

void PptRecordReader::consumed(int64_t count)
{
    if (work_ == nullptr)
        return;
    *work_ -= count;
    if (*work_ < 0)
        throw CompoundFileError();
}

bool PptRecordReader::next()
{
    if (bodyLength_ == kPending)
        return pendingValid_;
    if (position_ != bodyLength_)
        throw CompoundFileError();
    if (budget_ < 8)
        return false;
    budget_ -= 8;
    consumed(8);
    bodyLength_ = kPending;
    pendingValid_ = readHeader() && (version_ == 0xF || length_ <= budget_);
    return pendingValid_;
}

void PptRecordReader::enter()
{
    if (bodyLength_ != kPending || !pendingValid_)
        throw CompoundFileError();
    position_ = 0;
    bodyLength_ = version_ == 0xF ? 0 : length_;
}

void PptRecordReader::enterAsContainer()
{
    enter();
    bodyLength_ = 0;
}

void PptRecordReader::require(int64_t count)
{
    if (count > budget_ || count > bytesLeft())
        throw CompoundFileError();
    consumed(count);
    budget_ -= count;
    position_ += count;
}

uint32_t PptRecordReader::readU32()
{
    require(4);
    return stream_.readU32();
}

uint16_t PptRecordReader::readU16()
{
    require(2);
    return stream_.readU16();
}

void PptRecordReader::readBytes(std::string& out, int64_t count)
{
    out.clear();
    if (count < 1)
        return;
    require(count);
    stream_.appendBytes(out, static_cast<size_t>(count));
}

void PptRecordReader::readText(std::u16string& out, int64_t count, bool wide)
{
    out.clear();
    if (count < 1)
        return;
    require(count);
    stream_.readText(out, static_cast<size_t>(count), wide);
}

void PptRecordReader::skip(int64_t count)
{
    if (count < 1)
        return;
    require(count);
    stream_.skip(count);
}

void PptRecordReader::skipRest()
{
    skip(bytesLeft());
}

}  // namespace quillet
