#include "compound/DirectoryEntry.h"

#include "platform/ByteOrder.h"

#include <QChar>

namespace quillet {

DirectoryEntry DirectoryEntry::decode(const uint8_t* slot)
{
    DirectoryEntry entry;
    const uint16_t length = loadU16(slot + 64);
    if (length >= 4 && length <= 64) {
        const int units = (length - 2) / 2;
        for (int i = 0; i < units; ++i) {
            entry.name.push_back(static_cast<char>(slot[2 * i]));
            entry.units.push_back(static_cast<char16_t>(loadU16(slot + 2 * i)));
        }
    }
    entry.type = slot[66];
    entry.leftSibling = loadI32(slot + 68);
    entry.rightSibling = loadI32(slot + 72);
    entry.child = loadI32(slot + 76);
    entry.firstSector = loadI32(slot + 116);
    entry.size = loadI32(slot + 120);
    return entry;
}

bool DirectoryEntry::hasName(const std::string& wanted) const
{
    if (units.size() != wanted.size())
        return false;
    for (size_t i = 0; i < units.size(); ++i)
        if (QChar::toUpper(uint(units[i])) != QChar::toUpper(uint(static_cast<unsigned char>(wanted[i]))))
            return false;
    return true;
}

}  // namespace quillet
