#include "output/StdioFile.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cerrno>

using quillet::makeFolder;
using quillet::StdioFile;
using quillet::test::TempDir;
using quillet::test::writeFile;

TEST(StdioFile, OpenErrorsAreErrnoValues)
{
    TempDir dir;
    StdioFile missing(dir.file("missing"), "rb");
    EXPECT_EQ(missing.openError(), ENOENT);
    EXPECT_EQ(missing.read(nullptr, 0), 0u);
    // A directory is not a readable source, though fopen would allow it.
    StdioFile folder(dir.path(), "rb");
    EXPECT_EQ(folder.openError(), EISDIR);
    EXPECT_FALSE(folder.isOpen());
}

TEST(StdioFile, ReadsSeeksAndSizesFromThePath)
{
    TempDir dir;
    writeFile(dir.file("f"), "0123456789");
    StdioFile file(dir.file("f"), "rb");
    ASSERT_TRUE(file.isOpen());
    EXPECT_EQ(file.size(), 10);
    char buffer[4] = {};
    file.seek(6);
    EXPECT_EQ(file.read(buffer, sizeof buffer), 4u);
    EXPECT_EQ(std::string(buffer, 4), "6789");
    EXPECT_EQ(file.read(buffer, sizeof buffer), 0u);
    EXPECT_EQ(file.close(), 0);
    EXPECT_EQ(file.close(), 0);
}

TEST(StdioFile, CloseAndRemoveDeletesOnlyWhatIsOpen)
{
    TempDir dir;
    StdioFile out(dir.file("o"), "wb");
    out.write("x", 1);
    out.closeAndRemove();
    EXPECT_FALSE(quillet::test::fileExists(dir.file("o")));
    writeFile(dir.file("p"), "y");
    StdioFile closed;
    closed.closeAndRemove();
    EXPECT_TRUE(quillet::test::fileExists(dir.file("p")));
}

TEST(MakeFolder, OnlyTheLastLevelIsCreated)
{
    TempDir dir;
    EXPECT_TRUE(makeFolder(dir.file("a")));
    EXPECT_TRUE(makeFolder(dir.file("b/")));
    EXPECT_TRUE(makeFolder(dir.file("a\\c\\")));  // "\" separates, as on Windows
    EXPECT_TRUE(quillet::test::fileExists(dir.file("a/c")));
    EXPECT_FALSE(makeFolder(dir.file("missing/child")));
    EXPECT_FALSE(makeFolder(dir.file("a")));  // exists already
    EXPECT_FALSE(makeFolder(""));
    EXPECT_FALSE(makeFolder("/"));
}
