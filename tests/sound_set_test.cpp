// Sound effects loaded from a real archive and played through the headless output.
#include "assets/file_error.h"
#include "assets/pak_archive.h"
#include "assets/sound_set.h"
#include "platform/sound_output.h"
#include "temp_dir.h"
#include "writers/pak_writer.h"
#include "writers/wav_writer.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

// A real 16-bit PCM image of `samples` samples.
std::vector<uint8_t> wavOf(size_t samples) {
    return buildWav(std::vector<int16_t>(samples, 1000), 22050);
}

struct SoundFixture : ::testing::Test {
    TempDir dir;
    PakArchive* archive = nullptr;
    SoundOutput* output = soundOutputOpenHeadless();
    SoundSet* sounds = nullptr;
    void SetUp() override {
        std::vector<PakWriterEntry> entries;
        for (int i = 0; i < kSoundCount; ++i)
            if (i != SoundLet)
                entries.push_back({WideString(u"D:\\VELDAR\\Data\\Sounds\\") + kSoundFileNames[i],
                                   wavOf(16 + i)});
        ASSERT_TRUE(writePakFile(dir.file("data.pak"), entries));
        archive = pakOpen(fromUtf8(dir.file("data.pak")), 1);
        sounds = makeSoundSet(archive, output);
    }
    void TearDown() override {
        destroySoundSet(sounds);
        soundOutputClose(output);
        pakClose(archive);
    }
};

TEST_F(SoundFixture, LoadsEveryPresentImageWhole) {
    for (int i = 0; i < kSoundCount; ++i)
        EXPECT_EQ(sounds->sounds[i].size(), i == SoundLet ? 0u : wavOf(16 + i).size()) << i;
    EXPECT_EQ(sounds->muted, 0);
}

TEST_F(SoundFixture, NewSoundReplacesThePlayingOne) {
    playSound(sounds, SoundBounce1);
    EXPECT_EQ(output->playing, SoundBounce1);
    playSound(sounds, SoundOut);
    EXPECT_EQ(output->playing, SoundOut);
}

TEST_F(SoundFixture, MissingLetOnlySilences) {
    playSound(sounds, SoundBounce1);
    playSound(sounds, SoundLet);
    EXPECT_EQ(output->playing, -1);
}

TEST_F(SoundFixture, MutedPlaysNothingAndMutingStops) {
    playSound(sounds, SoundApplause);
    setSoundMuted(sounds, 1);
    EXPECT_EQ(output->playing, -1);
    const size_t before = output->requests.size();
    playSound(sounds, SoundNet);
    EXPECT_EQ(output->requests.size(), before);
    setSoundMuted(sounds, 0);
    playSound(sounds, SoundNet);
    EXPECT_EQ(output->playing, SoundNet);
}

void putLe32(std::vector<uint8_t>& bytes, size_t at, uint32_t value) {
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = static_cast<uint8_t>(value >> (8 * i));
}

// Layout of wavOf: RIFF size at 4, "fmt " at 12 (format 20, channels 22, rate 24, byte rate 28,
// block 32, bits 34), "data" at 36 with its size at 40.
TEST(WavCheck, OnlyWholePcm16ImagesPass) {
    EXPECT_TRUE(wavImageUsable(wavOf(10).data(), static_cast<uint32_t>(wavOf(10).size())));
    const std::vector<std::function<void(std::vector<uint8_t>&)>> damages = {
        [](auto& b) { b[0] = 'X'; },                 // not RIFF
        [](auto& b) { b[8] = 'X'; },                 // not WAVE
        [](auto& b) { putLe32(b, 4, 0xFFFFFFF8); },  // RIFF size past the image
        [](auto& b) { putLe32(b, 40, 0x7FFFFFFF); }, // data past the RIFF end
        [](auto& b) { putLe32(b, 16, 0xFFFFFFFF); }, // format chunk size wraps
        [](auto& b) { b[20] = 3; },                  // floating point, not PCM
        [](auto& b) { b[34] = 8; },                  // 8-bit samples
        [](auto& b) { b[22] = 0; },                  // no channels
        [](auto& b) { putLe32(b, 24, 0); },          // no sample rate
        [](auto& b) { b[12] = 'X'; },                // data before any format
        [](auto& b) { putLe32(b, 40, 3); },          // half a sample
        [](auto& b) { b.resize(20); },               // cut inside the format
    };
    for (size_t i = 0; i < damages.size(); ++i) {
        std::vector<uint8_t> bytes = wavOf(10);
        damages[i](bytes);
        EXPECT_FALSE(wavImageUsable(bytes.data(), static_cast<uint32_t>(bytes.size()))) << i;
    }
}

TEST(WavCheck, ADamagedSoundIsNamedAtLoadNotAtPlayTime) {
    TempDir dir;
    std::vector<uint8_t> bad = wavOf(10);
    bad[34] = 8;
    ASSERT_TRUE(writePakFile(dir.file("data.pak"), {{u"D:\\VELDAR\\Data\\Sounds\\out.wav", bad}}));
    PakArchive* archive = pakOpen(fromUtf8(dir.file("data.pak")), 1);
    try {
        makeSoundSet(archive, nullptr);
        ADD_FAILURE() << "a damaged sound loaded";
    } catch (const FileError& error) {
        EXPECT_EQ(toUtf8(fileErrorText(error)),
                  "File data corrupt: out.wav in " + dir.file("data.pak"));
    }
    pakClose(archive);
}

TEST(SoundSetWithoutArchive, RecordsRequestsForTheMatch) {
    SoundOutput* output = soundOutputOpenHeadless();
    SoundSet* sounds = makeSoundSet(nullptr, output);
    playSound(sounds, SoundFault);
    playSound(sounds, SoundServe);
    EXPECT_EQ(output->requests, (std::vector<int>{SoundFault, SoundServe}));
    destroySoundSet(sounds);
    soundOutputClose(output);
}

} // namespace
