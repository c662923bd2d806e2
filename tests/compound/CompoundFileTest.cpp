// The compound file reader on files laid out by the builder, intact and damaged.
#include "compound/CompoundFileError.h"

#include "support/CompoundFileBuilder.h"

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

}  // namespace

TEST(CompoundFile, SectorSizesAndTheMiniStreamCutoff)
{
    const size_t sizes[] = {1, 65, 4095, 4096, 9000};
    std::string bytes;
    for (int shift : {9, 12}) {
        CompoundFileBuilder builder{shift};
        for (size_t size : sizes)
            builder.add(std::to_string(size), pattern(size));
        const auto opened = openBytes(bytes = builder.build());
        for (size_t size : sizes) {
            auto stream = opened->openStream(std::to_string(size));
            ASSERT_TRUE(stream) << shift << " " << size;
            EXPECT_EQ(stream->status(), 0);
            EXPECT_EQ(readAll(*stream), pattern(size)) << shift << " " << size;
        }
    }
    // A signature byte changed, sector shift 10, a file shorter than its header.
    for (const std::string& bad : {bytes.substr(0, 7) + '\0' + bytes.substr(8),
                                   bytes.substr(0, 30) + le16(10) + bytes.substr(32), bytes.substr(0, 30)})
        EXPECT_EQ(openBytes(bad)->error(), int(Unsupported));
    EXPECT_EQ(CompoundFile(TempDir().file("missing")).error(), ENOENT);
}

TEST(CompoundFile, DamagedChainsAreCutFlaggedZeroFilledOrEnded)
{
    CompoundFileBuilder builder{9, 40};
    const int negative = builder.add("Negative", pattern(4096));
    const int miniLoop = builder.add("MiniLoop", pattern(100));
    const int beyond = builder.add("Beyond", pattern(5000));
    builder.add("Tail", pattern(5000));  // the file's last ten sectors
    std::string bytes = builder.build();
    const int32_t miniFirst = builder.entries[size_t(miniLoop)].firstSector;
    // The FAT sectors come first, one after another.
    const auto putFatEntry = [&](int64_t k, uint32_t value) { putU32(bytes, builder.sectorOffset(0) + 4 * k, value); };
    putU32(bytes, builder.sectorOffset(builder.miniFatStart) + 4 * (miniFirst + 1), uint32_t(miniFirst));
    putU32(bytes, builder.entryOffset(negative) + 120, 0x80000000u);
    // "Beyond" runs 4600 sectors on from beyond the end of the file.
    const int64_t past = int64_t(bytes.size()) / 512 + 10, count = 4600;
    putU32(bytes, builder.entryOffset(beyond) + 116, uint32_t(past));
    putU32(bytes, builder.entryOffset(beyond) + 120, uint32_t(count * 512));
    for (int64_t k = past; k < past + count; ++k)
        putFatEntry(k, k + 1 < past + count ? uint32_t(k + 1) : uint32_t(-2));
    bytes.resize(bytes.size() - 3 * 512 - 412);  // Tail keeps 6 sectors and 100 bytes
    const auto opened = openBytes(bytes);
    const size_t pastEnd = CompoundFile::kMostSectorsPastEnd * 512;  // a chain past the end is followed so far
    const std::tuple<const char*, int, int64_t, std::string> cases[] = {
        {"Negative", ConversionFailed, 4096, pattern(4096)},
        {"MiniLoop", 0, 100, pattern(100)},
        {"Beyond", ConversionFailed, int64_t(pastEnd), std::string(pastEnd, '\0')},
        {"Tail", 0, 5000, pattern(5000).substr(0, 6 * 512 + 100) + std::string(5000 - 6 * 512 - 100, '\0')},
    };
    for (const auto& [name, status, size, start] : cases) {
        auto stream = opened->openStream(name);
        ASSERT_TRUE(stream) << name;
        EXPECT_EQ(stream->status(), status) << name;
        EXPECT_EQ(stream->size(), size) << name;
        EXPECT_EQ(readAll(*stream).substr(0, start.size()), start) << name;
        EXPECT_THROW(stream->readU8(), CompoundFileError) << name;
    }
}

