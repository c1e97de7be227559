// pak_writer.cpp: the archive layout the game's reader expects.
#include "writers/pak_writer.h"

#include <algorithm>
#include <cstdio>
#include <stdexcept>

#include "assets/pak_archive.h"

namespace {

WideString upper(const WideString& s) {
    WideString u = s;
    for (auto& c : u)
        c = toUpperWide(c);
    return u;
}

void putLe32(std::vector<uint8_t>& out, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        out[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

} // namespace

std::vector<uint8_t> buildPak(std::vector<PakWriterEntry> entries) {
    std::stable_sort(entries.begin(), entries.end(), [](const auto& a, const auto& b) {
        return upper(a.name) < upper(b.name); // u16string compares units as unsigned
    });
    for (size_t i = 0; i < entries.size(); ++i) {
        if (entries[i].name.size() >= kPakNameUnits)
            throw std::invalid_argument("pak entry name too long: " + toUtf8(entries[i].name));
        if (i > 0 && upper(entries[i].name) == upper(entries[i - 1].name))
            throw std::invalid_argument("pak entry repeated: " + toUtf8(entries[i].name));
    }
    size_t dataSize = 0;
    for (const auto& e : entries)
        dataSize += e.data.size();
    std::vector<uint8_t> out(kPakHeaderSize + dataSize + entries.size() * sizeof(PakEntry), 0);
    putLe32(out, 0, kPakMagic);
    putLe32(out, 4, static_cast<uint32_t>(entries.size()));
    putLe32(out, 8, static_cast<uint32_t>(dataSize));
    size_t offset = kPakHeaderSize;
    size_t record = kPakHeaderSize + dataSize;
    for (const auto& e : entries) {
        std::copy(e.data.begin(), e.data.end(), out.begin() + static_cast<long>(offset));
        for (size_t i = 0; i < e.name.size(); ++i) {
            out[record + 2 * i] = static_cast<uint8_t>(e.name[i] & 0xFF);
            out[record + 2 * i + 1] = static_cast<uint8_t>(e.name[i] >> 8);
        }
        putLe32(out, record + 240, static_cast<uint32_t>(offset));
        putLe32(out, record + 244, static_cast<uint32_t>(e.data.size()));
        offset += e.data.size();
        record += sizeof(PakEntry);
    }
    return out;
}

bool writeBytesFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return false;
    // An empty vector may hold no buffer at all, and fwrite must not be given a null one.
    const bool written =
        bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && written;
}

bool writePakFile(const std::string& path, const std::vector<PakWriterEntry>& entries) {
    return writeBytesFile(path, buildPak(entries));
}
