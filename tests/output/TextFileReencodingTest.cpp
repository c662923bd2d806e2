#include "output/TextFileReencoding.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

using quillet::reencodeTextFileToUtf8;
using quillet::test::fileExists;
using quillet::test::listFolder;
using quillet::test::readFile;
using quillet::test::TempDir;
using quillet::test::utf16leBytes;
using quillet::test::writeFile;

namespace {

std::string reencoded(const std::string& utf16Bytes)
{
    TempDir dir;
    writeFile(dir.file("1.txt"), utf16Bytes);
    EXPECT_TRUE(reencodeTextFileToUtf8(dir.path()));
    EXPECT_EQ(listFolder(dir.path()), std::vector<std::string>{"1.txt"});
    return readFile(dir.file("1.txt"));
}

}  // namespace

TEST(Reencoding, EveryLineEndsWithCrLfAndCarriageReturnsStay)
{
    EXPECT_EQ(reencoded(utf16leBytes(u"a\r\nb")), "a\r\r\nb\r\n");
    EXPECT_EQ(reencoded(utf16leBytes(u"one\n\ntwo\n")), "one\r\n\r\ntwo\r\n");
    EXPECT_EQ(reencoded(""), "");
}

TEST(Reencoding, SurrogatesAndMalformedUnits)
{
    // U+1F600 as a pair, a lone high surrogate, a lone low one, and a stray odd byte.
    EXPECT_EQ(reencoded(utf16leBytes(u"\U0001F600\u4E2D") + utf16leBytes(u"x\xD800y\xDC00") + "Z"),
              "\xF0\x9F\x98\x80\xE4\xB8\xADx\xEF\xBF\xBDy\xEF\xBF\xBD\r\n");
}

TEST(Reencoding, VeryLongLineStaysWholeAcrossItsParts)
{
    std::u16string line(3u << 20, u'a');
    line[(1u << 20) - 1] = 0xD83D;  // a pair across the first part boundary
    line[1u << 20] = 0xDE00;
    const std::string out = reencoded(utf16leBytes(line));
    ASSERT_EQ(out.size(), (3u << 20) - 2 + 4 + 2);
    EXPECT_EQ(out.substr((1u << 20) - 1, 4), "\xF0\x9F\x98\x80");
    EXPECT_EQ(out.substr(out.size() - 2), "\r\n");
}

TEST(Reencoding, MissingTextFileLeavesTheFolderAlone)
{
    TempDir dir;
    EXPECT_FALSE(reencodeTextFileToUtf8(dir.path()));
    EXPECT_TRUE(listFolder(dir.path()).empty());
}
