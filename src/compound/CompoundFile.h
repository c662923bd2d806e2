#pragma once

#include "compound/CompoundHeader.h"
#include "compound/CompoundStream.h"
#include "compound/DirectoryEntry.h"
#include "compound/MiniSectors.h"
#include "compound/StandardSectors.h"
#include "platform/StdioFile.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace quillet {

// An OLE2 compound file opened for reading: its allocation tables and
// directory are read at construction, its streams are handed out by name.
// Damage that leaves the allocation table incomplete raises
// CompoundFileError from the constructor.
class CompoundFile {
public:
    // Chains longer than this are walked again with a record of the sectors
    // met, so that a loop ends at its first repeated sector.
    static constexpr size_t kChainGuard = 102400;
    static constexpr size_t kMiniStreamCutoff = 4096;
    // The directory keeps at most this many entries; real files hold a few
    // dozen, and each costs memory whether its slot is used or not.
    static constexpr size_t kMostDirectoryEntries = 65536;
    // A chain may run this many sectors past the end of a cut-short file
    // (they read as zeros) before it is ended there.
    static constexpr size_t kMostSectorsPastEnd = 4096;

    explicit CompoundFile(const std::string& path);
    ~CompoundFile();
    CompoundFile(const CompoundFile&) = delete;
    CompoundFile& operator=(const CompoundFile&) = delete;

    // 0 when open, the errno of the open, or 4097 for an invalid header.
    int error() const { return error_; }

    // Lookups compare names as DirectoryEntry::hasName does.

    // The document itself has an entry of this name: one of the root
    // storage's own or of the dual storage's, not of an object it embeds.
    bool hasOwnEntry(const std::string& name) const { return findOwnEntry(name) != nullptr; }
    // The first entry of that name: dual-storage entries first, then the
    // root storage's own, then every directory entry.
    const DirectoryEntry* findEntry(const std::string& name) const;
    // Null when there is no such entry or its mini sectors lie outside the
    // mini stream. The stream must not outlive this object.
    std::unique_ptr<CompoundStream> openStream(const std::string& name);
    std::vector<int32_t> chainOf(int32_t firstSector) const;

    const std::vector<DirectoryEntry>& entries() const { return entries_; }
    const std::vector<const DirectoryEntry*>& treeEntries() const { return tree_; }
    const std::vector<const DirectoryEntry*>& dualStorageEntries() const { return dualStorage_; }

private:
    const DirectoryEntry* findOwnEntry(const std::string& name) const;
    void readFat();
    void appendFatSector(int32_t sector);
    void readMiniFat();
    void readDirectory();
    void walkTree();
    // Follows the FAT (standard) or the mini FAT from first for at most limit
    // sectors; see chainOf for the rules.
    std::vector<int32_t> walkChain(int32_t first, bool standard, size_t limit) const;
    bool inFile(int32_t sector) const;

    int error_ = 0;
    StdioFile file_;
    CompoundHeader header_;
    int sectorSize_ = 0;
    std::vector<uint8_t> sector_;
    std::unique_ptr<StandardSectors> standard_;
    std::unique_ptr<MiniSectors> mini_;
    std::vector<int32_t> fat_;
    std::vector<int32_t> miniFat_;
    std::vector<DirectoryEntry> entries_;
    std::vector<const DirectoryEntry*> tree_;
    std::vector<const DirectoryEntry*> dualStorage_;

    int64_t fileSize_ = 0;
    // Sectors that exist in the file; the FAT keeps no entries beyond them.
    int64_t fileSectors_ = 0;
};

}  // namespace quillet
