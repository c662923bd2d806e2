// File naming, the file object, folder creation, re-encoding and plain text.
#include "output/OutputPaths.h"
#include "output/TextFileReencoding.h"
#include "output/TextSink.h"
#include "plaintext/PlainText.h"
#include "platform/StdioFile.h"
#include "platform/WriteError.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <functional>
#include <unistd.h>

using namespace quillet;
using namespace quillet::test;

TEST(OutputFiles, NamesTakeTheFoldersFirstSeparator)
{
    EXPECT_EQ(textFilePath("out"), "out/1.txt");
    EXPECT_EQ(textFilePath("C:\\docs"), "C:\\docs\\1.txt");
    EXPECT_EQ(textFilePath("C:\\docs/"), "C:\\docs/1.txt");
    EXPECT_EQ(textFilePath("a/b\\c"), "a/b\\c/1.txt");
    EXPECT_EQ(picturePath("C:\\docs", 3, ".png"), "C:\\docs\\image3.png");
    EXPECT_EQ(picturePath("out/", -2, ".emf"), "out/image-2.emf");
}

TEST(OutputFiles, StdioFileAndFolderCreation)
{
    TempDir dir;
    EXPECT_EQ(StdioFile(dir.file("missing"), "rb").openError(), ENOENT);
    EXPECT_EQ(StdioFile(dir.path(), "rb").openError(), EISDIR);  // fopen alone would accept it
    EXPECT_TRUE(makeFolder(dir.file("a")));
    EXPECT_TRUE(makeFolder(dir.file("a\\c\\")));  // "\" separates, one trailing separator is dropped
    EXPECT_TRUE(fileExists(dir.file("a/c")));
    EXPECT_FALSE(makeFolder(dir.file("missing/child")));
    EXPECT_FALSE(makeFolder(""));
}

TEST(OutputFiles, ReencodingEndsEveryLineWithCrLf)
{
    const auto reencoded = [](const std::string& utf16) {
        TempDir dir;
        writeFile(dir.file("1.txt"), utf16);
        EXPECT_TRUE(reencodeTextFileToUtf8(dir.path()));
        EXPECT_EQ(listFolder(dir.path()), std::vector<std::string>{"1.txt"});
        return readFile(dir.file("1.txt"));
    };
    EXPECT_EQ(reencoded(utf16leBytes(u"a\r\nb")), "a\r\r\nb\r\n");
    EXPECT_EQ(reencoded(""), "");
    // Line feeds and other letters anywhere within runs of ASCII.
    EXPECT_EQ(reencoded(utf16leBytes(u"abcdefg\nhijklmnop\u00E9qrstuvwxyz0123\n456789\n\n")),
              "abcdefg\r\nhijklmnop\xC3\xA9qrstuvwxyz0123\r\n456789\r\n\r\n");
    // A pair, a lone high and a lone low surrogate, then a stray odd byte.
    EXPECT_EQ(reencoded(utf16leBytes(u"\U0001F600x\xD800y\xDC00") + "Z"),
              "\xF0\x9F\x98\x80x\xEF\xBF\xBDy\xEF\xBF\xBD\r\n");
    // A line longer than one write part keeps a pair that straddles the parts.
    std::u16string line(3u << 20, u'a');
    line[(1u << 20) - 1] = 0xD83D;
    line[1u << 20] = 0xDE00;
    const std::string out = reencoded(utf16leBytes(line));
    EXPECT_EQ(out.size(), (3u << 20) + 4);
    EXPECT_EQ(out.substr((1u << 20) - 1, 4), "\xF0\x9F\x98\x80");
    TempDir empty;
    EXPECT_FALSE(reencodeTextFileToUtf8(empty.path()));
}

// "1.txt" and the re-encoding's file as links to a device that is always
// full: the write fails with its errno, and no file stays (the links go, the
// device does not).
TEST(OutputFiles, FailedWritesRaiseTheirErrnoAndLeaveNoFile)
{
    const auto failure = [](const std::function<void()>& write) {
        try {
            write();
        } catch (const WriteError& error) {
            return error.error();
        }
        return 0;
    };
    TempDir dir;
    const std::string text = dir.file("1.txt");
    for (size_t size : {size_t(10), TextSink::kBufferSize + 1}) {
        ASSERT_EQ(::symlink("/dev/full", text.c_str()), 0);
        EXPECT_EQ(failure([&] {
                      TextSink sink(dir.path());
                      sink.appendUtf8(std::string(size, 'x'));
                      sink.appendWide(u"more");
                      sink.close();
                  }),
                  ENOSPC)
            << size;
        EXPECT_EQ(listFolder(dir.path()), std::vector<std::string>{}) << size;
    }
    writeFile(text, utf16leBytes(u"text"));
    ASSERT_EQ(::symlink("/dev/full", (text + "utf8.txt").c_str()), 0);
    EXPECT_EQ(failure([&] { reencodeTextFileToUtf8(dir.path()); }), ENOSPC);
    EXPECT_EQ(listFolder(dir.path()), std::vector<std::string>{});

    ASSERT_EQ(::symlink("/dev/full", text.c_str()), 0);
    StdioFile file(text, "wb");
    EXPECT_TRUE(file.write("x", 1)) << "buffered";
    EXPECT_EQ(file.close(), ENOSPC);
    EXPECT_EQ(file.writeError(), ENOSPC);
    EXPECT_FALSE(file.write("x", 1));
}

TEST(OutputFiles, PlainTextByByteOrderMark)
{
    const auto plain = [](const std::string& bytes) {
        TempDir dir;
        writeFile(dir.file("t.txt"), bytes);
        QString text = QStringLiteral("unchanged");
        readPlainText(QString::fromStdString(dir.file("t.txt")), text);
        return text;
    };
    EXPECT_EQ(plain(std::string("\xFF\xFE\x41\x00\x42\x00\x43", 7)), QStringLiteral("AB"));
    EXPECT_EQ(plain(std::string("\xFE\xFF\x00\x41\x00\x42", 6)), QStringLiteral("AB"));
    EXPECT_EQ(plain("\xEF\xBB\xBF\xC3\xA9\x01"), QString::fromUtf16(u"\u00E9\u0001"));  // no filter
    EXPECT_EQ(plain(std::string("\xFF\xFE\xFF\xFE", 4)), QString(QChar(0xFEFF)));
    EXPECT_EQ(plain("A"), QStringLiteral("A"));
    EXPECT_EQ(plain(std::string("A\0B", 3)), QString::fromUtf16(u"A\u0000B", 3));  // every byte, NUL or not
    EXPECT_EQ(plain(""), QString());
    QString text = QStringLiteral("kept");
    readPlainText(QStringLiteral("/nonexistent/t.txt"), text);
    EXPECT_EQ(text, QStringLiteral("kept"));
}
