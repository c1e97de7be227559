// wav_image.cpp: reading the PCM samples out of a RIFF WAVE image.
#include "platform/wav_image.h"

#include <cstring>

namespace {

uint32_t le32(const uint8_t* p) {
    return p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24;
}
uint16_t le16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | p[1] << 8);
}

struct PcmFormat {
    bool found = false;
    int channels = 0;
    int frequency = 0;
    int bits = 0;
};

bool readFormat(const uint8_t* chunk, uint32_t size, PcmFormat& format) {
    constexpr uint16_t kPcm = 1;
    if (size < 16 || le16(chunk) != kPcm)
        return false;
    format.channels = le16(chunk + 2);
    format.frequency = static_cast<int>(le32(chunk + 4));
    format.bits = le16(chunk + 14);
    format.found = (format.channels == 1 || format.channels == 2) && format.frequency > 0 &&
                   format.frequency <= 192000 && (format.bits == 8 || format.bits == 16);
    return format.found;
}

void readSamples(const uint8_t* data, uint32_t size, const PcmFormat& format, WavImage& image) {
    const uint32_t bytes = format.bits / 8;
    const uint32_t frameBytes = bytes * format.channels;
    const uint32_t count = size / frameBytes * format.channels;
    image.samples.resize(count);
    for (uint32_t i = 0; i < count; ++i) {
        // 8-bit samples are unsigned around 128, 16-bit ones signed around 0.
        image.samples[i] = bytes == 1 ? (data[i] - 128) / 128.0f
                                      : static_cast<int16_t>(le16(data + 2 * i)) / 32768.0f;
    }
}

} // namespace

bool readWavImage(const uint8_t* wav, uint32_t size, WavImage& image) {
    if (!wav || size < 12 || std::memcmp(wav, "RIFF", 4) != 0 ||
        std::memcmp(wav + 8, "WAVE", 4) != 0)
        return false;
    PcmFormat format;
    uint32_t at = 12;
    while (size - at >= 8) {
        const uint8_t* header = wav + at;
        const uint32_t chunkSize = le32(header + 4);
        if (chunkSize > size - at - 8)
            return false;
        const uint8_t* body = header + 8;
        if (std::memcmp(header, "fmt ", 4) == 0 && !readFormat(body, chunkSize, format))
            return false;
        if (std::memcmp(header, "data", 4) == 0) {
            if (!format.found)
                return false;
            image.frequency = format.frequency;
            image.channels = format.channels;
            readSamples(body, chunkSize, format, image);
            return true;
        }
        // Chunks are padded to an even size.
        const uint32_t step = 8 + chunkSize + (chunkSize & 1);
        if (step > size - at)
            return false;
        at += step;
    }
    return false;
}
