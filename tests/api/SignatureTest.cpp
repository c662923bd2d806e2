#include "api/Signature.h"

#include <gtest/gtest.h>

#include <cstring>

using quillet::detectFormat;
using quillet::SourceFormat;

namespace {

SourceFormat formatOf(const std::string& head)
{
    unsigned char bytes[16] = {};
    std::memcpy(bytes, head.data(), std::min<size_t>(head.size(), sizeof bytes));
    return detectFormat(bytes);
}

}  // namespace

TEST(Signature, EachFormatByItsFirstBytes)
{
    EXPECT_EQ(formatOf("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1"), SourceFormat::Compound);
    EXPECT_EQ(formatOf("PK\x03\x04"), SourceFormat::Zip);
    EXPECT_EQ(formatOf("%PDF-1.7"), SourceFormat::Pdf);
    EXPECT_EQ(formatOf("{\\rtf1\\ansi"), SourceFormat::Rtf);
    EXPECT_EQ(formatOf("PK\x05\x06"), SourceFormat::Unknown);  // an empty archive holds no document
    EXPECT_EQ(formatOf("%PD"), SourceFormat::Unknown);
    EXPECT_EQ(formatOf(""), SourceFormat::Unknown);
}

TEST(Signature, RtfNeedsANonZeroFirstByteButNotABrace)
{
    EXPECT_EQ(formatOf(std::string("\0\\rtf1", 6)), SourceFormat::Unknown);
    EXPECT_EQ(formatOf("x\\rtf"), SourceFormat::Rtf);
    EXPECT_EQ(formatOf("{\\RTF1"), SourceFormat::Unknown);
}

TEST(Signature, FirstMatchingTestWins)
{
    // A compound-file signature followed by other magic stays a compound file.
    EXPECT_EQ(formatOf("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1PK\x03\x04"), SourceFormat::Compound);
    EXPECT_EQ(formatOf("PK\x03\x04%PDF"), SourceFormat::Zip);
}
