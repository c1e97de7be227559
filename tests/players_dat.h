// players_dat.h: players.dat read from outside the game, for checks byte by byte: its layout and
// its checksum written out again for the tests.
#pragma once

#include <cmath>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

constexpr size_t kPlayersDatSize = 1276;
constexpr uint32_t kPlayersDatMagic = 0xDEFECA84;
constexpr size_t kOptionsOffset = 4;
constexpr size_t kRecordsOffset = 28;
constexpr size_t kRecordSize = 124;
constexpr size_t kChecksumOffset = 1268;

inline std::vector<uint8_t> readFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void writeFileBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
}

inline int32_t int32At(const std::vector<uint8_t>& bytes, size_t offset) {
    uint32_t v = 0;
    for (int i = 3; i >= 0; --i)
        v = v << 8 | bytes[offset + i];
    return static_cast<int32_t>(v);
}

// The magic and the checksum, computed here from the file's own bytes.
inline bool playersDatValid(const std::vector<uint8_t>& file) {
    if (file.size() != kPlayersDatSize ||
        static_cast<uint32_t>(int32At(file, 0)) != kPlayersDatMagic)
        return false;
    uint32_t h = 1219293165u;
    for (size_t i = kOptionsOffset; i < kChecksumOffset; ++i)
        h = (file[i] + 165u) * h + 126u;
    const double expected = std::sqrt(static_cast<double>(h) * 3.141592653589793);
    double stored;
    std::memcpy(&stored, file.data() + kChecksumOffset, sizeof stored);
    return stored == expected;
}

inline std::vector<uint8_t> recordBytes(const std::vector<uint8_t>& file, int slot) {
    const size_t start = kRecordsOffset + kRecordSize * static_cast<size_t>(slot);
    if (file.size() < start + kRecordSize)
        return {};
    return {file.begin() + static_cast<std::ptrdiff_t>(start),
            file.begin() + static_cast<std::ptrdiff_t>(start + kRecordSize)};
}

// The record of a profile made in the editor: UTF-16 names padded with zeros, level 0, rank
// `rank` on every ladder, not built in, the eight skills in file order (run speed, forehand,
// backhand, first serve, second serve, volley, smash, lob) and the four colours.
inline std::vector<uint8_t> editorRecord(const std::u16string& firstName,
                                         const std::u16string& lastName, int32_t rank,
                                         const int32_t skills[8], const uint32_t colours[4]) {
    std::vector<uint8_t> record(kRecordSize, 0);
    const auto putInt32 = [&](size_t offset, uint32_t value) {
        for (int i = 0; i < 4; ++i)
            record[offset + i] = static_cast<uint8_t>(value >> (8 * i));
    };
    const auto putName = [&](size_t offset, const std::u16string& name) {
        for (size_t i = 0; i < name.size(); ++i) {
            record[offset + 2 * i] = static_cast<uint8_t>(name[i]);
            record[offset + 2 * i + 1] = static_cast<uint8_t>(name[i] >> 8);
        }
    };
    putName(0, firstName);
    putName(24, lastName);
    putInt32(48, 0);
    for (int ladder = 0; ladder < 5; ++ladder)
        putInt32(52 + 4 * static_cast<size_t>(ladder), static_cast<uint32_t>(rank));
    for (int k = 0; k < 8; ++k)
        putInt32(76 + 4 * static_cast<size_t>(k), static_cast<uint32_t>(skills[k]));
    for (int c = 0; c < 4; ++c)
        putInt32(108 + 4 * static_cast<size_t>(c), colours[c]);
    return record;
}
