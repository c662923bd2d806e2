// The compound file reader on files laid out sector by sector by the builder,
// intact and damaged.
#include "compound/CompoundFile.h"
#include "compound/CompoundFileError.h"

#include "support/CompoundFileBuilder.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <quillet/quillet.h>

#include <cerrno>
#include <chrono>

using namespace quillet;
using namespace quillet::test;

namespace {

std::string pattern(size_t size, int seed = 0)
{
    std::string bytes(size, '\0');
    for (size_t i = 0; i < size; ++i)
        bytes[i] = char('A' + (i * 7 + size_t(seed)) % 26);
    return bytes;
}

// Everything left in a stream, up to its (possibly cut) size.
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

struct OpenedFile {
    TempDir dir;
    std::string path;
    std::unique_ptr<CompoundFile> file;
    explicit OpenedFile(const std::string& bytes, const std::string& name = "file.bin")
        : path(dir.file(name))
    {
        writeFile(path, bytes);
        file = std::make_unique<CompoundFile>(path);
    }
};

void expectCompoundError(const std::string& bytes)
{
    TempDir dir;
    writeFile(dir.file("bad.bin"), bytes);
    try {
        CompoundFile file(dir.file("bad.bin"));
        ADD_FAILURE() << "no error raised";
    } catch (const CompoundFileError& error) {
        EXPECT_STREQ(error.what(), "stream err!");
    }
}

}  // namespace

TEST(CompoundFile, HeaderDecidesWhetherTheFileOpens)
{
    CompoundFileBuilder builder;
    builder.addStream("Data", pattern(100));
    const std::string good = builder.build();

    EXPECT_EQ(OpenedFile(good).file->error(), 0);
    std::string badSignature = good;
    badSignature[7] = 0;
    EXPECT_EQ(OpenedFile(badSignature).file->error(), int(Unsupported));
    std::string shift10 = good;
    putU16(shift10, 30, 10);
    EXPECT_EQ(OpenedFile(shift10).file->error(), int(Unsupported));
    // Shorter than a header: the missing bytes are zero, so the shift is invalid.
    EXPECT_EQ(OpenedFile(good.substr(0, 30)).file->error(), int(Unsupported));

    TempDir dir;
    EXPECT_EQ(CompoundFile(dir.file("missing")).error(), ENOENT);
    EXPECT_EQ(CompoundFile(dir.file("missing")).kind(), 0);
}

TEST(CompoundFile, FourKilobyteSectorsStartAfterAWholeSectorOfHeader)
{
    CompoundFileBuilder builder(12);
    builder.addStream("Big", pattern(9000, 1));
    builder.addStream("Small", pattern(300, 2));
    const std::string bytes = builder.build();
    ASSERT_EQ(builder.sectorSize(), 4096);
    ASSERT_EQ(bytes.size() % 4096, 0u);

    OpenedFile opened(bytes);
    CompoundFile& file = *opened.file;
    ASSERT_EQ(file.error(), 0);
    EXPECT_EQ(file.sectorSize(), 4096);
    // Sector 0 holds the FAT: its first entry marks itself as a FAT sector.
    ASSERT_FALSE(file.fat().empty());
    EXPECT_EQ(file.fat()[0], -3);
    auto big = file.openStream("Big");
    auto small = file.openStream("Small");
    ASSERT_TRUE(big && small);
    EXPECT_EQ(readAll(*big), pattern(9000, 1));
    EXPECT_EQ(readAll(*small), pattern(300, 2));
}

TEST(CompoundFile, StreamsBelow4096BytesLiveInTheMiniStream)
{
    CompoundFileBuilder builder;
    for (size_t size : {size_t(1), size_t(64), size_t(65), size_t(4095), size_t(4096), size_t(4097), size_t(20000)})
        builder.addStream("s" + std::to_string(size), pattern(size, int(size)));
    OpenedFile opened(builder.build());
    CompoundFile& file = *opened.file;
    for (size_t size : {size_t(1), size_t(64), size_t(65), size_t(4095), size_t(4096), size_t(4097), size_t(20000)}) {
        auto stream = file.openStream("s" + std::to_string(size));
        ASSERT_TRUE(stream) << size;
        EXPECT_EQ(stream->status(), 0) << size;
        EXPECT_EQ(stream->size(), int64_t(size));
        EXPECT_EQ(readAll(*stream), pattern(size, int(size))) << size;
    }
    EXPECT_FALSE(file.openStream("absent"));
}

TEST(CompoundFile, DirectoryNamesKeepTheLowByteOfUnitsOfValidLength)
{
    CompoundFileBuilder builder;
    const int one = builder.addStream("x", "1");
    const int two = builder.addStream("y", "2");
    const int wide = builder.addStream("z", "3");
    builder.entry(wide).name = u"\u4E2Dab";  // U+4E2D keeps only 0x2D
    const int full = builder.addStream("f", "4");
    builder.entry(full).name = std::u16string(31, u'n');
    std::string bytes = builder.build();
    putU16(bytes, builder.directoryEntryOffset(one) + 64, 2);   // just the terminator
    putU16(bytes, builder.directoryEntryOffset(two) + 64, 66);  // longer than the field
    OpenedFile opened(bytes);
    const auto& entries = opened.file->entries();
    EXPECT_EQ(entries[size_t(one)].name, "");
    EXPECT_EQ(entries[size_t(two)].name, "");
    EXPECT_EQ(entries[size_t(wide)].name, "-ab");
    EXPECT_EQ(entries[size_t(full)].name, std::string(31, 'n'));
    EXPECT_EQ(entries[0].name, "Root Entry");
    EXPECT_EQ(entries[0].type, DirectoryEntry::Root);
}

