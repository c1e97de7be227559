// Sound effects loaded from a real archive and played through the headless output.
#include "assets/asset_names.h"
#include "assets/sound_set.h"
#include "pak_fixture.h"
#include "platform/sound_output.h"
#include "writers/wav_writer.h"

#include <functional>

namespace {

// A real 16-bit PCM image of `samples` samples.
std::vector<uint8_t> wavOf(size_t samples) {
    return buildWav(std::vector<int16_t>(samples, 1000), 22050);
}

using OwnedOutput = Owned<SoundOutput, soundOutputClose>;
using OwnedSounds = Owned<SoundSet, destroySoundSet>;

// Every sound but "Let", each of its own length.
std::vector<PakWriterEntry> soundEntries() {
    std::vector<PakWriterEntry> entries;
    for (int i = 0; i < kSoundCount; ++i)
        if (i != SoundLet)
            entries.push_back({soundEntryName(kSoundFileNames[i]), wavOf(16 + i)});
    return entries;
}

struct SoundFixture : ::testing::Test {
    PakFixture pak{soundEntries()};
    OwnedOutput output{soundOutputOpenHeadless()};
    OwnedSounds sounds{makeSoundSet(pak.archive, output.get())};
    void play(int id) { playSound(sounds.get(), id); }
};

TEST_F(SoundFixture, LoadsEveryPresentImageWhole) {
    for (int i = 0; i < kSoundCount; ++i)
        EXPECT_EQ(sounds->sounds[i].size(), i == SoundLet ? 0u : wavOf(16 + i).size()) << i;
    EXPECT_EQ(sounds->muted, 0);
}

TEST_F(SoundFixture, NewSoundReplacesThePlayingOne) {
    play(SoundBounce1);
    EXPECT_EQ(output->playing, SoundBounce1);
    play(SoundOut);
    EXPECT_EQ(output->playing, SoundOut);
}

TEST_F(SoundFixture, MissingLetOnlySilences) {
    play(SoundBounce1);
    play(SoundLet);
    EXPECT_EQ(output->playing, -1);
}

TEST_F(SoundFixture, MutedPlaysNothingAndMutingStops) {
    play(SoundApplause);
    setSoundMuted(sounds.get(), 1);
    EXPECT_EQ(output->playing, -1);
    const size_t before = output->requests.size();
    play(SoundNet);
    EXPECT_EQ(output->requests.size(), before);
    setSoundMuted(sounds.get(), 0);
    play(SoundNet);
    EXPECT_EQ(output->playing, SoundNet);
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
    std::vector<uint8_t> bad = wavOf(10);
    bad[34] = 8;
    PakFixture pak({{u"D:\\VELDAR\\Data\\Sounds\\out.wav", bad}});
    EXPECT_FILE_ERROR_TEXT(makeSoundSet(pak.archive, nullptr),
                           "File data corrupt: out.wav in " + pak.path());
}

TEST(SoundSetWithoutArchive, RecordsRequestsForTheMatch) {
    OwnedOutput output{soundOutputOpenHeadless()};
    OwnedSounds sounds{makeSoundSet(nullptr, output.get())};
    playSound(sounds.get(), SoundFault);
    playSound(sounds.get(), SoundServe);
    EXPECT_EQ(output->requests, (std::vector<int>{SoundFault, SoundServe}));
}

} // namespace
