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

TEST(TextSink, FieldCodesEndAtTheirSeparatorOrTheirEndAcrossAppends)
{
    // A field with no result has no separator: its end mark ends the code.
    const std::vector<std::pair<std::vector<std::u16string>, QString>> cases = {
        {{u"ab\u0013HYPER", u"LINK x\u0014link\u0015\u00E9"}, QStringLiteral("ablink")},
        {{u"a\u0013PAGE\u0015b", u"c"}, QStringLiteral("abc")},
        {{u"a\u0013NUM", u"PAGES\u0015", u"rest"}, QStringLiteral("arest")},
        {{u"a\u0013x\u0014y\u0013z\u0015w"}, QStringLiteral("ayw")},
    };
    for (const auto& [parts, expected] : cases) {
        TextSink sink("");
        for (const std::u16string& part : parts)
            sink.appendWide(part);
        EXPECT_EQ(sink.text(), expected);
    }
}

TEST(TextSink, FileGetsEveryUnitThroughItsBufferAndKeepsNoMemoryCopy)
{
    TempDir dir;
    const std::u16string first = u"ab\u0013HYPER", second = u"LINK x\u0014link\u0015\u00E9";
    const std::u16string large(TextSink::kBufferSize, u'z');  // more than the buffer in one append
    {
        TextSink sink(dir.path());
        sink.appendWide(first);
        sink.appendWide(large);
        sink.appendWide(second);
        EXPECT_TRUE(sink.text().isEmpty());
    }
    EXPECT_EQ(readFile(dir.file("1.txt")), utf16leBytes(first + large + second));
}

TEST(TextSink, Utf8RawDiscardAndMissingFolder)
{
    TempDir dir;
    const std::string bytes("x\xE4\xB8\x80y\0z", 7);
    {
        TextSink sink(dir.path());
        sink.appendUtf8(bytes);  // written whole
        sink.writeRaw("raw");
    }
    EXPECT_EQ(readFile(dir.file("1.txt")), bytes + "raw");
    TextSink memory("");
    memory.appendUtf8(bytes);  // decoded up to the first zero
    memory.writeRaw("raw");
    EXPECT_EQ(memory.text(), QString::fromUtf16(u"x\u4E00y"));
    {
        TextSink sink(dir.path());
        sink.discard();
    }
    EXPECT_FALSE(fileExists(dir.file("1.txt")));
    TextSink nowhere(dir.file("no/such"));
    nowhere.appendUtf8("lost");
    EXPECT_FALSE(nowhere.hasFile());
    EXPECT_TRUE(nowhere.text().isEmpty());
}
