// The compound file reader on files laid out by the builder, intact and damaged.
#include "compound/CompoundFile.h"
#include "compound/CompoundFileError.h"

#include "support/CompoundFileBuilder.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <quillet/quillet.h>

#include <cerrno>
#include <filesystem>

using namespace quillet;
using namespace quillet::test;

namespace {

std::string pattern(size_t size)
{
    std::string bytes;
    for (size_t i = 0; i < size; ++i)
        bytes += char('A' + (i * 7 + size) % 26);
    return bytes;
}

std::string readAll(CompoundStream& stream)
{
    std::string bytes;
    stream.appendBytes(bytes, size_t(stream.remaining()));
    return bytes;
}

std::vector<std::string> namesOf(const std::vector<const DirectoryEntry*>& list)
{
    std::vector<std::string> names;
    for (const DirectoryEntry* entry : list)
        names.push_back(entry->name);
    return names;
}

}  // namespace

TEST(CompoundFile, SectorSizesAndTheMiniStreamCutoff)
{
    const size_t sizes[] = {1, 65, 4095, 4096, 9000};
    std::string bytes;
    for (int shift : {9, 12}) {
        CompoundFileBuilder builder{shift};
        for (size_t size : sizes)
            builder.add("s" + std::to_string(size), pattern(size));
        bytes = builder.build();
        const auto opened = openBytes(bytes);
        ASSERT_EQ(opened->error(), 0);
        for (size_t size : sizes) {
            auto stream = opened->openStream("s" + std::to_string(size));
            ASSERT_TRUE(stream) << shift << " " << size;
            EXPECT_EQ(stream->status(), 0);
            EXPECT_EQ(readAll(*stream), pattern(size)) << shift << " " << size;
        }
    }
    // A signature byte changed, sector shift 10, a file shorter than its header.
    const std::string shift10 = bytes.substr(0, 30) + le16(10) + bytes.substr(32);
    for (const std::string& bad : {bytes.substr(0, 7) + '\0' + bytes.substr(8), shift10, bytes.substr(0, 30)})
        EXPECT_EQ(openBytes(bad)->error(), int(Unsupported));
    TempDir dir;
    EXPECT_EQ(CompoundFile(dir.file("missing")).error(), ENOENT);
}

TEST(CompoundFile, DamagedChainsAreCutFlaggedOrEnded)
{
    CompoundFileBuilder builder;
    auto& entries = builder.entries;
    const int loop = builder.add("Loop", pattern(9 * 512));
    entries.at(builder.add("Short", pattern(5000))).size = 10000;
    entries.at(builder.add("Long", pattern(5000))).size = 4096;
    entries.at(builder.add("Negative", pattern(4096))).size = 0x80000000u;
    builder.add("Empty", "");
    const int miniLoop = builder.add("MiniLoop", pattern(100));
    const int far = builder.add("Far", pattern(100));
    builder.add("Tail", pattern(5000));  // the file's last sectors
    std::string bytes = builder.build();
    const int32_t first = entries[size_t(loop)].firstSector, miniFirst = entries[size_t(miniLoop)].firstSector;
    putU32(bytes, builder.sectorOffset(0) + 4 * (first + 8), uint32_t(first));  // last sector -> first
    putU32(bytes, builder.sectorOffset(builder.miniFatStart) + 4 * (miniFirst + 1), uint32_t(miniFirst));
    putU32(bytes, builder.entryOffset(far) + 116, 100);  // in the mini FAT, past the mini stream
    bytes.resize(bytes.size() - 412);                    // 100 bytes of the last sector remain
    const auto opened = openBytes(bytes);
    const std::tuple<const char*, int, int64_t, std::string> cases[] = {
        {"Loop", 0, 9 * 512, pattern(9 * 512)},
        {"Short", ConversionFailed, 10 * 512, pattern(5000)},
        {"Long", ConversionFailed, 4096, pattern(5000).substr(0, 4096)},
        {"Negative", ConversionFailed, 4096, pattern(4096)},
        {"Empty", ConversionFailed, 0, ""},
        {"MiniLoop", 0, 100, pattern(100)},
        {"Tail", 0, 5000, pattern(5000).substr(0, 9 * 512 + 100) + std::string(292, '\0')},
    };
    for (const auto& [name, status, size, start] : cases) {
        auto stream = opened->openStream(name);
        ASSERT_TRUE(stream) << name;
        EXPECT_EQ(stream->status(), status) << name;
        EXPECT_EQ(stream->size(), size) << name;
        EXPECT_EQ(readAll(*stream).substr(0, start.size()), start) << name;
        EXPECT_THROW(stream->readU8(), CompoundFileError) << name;
    }
    EXPECT_FALSE(opened->openStream("Far"));
}

