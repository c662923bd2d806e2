#pragma once

#include <cstdint>

namespace quillet {

// Loads from bytes the caller has already bounds-checked.
inline uint16_t loadU16(const uint8_t* p)
{
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}

inline uint16_t loadU16BigEndian(const uint8_t* p)
{
    return static_cast<uint16_t>((p[0] << 8) | p[1]);
}

inline uint32_t loadU32(const uint8_t* p)
{
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16) |
           (static_cast<uint32_t>(p[3]) << 24);
}

inline int32_t loadI32(const uint8_t* p)
{
    return static_cast<int32_t>(loadU32(p));
}

}  // namespace quillet
