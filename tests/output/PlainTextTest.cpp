#include "output/PlainText.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

using quillet::readPlainText;
using quillet::test::TempDir;
using quillet::test::writeFile;

namespace {

QString plain(const std::string& bytes)
{
    TempDir dir;
    writeFile(dir.file("t.txt"), bytes);
    QString text = QStringLiteral("unchanged");
    readPlainText(QString::fromStdString(dir.file("t.txt")), text);
    return text;
}

}  // namespace

TEST(PlainText, ByteOrderMarksDecideTheEncoding)
{
    EXPECT_EQ(plain(std::string("\xFF\xFE\x41\x00\x42\x00", 6)), QStringLiteral("AB"));
    EXPECT_EQ(plain(std::string("\xFE\xFF\x00\x41\x00\x42", 6)), QStringLiteral("AB"));
    EXPECT_EQ(plain("\xEF\xBB\xBF\x41"), QStringLiteral("A"));
    EXPECT_EQ(plain("A"), QStringLiteral("A"));
    EXPECT_EQ(plain(""), QString());
    // An odd trailing byte is not half a unit; a BOM repeated inside the text stays.
    EXPECT_EQ(plain(std::string("\xFF\xFE\x41\x00\x42", 5)), QStringLiteral("A"));
    EXPECT_EQ(plain(std::string("\xFF\xFE\xFF\xFE", 4)), QString(QChar(0xFEFF)));
    // The plain-text path applies no filter.
    EXPECT_EQ(plain("\xEF\xBB\xBF\xC3\xA9\x01"), QString::fromUtf16(u"\u00E9\u0001"));
}

TEST(PlainText, UnreadablePathsLeaveTheTextAlone)
{
    TempDir dir;
    QString text = QStringLiteral("kept");
    readPlainText(QString::fromStdString(dir.file("missing.txt")), text);
    EXPECT_EQ(text, QStringLiteral("kept"));
    readPlainText(QString::fromStdString(dir.path()), text);
    EXPECT_EQ(text, QStringLiteral("kept"));
}