TEST(CompoundFile, FatSectorsBeyondTheHeaderComeFromTheDifat)
{
    CompoundFileBuilder builder{9, 120};
    builder.add("Big", pattern(6000));
    const std::string bytes = builder.build();
    const auto opened = openBytes(bytes);
    auto big = opened->openStream("Big");
    ASSERT_TRUE(big);
    EXPECT_EQ(readAll(*big), pattern(6000));
    // No DIFAT, a negative count, more FAT sectors than the DIFAT names, a
    // DIFAT chain onto itself, a DIFAT sector outside the file.
    const uint32_t difat = uint32_t(builder.firstDifat);
    const std::vector<std::vector<std::pair<int64_t, uint32_t>>> damages = {
        {{72, 0}},
        {{44, 0xFFFFFFFF}},
        {{44, 247}},
        {{44, 247}, {72, 2}, {builder.sectorOffset(difat) + 508, difat}},
        {{68, 0x7FFFFFF0}}};
    for (const auto& damage : damages) {
        std::string damaged = bytes;
        for (const auto& [offset, value] : damage)
            putU32(damaged, offset, value);
        EXPECT_THROW(openBytes(damaged), CompoundFileError) << damage.size() << " " << damage[0].first;
    }
}

TEST(CompoundFile, DirectoryWalksFindOrderAndCycles)
{
    CompoundFileBuilder builder;
    const int mainA = builder.add("A", "main");
    const int dual = builder.add("PP97_DUALSTORAGE", "", 0, 1);
    builder.add("A", "dual", dual);
    builder.add("B", "b", dual);
    const int inner = builder.add("PP97_DUALSTORAGE", "", dual, 1);
    const int left = builder.add("L", "l");
    const int right = builder.add("R", "r");
    const int plain = builder.add("Plain", "", 0, 1);
    const int hidden = builder.add("Hidden", "h", plain);
    // Root -> A, whose siblings are Plain and the dual storage, whose siblings
    // are L and R. A is its own child; the inner dual storage leads back to
    // the outer one and to itself.
    auto& entries = builder.entries;
    entries[size_t(mainA)].left = plain;
    entries[size_t(mainA)].child = mainA;
    entries[size_t(dual)].left = left;
    entries[size_t(dual)].right = right;
    entries[size_t(left)].right = entries[size_t(right)].right = -1;
    entries[size_t(inner)].child = dual;
    entries[size_t(inner)].right = inner;
    const auto opened = openBytes(builder.build());
    EXPECT_EQ(namesOf(opened->treeEntries()), (std::vector<std::string>{"Root Entry", "A"}));
    EXPECT_EQ(namesOf(opened->dualStorageEntries()),
              (std::vector<std::string>{"PP97_DUALSTORAGE", "R", "L", "A", "B", "PP97_DUALSTORAGE"}));
    auto stream = opened->openStream("A");  // the dual-storage copy first
    ASSERT_TRUE(stream);
    EXPECT_EQ(readAll(*stream), "dual");
    EXPECT_EQ(opened->findEntry("Hidden"), &opened->entries()[size_t(hidden)]);  // not walked, still found
    EXPECT_FALSE(opened->hasEntry("hidden"));
}

