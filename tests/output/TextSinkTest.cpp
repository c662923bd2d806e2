#include "output/TextSink.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

using quillet::TextSink;
using quillet::test::readFile;
using quillet::test::TempDir;
using quillet::test::utf16leBytes;

TEST(TextSinkFilter, KeepsAsciiCjkAndListedPunctuationOnly)
{
    TextSink sink("");
    // Hiragana, accented Latin, Cyrillic and full-width letters never reach memory;
    // ideographs at both ends of the block and the listed punctuation do.
    sink.appendWide(u"A\u00E9\u0416\u3042\uFF21\u4E00\u9FA5\u9FA6\u3002\u201C\u25CB\u25CC z");
    EXPECT_EQ(sink.text(), QString::fromUtf16(u"A\u4E00\u9FA5\u3002\u201C\u25CB z"));
}

TEST(TextSinkFilter, ControlCharactersAndBreaks)
{
    TextSink sink("");
    sink.appendWide(u"a\rb\u0007c\td\u000Be\u000Cf\nG\u0001");
    EXPECT_EQ(sink.text(), QStringLiteral("a\nb cdef\nG"));
}

TEST(TextSinkFilter, FieldCodesAreDroppedAcrossAppends)
{
    TempDir dir;
    const std::u16string first = u"ab\u0013HYPER";
    const std::u16string second = u"LINK x\u0014link\u0015\u00E9";
    {
        TextSink sink(dir.path());
        sink.appendWide(first);
        EXPECT_EQ(sink.text(), QStringLiteral("ab"));
        sink.appendWide(second);
        EXPECT_EQ(sink.text(), QStringLiteral("ablink"));
        sink.close();
    }
    // The file receives every unit, unfiltered, as UTF-16LE without a BOM.
    EXPECT_EQ(readFile(dir.file("1.txt")), utf16leBytes(first + second));
}

TEST(TextSinkFilter, Utf8IsDecodedUpToTheFirstZeroButWrittenWhole)
{
    TempDir dir;
    const std::string bytes("x\xE4\xB8\x80y\0z", 7);
    {
        TextSink sink(dir.path());
        sink.appendUtf8(bytes);
        EXPECT_EQ(sink.text(), QString::fromUtf16(u"x\u4E00y"));
    }
    EXPECT_EQ(readFile(dir.file("1.txt")), bytes);
}

TEST(TextSinkFile, RawBytesSkipMemoryAndDiscardRemovesTheFile)
{
    TempDir dir;
    {
        TextSink sink(dir.path());
        sink.writeRaw("raw");
        sink.appendUtf8("\r\n");
        EXPECT_EQ(sink.text(), QStringLiteral("\n\n"));
        sink.close();
        EXPECT_EQ(readFile(dir.file("1.txt")), "raw\r\n");
    }
    {
        TextSink sink(dir.path());
        sink.appendUtf8("gone");
        sink.discard();
    }
    EXPECT_FALSE(quillet::test::fileExists(dir.file("1.txt")));
}

TEST(TextSinkFile, MissingFolderMakesWritesHarmless)
{
    TempDir dir;
    TextSink sink(dir.file("no/such"));
    EXPECT_FALSE(sink.hasFile());
    sink.appendUtf8("still kept");
    sink.writeRaw("dropped");
    EXPECT_EQ(sink.text(), QStringLiteral("still kept"));
}
