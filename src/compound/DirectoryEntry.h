#pragma once

#include <cstdint>
#include <string>

namespace quillet {

// One 128-byte slot of the directory. name keeps only the low byte of each
// UTF-16 unit; names are looked up through hasName, on all the units.
struct DirectoryEntry {
    static constexpr int kSlotSize = 128;
    enum Type : int { Empty = 0, Storage = 1, Stream = 2, Root = 5 };

    std::string name;
    std::u16string units;  // the name as stored, without its terminating unit
    int type = Empty;
    int firstSector = -2;
    int size = 0;  // low 32 bits of the declared size
    int child = -1;
    int leftSibling = -1;
    int rightSibling = -1;

    // The format's own comparison: the same length, and the same units once
    // upper-cased by the simple Unicode mapping. wanted is Latin-1.
    bool hasName(const std::string& wanted) const;

    static DirectoryEntry decode(const uint8_t* slot);
};

}  // namespace quillet
