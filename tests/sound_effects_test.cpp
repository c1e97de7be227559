// The twelve built sounds: WAVs the platform's loader takes, short, and silent at both ends.
#include "assets/pak_archive.h"
#include "assets/sound_set.h"
#include "built_data.h"
#include "platform/sound_output.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

namespace {

struct LoadedWav {
    SDL_AudioSpec format{};
    std::vector<int16_t> samples;
};

// Through SDL's own WAV loader, as the game plays them.
bool loadWithSdl(const std::vector<uint8_t>& image, LoadedWav& wav) {
    SDL_RWops* stream = SDL_RWFromConstMem(image.data(), static_cast<int>(image.size()));
    Uint8* data = nullptr;
    Uint32 length = 0;
    if (!stream || !SDL_LoadWAV_RW(stream, 1, &wav.format, &data, &length))
        return false;
    wav.samples.resize(length / 2);
    std::memcpy(wav.samples.data(), data, wav.samples.size() * 2);
    SDL_FreeWAV(data);
    return true;
}

int peakOf(const std::vector<int16_t>& s, size_t from, size_t to) {
    int peak = 0;
    for (size_t i = from; i < to && i < s.size(); ++i)
        peak = std::max(peak, std::abs(static_cast<int>(s[i])));
    return peak;
}

struct BuiltSounds : ::testing::Test {
    PakArchive* archive = openBuiltData();
    SoundSet* sounds = makeSoundSet(archive, nullptr);
    void TearDown() override {
        destroySoundSet(sounds);
        pakClose(archive);
    }
};

TEST_F(BuiltSounds, EveryOneIsMono16BitAt22050AndShort) {
    for (int id = 0; id < kSoundCount; ++id) {
        LoadedWav wav;
        ASSERT_TRUE(loadWithSdl(sounds->sounds[id], wav)) << id << ": " << SDL_GetError();
        EXPECT_EQ(wav.format.freq, 22050) << id;
        EXPECT_EQ(wav.format.format, AUDIO_S16LSB) << id;
        EXPECT_EQ(wav.format.channels, 1) << id;
        const double seconds = wav.samples.size() / 22050.0;
        EXPECT_GT(seconds, 0.1) << id;
        EXPECT_LT(seconds, id == SoundApplause ? 2.6 : 1.0) << id;
        if (id == SoundApplause) {
            EXPECT_GT(seconds, 1.5);
        }
    }
}

TEST_F(BuiltSounds, StartAndEndInSilenceWithSomethingBetween) {
    for (int id = 0; id < kSoundCount; ++id) {
        LoadedWav wav;
        ASSERT_TRUE(loadWithSdl(sounds->sounds[id], wav)) << id;
        const size_t n = wav.samples.size();
        // A click is a step at the very edge; the first and last few samples must be quiet.
        EXPECT_LE(peakOf(wav.samples, 0, 4), 328) << id;
        EXPECT_LE(peakOf(wav.samples, n - 4, n), 328) << id;
        EXPECT_EQ(wav.samples.back(), 0) << id;
        EXPECT_GT(peakOf(wav.samples, 0, n), 12000) << id;
    }
}

TEST_F(BuiltSounds, StrokesGrowFromSoftToHard) {
    LoadedWav soft, middle, hard;
    ASSERT_TRUE(loadWithSdl(sounds->sounds[SoundStroke1], soft));
    ASSERT_TRUE(loadWithSdl(sounds->sounds[SoundStroke2], middle));
    ASSERT_TRUE(loadWithSdl(sounds->sounds[SoundStroke3], hard));
    const auto peak = [](const LoadedWav& w) { return peakOf(w.samples, 0, w.samples.size()); };
    EXPECT_LT(peak(soft), peak(middle));
    EXPECT_LT(peak(middle), peak(hard));
}

TEST_F(BuiltSounds, NoTwoAreTheSame) {
    for (int a = 0; a < kSoundCount; ++a)
        for (int b = a + 1; b < kSoundCount; ++b)
            EXPECT_NE(sounds->sounds[a], sounds->sounds[b]) << a << " and " << b;
}

} // namespace
