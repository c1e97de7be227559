// WAV images as the tools write them and read them back.
#include "writers/wav_writer.h"

#include <gtest/gtest.h>

namespace {

TEST(WavWriter, RoundTripsSamplesAndRate) {
    const std::vector<int16_t> samples = {0, 1, -1, 32767, -32768, 1234};
    const auto bytes = buildWav(samples);
    EXPECT_EQ(bytes.size(), 44u + 12u);
    WavPcm16 wav;
    ASSERT_TRUE(readWavPcm16(bytes, wav));
    EXPECT_EQ(wav.sampleRate, 22050);
    EXPECT_EQ(wav.samples, samples);
}

TEST(WavWriter, StreamedDataSizeIsCutAtTheEnd) {
    auto bytes = buildWav({5, 6, 7});
    for (int i = 0; i < 4; ++i)
        bytes[40 + i] = 0xFF; // a "data" length written before the stream's end was known
    WavPcm16 wav;
    ASSERT_TRUE(readWavPcm16(bytes, wav));
    EXPECT_EQ(wav.samples, (std::vector<int16_t>{5, 6, 7}));
}

TEST(WavWriter, RejectsWhatIsNotMono16BitPcm) {
    WavPcm16 wav;
    EXPECT_FALSE(readWavPcm16({}, wav));
    auto stereo = buildWav({1, 2});
    stereo[22] = 2;
    EXPECT_FALSE(readWavPcm16(stereo, wav));
    auto truncated = buildWav({1, 2});
    truncated.resize(30);
    EXPECT_FALSE(readWavPcm16(truncated, wav));
}

} // namespace