TEST(CompoundFile, FatSectorsBeyondTheHeaderComeFromTheDifat)
{
    CompoundFileBuilder builder{9, 120};
    builder.add("Big", pattern(6000));
    const std::string bytes = builder.build();
    auto big = openBytes(bytes)->openStream("Big");
    ASSERT_TRUE(big);
    EXPECT_EQ(readAll(*big), pattern(6000));
    // No DIFAT, a DIFAT chain onto itself, a DIFAT sector outside the file.
    const uint32_t difat = uint32_t(builder.firstDifat);
    const std::vector<std::vector<std::pair<int64_t, uint32_t>>> damages = {
        {{72, 0}}, {{44, 247}, {72, 2}, {builder.sectorOffset(difat) + 508, difat}}, {{68, 0x7FFFFFF0}}};
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
    const int plain = builder.add("Plain", "", 0, 1), hidden = builder.add("Hidden", "h", plain);
    const int behind = builder.add("Behind", "b");
    // Root -> A, whose siblings are Plain and the dual storage; Behind is
    // reached only as Plain's sibling. A is its own child; the inner dual
    // storage leads back to the outer one and to itself.
    auto& entries = builder.entries;
    entries[size_t(mainA)].left = plain;
    entries[size_t(plain)].right = behind;
    entries[size_t(mainA)].child = mainA;
    entries[size_t(dual)].right = -1;
    entries[size_t(inner)].child = dual;
    entries[size_t(inner)].right = inner;
    const auto opened = openBytes(builder.build());
    std::vector<std::string> tree, dualStorage;
    for (const DirectoryEntry* entry : opened->treeEntries())
        tree.push_back(entry->name);
    for (const DirectoryEntry* entry : opened->dualStorageEntries())
        dualStorage.push_back(entry->name);
    EXPECT_EQ(tree, (std::vector<std::string>{"Root Entry", "A", "Behind"}));
    EXPECT_EQ(dualStorage, (std::vector<std::string>{"PP97_DUALSTORAGE", "A", "B", "PP97_DUALSTORAGE"}));
    auto stream = opened->openStream("A");  // the dual-storage copy first
    ASSERT_TRUE(stream);
    EXPECT_EQ(readAll(*stream), "dual");
    EXPECT_EQ(opened->findEntry("Hidden"), &opened->entries()[size_t(hidden)]);  // not walked, still found
    EXPECT_FALSE(opened->hasOwnEntry("Hidden"));                                 // but not the file's own
    EXPECT_TRUE(opened->hasOwnEntry("Behind"));
}

// Names compare as the format says: upper-cased by the simple Unicode mapping,
// on every unit, not only the low bytes kept in name.
TEST(CompoundFile, NamesCompareUpperCasedOnEveryUnit)
{
    CompoundFileBuilder builder;
    builder.add("worddocument", "lower");
    const int latin = builder.add("ete", "latin"), wide = builder.add("Wide", "wide");
    builder.entries[size_t(latin)].name = u"\u00E9t\u00E9";
    builder.entries[size_t(wide)].name = u"\u0157ide";  // its low bytes spell Wide
    const auto opened = openBytes(builder.build());
    for (const auto& [name, data] : std::vector<std::pair<std::string, std::string>>{
             {"WordDocument", "lower"}, {"WORDDOCUMENT", "lower"}, {"\xC9T\xC9", "latin"}}) {
        auto stream = opened->openStream(name);
        ASSERT_TRUE(stream) << name;
        EXPECT_EQ(readAll(*stream), data) << name;
    }
    for (const char* name : {"Wide", "WordDocumen", "WordDocuments"})
        EXPECT_FALSE(opened->findEntry(name)) << name;
}

TEST(CompoundFile, DirectoryChainsStopAtTheEntryCap)
{
    CompoundFileBuilder builder{9, 200};
    builder.add("WordDocument", pattern(5000));
    std::string bytes = builder.build();
    // The directory's chain runs on through sectors that hold only zeros.
    const int64_t beyond = int64_t(bytes.size()) / 512 + 8, last = 200 * 128 - 1;
    const auto putFatEntry = [&](int64_t k, uint32_t value) { putU32(bytes, builder.sectorOffset(0) + 4 * k, value); };
    putFatEntry(builder.directoryStart, uint32_t(beyond));
    for (int64_t k = beyond; k <= last; ++k)
        putFatEntry(k, k < last ? uint32_t(k + 1) : uint32_t(-2));
    bytes.resize(size_t(builder.sectorOffset(last + 1)));
    EXPECT_EQ(openBytes(bytes)->entries().size(), CompoundFile::kMostDirectoryEntries);
    // Naming a file has no size window: a sparse 4 GiB file is read only as far as the cap.
    TempDir dir;
    const std::string path = dir.file("sparse.doc");
    writeFile(path, bytes);
    std::filesystem::resize_file(path, uintmax_t(4) << 30);
    EXPECT_STREQ(getFileFormate(path.c_str(), 0), "DOC");
}

TEST(CompoundFile, DirectoryNamesDecodeOnlyForLengthsFourToSixtyFour)
{
    std::string slot(128, 'A');
    for (const auto& [length, name] :
         {std::pair<uint16_t, std::string>{3, ""}, {4, "A"}, {64, std::string(31, 'A')}, {66, ""}}) {
        slot.replace(64, 2, le16(length));
        EXPECT_EQ(DirectoryEntry::decode(reinterpret_cast<const uint8_t*>(slot.data())).name, name) << length;
    }
}
