// Reading one stream through its chain of sectors.
#include "compound/CompoundFileError.h"
#include "compound/CompoundStream.h"
#include "compound/Sectors.h"

#include <gtest/gtest.h>

#include <quillet/quillet.h>

#include <cstring>

using quillet::CompoundFileError;
using quillet::CompoundStream;

namespace {

// Sector n holds the bytes n*size .. n*size+size-1 of a string.
class MemorySectors : public quillet::Sectors {
public:
    MemorySectors(size_t size, std::string bytes) : size_(size), bytes_(std::move(bytes)) {}
    size_t readSector(uint8_t* buffer, int32_t index) override
    {
        ++reads;
        std::memset(buffer, 0, size_);
        const size_t at = size_t(index) * size_;
        const size_t got = at < bytes_.size() ? std::min(size_, bytes_.size() - at) : 0;
        std::memcpy(buffer, bytes_.data() + at, got);
        return got;
    }
    size_t sectorSize() const override { return size_; }
    int reads = 0;

private:
    size_t size_;
    std::string bytes_;
};

std::string counting(size_t size)
{
    std::string bytes(size, '\0');
    for (size_t i = 0; i < size; ++i)
        bytes[i] = char(i);
    return bytes;
}

}  // namespace

TEST(CompoundStream, ChainFitDecidesStatusAndSize)
{
    MemorySectors sectors(512, counting(4096));
    EXPECT_EQ(CompoundStream(sectors, 3000, {0}).status(), int(quillet::ConversionFailed));
    EXPECT_EQ(CompoundStream(sectors, 3000, {0}).size(), 512);
    EXPECT_EQ(CompoundStream(sectors, 512, {0}).status(), 0);
    EXPECT_EQ(CompoundStream(sectors, 513, {0, 1}).status(), 0);
    // Too long a chain is flagged but keeps the size.
    CompoundStream longChain(sectors, 100, {0, 1});
    EXPECT_EQ(longChain.status(), int(quillet::ConversionFailed));
    EXPECT_EQ(longChain.size(), 100);

    CompoundStream cut(sectors, 3000, {0});
    std::string bytes;
    EXPECT_THROW(cut.appendBytes(bytes, 513), CompoundFileError);
    EXPECT_TRUE(bytes.empty());
    cut.appendBytes(bytes, 512);
    EXPECT_EQ(bytes, counting(512));
    try {
        cut.readU8();
        ADD_FAILURE() << "read past the end";
    } catch (const CompoundFileError& error) {
        EXPECT_STREQ(error.what(), "stream err!");
    }
}

TEST(CompoundStream, ReadsCrossSectorBoundariesInChainOrder)
{
    // Sectors 2, 0, 1 in that order.
    MemorySectors sectors(64, counting(192));
    CompoundStream stream(sectors, 192, {2, 0, 1});
    stream.skip(62);
    EXPECT_EQ(stream.readU32(), 0x0100BFBEu);  // 128+62, 128+63, then sector 0
    EXPECT_EQ(stream.readU16(), 0x0302u);
    EXPECT_EQ(stream.position(), 68);
    EXPECT_EQ(stream.remaining(), 124);

    ASSERT_TRUE(stream.seek(191));
    EXPECT_EQ(stream.readU8(), 64 + 63);
    EXPECT_EQ(stream.remaining(), 0);
    EXPECT_THROW(stream.readU8(), CompoundFileError);

    EXPECT_FALSE(stream.seek(192));
    EXPECT_FALSE(stream.seek(-1));
    EXPECT_EQ(stream.position(), 192);
    ASSERT_TRUE(stream.seek(0));
    EXPECT_EQ(stream.readU8(), 128);
    // Seeking within the loaded sector reads nothing again.
    const int reads = sectors.reads;
    ASSERT_TRUE(stream.seek(10));
    EXPECT_EQ(stream.readU8(), 138);
    EXPECT_EQ(sectors.reads, reads);

    EXPECT_THROW(stream.skip(200), CompoundFileError);
    EXPECT_THROW(stream.skip(-1), CompoundFileError);
    stream.skip(stream.remaining());
    EXPECT_EQ(stream.remaining(), 0);
    ASSERT_TRUE(stream.seek(64));
    EXPECT_EQ(stream.readU8(), 0);
}

TEST(CompoundStream, TextInSixteenOrEightBits)
{
    const std::string bytes = std::string("a\0b\0\xE9\0\x2D\x4E", 8) + "xyz\xE9\x93";
    MemorySectors sectors(64, bytes);
    CompoundStream stream(sectors, int64_t(bytes.size()), {0});
    std::u16string text;
    stream.readText(text, 7, true);  // the odd last byte is passed over
    EXPECT_EQ(text, u"ab\u00E9");
    EXPECT_EQ(stream.position(), 7);
    stream.seek(6);
    text.clear();
    stream.readText(text, 2, true);
    EXPECT_EQ(text, u"\u4E2D");
    text.clear();
    stream.readText(text, 5, false);
    EXPECT_EQ(text, u"xyz\u00E9\u0093");
    EXPECT_THROW(stream.readText(text, 1, false), CompoundFileError);
}
