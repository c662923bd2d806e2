#include "package/ZipArchive.h"

#include "support/TempDir.h"
#include "support/ZipBuilder.h"

#include <gtest/gtest.h>

#include <cstring>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

using namespace quillet;
using namespace quillet::test;

namespace {

// Reads an entry to its end; lastResult gets the read result that ended it.
std::string readEntry(ZipArchive& archive, const std::string& name, int* lastResult = nullptr)
{
    std::unique_ptr<ZipEntryStream> stream = archive.openEntry(name);
    if (!stream)
        return "<missing>";
    std::string bytes;
    char piece[1000];
    int count = 0;
    while ((count = stream->read(piece, sizeof piece)) > 0)
        bytes.append(piece, static_cast<size_t>(count));
    stream->close();
    if (lastResult != nullptr)
        *lastResult = count;
    return bytes;
}

// Positions of a 4-byte signature in the archive bytes.
std::vector<size_t> findAll(const std::string& bytes, const char* signature)
{
    std::vector<size_t> at;
    for (size_t found = bytes.find(signature, 0, 4); found != std::string::npos;
         found = bytes.find(signature, found + 1, 4))
        at.push_back(found);
    return at;
}

void put32(std::string& bytes, size_t at, uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        bytes[at + static_cast<size_t>(i)] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

void put16(std::string& bytes, size_t at, uint16_t value)
{
    bytes[at] = static_cast<char>(value & 0xFF);
    bytes[at + 1] = static_cast<char>(value >> 8);
}

const char kLocal[] = "PK\x03\x04";
const char kCentral[] = "PK\x01\x02";

}  // namespace

TEST(ZipArchive, IndexesEntriesByExactBytes)
{
    TempDir dir;
    const std::string deflated(20000, 'x');
    ZipBuilder()
        .add("xl/workbook.xml", "<workbook/>")
        .add("stored.txt", "kept as is", true)
        .add("big.xml", deflated)
        .add("empty.xml", "")
        .add("Dup.xml", "first")
        .add("Dup.xml", "second")
        .write(dir.file("a.zip"));

    ZipArchive archive(dir.file("a.zip"));
    ASSERT_TRUE(archive.isOpen());
    EXPECT_EQ(archive.index().size(), 5u);
    EXPECT_TRUE(archive.hasEntry("xl/workbook.xml"));
    EXPECT_FALSE(archive.hasEntry("XL/Workbook.xml"));
    EXPECT_FALSE(archive.hasEntry("/xl/workbook.xml"));
    EXPECT_FALSE(archive.hasEntry("xl\\workbook.xml"));
    EXPECT_EQ(archive.entrySize("big.xml"), 20000);
    EXPECT_EQ(archive.entrySize("missing.xml"), -1);
    EXPECT_EQ(archive.openEntry("missing.xml"), nullptr);

    EXPECT_EQ(readEntry(archive, "xl/workbook.xml"), "<workbook/>");
    EXPECT_EQ(readEntry(archive, "stored.txt"), "kept as is");
    EXPECT_EQ(readEntry(archive, "big.xml"), deflated);
    // The first of two entries with one name wins.
    EXPECT_EQ(readEntry(archive, "Dup.xml"), "first");
    EXPECT_EQ(archive.entrySize("Dup.xml"), 5);

    int last = 99;
    EXPECT_EQ(readEntry(archive, "empty.xml", &last), "");
    EXPECT_EQ(last, 0);
}

TEST(ZipArchive, NotAnArchiveGivesAnEmptyIndex)
{
    TempDir dir;
    writeFile(dir.file("text.zip"), "PK\x03\x04 but nothing else follows");
    writeFile(dir.file("empty.zip"), "");
    for (const std::string& path : {dir.file("text.zip"), dir.file("empty.zip"), dir.file("missing.zip"), dir.path()}) {
        ZipArchive archive(path);
        EXPECT_TRUE(archive.index().empty()) << path;
        EXPECT_FALSE(archive.hasEntry("word/document.xml"));
        EXPECT_EQ(archive.entrySize("word/document.xml"), -1);
        EXPECT_EQ(archive.openEntry("word/document.xml"), nullptr);
        EXPECT_EQ(archive.extractImages(dir.path()), 0);
    }
}

TEST(ZipArchive, EveryTruncationEndsInADefinedState)
{
    TempDir dir;
    const std::string whole = ZipBuilder()
                                  .add("a.xml", std::string(3000, 'a'))
                                  .add("b.xml", "bbbb", true)
                                  .add("c.png", std::string(500, 'c'))
                                  .bytes();
    const size_t endRecord = whole.rfind("PK\x05\x06");
    ASSERT_NE(endRecord, std::string::npos);
    for (size_t size = 0; size < whole.size(); ++size) {
        writeFile(dir.file("cut.zip"), whole.substr(0, size));
        ZipArchive archive(dir.file("cut.zip"));
        // Without its end record the archive cannot be opened at all.
        if (size < endRecord) {
            EXPECT_TRUE(archive.index().empty()) << size;
        }
        for (const auto& [name, record] : archive.index())
            EXPECT_LE(readEntry(archive, name).size(), record.uncompressedSize);
    }
    // A damaged central-directory record ends the index there.
    std::string damaged = whole;
    const std::vector<size_t> central = findAll(damaged, kCentral);
    ASSERT_EQ(central.size(), 3u);
    damaged[central[2]] = 'X';
    writeFile(dir.file("damaged.zip"), damaged);
    ZipArchive archive(dir.file("damaged.zip"));
    EXPECT_TRUE(archive.hasEntry("a.xml"));
    EXPECT_TRUE(archive.hasEntry("b.xml"));
    EXPECT_FALSE(archive.hasEntry("c.png"));
    EXPECT_EQ(readEntry(archive, "b.xml"), "bbbb");
}

TEST(ZipArchive, DamagedEntriesEndTheirReadWithAnError)
{
    TempDir dir;
    const std::string text = "<w:t>some text that deflates</w:t>";
    std::string bytes = ZipBuilder()
                            .add("bad-crc.xml", text)
                            .add("bad-method.xml", text)
                            .addRaw("bad-data.xml", "\xff\xff\xff\xff garbage", 100, 0)
                            .add("after.xml", "still readable")
                            .bytes();
    const std::vector<size_t> local = findAll(bytes, kLocal);
    const std::vector<size_t> central = findAll(bytes, kCentral);
    ASSERT_EQ(local.size(), 4u);
    ASSERT_EQ(central.size(), 4u);
    // The CRC is kept in both headers, which must agree.
    put32(bytes, local[0] + 14, 0x12345678);
    put32(bytes, central[0] + 16, 0x12345678);
    put16(bytes, local[1] + 8, 99);
    put16(bytes, central[1] + 10, 99);
    writeFile(dir.file("a.zip"), bytes);

    ZipArchive archive(dir.file("a.zip"));
    int last = 0;
    // A CRC mismatch shows only at close, which ignores it: the text stands.
    EXPECT_EQ(readEntry(archive, "bad-crc.xml", &last), text);
    EXPECT_EQ(last, 0);
    EXPECT_EQ(archive.extractEntry("bad-crc.xml", dir.path()), 0);
    EXPECT_EQ(readFile(dir.file("bad-crc.xml")), text);

    EXPECT_EQ(readEntry(archive, "bad-method.xml", &last), "");
    EXPECT_LT(last, 0);
    EXPECT_LT(archive.extractEntry("bad-method.xml", dir.path()), 0);
    EXPECT_FALSE(fileExists(dir.file("bad-method.xml")));

    EXPECT_EQ(readEntry(archive, "bad-data.xml", &last), "");
    EXPECT_LT(last, 0);
    EXPECT_LT(archive.extractEntry("bad-data.xml", dir.path()), 0);

    EXPECT_EQ(readEntry(archive, "after.xml"), "still readable");
}

TEST(ZipArchive, DeclaredSizesBoundTheInflate)
{
    TempDir dir;
    // 10 MB of zeros deflates to about 10 KB; declared as 1000 bytes it
    // yields 1000, however much the data would inflate to.
    const std::string zeros(10 * 1000 * 1000, '\0');
    const std::string bomb = rawDeflate(zeros);
    ASSERT_LT(bomb.size(), 20000u);
    const std::string small = "only this";
    ZipBuilder()
        .addRaw("bomb.xml", bomb, 1000, crc32Of(zeros))
        .addRaw("overstated.xml", rawDeflate(small), 0xFFFFFFF0u, crc32Of(small))
        .write(dir.file("a.zip"));

    ZipArchive archive(dir.file("a.zip"));
    EXPECT_EQ(archive.entrySize("bomb.xml"), 1000);
    EXPECT_EQ(readEntry(archive, "bomb.xml"), std::string(1000, '\0'));
    // A declared size far beyond the data allocates nothing and reads the data.
    EXPECT_EQ(archive.entrySize("overstated.xml"), 0xFFFFFFF0);
    EXPECT_EQ(readEntry(archive, "overstated.xml"), small);
}

TEST(ZipArchive, LongNamesAreCutTo255Bytes)
{
    TempDir dir;
    const std::string longName = "media/" + std::string(300, 'n') + ".png";
    const std::string otherLongName = "media/" + std::string(300, 'n') + ".xml";
    const std::string exact = std::string(255, 'e');
    ZipBuilder().add(longName, "first").add(otherLongName, "second").add(exact, "exact").write(dir.file("a.zip"));

    ZipArchive archive(dir.file("a.zip"));
    ASSERT_EQ(archive.index().size(), 2u);
    const std::string cut = longName.substr(0, 255);
    EXPECT_TRUE(archive.hasEntry(cut));
    EXPECT_FALSE(archive.hasEntry(longName));
    // Both names share their first 255 bytes: the first entry wins.
    EXPECT_EQ(readEntry(archive, cut), "first");
    EXPECT_EQ(readEntry(archive, exact), "exact");
}

TEST(ZipArchive, OpeningAnotherEntryEndsTheFirstStream)
{
    TempDir dir;
    ZipBuilder().add("a.xml", std::string(5000, 'a')).add("b.xml", "bbb").write(dir.file("a.zip"));
    ZipArchive archive(dir.file("a.zip"));
    std::unique_ptr<ZipEntryStream> first = archive.openEntry("a.xml");
    char piece[10];
    EXPECT_EQ(first->read(piece, 10), 10);
    std::unique_ptr<ZipEntryStream> second = archive.openEntry("b.xml");
    EXPECT_LT(first->read(piece, 10), 0);
    first->close();  // must not close the second entry
    first.reset();
    EXPECT_EQ(second->read(piece, 10), 3);
    EXPECT_EQ(std::string(piece, 3), "bbb");
}

TEST(ZipArchive, ExtractEntryWritesTheBareFileName)
{
    TempDir dir;
    const std::string png(10000, 'p');
    ZipBuilder()
        .add("word/media/image1.png", png)
        .add("back\\slash.png", "bs")
        .add("/top.png", "top")
        .add("folder/", "")
        .write(dir.file("a.zip"));
    ZipArchive archive(dir.file("a.zip"));

    const std::string out = dir.file("out");
    ASSERT_EQ(::mkdir(out.c_str(), 0755), 0);
    EXPECT_EQ(archive.extractEntry("word/media/image1.png", out), 0);
    EXPECT_EQ(readFile(out + "/image1.png"), png);
    EXPECT_EQ(archive.extractEntry("back\\slash.png", out + "/"), 0);
    EXPECT_EQ(readFile(out + "/back\\slash.png"), "bs");
    // Only a leading "/": the whole name, joined without a second separator.
    EXPECT_EQ(archive.extractEntry("/top.png", out), 0);
    EXPECT_EQ(readFile(out + "/top.png"), "top");

    // Files that cannot be created: -1, and nothing is written anywhere.
    EXPECT_EQ(archive.extractEntry("word/media/image1.png", dir.file("no/such/folder")), -1);
    EXPECT_EQ(archive.extractEntry("folder/", out), -1);
    EXPECT_EQ(listFolder(out), (std::vector<std::string> {"back\\slash.png", "image1.png", "top.png"}));

    // A folder without any separator is still a folder: "/" joins it.
    char previous[4096];
    ASSERT_NE(::getcwd(previous, sizeof previous), nullptr);
    ASSERT_EQ(::chdir(dir.path().c_str()), 0);
    const int relative = archive.extractEntry("word/media/image1.png", "out");
    ASSERT_EQ(::chdir(previous), 0);
    EXPECT_EQ(relative, 0);
    EXPECT_FALSE(fileExists(dir.file("outimage1.png")));

    EXPECT_THROW(archive.extractEntry("missing.png", out), std::out_of_range);
    EXPECT_THROW(archive.extractEntry("word/media/image1.png", ""), std::out_of_range);
}

TEST(ZipArchive, ExtractImagesWritesPicturesInNameOrder)
{
    TempDir dir;
    ZipBuilder()
        .add("word/media/image1.png", "from media")
        .add("word/embeddings/image1.png", "from embeddings")
        .add("ppt/media/image3.EMF", "emf")
        .add("word/document.xml", "<w:document/>")
        .add("word/_rels/image1.png.rels", "<rels/>")
        .add("x/cache.tmp", "tmp")
        .write(dir.file("a.zip"));
    ZipArchive archive(dir.file("a.zip"));
    const std::string out = dir.file("out");
    ASSERT_EQ(::mkdir(out.c_str(), 0755), 0);
    EXPECT_EQ(archive.extractImages(out), 0);
    EXPECT_EQ(listFolder(out), (std::vector<std::string> {"cache.tmp", "image1.png", "image3.EMF"}));
    // word/media sorts after word/embeddings, so its picture remains.
    EXPECT_EQ(readFile(out + "/image1.png"), "from media");
}

TEST(ZipArchive, PictureExtensions)
{
    for (const char* name : {"a.jpg", "a.jpe", "a.jpeg", "a.png", "a.bmp", "a.gif", "a.ico", "a.tiff", "a.tif",
                             "a.pcx", "a.tga", "a.exif", "a.fpx", "a.svg", "a.psd", "a.cdr", "a.pcd", "a.dxf",
                             "a.ufo", "a.eps", "a.ai", "a.raw", "a.wmf", "a.emf", "a.tmp", "media/a.PNG", "x.JpG"})
        EXPECT_TRUE(isImageEntryName(name)) << name;
    for (const char* name : {"media/a.png.rels", "media/a.", "png", "a.jpeg2", "a.xml", "a.png/x", ""})
        EXPECT_FALSE(isImageEntryName(name)) << name;
}
