// little_endian.h: the byte order of the game's own files (players.dat, replays), whatever the
// processor's.
#pragma once

#include <cstdint>

inline void putU16(uint8_t* out, uint16_t v) {
    out[0] = static_cast<uint8_t>(v);
    out[1] = static_cast<uint8_t>(v >> 8);
}
inline void putU32(uint8_t* out, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        out[i] = static_cast<uint8_t>(v >> (8 * i));
}
inline void putU64(uint8_t* out, uint64_t v) {
    for (int i = 0; i < 8; ++i)
        out[i] = static_cast<uint8_t>(v >> (8 * i));
}
inline uint16_t getU16(const uint8_t* in) {
    return static_cast<uint16_t>(in[0] | (in[1] << 8));
}
inline uint32_t getU32(const uint8_t* in) {
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i)
        v |= static_cast<uint32_t>(in[i]) << (8 * i);
    return v;
}
inline uint64_t getU64(const uint8_t* in) {
    return getU32(in) | static_cast<uint64_t>(getU32(in + 4)) << 32;
}
