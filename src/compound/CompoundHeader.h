#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace quillet {

// The fields of the 512-byte header that the reader relies on. Versions, the
// byte-order mark and the mini-stream settings are not consulted: mini
// sectors are always 64 bytes and the mini-stream cutoff always 4096.
struct CompoundHeader {
    static constexpr size_t kSize = 512;
    // The first bytes of every compound file.
    static constexpr uint8_t kSignature[8] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
    static constexpr size_t kHeaderFatEntries = 109;

    int sectorSize = 0;  // 0 when the sector shift is neither 9 nor 12
    int firstDirectorySector = 0;
    int firstMiniFatSector = 0;
    int miniFatSectorCount = 0;
    int fatSectorCount = 0;
    int firstDifatSector = 0;
    int difatSectorCount = 0;
    std::vector<int> difat;  // the first 109 FAT sector numbers

    // Decodes kSize bytes; false when the signature or sector size is wrong.
    bool parse(const uint8_t* bytes);
};

}  // namespace quillet
