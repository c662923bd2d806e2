#include "output/TextSink.h"
#include "output/TextFileReencoding.h"
#include "output/Utf8LineDecoder.h"
#include "output/Utf8LineEncoder.h"
#include "platform/WriteError.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <unistd.h>
#include <vector>

using quillet::finishTextFile;
using quillet::reencodeTextFileToUtf8;
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

// The UTF-8 draft against the two files the UTF-16 path leaves: the
// re-encoded "1.txt" of a success, the units as appended of a failure.
TEST(TextSink, Utf8LinesEndAsTheReencodedFileOrGiveBackTheUnits)
{
    std::u16string longLine(70000, u'a');
    longLine[16383] = 0xD83D;  // a pair across the encoder's slices
    longLine[16384] = 0xDE00;
    std::u16string lateLone(70000, u'b');
    lateLone[69000] = 0xDC01;  // after the buffer has gone to the draft
    const std::vector<std::vector<std::u16string>> cases = {
        {},
        {u""},
        {u"plain ASCII, no line end"},
        {u"a\r\nb\n", u"\n\rc\r"},
        {std::u16string(u"\u00E9\u0416\u4E00\uFFFD\0x\n", 7)},
        {u"pair split \xD83D", u"\xDE00 across appends\n"},
        {u"lone high \xD800 then text"},
        {u"x", u"lone low \xDC00"},
        {u"ends in a high \xD83D"},
        {u"high waiting \xD83D", u"y no partner"},
        {longLine, u"\n"},
        {u"start\n", lateLone},
    };
    for (const auto& parts : cases) {
        std::u16string whole;
        for (const auto& part : parts)
            whole += part;
        TempDir reference;
        writeFile(reference.file("1.txt"), utf16leBytes(whole));
        reencodeTextFileToUtf8(reference.path());
        for (const bool succeeded : {true, false}) {
            TempDir dir;
            {
                TextSink sink(dir.path(), TextSink::FileForm::Utf8Lines);
                for (const auto& part : parts)
                    sink.appendWide(part);
                EXPECT_EQ(sink.close(), 0);
            }
            finishTextFile(dir.path(), succeeded);
            EXPECT_EQ(listFolder(dir.path()), std::vector<std::string>{"1.txt"});
            const std::string expected = succeeded ? readFile(reference.file("1.txt")) : utf16leBytes(whole);
            EXPECT_EQ(readFile(dir.file("1.txt")), expected)
                << (succeeded ? "success " : "failure ") << whole.size() << " units";
        }
    }
}

TEST(TextSink, Utf8LinesTakeRawBytesAsTheUtf16FileDoes)
{
    TempDir dir;
    {
        TextSink sink(dir.path(), TextSink::FileForm::Utf8Lines);
        sink.appendWide(u"w\u00E9\n");
        sink.appendUtf8("ab");  // two bytes that the UTF-16 file reads as one unit
    }
    EXPECT_EQ(readFile(dir.file("1.txt")), utf16leBytes(u"w\u00E9\n") + "ab");
    finishTextFile(dir.path(), true);
    EXPECT_EQ(readFile(dir.file("1.txt")), "w\xC3\xA9\r\n\xE6\x89\xA1\r\n");

    // A draft from an unfinished run, and a failed write to the draft.
    TempDir stale;
    writeFile(stale.file("1.txtutf8.txt"), "old");
    {
        TextSink sink(stale.path(), TextSink::FileForm::Utf8Lines);
        sink.appendWide(u"new");
    }
    finishTextFile(stale.path(), true);
    EXPECT_EQ(readFile(stale.file("1.txt")), "new\r\n");
    TempDir full;
    ASSERT_EQ(::symlink("/dev/full", full.file("1.txtutf8.txt").c_str()), 0);
    EXPECT_THROW(
        {
            TextSink sink(full.path(), TextSink::FileForm::Utf8Lines);
            sink.appendWide(std::u16string(TextSink::kBufferSize, u'x'));
            sink.close();
        },
        quillet::WriteError);
    EXPECT_EQ(listFolder(full.path()), std::vector<std::string>{});
}

// Lines and characters cut anywhere between calls: the decoder gives back
// what the encoder was given, a byte at a time as in one piece.
TEST(TextSink, Utf8LinesDecodeAcrossAnyCut)
{
    using namespace std::string_literals;
    const std::u16string text = u"a\r\n\r\rb\n\u00E9\u4E00\U0001F600\r\n\u0000z\r"s;
    std::string bytes(quillet::Utf8LineEncoder::bytesFor(text.size()), '\0');
    quillet::Utf8LineEncoder encoder;
    bytes.resize(static_cast<size_t>(encoder.encode(text.data(), text.size(), bytes.data()) - bytes.data()));
    EXPECT_EQ(bytes, "a\r\r\n\r\rb\r\n\xC3\xA9\xE4\xB8\x80\xF0\x9F\x98\x80\r\r\n\0z\r"s);
    for (size_t cut = 1; cut <= bytes.size(); ++cut) {
        quillet::Utf8LineDecoder decoder;
        std::u16string decoded(quillet::Utf8LineDecoder::unitsFor(bytes.size()) + cut, u'\0');
        char16_t* end = decoded.data();
        for (size_t at = 0; at < bytes.size(); at += cut)
            end = decoder.decode(reinterpret_cast<const uint8_t*>(bytes.data()) + at, std::min(cut, bytes.size() - at),
                                 end);
        end = decoder.finish(end);
        decoded.resize(static_cast<size_t>(end - decoded.data()));
        EXPECT_EQ(decoded, text) << "pieces of " << cut;
    }
}
