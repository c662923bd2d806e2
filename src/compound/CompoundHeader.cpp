#include "compound/CompoundHeader.h"

#include "platform/ByteOrder.h"

#include <cstring>

namespace quillet {

bool CompoundHeader::parse(const uint8_t* bytes)
{
    const uint16_t shift = loadU16(bytes + 30);
    sectorSize = shift == 9 ? 512 : shift == 12 ? 4096 : 0;
    fatSectorCount = loadI32(bytes + 44);
    firstDirectorySector = loadI32(bytes + 48);
    firstMiniFatSector = loadI32(bytes + 60);
    miniFatSectorCount = loadI32(bytes + 64);
    firstDifatSector = loadI32(bytes + 68);
    difatSectorCount = loadI32(bytes + 72);
    difat.resize(kHeaderFatEntries);
    for (size_t i = 0; i < kHeaderFatEntries; ++i)
        difat[i] = loadI32(bytes + 76 + 4 * i);
    return std::memcmp(bytes, kSignature, sizeof kSignature) == 0 && sectorSize != 0;
}

}  // namespace quillet
