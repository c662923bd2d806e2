#include "compound/CompoundFile.h"

#include "compound/CompoundFileError.h"
#include "platform/ByteOrder.h"

#include <quillet/quillet.h>

#include <algorithm>
#include <limits>
#include <unordered_set>

namespace quillet {
namespace {

constexpr int64_t kMostFatEntries = 0x800000;
constexpr int32_t kEndOfChain = -2;
constexpr size_t kNoLimit = std::numeric_limits<size_t>::max();
const char kDualStorageName[] = "PP97_DUALSTORAGE";

}  // namespace

CompoundFile::CompoundFile(const std::string& path)
{
    if (file_.open(path, "rb") != 0) {
        error_ = file_.openError();
        return;
    }
    fileSize_ = std::max<int64_t>(file_.size(), 0);

    uint8_t raw[CompoundHeader::kSize] = {};
    file_.read(raw, sizeof raw);
    if (!header_.parse(raw)) {
        error_ = Unsupported;
        return;
    }
    sectorSize_ = header_.sectorSize;
    fileSectors_ = fileSize_ <= sectorSize_ ? 0 : (fileSize_ - 1) / sectorSize_;
    sector_.resize(static_cast<size_t>(sectorSize_));
    standard_ = std::make_unique<StandardSectors>(file_, fileSize_, sectorSize_);

    readFat();
    readMiniFat();
    readDirectory();
    walkTree();
}

CompoundFile::~CompoundFile() = default;

bool CompoundFile::inFile(int32_t sector) const
{
    return sector >= 0 && sector < fileSectors_;
}

void CompoundFile::appendFatSector(int32_t sector)
{
    // The part of a FAT sector lost with the end of a cut-short file says
    // nothing: its chains end there rather than run on to sector 0.
    const size_t got = standard_->readSector(sector_.data(), sector);
    for (size_t i = 0; i < static_cast<size_t>(sectorSize_ / 4); ++i)
        fat_.push_back(4 * i + 4 <= got ? loadI32(sector_.data() + 4 * i) : kEndOfChain);
}

void CompoundFile::readFat()
{
    const int32_t declared = header_.fatSectorCount;
    if (declared < 0)
        throw CompoundFileError();
    const int32_t inHeader = std::min<int32_t>(static_cast<int32_t>(CompoundHeader::kHeaderFatEntries), declared);
    for (int32_t i = 0; i < inHeader; ++i)
        appendFatSector(header_.difat[static_cast<size_t>(i)]);
    if (inHeader == declared)
        return;
    if (header_.difatSectorCount <= 0)
        throw CompoundFileError();

    const int64_t perSector = sectorSize_ / 4;
    int64_t loaded = inHeader;
    std::unordered_set<int32_t> seen;
    int32_t difat = header_.firstDifatSector;
    for (int32_t walked = 0; walked < header_.difatSectorCount && loaded < declared; ++walked) {
        // A DIFAT sector outside the file or met twice cannot complete the FAT.
        if (!inFile(difat) || !seen.insert(difat).second)
            break;
        standard_->readSector(sector_.data(), difat);
        const int64_t take = std::min<int64_t>(perSector - 1, declared - loaded);
        std::vector<int32_t> numbers(static_cast<size_t>(take));
        for (int64_t i = 0; i < take; ++i)
            numbers[static_cast<size_t>(i)] = loadI32(sector_.data() + 4 * i);
        difat = loadI32(sector_.data() + 4 * (perSector - 1));
        for (int32_t number : numbers)
            appendFatSector(number);
        loaded += take;
        if (loaded * perSector > kMostFatEntries)
            break;
    }
    if (loaded != declared)
        throw CompoundFileError();
}

void CompoundFile::readMiniFat()
{
    std::vector<bool> seen(fat_.size());
    int32_t current = header_.firstMiniFatSector;
    for (int32_t left = header_.miniFatSectorCount; left > 0; --left) {
        if (current < 0 || static_cast<size_t>(current) >= fat_.size() || seen[static_cast<size_t>(current)])
            break;
        seen[static_cast<size_t>(current)] = true;
        standard_->readSector(sector_.data(), current);
        for (int i = 0; i < sectorSize_ / 4; ++i)
            miniFat_.push_back(loadI32(sector_.data() + 4 * i));
        current = fat_[static_cast<size_t>(current)];
    }
}

void CompoundFile::readDirectory()
{
    const size_t slots = static_cast<size_t>(sectorSize_ / DirectoryEntry::kSlotSize);
    for (int32_t sector : walkChain(header_.firstDirectorySector, true, kMostDirectoryEntries / slots)) {
        // Past the end every slot would read as an empty entry.
        if (!inFile(sector))
            break;
        standard_->readSector(sector_.data(), sector);
        for (size_t slot = 0; slot < slots; ++slot) {
            entries_.push_back(DirectoryEntry::decode(sector_.data() + slot * DirectoryEntry::kSlotSize));
            const DirectoryEntry& entry = entries_.back();
            if (entry.type == DirectoryEntry::Root && !mini_)
                mini_ = std::make_unique<MiniSectors>(file_, fileSize_, sectorSize_, chainOf(entry.firstSector));
        }
    }
}

// Depth-first from the root. A storage named PP97_DUALSTORAGE opens a walk of
// its own into the dual-storage list; the walk does not enter other storages
// but goes on to their siblings, which belong to the same storage.
// One visited record serves every walk, so each entry is listed at most once
// and nested dual storages cannot recurse without end.
void CompoundFile::walkTree()
{
    struct Walk {
        int start;
        std::vector<int> stack;
        std::vector<const DirectoryEntry*>* list;
    };
    const int count = static_cast<int>(entries_.size());
    std::vector<bool> visited(entries_.size());
    std::vector<Walk> walks;
    if (count > 0)
        walks.push_back({0, {0}, &tree_});

    while (!walks.empty()) {
        if (walks.back().stack.empty()) {
            walks.pop_back();
            continue;
        }
        Walk& walk = walks.back();
        const int index = walk.stack.back();
        walk.stack.pop_back();
        if (index < 0 || index >= count)
            continue;
        const DirectoryEntry& entry = entries_[static_cast<size_t>(index)];
        if (entry.type == DirectoryEntry::Root && index != 0)
            continue;
        if (visited[static_cast<size_t>(index)])
            continue;
        if (entry.type == DirectoryEntry::Storage && index != walk.start) {
            if (entry.hasName(kDualStorageName)) {
                walks.push_back({index, {index}, &dualStorage_});
            } else {
                visited[static_cast<size_t>(index)] = true;
                walk.stack.push_back(entry.leftSibling);
                walk.stack.push_back(entry.rightSibling);
            }
            continue;
        }
        visited[static_cast<size_t>(index)] = true;
        walk.list->push_back(&entry);
        walk.stack.push_back(entry.child);
        walk.stack.push_back(entry.leftSibling);
        walk.stack.push_back(entry.rightSibling);
    }
}

std::vector<int32_t> CompoundFile::chainOf(int32_t firstSector) const
{
    return walkChain(firstSector, true, kNoLimit);
}

// A standard chain keeps a sector beyond the FAT as its last one and ends
// after kMostSectorsPastEnd sectors past the end of the file; a mini chain
// ends before a sector beyond the mini FAT. A chain ends at the first sector
// met a second time; a standard chain that leaves the FAT after kChainGuard
// sectors is damage.
std::vector<int32_t> CompoundFile::walkChain(int32_t first, bool standard, size_t limit) const
{
    const std::vector<int32_t>& table = standard ? fat_ : miniFat_;
    std::vector<int32_t> chain;
    std::vector<bool> met(table.size());
    size_t pastEnd = 0;
    for (int32_t current = first; current >= 0 && chain.size() < limit; current = table[static_cast<size_t>(current)]) {
        const size_t index = static_cast<size_t>(current);
        if (index >= table.size()) {
            if (standard && chain.size() >= kChainGuard)
                throw CompoundFileError();
            if (standard)
                chain.push_back(current);
            break;
        }
        if (met[index])
            break;
        met[index] = true;
        if (standard && !inFile(current) && ++pastEnd > kMostSectorsPastEnd)
            break;
        chain.push_back(current);
    }
    return chain;
}

const DirectoryEntry* CompoundFile::findOwnEntry(const std::string& name) const
{
    for (const auto* list : {&dualStorage_, &tree_})
        for (const DirectoryEntry* entry : *list)
            if (entry->hasName(name))
                return entry;
    return nullptr;
}

const DirectoryEntry* CompoundFile::findEntry(const std::string& name) const
{
    if (const DirectoryEntry* own = findOwnEntry(name))
        return own;
    for (const DirectoryEntry& entry : entries_)
        if (entry.hasName(name))
            return &entry;
    return nullptr;
}

std::unique_ptr<CompoundStream> CompoundFile::openStream(const std::string& name)
{
    const DirectoryEntry* entry = findEntry(name);
    if (entry == nullptr)
        return nullptr;
    // The size is the unsigned low word: no stream has a negative length.
    const uint32_t size = static_cast<uint32_t>(entry->size);
    // One sector more than the size needs still tells a chain that is too long.
    if (size >= kMiniStreamCutoff) {
        const size_t needed = (size + static_cast<size_t>(sectorSize_) - 1) / static_cast<size_t>(sectorSize_);
        return std::make_unique<CompoundStream>(*standard_, size, walkChain(entry->firstSector, true, needed + 1));
    }
    if (!mini_)
        return nullptr;
    std::vector<int32_t> chain = walkChain(entry->firstSector, false, kNoLimit);
    for (int32_t sector : chain)
        if (!mini_->contains(sector))
            return nullptr;
    return std::make_unique<CompoundStream>(*mini_, size, std::move(chain));
}

}  // namespace quillet
