#include "platform/CodePage.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

using quillet::platform::codePageToUtf16;

TEST(CodePage, WindowsPagesDecodeAndUnknownOnesFallBackToWestern)
{
    EXPECT_EQ(codePageToUtf16(1252, "\x80\x93\xE9", 3), u"\u20AC\u201C\u00E9");
    EXPECT_EQ(codePageToUtf16(0, "\x85", 1), u"\u2026");
    EXPECT_EQ(codePageToUtf16(936, "\xD6\xD0", 2), u"\u4E2D");
    EXPECT_EQ(codePageToUtf16(932, "\x82\xA0", 2), u"\u3042");
    EXPECT_EQ(codePageToUtf16(65001, "\xE4\xB8\xAD", 3), u"\u4E2D");
    EXPECT_FALSE(quillet::platform::isCodePageKnown(12345));
    EXPECT_EQ(codePageToUtf16(12345, "\x80", 1), u"\u20AC");
}

TEST(CodePage, DecoderKeepsNoStateBetweenRunsAndRefusesPagesBeyondSixteenBits)
{
    using quillet::platform::CodePageDecoder;
    const std::tuple<unsigned, std::string, std::u16string> cases[] = {
        {1251, "\xCF\xF0\xE8", u"\u041F\u0440\u0438"},
        {874, "\xA1", u"\u0E01"},
        {0x10000 + 1251, "\xE9", u"\u00E9"},  // not 1251: out of range, read as 1252
        {936, "\xC4\xE3", u"\u4F60"},
    };
    for (const auto& [page, bytes, expected] : cases) {
        const CodePageDecoder decoder(page);
        EXPECT_EQ(decoder.codePage(), page);
        for (int run = 0; run < 2; ++run)
            EXPECT_EQ(decoder.decode(bytes.data(), bytes.size()), expected) << page;
    }
    EXPECT_FALSE(quillet::platform::isCodePageKnown(0x10000 + 1252));
}
