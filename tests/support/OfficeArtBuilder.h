#pragma once

// OfficeArt records: BLIPs, BLIP store entries, the store and drawing group around them, and the picture
// blocks of a Word "Data" stream.

#include "support/CompoundFileBuilder.h"

namespace quillet::test {

inline std::string artHeader(uint16_t instance, uint16_t type, uint32_t length, uint16_t version = 0)
{
    return le16(uint16_t(version | (instance << 4))) + le16(type) + le32(length);
}

// A BLIP: prefix bytes (identifiers, tag or metafile header) before the data.
inline std::string artBlip(uint16_t type, uint16_t instance, size_t prefix, const std::string& data)
{
    return artHeader(instance, type, uint32_t(prefix + data.size())) + std::string(prefix, '\x5A') + data;
}
inline std::string pngBlip(const std::string& data)
{
    return artBlip(0xF01E, 0x6E0, 17, data);
}

struct BlipEntry {
    uint8_t btWin32 = 6;
    std::string embedded;  // a BLIP carried inside the entry
    uint32_t references = 1;
    uint32_t delayOffset = 0;
    std::string name = {};
};

inline std::string blipEntry(const BlipEntry& e)
{
    std::string body = std::string(1, char(e.btWin32)) + char(e.btWin32) + std::string(16, '\x11') + le16(0xFF) +
                       le32(uint32_t(e.embedded.size())) + le32(e.references) + le32(e.delayOffset) + '\0' +
                       char(e.name.size()) + std::string(2, '\0') + e.name + e.embedded;
    return artHeader(e.btWin32, 0xF007, uint32_t(body.size()), 2) + body;
}

// The drawing group container: its group record, then the store of entries, which says it holds counted
// of them (all when negative).
inline std::string drawingGroup(const std::vector<BlipEntry>& entries, int counted = -1)
{
    std::string store;
    for (const BlipEntry& entry : entries)
        store += blipEntry(entry);
    const uint16_t instance = uint16_t(counted < 0 ? entries.size() : size_t(counted));
    store = artHeader(instance, 0xF001, uint32_t(store.size()), 0xF) + store;
    const std::string group = artHeader(0, 0xF006, 16) + std::string(16, '\0');
    return artHeader(0, 0xF000, uint32_t(group.size() + store.size()), 0xF) + group + store;
}

// A "Data" stream block: the 68-byte picture header, a shape, then what follows.
inline std::string pictureBlock(const std::string& picture, uint16_t headerSize = 68)
{
    const uint32_t length = uint32_t(76 + 8 + picture.size());
    // Blocks start at 4-byte boundaries.
    return le32(length) + le16(headerSize) + le16(100) + std::string(60, '\0') + artHeader(0, 0xF004, 8, 0xF) +
           std::string(8, '\0') + picture + std::string((4 - length % 4) % 4, '\0');
}

// A "Data" stream block of other data (a form field's, a link's): the 68-byte header with mapping mode 0,
// then its bytes, with no padding after them.
inline std::string otherDataBlock(const std::string& bytes)
{
    return le32(uint32_t(68 + bytes.size())) + le16(68) + le16(0) + std::string(60, '\0') + bytes;
}

}  // namespace quillet::test