TEST(CompoundFile, ChainShorterThanTheSizeIsCutAndFlagged)
{
    CompoundFileBuilder builder;
    const int liar = builder.addStream("Liar", pattern(5000));
    builder.entry(liar).declaredSize = 10000;
    const int empty = builder.addStream("Empty", "");
    const int huge = builder.addStream("Huge", pattern(4096));
    builder.entry(huge).declaredSize = 0x80000000u;  // negative as a signed word
    OpenedFile opened(builder.build());
    auto big = opened.file->openStream("Huge");
    ASSERT_TRUE(big);
    EXPECT_EQ(big->status(), int(ConversionFailed));
    EXPECT_EQ(big->size(), 4096);
    EXPECT_EQ(readAll(*big), pattern(4096));
    auto stream = opened.file->openStream("Liar");
    ASSERT_TRUE(stream);
    EXPECT_EQ(stream->status(), int(ConversionFailed));
    EXPECT_EQ(stream->size(), 10 * 512);
    EXPECT_EQ(readAll(*stream).substr(0, 5000), pattern(5000));
    EXPECT_THROW(stream->readU8(), CompoundFileError);

    // A small stream of no bytes has no sectors: it opens, flagged.
    auto none = opened.file->openStream("Empty");
    ASSERT_TRUE(none);
    EXPECT_EQ(none->status(), int(ConversionFailed));
    EXPECT_EQ(none->size(), 0);
    (void)empty;
}

TEST(CompoundFile, SectorsPastTheEndOfTheFileReadAsZeros)
{
    CompoundFileBuilder builder;
    builder.addStream("Tail", pattern(5000, 3));
    std::string bytes = builder.build();
    // The stream's last sector is the file's last; keep 100 of its bytes.
    const size_t lastSectorStart = bytes.size() - 512;
    bytes.resize(lastSectorStart + 100);
    OpenedFile opened(bytes);
    auto stream = opened.file->openStream("Tail");
    ASSERT_TRUE(stream);
    const std::string read = readAll(*stream);
    ASSERT_EQ(read.size(), 5000u);
    const size_t kept = 9 * 512 + 100;
    EXPECT_EQ(read.substr(0, kept), pattern(5000, 3).substr(0, kept));
    EXPECT_EQ(read.substr(kept), std::string(5000 - kept, '\0'));
}

TEST(CompoundFile, DualStorageWalkOrderAndFindOrder)
{
    CompoundFileBuilder builder;
    const int mainA = builder.addStream("A", "main");
    const int dual = builder.addStorage("PP97_DUALSTORAGE");
    const int dualA = builder.addStream("A", "dual", dual);
    const int dualB = builder.addStream("B", "b", dual);
    const int left = builder.addStream("L", "l");
    const int right = builder.addStream("R", "r");
    const int plain = builder.addStorage("Plain");
    const int hidden = builder.addStream("Hidden", "h", plain);
    // root -> A -> (right) PP97_DUALSTORAGE with siblings L and R, and Plain.
    builder.entry(0).child = mainA;
    builder.entry(mainA).right = dual;
    builder.entry(mainA).left = plain;
    builder.entry(dual).left = left;
    builder.entry(dual).right = right;
    builder.entry(dual).child = dualA;
    builder.entry(dualA).right = dualB;
    builder.entry(left).right = -1;
    builder.entry(right).right = -1;
    builder.entry(plain).right = -1;
    builder.entry(plain).child = hidden;
    OpenedFile opened(builder.build());
    CompoundFile& file = *opened.file;

    EXPECT_EQ(namesOf(file.treeEntries()), (std::vector<std::string>{"Root Entry", "A"}));
    EXPECT_EQ(namesOf(file.dualStorageEntries()), (std::vector<std::string>{"PP97_DUALSTORAGE", "R", "L", "A", "B"}));
    // The dual-storage copy wins over the main tree's.
    EXPECT_EQ(file.findEntry("A"), &file.entries()[size_t(dualA)]);
    auto stream = file.openStream("A");
    ASSERT_TRUE(stream);
    EXPECT_EQ(readAll(*stream), "dual");
    // Entries below an ordinary storage are not walked, but still found.
    EXPECT_EQ(file.findEntry("Hidden"), &file.entries()[size_t(hidden)]);
    EXPECT_TRUE(file.hasEntry("Hidden"));
    EXPECT_FALSE(file.hasEntry("hidden"));
}

