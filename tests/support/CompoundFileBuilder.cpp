#include "support/CompoundFileBuilder.h"

#include <stdexcept>

namespace quillet::test {
namespace {

constexpr int32_t kFree = -1;
constexpr int32_t kEndOfChain = -2;
constexpr int32_t kFatSector = -3;
constexpr int32_t kDifatSector = -4;
constexpr uint32_t kMiniCutoff = 4096;

int64_t ceilDiv(int64_t a, int64_t b)
{
    return (a + b - 1) / b;
}

}  // namespace

void putU16(std::string& bytes, int64_t offset, uint16_t value)
{
    bytes.at(size_t(offset)) = char(value & 0xFF);
    bytes.at(size_t(offset) + 1) = char(value >> 8);
}

void putU32(std::string& bytes, int64_t offset, uint32_t value)
{
    putU16(bytes, offset, uint16_t(value & 0xFFFF));
    putU16(bytes, offset + 2, uint16_t(value >> 16));
}

uint32_t getU32(const std::string& bytes, int64_t offset)
{
    uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = (value << 8) | uint8_t(bytes.at(size_t(offset) + i));
    return value;
}

CompoundFileBuilder::CompoundFileBuilder(int sectorShift)
    : sectorShift_(sectorShift), sectorSize_(1 << sectorShift)
{
    BuilderEntry root;
    root.name = u"Root Entry";
    root.type = 5;
    entries_.push_back(root);
}

static void linkChild(std::vector<BuilderEntry>& entries, int parent, int child)
{
    BuilderEntry& owner = entries.at(size_t(parent));
    if (owner.child < 0) {
        owner.child = child;
        return;
    }
    int32_t last = owner.child;
    while (entries[size_t(last)].right >= 0)
        last = entries[size_t(last)].right;
    entries[size_t(last)].right = child;
}

int CompoundFileBuilder::addStream(const std::string& name, std::string data, int parent)
{
    BuilderEntry entry;
    entry.name.assign(name.begin(), name.end());
    entry.data = std::move(data);
    entries_.push_back(entry);
    const int index = int(entries_.size()) - 1;
    linkChild(entries_, parent, index);
    return index;
}

int CompoundFileBuilder::addStorage(const std::string& name, int parent)
{
    const int index = addStream(name, std::string(), parent);
    entries_[size_t(index)].type = 1;
    return index;
}

int64_t CompoundFileBuilder::fatEntryOffset(int32_t sector) const
{
    const int perSector = sectorSize_ / 4;
    return sectorOffset(fatSectors_.at(size_t(sector / perSector))) + 4 * (sector % perSector);
}

int64_t CompoundFileBuilder::directoryEntryOffset(int index) const
{
    const int perSector = sectorSize_ / 128;
    return sectorOffset(directorySectors_.at(size_t(index / perSector))) + 128 * (index % perSector);
}

std::string CompoundFileBuilder::build()
{
    const int64_t s = sectorSize_;
    const int64_t perFat = s / 4;

    // The mini stream: every small stream, padded to 64 bytes.
    std::string miniStream;
    std::vector<int32_t> miniFat;
    for (size_t i = 1; i < entries_.size(); ++i) {
        BuilderEntry& entry = entries_[i];
        if (entry.type != 2 || entry.size() >= kMiniCutoff || entry.data.empty()) {
            if (entry.type == 2 && entry.size() < kMiniCutoff)
                entry.firstSector = kEndOfChain;
            continue;
        }
        const int32_t first = int32_t(miniStream.size() / 64);
        const int32_t count = int32_t(ceilDiv(int64_t(entry.data.size()), 64));
        for (int32_t k = 0; k < count; ++k)
            miniFat.push_back(k + 1 < count ? first + k + 1 : kEndOfChain);
        miniStream += entry.data;
        miniStream.resize(size_t(first + count) * 64, '\0');
        entry.firstSector = first;
    }

    const int64_t directoryCount = ceilDiv(int64_t(entries_.size()) * 128, s);
    const int64_t miniFatCount = ceilDiv(int64_t(miniFat.size()) * 4, s);
    const int64_t miniStreamCount = ceilDiv(int64_t(miniStream.size()), s);
    int64_t bigCount = 0;
    for (size_t i = 1; i < entries_.size(); ++i)
        if (entries_[i].type == 2 && entries_[i].size() >= kMiniCutoff)
            bigCount += ceilDiv(int64_t(entries_[i].data.size()), s);
    const int64_t others = directoryCount + miniFatCount + miniStreamCount + bigCount;

    int64_t fatCount = std::max<int64_t>(minimumFatSectors_, 1);
    int64_t difatCount = 0;
    for (;;) {
        const int64_t needed = std::max<int64_t>(minimumFatSectors_, ceilDiv(others + fatCount + difatCount, perFat));
        const int64_t difatNeeded = needed > 109 ? ceilDiv(needed - 109, perFat - 1) : 0;
        if (needed == fatCount && difatNeeded == difatCount)
            break;
        fatCount = std::max(needed, fatCount);
        difatCount = difatNeeded;
    }
    const int64_t total = fatCount + difatCount + others;
    std::vector<int32_t> fat(size_t(fatCount * perFat), kFree);
    std::string body(size_t(total * s), '\0');
    int32_t next = 0;
    auto chain = [&](int64_t count, int32_t mark) {
        const int32_t first = next;
        for (int64_t k = 0; k < count; ++k, ++next)
            fat[size_t(next)] = mark != 0 ? mark : (k + 1 < count ? next + 1 : kEndOfChain);
        return count > 0 ? first : kEndOfChain;
    };
    auto place = [&](int32_t first, const std::string& bytes) {
        if (first >= 0)
            body.replace(size_t(first) * size_t(s), bytes.size(), bytes);
    };

    fatSectors_.clear();
    for (int64_t k = 0; k < fatCount; ++k)
        fatSectors_.push_back(chain(1, kFatSector));
    difatSectors_.clear();
    for (int64_t k = 0; k < difatCount; ++k)
        difatSectors_.push_back(chain(1, kDifatSector));
    const int32_t directoryStart = chain(directoryCount, 0);
    directorySectors_.clear();
    for (int64_t k = 0; k < directoryCount; ++k)
        directorySectors_.push_back(directoryStart + int32_t(k));
    miniFatStart_ = chain(miniFatCount, 0);
    const int32_t miniStreamStart = chain(miniStreamCount, 0);
    entries_[0].firstSector = miniStreamStart;
    entries_[0].declaredSize = uint32_t(miniStream.size());
    for (size_t i = 1; i < entries_.size(); ++i) {
        BuilderEntry& entry = entries_[i];
        if (entry.type == 2 && entry.size() >= kMiniCutoff) {
            entry.firstSector = chain(ceilDiv(int64_t(entry.data.size()), s), 0);
            place(entry.firstSector, entry.data);
        } else if (entry.type == 1) {
            entry.firstSector = 0;
        }
    }
    if (next != total)
        throw std::logic_error("compound builder: sector count mismatch");

    // Directory.
    std::string directory(size_t(directoryCount * s), '\0');
    for (size_t i = 0; i < directory.size() / 128; ++i) {
        const size_t at = i * 128;
        if (i >= entries_.size()) {
            putU32(directory, int64_t(at) + 68, uint32_t(-1));
            putU32(directory, int64_t(at) + 72, uint32_t(-1));
            putU32(directory, int64_t(at) + 76, uint32_t(-1));
            continue;
        }
        const BuilderEntry& entry = entries_[i];
        for (size_t c = 0; c < entry.name.size() && c < 31; ++c)
            putU16(directory, int64_t(at + 2 * c), entry.name[c]);
        putU16(directory, int64_t(at) + 64, uint16_t((std::min<size_t>(entry.name.size(), 31) + 1) * 2));
        directory[at + 66] = char(entry.type);
        directory[at + 67] = 1;  // black
        putU32(directory, int64_t(at) + 68, uint32_t(entry.left));
        putU32(directory, int64_t(at) + 72, uint32_t(entry.right));
        putU32(directory, int64_t(at) + 76, uint32_t(entry.child));
        putU32(directory, int64_t(at) + 116, uint32_t(entry.firstSector));
        putU32(directory, int64_t(at) + 120, entry.size());
    }
    place(directoryStart, directory);

    std::string miniFatBytes(size_t(miniFatCount * s), '\xFF');
    for (size_t i = 0; i < miniFat.size(); ++i)
        putU32(miniFatBytes, int64_t(4 * i), uint32_t(miniFat[i]));
    place(miniFatStart_, miniFatBytes);
    place(miniStreamStart, miniStream);

    std::string fatBytes(fat.size() * 4, '\0');
    for (size_t i = 0; i < fat.size(); ++i)
        putU32(fatBytes, int64_t(4 * i), uint32_t(fat[i]));
    for (int64_t k = 0; k < fatCount; ++k)
        body.replace(size_t(fatSectors_[size_t(k)]) * size_t(s), size_t(s), fatBytes, size_t(k * s), size_t(s));

    // DIFAT sectors: FAT sector numbers beyond the header's 109.
    for (int64_t d = 0; d < difatCount; ++d) {
        std::string sector(size_t(s), '\xFF');
        for (int64_t k = 0; k < perFat - 1; ++k) {
            const int64_t index = 109 + d * (perFat - 1) + k;
            if (index < fatCount)
                putU32(sector, 4 * k, uint32_t(fatSectors_[size_t(index)]));
        }
        putU32(sector, 4 * (perFat - 1), uint32_t(d + 1 < difatCount ? difatSectors_[size_t(d + 1)] : kEndOfChain));
        body.replace(size_t(difatSectors_[size_t(d)]) * size_t(s), size_t(s), sector);
    }

    std::string header(size_t(s), '\0');
    const std::string signature = "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1";
    header.replace(0, signature.size(), signature);
    putU16(header, 24, 0x3E);
    putU16(header, 26, sectorShift_ == 12 ? 4 : 3);
    putU16(header, 28, 0xFFFE);
    putU16(header, 30, uint16_t(sectorShift_));
    putU16(header, 32, 6);
    putU32(header, 40, sectorShift_ == 12 ? uint32_t(directoryCount) : 0);
    putU32(header, 44, uint32_t(fatCount));
    putU32(header, 48, uint32_t(directoryStart));
    putU32(header, 56, kMiniCutoff);
    putU32(header, 60, uint32_t(miniFatStart_));
    putU32(header, 64, uint32_t(miniFatCount));
    putU32(header, 68, uint32_t(difatCount > 0 ? difatSectors_[0] : kEndOfChain));
    putU32(header, 72, uint32_t(difatCount));
    for (int k = 0; k < 109; ++k)
        putU32(header, 76 + 4 * k, uint32_t(k < fatCount ? fatSectors_[size_t(k)] : kFree));
    return header + body;
}

}  // namespace quillet::test
