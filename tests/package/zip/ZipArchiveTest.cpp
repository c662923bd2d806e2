#include "package/zip/ZipArchive.h"
#include "platform/WriteError.h"

#include "support/CompoundFileBuilder.h"
#include "support/TempDir.h"
#include "support/ZipBuilder.h"

#include <gtest/gtest.h>

#include <cerrno>

#include <csignal>
#include <cstdio>
#include <stdexcept>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace quillet;
using namespace quillet::test;

namespace {

// The bytes of an entry, then "!" when a read fails.
std::string readEntry(ZipArchive& archive, const std::string& name)
{
    std::unique_ptr<ZipEntryStream> stream = archive.openEntry(name);
    std::string bytes;
    char piece[1000];
    int count = 0;
    while ((count = stream->read(piece, sizeof piece)) > 0)
        bytes.append(piece, static_cast<size_t>(count));
    return count < 0 ? bytes + "!" : bytes;
}

}  // namespace

TEST(ZipArchive, IndexesEntriesByExactBytes)
{
    TempDir dir;
    const std::string big(20000, 'x'), longName = "media/" + std::string(300, 'n'), exact(255, 'e');
    ZipBuilder()
        .add("xl/workbook.xml", "<workbook/>")
        .add("stored.txt", "kept", true)
        .add("big.xml", big)
        .add("empty.xml", "")
        .add("Dup.xml", "first")
        .add("Dup.xml", "second")
        .add(longName + ".png", "long")
        .add(longName + ".xml", "other")
        .add(exact, "exact")
        .write(dir.file("a.zip"));
    ZipArchive archive(dir.file("a.zip"));
    EXPECT_EQ(archive.index().size(), 7u);
    // Names are case-sensitive and cut to 255 bytes; of equal names the first entry wins.
    const std::pair<std::string, std::string> entries[] = {{"xl/workbook.xml", "<workbook/>"},
                                                           {"stored.txt", "kept"},
                                                           {"big.xml", big},
                                                           {"empty.xml", ""},
                                                           {"Dup.xml", "first"},
                                                           {longName.substr(0, 255), "long"},
                                                           {exact, "exact"}};
    for (const auto& [name, bytes] : entries) {
        EXPECT_EQ(readEntry(archive, name), bytes) << name;
        EXPECT_EQ(archive.entrySize(name), static_cast<int64_t>(bytes.size()));
    }
    for (const char* missing : {"XL/Workbook.xml", "/xl/workbook.xml", "xl\\workbook.xml", "Dup.XML"})
        EXPECT_TRUE(archive.entrySize(missing) == -1 && !archive.openEntry(missing)) << missing;
}

TEST(ZipArchive, BrokenArchivesAndEntries)
{
    TempDir dir;
    writeFile(dir.file("text.zip"), "PK\x03\x04 but nothing else follows");
    writeFile(dir.file("empty.zip"), "");
    for (const std::string& path : {dir.file("text.zip"), dir.file("empty.zip"), dir.file("none.zip"), dir.path()})
        EXPECT_TRUE(ZipArchive(path).index().empty()) << path;
    const std::string text = "<w:t>some text that deflates</w:t>";
    std::string zip = ZipBuilder().add("a", text).add("b", "bbbb", true).add("c", "\xff?", true).add("d", text).bytes();
    // Without its end record an archive does not open; no entry yields more than it declares.
    for (size_t size = 0; size < zip.size(); ++size) {
        writeFile(dir.file("cut.zip"), zip.substr(0, size));
        ZipArchive archive(dir.file("cut.zip"));
        EXPECT_TRUE(size >= zip.rfind("PK\x05\x06") || archive.index().empty()) << size;
        for (const auto& [name, record] : archive.index())
            EXPECT_LE(readEntry(archive, name).size(), record.uncompressedSize + 1);
    }
    // An unknown method, undecodable deflate data, and a damaged central record that ends the index.
    patchEntry(zip, "a", 8, 99, 2);
    patchEntry(zip, "c", 8, 8, 2);
    zip[zip.rfind("PK\x01\x02")] = 'X';
    writeFile(dir.file("broken.zip"), zip);
    ZipArchive archive(dir.file("broken.zip"));
    EXPECT_EQ(readEntry(archive, "a") + readEntry(archive, "b") + readEntry(archive, "c"), "!bbbb!");
    EXPECT_EQ(archive.index().size(), 3u);
    EXPECT_TRUE(archive.extractEntry("a", dir.path()) < 0 && archive.extractEntry("c", dir.path()) < 0);
    EXPECT_FALSE(fileExists(dir.file("a")));
    // A zip bomb yields what it declares; a declared size far beyond the data allocates nothing.
    zip = ZipBuilder().add("bomb.xml", std::string(10000000, '\0')).add("small.xml", "small").bytes();
    patchEntry(zip, "bomb.xml", 22, 1000);
    patchEntry(zip, "small.xml", 22, 0xFFFFFFF0u);
    writeFile(dir.file("bomb.zip"), zip);
    ZipArchive bomb(dir.file("bomb.zip"));
    EXPECT_EQ(readEntry(bomb, "bomb.xml"), std::string(1000, '\0'));
    EXPECT_EQ(readEntry(bomb, "small.xml") + std::to_string(bomb.entrySize("small.xml")), "small4294967280");
}

