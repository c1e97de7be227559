// WAV images read into samples for the browser's audio: the game's own format, 8-bit and
// stereo images, padded chunks, and images that must play nothing.
#include "platform/wav_image.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

void put16(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}
void put32(std::vector<uint8_t>& out, uint32_t v) {
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}
void putTag(std::vector<uint8_t>& out, const char* tag) {
    out.insert(out.end(), tag, tag + 4);
}

struct Chunk {
    std::string tag;
    std::vector<uint8_t> body;
};

Chunk format(int channels, int frequency, int bits, uint16_t kind = 1) {
    std::vector<uint8_t> body;
    put16(body, kind);
    put16(body, channels);
    put32(body, frequency);
    put32(body, frequency * channels * bits / 8);
    put16(body, channels * bits / 8);
    put16(body, bits);
    return {"fmt ", body};
}

std::vector<uint8_t> riff(const std::vector<Chunk>& chunks) {
    std::vector<uint8_t> body;
    putTag(body, "WAVE");
    for (const Chunk& c : chunks) {
        putTag(body, c.tag.c_str());
        put32(body, static_cast<uint32_t>(c.body.size()));
        body.insert(body.end(), c.body.begin(), c.body.end());
        if (c.body.size() % 2)
            body.push_back(0);
    }
    std::vector<uint8_t> out;
    putTag(out, "RIFF");
    put32(out, static_cast<uint32_t>(body.size()));
    out.insert(out.end(), body.begin(), body.end());
    return out;
}

bool read(const std::vector<uint8_t>& wav, WavImage& image) {
    return readWavImage(wav.data(), static_cast<uint32_t>(wav.size()), image);
}

} // namespace

TEST(WavImage, SixteenBitMonoAsTheGameWritesIt) {
    std::vector<uint8_t> data;
    for (const int v : {0, 16384, -32768, 32767})
        put16(data, static_cast<uint16_t>(v));
    WavImage image;
    ASSERT_TRUE(read(riff({format(1, 22050, 16), {"data", data}}), image));
    EXPECT_EQ(image.frequency, 22050);
    EXPECT_EQ(image.channels, 1);
    EXPECT_EQ(image.samples, (std::vector<float>{0.0f, 0.5f, -1.0f, 32767 / 32768.0f}));
}

TEST(WavImage, EightBitStereoAfterAnOddSizedChunk) {
    WavImage image;
    ASSERT_TRUE(read(riff({{"LIST", {1, 2, 3}}, format(2, 11025, 8), {"data", {128, 0, 255, 192}}}),
                     image));
    EXPECT_EQ(image.channels, 2);
    EXPECT_EQ(image.samples, (std::vector<float>{0.0f, -1.0f, 127 / 128.0f, 0.5f}));
}

TEST(WavImage, PartialLastFrameIsDropped) {
    WavImage image;
    ASSERT_TRUE(read(riff({format(2, 8000, 16), {"data", {0, 0, 0, 0, 1, 2}}}), image));
    EXPECT_EQ(image.samples.size(), 2u);
}

TEST(WavImage, ImagesThatPlayNothing) {
    WavImage image;
    const std::vector<uint8_t> good = riff({format(1, 22050, 16), {"data", {0, 0}}});
    EXPECT_FALSE(readWavImage(nullptr, 0, image));
    EXPECT_FALSE(read({good.begin(), good.begin() + 11}, image));
    EXPECT_FALSE(read(riff({{"data", {0, 0}}}), image)) << "samples before their format";
    EXPECT_FALSE(read(riff({format(1, 22050, 16, 3), {"data", {0, 0, 0, 0}}}), image)) << "float";
    EXPECT_FALSE(read(riff({format(1, 22050, 24), {"data", {0, 0, 0}}}), image));
    EXPECT_FALSE(read(riff({format(6, 22050, 16), {"data", {0, 0}}}), image));
    EXPECT_FALSE(read(riff({format(1, 22050, 16)}), image)) << "no data chunk";
    std::vector<uint8_t> overlong = good;
    overlong[overlong.size() - 6] = 0xFF; // the data chunk claims more than there is
    EXPECT_FALSE(read(overlong, image));
    std::vector<uint8_t> notWave = good;
    notWave[8] = 'X';
    EXPECT_FALSE(read(notWave, image));
}
