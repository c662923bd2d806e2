#pragma once

// Builds OLE2 compound files in memory so that tests can lay out sectors,
// allocation tables, the mini stream and the directory exactly, and then
// damage them on purpose.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace quillet::test {

struct BuilderEntry {
    std::u16string name;
    int type = 2;  // 1 storage, 2 stream, 5 root
    int32_t left = -1;
    int32_t right = -1;
    int32_t child = -1;
    std::string data;
    // The size written into the directory; the data's length unless set.
    std::optional<uint32_t> declaredSize;
    // Where the data went, known after build().
    int32_t firstSector = -2;

    uint32_t size() const { return declaredSize ? *declaredSize : static_cast<uint32_t>(data.size()); }
};

class CompoundFileBuilder {
public:
    // 9 for 512-byte sectors, 12 for 4096-byte sectors.
    explicit CompoundFileBuilder(int sectorShift = 9);

    // New entries become the last child of parent (linked through right
    // siblings); links can be rewritten through entry() before build().
    int addStream(const std::string& name, std::string data, int parent = 0);
    int addStorage(const std::string& name, int parent = 0);
    BuilderEntry& entry(int index) { return entries_[static_cast<size_t>(index)]; }

    // At least this many FAT sectors, so that the DIFAT comes into play
    // without a large file (extra FAT sectors describe free sectors).
    void setMinimumFatSectors(int count) { minimumFatSectors_ = count; }

    std::string build();

    // Positions in the built file.
    int sectorSize() const { return sectorSize_; }
    int64_t sectorOffset(int32_t sector) const { return (int64_t(sector) + 1) * sectorSize_; }
    int64_t fatEntryOffset(int32_t sector) const;
    int64_t directoryEntryOffset(int index) const;
    const std::vector<int32_t>& fatSectors() const { return fatSectors_; }
    const std::vector<int32_t>& difatSectors() const { return difatSectors_; }
    int32_t miniFatStart() const { return miniFatStart_; }

private:
    int sectorShift_;
    int sectorSize_;
    int minimumFatSectors_ = 0;
    std::vector<BuilderEntry> entries_;
    std::vector<int32_t> fatSectors_;
    std::vector<int32_t> difatSectors_;
    std::vector<int32_t> directorySectors_;
    int32_t miniFatStart_ = -2;
};

// Little-endian patching of built files.
void putU16(std::string& bytes, int64_t offset, uint16_t value);
void putU32(std::string& bytes, int64_t offset, uint32_t value);
uint32_t getU32(const std::string& bytes, int64_t offset);

}  // namespace quillet::test