TEST(ZipArchive, ExtractsUnderBareFileNames)
{
    TempDir dir;
    const std::string media = "the picture that remains", large(100000, 'l');
    ZipBuilder()
        .add("word/media/image1.png", media)
        .add("word/embeddings/image1.png", "from embeddings")
        .add("ppt/media/image3.EMF", large)
        .add("x/cache.tmp", "tmp")
        .add("m/b.JpG", "jpg")
        .add("m/c.jpeg2", "")
        .add("word/_rels/image1.png.rels", "")
        .add("m/d.", "")
        .add("word/document.xml", "")
        .add("folder/", "")
        .write(dir.file("a.zip"));
    ZipArchive archive(dir.file("a.zip"));
    // Pictures go in name order: word/media comes after word/embeddings, so its picture remains.
    EXPECT_EQ(archive.extractImages(dir.path()), 0);
    const std::vector<std::string> extracted = {"a.zip", "b.JpG", "cache.tmp", "image1.png", "image3.EMF"};
    EXPECT_EQ(listFolder(dir.path()), extracted);
    EXPECT_EQ(readFile(dir.file("image1.png")) + std::to_string(readFile(dir.file("image3.EMF")).size()),
              media + "100000");
    // Files that cannot be created: -1, and nothing is written anywhere.
    EXPECT_EQ(archive.extractEntry("word/media/image1.png", dir.file("no/such/folder")), -1);
    EXPECT_EQ(archive.extractEntry("folder/", dir.path()), -1);
    EXPECT_EQ(listFolder(dir.path()), extracted);
    EXPECT_EQ(archive.extractImages(dir.file("no/such/folder")), ENOENT) << "the first creation's error";
    EXPECT_THROW(archive.extractEntry("missing.png", dir.path()), std::out_of_range);
    // Files may not grow past 10 bytes (in a child, where the limit stays):
    // the small picture fails when its buffer is flushed at the close, the
    // large one in a write, each with the write's errno and leaving no file.
    const std::string limited = dir.file("limited");
    ASSERT_EQ(::mkdir(limited.c_str(), 0755), 0);
    const auto failure = [&](const std::string& name) {
        const pid_t child = ::fork();
        if (child == 0) {
            std::signal(SIGXFSZ, SIG_IGN);
            const rlimit tiny{10, 10};
            ::setrlimit(RLIMIT_FSIZE, &tiny);
            try {
                archive.extractEntry(name, limited);
            } catch (const WriteError& error) {
                ::_exit(error.error());
            }
            ::_exit(0);
        }
        int status = -1;
        ::waitpid(child, &status, 0);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    };
    EXPECT_EQ(failure("word/media/image1.png"), EFBIG);
    EXPECT_EQ(failure("ppt/media/image3.EMF"), EFBIG);
    EXPECT_EQ(listFolder(limited), std::vector<std::string>{});
}

TEST(ZipArchive, IndexStopsAtItsCap)
{
    // Empty stored entries written by hand; ZIP64 end records carry a count
    // beyond 65,535.
    const auto le64 = [](uint64_t value) { return le32(uint32_t(value)) + le32(uint32_t(value >> 32)); };
    const size_t count = ZipArchive::kMaxEntries + 2;
    std::string local, central;
    for (size_t i = 0; i < count; ++i) {
        char name[16];
        std::snprintf(name, sizeof name, "n%07zu", i);
        const std::string fixed =
            le16(0) + le16(0) + le16(0) + le16(0) + le32(0) + le32(0) + le32(0) + le16(8) + le16(0);
        central += le32(0x02014b50) + le16(20) + le16(10) + fixed + le16(0) + le16(0) + le16(0) + le32(0) +
                   le32(uint32_t(local.size())) + name;
        local += le32(0x04034b50) + le16(10) + fixed + name;
    }
    const uint64_t end = local.size() + central.size();
    const std::string records = le32(0x06064b50) + le64(44) + le16(45) + le16(45) + le32(0) + le32(0) + le64(count) +
                                le64(count) + le64(central.size()) + le64(local.size()) + le32(0x07064b50) + le32(0) +
                                le64(end) + le32(1) + le32(0x06054b50) + le16(0) + le16(0) + le16(0xFFFF) +
                                le16(0xFFFF) + le32(0xFFFFFFFF) + le32(0xFFFFFFFF) + le16(0);
    TempDir dir;
    writeFile(dir.file("many.zip"), local + central + records);
    ZipArchive archive(dir.file("many.zip"));
    EXPECT_EQ(archive.index().size(), ZipArchive::kMaxEntries);
    EXPECT_EQ(archive.entrySize("n0262143"), 0);
    EXPECT_EQ(archive.entrySize("n0262144"), -1);
}
