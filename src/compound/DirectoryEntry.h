#pragma once

#include <cstdint>
#include <string>

namespace quillet {

// One 128-byte slot of the directory. Names keep only the low byte of each
// UTF-16 unit, which is enough for every stream name the readers look for.
struct DirectoryEntry {
    static constexpr int kSlotSize = 128;
    enum Type : int { Empty = 0, Storage = 1, Stream = 2, Root = 5 };

    std::string name;
    int type = Empty;
    int firstSector = -2;
    int size = 0;  // low 32 bits of the declared size
    int child = -1;
    int leftSibling = -1;
    int rightSibling = -1;

    static DirectoryEntry decode(const uint8_t* slot);
};

}  // namespace quillet
