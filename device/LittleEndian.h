// Little-endian integers at byte positions of a record. Records are read and
// written field by field through these, never by casting a packed struct.
#pragma once

#include <cstddef>
#include <cstdint>

namespace device {

inline uint16_t ReadU16(const uint8_t* at)
{
    return static_cast<uint16_t>(at[0] | (at[1] << 8));
}

inline void WriteU16(uint8_t* at, uint16_t value)
{
    at[0] = static_cast<uint8_t>(value);
    at[1] = static_cast<uint8_t>(value >> 8);
}

inline uint32_t ReadU32(const uint8_t* at)
{
    return uint32_t{at[0]} | (uint32_t{at[1]} << 8) | (uint32_t{at[2]} << 16) | (uint32_t{at[3]} << 24);
}

inline void WriteU32(uint8_t* at, uint32_t value)
{
    for (size_t i = 0; i < 4; ++i)
        at[i] = static_cast<uint8_t>(value >> (8 * i));
}

inline int32_t ReadI32(const uint8_t* at)
{
    return static_cast<int32_t>(ReadU32(at));
}

inline void WriteI32(uint8_t* at, int32_t value)
{
    WriteU32(at, static_cast<uint32_t>(value));
}

}  // namespace device
