// players_dat.cpp: the layout of players.dat and its checksum, written out again for the tests.
#include "players_dat.h"

#include <cmath>
#include <cstring>
#include <fstream>
#include <iterator>

namespace {

constexpr uint32_t kMagic = 0xDEFECA84;
constexpr size_t kChecksumOffset = 1268;

void putInt32(std::vector<uint8_t>& bytes, size_t offset, uint32_t value) {
    for (int i = 0; i < 4; ++i)
        bytes[offset + i] = static_cast<uint8_t>(value >> (8 * i));
}

void putName(std::vector<uint8_t>& bytes, size_t offset, const std::u16string& name) {
    for (size_t i = 0; i < name.size(); ++i) {
        bytes[offset + 2 * i] = static_cast<uint8_t>(name[i]);
        bytes[offset + 2 * i + 1] = static_cast<uint8_t>(name[i] >> 8);
    }
}

} // namespace

std::vector<uint8_t> readFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeFileBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
}

int32_t int32At(const std::vector<uint8_t>& bytes, size_t offset) {
    uint32_t v = 0;
    for (int i = 3; i >= 0; --i)
        v = v << 8 | bytes[offset + i];
    return static_cast<int32_t>(v);
}

bool playersDatValid(const std::vector<uint8_t>& file) {
    if (file.size() != kPlayersDatSize || static_cast<uint32_t>(int32At(file, 0)) != kMagic)
        return false;
    uint32_t h = 1219293165u;
    for (size_t i = kOptionsOffset; i < kChecksumOffset; ++i)
        h = (file[i] + 165u) * h + 126u;
    const double expected = std::sqrt(static_cast<double>(h) * 3.141592653589793);
    double stored;
    std::memcpy(&stored, file.data() + kChecksumOffset, sizeof stored);
    return stored == expected;
}

std::vector<uint8_t> recordBytes(const std::vector<uint8_t>& file, int slot) {
    const size_t start = kRecordsOffset + kRecordSize * static_cast<size_t>(slot);
    if (file.size() < start + kRecordSize)
        return {};
    return {file.begin() + static_cast<std::ptrdiff_t>(start),
            file.begin() + static_cast<std::ptrdiff_t>(start + kRecordSize)};
}

std::vector<uint8_t> editorRecord(const std::u16string& firstName, const std::u16string& lastName,
                                  int32_t rank, const int32_t skills[8],
                                  const uint32_t colours[4]) {
    std::vector<uint8_t> record(kRecordSize, 0);
    putName(record, 0, firstName);
    putName(record, 24, lastName);
    putInt32(record, 48, 0);
    for (int ladder = 0; ladder < 5; ++ladder)
        putInt32(record, 52 + 4 * static_cast<size_t>(ladder), static_cast<uint32_t>(rank));
    for (int k = 0; k < 8; ++k)
        putInt32(record, 76 + 4 * static_cast<size_t>(k), static_cast<uint32_t>(skills[k]));
    for (int c = 0; c < 4; ++c)
        putInt32(record, 108 + 4 * static_cast<size_t>(c), colours[c]);
    return record;
}
