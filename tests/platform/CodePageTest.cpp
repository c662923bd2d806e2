#include "platform/CodePage.h"

#include <gtest/gtest.h>

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
