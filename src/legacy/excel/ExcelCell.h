#pragma once

#include <cstdint>

namespace quillet {

class BiffReader;

// A number in the compressed RK form: bit 0x02 a signed 30-bit integer,
// else the upper 30 bits of a double; bit 0x01 divided by 100.
double rkValue(uint32_t rk);

// The position of a cell record and the index of its cell style (XF).
class Cell {
public:
    virtual ~Cell() = default;
    virtual void read(BiffReader& reader);

    int row = 0;
    int column = 0;
    uint16_t style = 0;
};

// A cell holding a string of the shared-string table.
class LabelSstRecord : public Cell {
public:
    void read(BiffReader& reader) override;

    uint32_t index = 0;
};

// A cell holding a double.
class NumberRecord : public Cell {
public:
    void read(BiffReader& reader) override;

    double value = 0.0;
};

// A cell holding a number in the compressed RK form.
class RKRecord : public Cell {
public:
    void read(BiffReader& reader) override;
    double value() const { return rkValue(rk); }

    uint32_t rk = 0;
};

}  // namespace quillet
