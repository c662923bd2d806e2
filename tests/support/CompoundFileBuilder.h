#pragma once

// OLE2 compound files laid out in memory, so that tests know where every sector, table and directory entry
// lies and can damage them: header, FAT, DIFAT, directory, mini FAT, mini stream, then the streams of 4096
// bytes or more in the order they were added.

#include "compound/CompoundFile.h"
#include "output/TextFileReencoding.h"
#include "support/TempDir.h"

#include <quillet/quillet.h>

#include <map>
#include <utility>

namespace quillet {
class DocumentRecord;
}

namespace quillet::test {

inline std::string le16(uint16_t value)
{
    return {char(value & 0xFF), char(value >> 8)};
}
inline std::string le32(uint32_t value)
{
    return le16(uint16_t(value)) + le16(uint16_t(value >> 16));
}
inline void putU32(std::string& bytes, int64_t offset, uint32_t value)
{
    bytes.replace(size_t(offset), 4, le32(value));
}

// Opened from a file that is gone again: the open handle keeps the bytes.
inline std::unique_ptr<CompoundFile> openBytes(const std::string& bytes)
{
    TempDir dir;
    writeFile(dir.file("f.bin"), bytes);
    return std::make_unique<CompoundFile>(dir.file("f.bin"));
}

// What an export of the bytes into a fresh folder answered (4098 for a damaged stream or part, as the
// library does) and left: "1.txt" ("(none)" when not written) and every other file.
struct Exported {
    int code = -1;
    std::string text = "(none)";
    std::map<std::string, std::string> files;
};

inline Exported exportFile(int (*exportDocument)(CompoundFile&, const std::string&, uint32_t, DocumentRecord*),
                           const std::string& bytes, uint32_t flags)
{
    TempDir dir;
    Exported result;
    try {
        result.code = exportDocument(*openBytes(bytes), dir.path(), flags, nullptr);
    } catch (const std::runtime_error&) {
        result.code = ConversionFailed;
    }
    // The text as the reader appended it, UTF-16LE.
    finishTextFile(dir.path(), false);
    for (const std::string& name : listFolder(dir.path()))
        (name == "1.txt" ? result.text : result.files[name]) = readFile(dir.file(name));
    return result;
}

struct BuilderEntry {
    std::u16string name;
    int type = 2;  // 1 storage, 2 stream, 5 root
    int32_t left = -1, right = -1, child = -1;
    std::string data = {};
    int32_t firstSector = -2;  // known after build()
};

struct CompoundFileBuilder {
    int shift = 9;              // or 12
    int minimumFatSectors = 1;  // more than 109 bring the DIFAT into play
    std::vector<BuilderEntry> entries{{u"Root Entry", 5}};
    int32_t directoryStart = -2, miniFatStart = -2, firstDifat = -2;  // known after build()

    int64_t sectorOffset(int64_t sector) const { return (sector + 1) << shift; }
    int64_t entryOffset(int index) const { return sectorOffset(directoryStart) + 128 * index; }

    // A new entry becomes the last child of parent, linked through right siblings.
    int add(const std::string& name, std::string data, int parent = 0, int type = 2)
    {
        const int32_t index = int32_t(entries.size());
        int32_t* link = &entries.at(size_t(parent)).child;
        while (*link >= 0)
            link = &entries[size_t(*link)].right;
        *link = index;
        // May move the entries: link points into them.
        entries.push_back({{name.begin(), name.end()}, type, -1, -1, -1, std::move(data)});
        return index;
    }

    std::string build()
    {
        const int64_t s = int64_t(1) << shift, perFat = s / 4;
        const auto sectors = [s](size_t bytes) { return (int64_t(bytes) + s - 1) / s; };
        const auto padded = [&](std::string bytes) {
            return bytes.append(size_t(sectors(bytes.size()) * s) - bytes.size(), '\0');
        };
        // Chains count sectors from first on in the table; the chain's start.
        const auto chain = [](std::string& table, int64_t first, int64_t count) {
            for (int64_t k = 1; k <= count; ++k)
                table += le32(k < count ? uint32_t(first + k) : uint32_t(-2));
            return count > 0 ? int32_t(first) : -2;
        };
        // The parts after the FAT and DIFAT, in file order; the directory is filled in once starts are known.
        std::string directory(entries.size() * 128, '\0'), miniFat, mini;
        std::vector<std::pair<int32_t*, std::string*>> parts = {
            {&directoryStart, &directory}, {&miniFatStart, &miniFat}, {&entries[0].firstSector, &mini}};
        for (BuilderEntry& e : entries) {
            if (e.type == 2 && e.data.size() >= 4096) {
                parts.push_back({&e.firstSector, &e.data});
            } else if (e.type == 2) {
                e.firstSector = chain(miniFat, int64_t(mini.size() / 64), int64_t(e.data.size() + 63) / 64);
                mini += e.data + std::string((64 - e.data.size() % 64) % 64, '\0');
            }
        }
        miniFat.resize(size_t(sectors(miniFat.size()) * s), '\xFF');
        int64_t used = 0, fats = minimumFatSectors, difats = 0;
        for (const auto& part : parts)
            used += sectors(part.second->size());
        for (;; ++fats) {
            difats = fats > 109 ? (fats - 109 + perFat - 2) / (perFat - 1) : 0;
            if (fats * perFat >= used + fats + difats)
                break;
        }
        std::string fat;
        for (int64_t k = 0; k < fats + difats; ++k)
            fat += le32(k < fats ? uint32_t(-3) : uint32_t(-4));
        for (const auto& part : parts)
            *part.first = chain(fat, int64_t(fat.size() / 4), sectors(part.second->size()));
        fat.resize(size_t(fats * s), '\xFF');
        for (int64_t d = 0; d < difats; ++d) {  // FAT sectors from 109 on, then the next DIFAT sector
            for (int64_t i = 109 + d * (perFat - 1); i < 109 + (d + 1) * (perFat - 1); ++i)
                fat += le32(i < fats ? uint32_t(i) : uint32_t(-1));
            fat += le32(d + 1 < difats ? uint32_t(fats + d + 1) : uint32_t(-2));
        }
        firstDifat = difats > 0 ? int32_t(fats) : -2;
        for (size_t i = 0; i < entries.size(); ++i) {
            const BuilderEntry& e = entries[i];
            std::string name;
            for (char16_t c : e.name + u'\0')
                name += le16(c);
            const size_t size = i == 0 ? mini.size() : e.data.size();
            directory.replace(128 * i, 128,
                              name + std::string(64 - name.size(), '\0') + le16(uint16_t(name.size())) + char(e.type) +
                                  '\1' + le32(uint32_t(e.left)) + le32(uint32_t(e.right)) + le32(uint32_t(e.child)) +
                                  std::string(36, '\0') + le32(uint32_t(e.firstSector)) + le32(uint32_t(size)) +
                                  std::string(4, '\0'));
        }
        std::vector<int64_t> words = {fats,         directoryStart,          0,          4096,
                                      miniFatStart, sectors(miniFat.size()), firstDifat, difats};
        for (int64_t k = 0; k < 109; ++k)
            words.push_back(k < fats ? k : -1);
        std::string file = std::string("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8) + std::string(22, '\0') +
                           le16(uint16_t(shift)) + std::string(12, '\0');  // the FAT sector count is at 44
        for (int64_t word : words)
            file += le32(uint32_t(word));
        file = padded(file) + fat;
        for (const auto& part : parts)
            file += padded(*part.second);
        return file;
    }
};

}  // namespace quillet::test
