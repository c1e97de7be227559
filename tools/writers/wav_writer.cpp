// wav_writer.cpp: the RIFF layout of a 16-bit PCM mono sound.
#include "writers/wav_writer.h"

#include <cstring>

namespace {

void putLe16(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(static_cast<uint8_t>(v & 0xFF));
    out.push_back(static_cast<uint8_t>((v >> 8) & 0xFF));
}

void putLe32(std::vector<uint8_t>& out, uint32_t v) {
    putLe16(out, v & 0xFFFF);
    putLe16(out, v >> 16);
}

void putTag(std::vector<uint8_t>& out, const char* tag) {
    for (int i = 0; i < 4; ++i) // one by one: GCC 12 misreads a ranged insert here
        out.push_back(static_cast<uint8_t>(tag[i]));
}

uint32_t le32(const std::vector<uint8_t>& bytes, size_t at) {
    return static_cast<uint32_t>(bytes[at]) | (static_cast<uint32_t>(bytes[at + 1]) << 8) |
           (static_cast<uint32_t>(bytes[at + 2]) << 16) |
           (static_cast<uint32_t>(bytes[at + 3]) << 24);
}

uint16_t le16(const std::vector<uint8_t>& bytes, size_t at) {
    return static_cast<uint16_t>(bytes[at] | (bytes[at + 1] << 8));
}

bool tagIs(const std::vector<uint8_t>& bytes, size_t at, const char* tag) {
    return std::memcmp(bytes.data() + at, tag, 4) == 0;
}

} // namespace

std::vector<uint8_t> buildWav(const std::vector<int16_t>& samples, int sampleRate) {
    const uint32_t dataSize = static_cast<uint32_t>(samples.size() * 2);
    std::vector<uint8_t> out;
    out.reserve(44 + dataSize);
    putTag(out, "RIFF");
    putLe32(out, 36 + dataSize);
    putTag(out, "WAVE");
    putTag(out, "fmt ");
    putLe32(out, 16);
    putLe16(out, 1); // PCM
    putLe16(out, 1); // mono
    putLe32(out, static_cast<uint32_t>(sampleRate));
    putLe32(out, static_cast<uint32_t>(sampleRate) * 2);
    putLe16(out, 2);
    putLe16(out, 16);
    putTag(out, "data");
    putLe32(out, dataSize);
    for (int16_t s : samples)
        putLe16(out, static_cast<uint16_t>(s));
    return out;
}

bool readWavPcm16(const std::vector<uint8_t>& bytes, WavPcm16& wav) {
    if (bytes.size() < 12 || !tagIs(bytes, 0, "RIFF") || !tagIs(bytes, 8, "WAVE"))
        return false;
    bool formatSeen = false;
    size_t at = 12;
    while (at + 8 <= bytes.size()) {
        const uint32_t size = le32(bytes, at + 4);
        const size_t body = at + 8;
        const size_t available = bytes.size() - body;
        if (tagIs(bytes, at, "fmt ")) {
            if (size < 16 || available < 16)
                return false;
            if (le16(bytes, body) != 1 || le16(bytes, body + 2) != 1 ||
                le16(bytes, body + 14) != 16)
                return false;
            wav.sampleRate = static_cast<int>(le32(bytes, body + 4));
            formatSeen = true;
        } else if (tagIs(bytes, at, "data")) {
            if (!formatSeen)
                return false;
            const size_t length = (size < available ? size : available) / 2;
            wav.samples.resize(length);
            for (size_t i = 0; i < length; ++i)
                wav.samples[i] = static_cast<int16_t>(le16(bytes, body + 2 * i));
            return true;
        }
        if (size > available)
            return false;
        at = body + size + (size & 1); // chunks are padded to even lengths
    }
    return false;
}