namespace {

// FAT entry k, for files whose FAT sectors come first, one after another.
void putFatEntry(std::string& bytes, const CompoundFileBuilder& builder, int64_t k, uint32_t value)
{
    putU32(bytes, builder.sectorOffset(0) + 4 * k, value);
}

}  // namespace

TEST(CompoundFile, CutShortFilesReadZerosWhereTheirSectorsAreMissing)
{
    CompoundFileBuilder builder{9, 40};
    const int far = builder.add("Far", pattern(5000));
    builder.add("Tail", pattern(5000));  // ten sectors, the file's last
    std::string bytes = builder.build();
    // "Far" is declared to run 4600 sectors on from beyond the end of the file.
    const int64_t beyond = int64_t(bytes.size()) / 512 + 10, count = 4600;
    putU32(bytes, builder.entryOffset(far) + 116, uint32_t(beyond));
    putU32(bytes, builder.entryOffset(far) + 120, uint32_t(count * 512));
    for (int64_t k = beyond; k < beyond + count; ++k)
        putFatEntry(bytes, builder, k, k + 1 < beyond + count ? uint32_t(k + 1) : uint32_t(-2));
    bytes.resize(bytes.size() - 3 * 512 - 412);  // Tail keeps 6 sectors and 100 bytes
    const auto opened = openBytes(bytes);

    auto tail = opened->openStream("Tail");
    ASSERT_TRUE(tail);
    EXPECT_EQ(tail->status(), 0);
    EXPECT_EQ(readAll(*tail), pattern(5000).substr(0, 6 * 512 + 100) + std::string(5000 - 6 * 512 - 100, '\0'));
    // Past the end, a chain is followed only so far.
    auto cut = opened->openStream("Far");
    ASSERT_TRUE(cut);
    EXPECT_EQ(cut->status(), ConversionFailed);
    EXPECT_EQ(cut->size(), int64_t(CompoundFile::kMostSectorsPastEnd) * 512);
    EXPECT_EQ(readAll(*cut), std::string(CompoundFile::kMostSectorsPastEnd * 512, '\0'));
}

TEST(CompoundFile, DirectoryOfASparseFourGibFileIsCapped)
{
    CompoundFileBuilder builder{9, 200};
    builder.add("WordDocument", pattern(5000));
    std::string bytes = builder.build();
    // The directory's chain runs on through sectors that hold only zeros.
    const int64_t beyond = int64_t(bytes.size()) / 512 + 8, last = 200 * 128 - 1;
    putFatEntry(bytes, builder, builder.directoryStart, uint32_t(beyond));
    for (int64_t k = beyond; k <= last; ++k)
        putFatEntry(bytes, builder, k, k < last ? uint32_t(k + 1) : uint32_t(-2));
    TempDir dir;
    const std::string path = dir.file("sparse.doc");
    writeFile(path, bytes);
    std::filesystem::resize_file(path, uintmax_t(4) << 30);

    EXPECT_EQ(CompoundFile(path).entries().size(), CompoundFile::kMostDirectoryEntries);
    EXPECT_STREQ(getFileFormate(path.c_str(), 0), "DOC");
}

TEST(CompoundFile, DirectoryNamesDecodeOnlyForLengthsFourToSixtyFour)
{
    const std::pair<uint16_t, std::string> cases[] = {
        {2, ""}, {3, ""}, {4, "A"}, {5, "A"}, {64, std::string(31, 'A')}, {66, ""}, {0xFFFF, ""}};
    for (const auto& [length, name] : cases) {
        std::string slot(128, '\0');
        for (size_t i = 0; i < 32; ++i)
            slot[2 * i] = 'A';
        slot.replace(64, 2, le16(length));
        EXPECT_EQ(DirectoryEntry::decode(reinterpret_cast<const uint8_t*>(slot.data())).name, name) << length;
    }
}