TEST(CompoundFile, DirectoryCyclesEndTheWalk)
{
    CompoundFileBuilder builder;
    const int a = builder.addStream("A", "a");
    const int dual = builder.addStorage("PP97_DUALSTORAGE");
    const int inner = builder.addStorage("PP97_DUALSTORAGE", dual);
    builder.entry(a).left = 0;          // back to the root
    builder.entry(a).child = a;         // onto itself
    builder.entry(inner).child = dual;  // dual storages nested in a circle
    builder.entry(inner).right = inner;
    OpenedFile opened(builder.build());
    CompoundFile& file = *opened.file;
    EXPECT_EQ(namesOf(file.treeEntries()), (std::vector<std::string>{"Root Entry", "A"}));
    EXPECT_EQ(namesOf(file.dualStorageEntries()), (std::vector<std::string>{"PP97_DUALSTORAGE", "PP97_DUALSTORAGE"}));
}

TEST(CompoundFile, LoopingFatChainsEndAtTheFirstRepeatedSector)
{
    CompoundFileBuilder builder;
    const int loop = builder.addStream("Loop", pattern(9 * 512));
    std::string bytes = builder.build();
    const int32_t first = builder.entry(loop).firstSector;
    putU32(bytes, builder.fatEntryOffset(first + 8), uint32_t(first));  // last -> first
    OpenedFile opened(bytes);
    const auto started = std::chrono::steady_clock::now();
    std::vector<int32_t> expected;
    for (int32_t k = 0; k < 9; ++k)
        expected.push_back(first + k);
    EXPECT_EQ(opened.file->chainOf(first), expected);
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(5));
    auto stream = opened.file->openStream("Loop");
    ASSERT_TRUE(stream);
    EXPECT_EQ(stream->status(), 0);
    EXPECT_EQ(readAll(*stream), pattern(9 * 512));

    EXPECT_TRUE(opened.file->chainOf(-2).empty());
    // A sector beyond the FAT ends the chain, kept in it.
    EXPECT_EQ(opened.file->chainOf(100000), (std::vector<int32_t>{100000}));
}

TEST(CompoundFile, FatBeyondTheHeaderComesFromDifatSectors)
{
    CompoundFileBuilder builder;
    builder.setMinimumFatSectors(120);
    builder.addStream("Big", pattern(6000, 5));
    const std::string bytes = builder.build();
    ASSERT_EQ(builder.difatSectors().size(), 1u);
    {
        OpenedFile opened(bytes);
        auto stream = opened.file->openStream("Big");
        ASSERT_TRUE(stream);
        EXPECT_EQ(readAll(*stream), pattern(6000, 5));
        // No entries are kept for sectors the file does not have.
        EXPECT_EQ(opened.file->fat().size(), bytes.size() / 512 - 1);
    }

    std::string noDifat = bytes;
    putU32(noDifat, 72, 0);
    expectCompoundError(noDifat);
    std::string negative = bytes;
    putU32(negative, 44, 0xFFFFFFFF);
    expectCompoundError(negative);
    std::string tooMany = bytes;  // declares more FAT sectors than the DIFAT names
    putU32(tooMany, 44, 120 + 127);
    expectCompoundError(tooMany);
    std::string selfLoop = bytes;  // a DIFAT chain onto itself, asked for twice
    const int32_t difat = builder.difatSectors()[0];
    putU32(selfLoop, 44, 120 + 127);
    putU32(selfLoop, 72, 2);
    putU32(selfLoop, builder.sectorOffset(difat) + 508, uint32_t(difat));
    expectCompoundError(selfLoop);
    std::string outside = bytes;
    putU32(outside, 68, 0x7FFFFFF0);
    expectCompoundError(outside);
}

TEST(CompoundFile, MiniStreamsThatCannotBeReachedDoNotOpen)
{
    CompoundFileBuilder builder;
    const int small = builder.addStream("Small", pattern(100));
    builder.addStream("Zero", "");
    std::string bytes = builder.build();

    std::string farSector = bytes;  // inside the mini FAT, outside the mini stream
    putU32(farSector, builder.directoryEntryOffset(small) + 116, 100);
    EXPECT_FALSE(OpenedFile(farSector).file->openStream("Small"));

    std::string noMiniStream = bytes;  // the root's chain is empty
    putU32(noMiniStream, builder.directoryEntryOffset(0) + 116, uint32_t(-2));
    OpenedFile opened(noMiniStream);
    EXPECT_FALSE(opened.file->openStream("Small"));
    auto zero = opened.file->openStream("Zero");
    ASSERT_TRUE(zero);
    EXPECT_EQ(zero->status(), int(ConversionFailed));

    std::string noRoot = bytes;  // without a root entry there is no mini stream at all
    noRoot[size_t(builder.directoryEntryOffset(0) + 66)] = 1;
    EXPECT_FALSE(OpenedFile(noRoot).file->openStream("Zero"));

    std::string miniLoop = bytes;  // a mini FAT chain onto itself
    putU32(miniLoop, builder.sectorOffset(builder.miniFatStart()) + 4, 0);
    OpenedFile looped(miniLoop);
    auto stream = looped.file->openStream("Small");
    ASSERT_TRUE(stream);
    EXPECT_EQ(readAll(*stream), pattern(100));
}
