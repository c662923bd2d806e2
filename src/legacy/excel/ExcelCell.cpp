#include "legacy/excel/ExcelCell.h"

#include "legacy/excel/BiffReader.h"

#include <cstring>

namespace quillet {

void Cell::read(BiffReader& reader)
{
    row = reader.readU16();
    column = reader.readU16();
    style = reader.readU16();
}

void LabelSstRecord::read(BiffReader& reader)
{
    Cell::read(reader);
    index = reader.readU32();
}

void NumberRecord::read(BiffReader& reader)
{
    Cell::read(reader);
    uint8_t bytes[8];
    reader.readBytes(bytes, sizeof bytes);
    uint64_t bits = 0;
    for (int i = 7; i >= 0; --i)
        bits = (bits << 8) | bytes[i];
    std::memcpy(&value, &bits, sizeof value);
}

void RKRecord::read(BiffReader& reader)
{
    Cell::read(reader);
    rk = reader.readU32();
}

double rkValue(uint32_t rk)
{
    double number;
    if ((rk & 0x02) != 0) {
        number = static_cast<double>(static_cast<int32_t>(rk) >> 2);
    } else {
        const uint64_t bits = static_cast<uint64_t>(rk & ~uint32_t(3)) << 32;
        std::memcpy(&number, &bits, sizeof number);
    }
    return (rk & 0x01) != 0 ? number / 100 : number;
}

}  // namespace quillet
