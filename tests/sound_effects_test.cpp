// The twelve built sounds: WAVs the platform's loader takes, short, silent at both ends, on
// time, as loud as their table says, and with their energy where small speakers play it.
#include "assets/pak_archive.h"
#include "assets/sound_set.h"
#include "built_data.h"
#include "owned.h"
#include "platform/sound_output.h"
#include "sound_measures.h"

#include <SDL.h>
#include <gtest/gtest.h>

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

constexpr int kRate = 22050;

// How loud each sound should be heard: LUFS of its loudest 100 ms, K-weighted (docs/art.md).
// Applause, both bounces and the net; the three calls and both serves; the strokes soft to hard.
constexpr double kLoudnessTable[kSoundCount] = {-16, -16, -16, -16, -14, -14,
                                                -14, -14, -14, -18, -16, -14};

struct BuiltSounds : ::testing::Test {
    const Owned<PakArchive, pakClose> archive{openBuiltData()};
    const Owned<SoundSet, destroySoundSet> sounds{makeSoundSet(archive.get(), nullptr)};
    std::vector<int16_t> samplesOf(int id) {
        LoadedWav wav;
        EXPECT_TRUE(loadWithSdl(sounds->sounds[id], wav)) << id;
        return wav.samples;
    }
};

TEST_F(BuiltSounds, EveryOneIsShortMono16BitAt22050AndStartsAndEndsInSilence) {
    for (int id = 0; id < kSoundCount; ++id) {
        LoadedWav wav;
        ASSERT_TRUE(loadWithSdl(sounds->sounds[id], wav)) << id << ": " << SDL_GetError();
        EXPECT_EQ(wav.format.freq, 22050) << id;
        EXPECT_EQ(wav.format.format, AUDIO_S16LSB) << id;
        EXPECT_EQ(wav.format.channels, 1) << id;
        const double seconds = wav.samples.size() / 22050.0;
        EXPECT_GT(seconds, id == SoundApplause ? 1.5 : 0.1) << id;
        EXPECT_LT(seconds, id == SoundApplause ? 2.6 : 1.0) << id;
        const size_t n = wav.samples.size();
        // A click is a step at the very edge; the first and last few samples must be quiet.
        EXPECT_LE(peakOf(wav.samples, 0, 4), 328) << id;
        EXPECT_LE(peakOf(wav.samples, n - 4, n), 328) << id;
        EXPECT_EQ(wav.samples.back(), 0) << id;
        EXPECT_GT(peakOf(wav.samples, 0, n), 12000) << id;
    }
}

TEST_F(BuiltSounds, StruckSoundsAreHeardAsTheyArePlayed) {
    // The serves are played at the moment of the stroke: a hit later than 30 ms would lag
    // behind the picture noticeably.
    for (int id : {SoundServe, SoundServeGrunt})
        EXPECT_LT(onsetSeconds(samplesOf(id), kRate), 0.03) << id;
    for (int id : {SoundStroke1, SoundStroke2, SoundStroke3, SoundBounce1, SoundBounce2})
        EXPECT_LT(onsetSeconds(samplesOf(id), kRate), 0.01) << id;
}

TEST_F(BuiltSounds, HitsHaveABrightShortAttackWhoseCharacterFollowsTheirStrength) {
    double brightness[3];
    for (int strength = 0; strength < 3; ++strength) {
        const std::vector<int16_t> hit = samplesOf(SoundStroke1 + strength);
        brightness[strength] = energyShareAbove(hit, kRate, 2000.0);
        EXPECT_GE(brightness[strength], 0.10) << strength;
        EXPECT_LT(ringSeconds(hit, kRate), 0.05) << strength;
    }
    // Not only louder: a harder hit is brighter, as a listener hears it at any volume.
    EXPECT_LT(brightness[0], brightness[1]);
    EXPECT_LT(brightness[1], brightness[2]);
    EXPECT_GT(brightness[2], 1.5 * brightness[0]);
    EXPECT_GE(energyShareAbove(samplesOf(SoundServe), kRate, 2000.0), 0.10);
}

TEST_F(BuiltSounds, BouncesSitAboveWhatSmallSpeakersLose) {
    for (int id : {SoundBounce1, SoundBounce2})
        EXPECT_GE(energyShareAbove(samplesOf(id), kRate, 300.0), 0.5) << id;
}

TEST_F(BuiltSounds, EachIsAsLoudAsItsTableWithoutClipping) {
    double quietest = 0.0, loudest = -100.0;
    for (int id = 0; id < kSoundCount; ++id) {
        const std::vector<int16_t> samples = samplesOf(id);
        const double lufs = loudestMomentLufs(samples, kRate);
        EXPECT_NEAR(lufs, kLoudnessTable[id], 1.0) << id;
        quietest = std::min(quietest, lufs);
        loudest = std::max(loudest, lufs);
        EXPECT_LT(peakOf(samples, 0, samples.size()), 32767) << id;
    }
    EXPECT_LE(loudest - quietest, 6.0);
    EXPECT_LT(loudestMomentLufs(samplesOf(SoundStroke1), kRate),
              loudestMomentLufs(samplesOf(SoundStroke2), kRate));
    EXPECT_LT(loudestMomentLufs(samplesOf(SoundStroke2), kRate),
              loudestMomentLufs(samplesOf(SoundStroke3), kRate));
    // The hits, heard most often, are not left far below the calls.
    EXPECT_GT(loudestMomentLufs(samplesOf(SoundStroke3), kRate),
              loudestMomentLufs(samplesOf(SoundOut), kRate) - 2.0);
}

TEST_F(BuiltSounds, FaultOpensWithAnFThatIsHeard) {
    // Speech synthesis leaves an "f" some 25 dB under its vowel, where "Fault" turns into "all".
    const std::vector<int16_t> fault = samplesOf(SoundFault);
    const double opening = loudestBurstDb(fault, kRate, 0.0, 0.06);
    EXPECT_GT(opening, loudestBurstDb(fault, kRate, 0.0, 10.0) - 15.0);
    EXPECT_GE(energyShareAbove(fault, kRate, 2000.0), 0.08);
}

TEST_F(BuiltSounds, NoTwoAreTheSame) {
    for (int a = 0; a < kSoundCount; ++a)
        for (int b = a + 1; b < kSoundCount; ++b)
            EXPECT_NE(sounds->sounds[a], sounds->sounds[b]) << a << " and " << b;
}

} // namespace
