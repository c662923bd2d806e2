#include "support/CompoundFileBuilder.h"

#include "support/TempDir.h"

#include <utility>

namespace quillet::test {

std::string le16(uint16_t value)
{
    return {char(value & 0xFF), char(value >> 8)};
}
std::string le32(uint32_t value)
{
    return le16(uint16_t(value)) + le16(uint16_t(value >> 16));
}
void putU32(std::string& bytes, int64_t offset, uint32_t value)
{
    bytes.replace(size_t(offset), 4, le32(value));
}

std::unique_ptr<CompoundFile> openBytes(const std::string& bytes)
{
    TempDir dir;
    writeFile(dir.file("f.bin"), bytes);
    return std::make_unique<CompoundFile>(dir.file("f.bin"));
}

int CompoundFileBuilder::add(const std::string& name, std::string data, int parent, int type)
{
    int32_t* link = &entries.at(size_t(parent)).child;
    while (*link >= 0)
        link = &entries[size_t(*link)].right;
    *link = int32_t(entries.size());
    entries.push_back({{name.begin(), name.end()}, type, -1, -1, -1, data, uint32_t(data.size()), -2});
    return int(entries.size()) - 1;
}

std::string CompoundFileBuilder::build()
{
    const int64_t s = int64_t(1) << shift, perFat = s / 4;
    const auto sectors = [s](size_t bytes) { return (int64_t(bytes) + s - 1) / s; };
    const auto big = [](const BuilderEntry& e) { return e.type == 2 && e.size >= 4096; };
    std::string mini, miniFat;
    for (BuilderEntry& e : entries) {
        if (e.type != 2 || big(e))
            continue;
        const int32_t first = int32_t(mini.size() / 64), count = int32_t((e.data.size() + 63) / 64);
        e.firstSector = count > 0 ? first : -2;
        for (int32_t k = 1; k <= count; ++k)
            miniFat += le32(k < count ? uint32_t(first + k) : uint32_t(-2));
        mini += e.data;
        mini.resize(size_t(first + count) * 64, '\0');
    }
    miniFat.resize(size_t(sectors(miniFat.size()) * s), '\xFF');
    entries[0].size = uint32_t(mini.size());

    std::string directory(entries.size() * 128, '\0');  // filled once every start is known
    std::vector<std::pair<int32_t*, const std::string*>> parts = {
        {&directoryStart, &directory}, {&miniFatStart, &miniFat}, {&entries[0].firstSector, &mini}};
    for (BuilderEntry& e : entries)
        if (big(e))
            parts.push_back({&e.firstSector, &e.data});
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
    for (const auto& part : parts) {
        const int64_t count = sectors(part.second->size()), next = int64_t(fat.size() / 4);
        *part.first = count > 0 ? int32_t(next) : -2;
        for (int64_t k = 1; k <= count; ++k)
            fat += le32(k < count ? uint32_t(next + k) : uint32_t(-2));
    }
    const int64_t total = int64_t(fat.size() / 4);
    fat.resize(size_t(fats * s), '\xFF');
    firstDifat = difats > 0 ? int32_t(fats) : -2;
    for (size_t i = 0; i < entries.size(); ++i) {
        const BuilderEntry& e = entries[i];
        std::string name;
        for (char16_t c : e.name + u'\0')
            name += le16(c);
        directory.replace(128 * i, name.size(), name);
        directory.replace(128 * i + 64, 16,
                          le16(uint16_t(name.size())) + char(e.type) + '\1' + le32(uint32_t(e.left)) +
                              le32(uint32_t(e.right)) + le32(uint32_t(e.child)));
        directory.replace(128 * i + 116, 8, le32(uint32_t(e.firstSector)) + le32(e.size));
    }

    std::string file(size_t(sectorOffset(total)), '\0');
    const auto place = [&](int64_t sector, const std::string& bytes) {
        if (sector >= 0)
            file.replace(size_t(sectorOffset(sector)), bytes.size(), bytes);
    };
    place(0, fat);
    for (const auto& part : parts)
        place(*part.first, *part.second);
    for (int64_t d = 0; d < difats; ++d) {  // FAT sectors from 109 on, then the next DIFAT sector
        std::string sector;
        for (int64_t i = 109 + d * (perFat - 1); i < 109 + (d + 1) * (perFat - 1); ++i)
            sector += le32(i < fats ? uint32_t(i) : uint32_t(-1));
        place(fats + d, sector + le32(d + 1 < difats ? uint32_t(fats + d + 1) : uint32_t(-2)));
    }
    std::vector<int64_t> words = {fats,         directoryStart,          0,          4096,
                                  miniFatStart, sectors(miniFat.size()), firstDifat, difats};
    for (int64_t k = 0; k < 109; ++k)
        words.push_back(k < fats ? k : -1);
    std::string header = std::string("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8) + std::string(22, '\0') +
                         le16(uint16_t(shift)) + std::string(12, '\0');  // the FAT sector count is at 44
    for (int64_t word : words)
        header += le32(uint32_t(word));
    return file.replace(0, header.size(), header);
}

}  // namespace quillet::test
