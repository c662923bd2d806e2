#include "output/TextSink.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

using quillet::TextSink;
using namespace quillet::test;

TEST(TextSink, MemoryKeepsAsciiCjkAndListedPunctuationOnly)
{
    TextSink sink("");
    // Accented Latin, Cyrillic, kana and full-width letters never reach memory;
    // the ideograph block's two ends and the listed punctuation do.
    sink.appendWide(u"A\u00E9\u0416\u3042\uFF21\u4E00\u9FA5\u9FA6\u3002\u201C\u25CB\u25CC z");
    sink.appendWide(u"a\rb\u0007c\td\u000Be\u000Cf\nG\u0001");
    EXPECT_EQ(sink.text(), QString::fromUtf16(u"A\u4E00\u9FA5\u3002\u201C\u25CB za\nb cdef\nG"));
}

TEST(TextSink, FileGetsEveryUnitWhileMemoryDropsFieldCodesAcrossAppends)
{
    TempDir dir;
    const std::u16string first = u"ab\u0013HYPER", second = u"LINK x\u0014link\u0015\u00E9";
    {
        TextSink sink(dir.path());
        sink.appendWide(first);
        sink.appendWide(second);
        EXPECT_EQ(sink.text(), QStringLiteral("ablink"));
    }
    EXPECT_EQ(readFile(dir.file("1.txt")), utf16leBytes(first + second));
}

TEST(TextSink, Utf8RawDiscardAndMissingFolder)
{
    TempDir dir;
    const std::string bytes("x\xE4\xB8\x80y\0z", 7);
    {
        TextSink sink(dir.path());
        sink.appendUtf8(bytes);  // decoded for memory up to the first zero, written whole
        sink.writeRaw("raw");
        EXPECT_EQ(sink.text(), QString::fromUtf16(u"x\u4E00y"));
    }
    EXPECT_EQ(readFile(dir.file("1.txt")), bytes + "raw");
    {
        TextSink fileOnly(dir.path(), false);
        fileOnly.appendUtf8(bytes);
        EXPECT_EQ(fileOnly.text(), QString());
    }
    EXPECT_EQ(readFile(dir.file("1.txt")), bytes);
    {
        TextSink sink(dir.path());
        sink.discard();
    }
    EXPECT_FALSE(fileExists(dir.file("1.txt")));
    TextSink nowhere(dir.file("no/such"));
    nowhere.appendUtf8("kept");
    EXPECT_FALSE(nowhere.hasFile());
    EXPECT_EQ(nowhere.text(), QStringLiteral("kept"));
}
