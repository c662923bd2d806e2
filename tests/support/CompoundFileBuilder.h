#pragma once

// Lays out OLE2 compound files in memory so that tests know where every
// sector, table and directory entry lies, and can damage them on purpose.
// File order: header, FAT, DIFAT, directory, mini FAT, mini stream, then the
// streams of 4096 bytes or more in the order they were added.

#include "compound/CompoundFile.h"

namespace quillet::test {

struct BuilderEntry {
    std::u16string name;
    int type = 2;  // 1 storage, 2 stream, 5 root
    int32_t left = -1, right = -1, child = -1;
    std::string data;
    uint32_t size = 0;         // written to the directory: the data's length unless changed
    int32_t firstSector = -2;  // known after build()
};

struct CompoundFileBuilder {
    int shift = 9;              // or 12
    int minimumFatSectors = 1;  // more than 109 bring the DIFAT into play
    std::vector<BuilderEntry> entries{{u"Root Entry", 5, -1, -1, -1, {}, 0, -2}};
    int32_t directoryStart = -2, miniFatStart = -2, firstDifat = -2;  // known after build()

    // A new entry becomes the last child of parent, linked through right siblings.
    int add(const std::string& name, std::string data, int parent = 0, int type = 2);
    std::string build();
    int64_t sectorOffset(int64_t sector) const { return (sector + 1) << shift; }
    int64_t entryOffset(int index) const { return sectorOffset(directoryStart) + 128 * index; }
};

std::string le16(uint16_t value);
std::string le32(uint32_t value);
void putU32(std::string& bytes, int64_t offset, uint32_t value);
// Opened from a file that is gone again: the open handle keeps the bytes.
std::unique_ptr<CompoundFile> openBytes(const std::string& bytes);

}  // namespace quillet::test
