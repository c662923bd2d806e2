#include "legacy/excel/BiffReader.h"

#include "compound/CompoundFileError.h"
#include "compound/CompoundStream.h"

#include <algorithm>
#include <cstring>

namespace quillet {

BiffReader::BiffReader(CompoundStream& stream) : stream_(stream) {}

bool BiffReader::nextRecord()
{
    at_ = body_.size();
    return nextType() != -1;
}

int BiffReader::nextType()
{
    if (nextType_ == -1 && stream_.remaining() >= 4) {
        uint8_t header[4];
        stream_.readBytes(header, sizeof header);
        nextType_ = header[0] | (header[1] << 8);
        nextLength_ = size_t(header[2] | (header[3] << 8));
    }
    return nextType_;
}

void BiffReader::beginRecord()
{
    if (nextType_ == -1)
        throw CompoundFileError();
    type_ = nextType_;
    nextType_ = -1;
    const size_t length = nextLength_;
    at_ = 0;
    if (static_cast<int64_t>(length) > stream_.remaining()) {
        stream_.skip(stream_.remaining());
        body_.clear();
        return;
    }
    body_.resize(length);
    if (length > 0)
        stream_.readBytes(body_.data(), length);
}

bool BiffReader::continuesInNext()
{
    const int next = nextType();
    return next == kContinue || (type_ == kDrawingGroup && next == kDrawingGroup);
}

bool BiffReader::continueRecord()
{
    if (!continuesInNext())
        return false;
    beginRecord();
    return true;
}

void BiffReader::take(uint8_t* out, size_t count, bool zeroWhenAbsent)
{
    size_t got = 0;
    while (got < count) {
        if (left() == 0 && !continueRecord()) {
            if (got > 0 || !zeroWhenAbsent)
                throw CompoundFileError();
            std::memset(out, 0, count);
            return;
        }
        const size_t n = std::min(count - got, left());
        if (n == 0)
            continue;  // an empty continuation: its body may have no storage at all
        std::memcpy(out + got, body_.data() + at_, n);
        at_ += n;
        got += n;
    }
}

uint8_t BiffReader::readU8()
{
    if (left() >= 1)
        return body_[at_++];
    uint8_t value = 0;
    take(&value, 1, true);
    return value;
}

uint16_t BiffReader::readU16()
{
    uint8_t b[2];
    if (left() >= 2) {
        std::memcpy(b, body_.data() + at_, 2);
        at_ += 2;
    } else {
        take(b, sizeof b, true);
    }
    return static_cast<uint16_t>(b[0] | (b[1] << 8));
}

uint32_t BiffReader::readU32()
{
    uint8_t b[4];
    if (left() >= 4) {
        std::memcpy(b, body_.data() + at_, 4);
        at_ += 4;
    } else {
        take(b, sizeof b, false);
    }
    return uint32_t(b[0]) | (uint32_t(b[1]) << 8) | (uint32_t(b[2]) << 16) | (uint32_t(b[3]) << 24);
}

void BiffReader::readBytes(void* out, size_t count)
{
    if (count > 0)
        take(static_cast<uint8_t*>(out), count, false);
}

void BiffReader::readChars(std::u16string& out, size_t byteCount, bool sixteenBit)
{
    bool wide = sixteenBit;
    size_t wanted = byteCount;
    while (wanted > 0) {
        if (left() == 0) {
            if (!continueRecord())
                return;
            if (left() > 0) {
                const bool nowWide = body_[at_++] != 0;
                if (nowWide != wide)
                    wanted = nowWide ? wanted * 2 : wanted / 2;
                wide = nowWide;
            }
            continue;
        }
        const size_t n = std::min(wanted, left());
        const uint8_t* p = body_.data() + at_;
        if (wide) {
            // A character cut by the record's end loses its odd byte.
            for (size_t i = 0; i + 1 < n; i += 2)
                out.push_back(static_cast<char16_t>(p[i] | (p[i + 1] << 8)));
        } else {
            out.append(p, p + n);
        }
        at_ += n;
        wanted -= n;
    }
}

void BiffReader::readString(std::u16string& out)
{
    const size_t count = readU16();
    const bool wide = (readU8() & 0x01) != 0;
    readChars(out, wide ? count * 2 : count, wide);
}

void BiffReader::readRichString(std::u16string& out)
{
    const size_t count = readU16();
    const uint8_t options = readU8();
    const uint64_t runs = (options & 0x08) != 0 ? readU16() : 0;
    const uint64_t phonetic = (options & 0x04) != 0 ? readU32() : 0;
    const bool wide = (options & 0x01) != 0;
    readChars(out, wide ? count * 2 : count, wide);
    skip(4 * runs + phonetic);
}

void BiffReader::skip(uint64_t count)
{
    const int own = type_;
    while (count > 0) {
        if (left() == 0) {
            const int next = nextType();
            if (next != kContinue && next != own)
                return;
            beginRecord();
            continue;
        }
        const size_t n = static_cast<size_t>(std::min<uint64_t>(count, left()));
        at_ += n;
        count -= n;
    }
}

}  // namespace quillet
