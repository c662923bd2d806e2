#include "platform/CodePage.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

using quillet::platform::CodePageDecoder;

// The readers' own tests decode through the common pages; here the decoder's
// own guards: no state kept between runs, no page number beyond 16 bits.
TEST(CodePage, DecoderKeepsNoStateBetweenRunsAndRefusesPagesBeyondSixteenBits)
{
    const std::tuple<unsigned, std::string, std::u16string> cases[] = {
        {874, "\xA1", u"\u0E01"},
        {0x10000 + 1251, "\xE9", u"\u00E9"},  // not 1251: out of range, read as 1252
        {12345, "\x80", u"\u20AC"},           // unknown: read as 1252
        {936, "\xC4\xE3", u"\u4F60"},
    };
    for (const auto& [page, bytes, expected] : cases) {
        const CodePageDecoder decoder(page);
        for (int run = 0; run < 2; ++run)
            EXPECT_EQ(decoder.decode(bytes.data(), bytes.size()), expected) << page;
    }
    EXPECT_FALSE(quillet::platform::isCodePageKnown(0x10000 + 1252));
}
