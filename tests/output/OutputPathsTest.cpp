#include "output/OutputPaths.h"

#include <gtest/gtest.h>

using quillet::picturePath;
using quillet::textFilePath;

TEST(OutputPaths, TextFileTakesTheFoldersFirstSeparator)
{
    EXPECT_EQ(textFilePath("out"), "out/1.txt");
    EXPECT_EQ(textFilePath("C:\\docs"), "C:\\docs\\1.txt");
    EXPECT_EQ(textFilePath("C:\\docs/"), "C:\\docs/1.txt");
    EXPECT_EQ(textFilePath("a/b\\c"), "a/b\\c/1.txt");
    EXPECT_EQ(textFilePath("/tmp/x\\"), "/tmp/x\\1.txt");
}

TEST(OutputPaths, PicturesLieBesideTheTextFile)
{
    EXPECT_EQ(picturePath("C:\\docs", 3, ".png"), "C:\\docs\\image3.png");
    EXPECT_EQ(picturePath("out", 1, ".jpg"), "out/image1.jpg");
    EXPECT_EQ(picturePath("out/", 12, ".jpeg"), "out/image12.jpeg");
    EXPECT_EQ(picturePath("out", -2, ".emf"), "out/image-2.emf");
    EXPECT_EQ(picturePath("out", 5000000000LL, ".png"), "out/image5000000000.png");
}
