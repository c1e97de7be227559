// Sound effects loaded from a real archive and played through the headless output.
#include "assets/pak_archive.h"
#include "assets/sound_set.h"
#include "platform/sound_output.h"
#include "temp_dir.h"
#include "writers/pak_writer.h"

#include <gtest/gtest.h>

namespace {

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
                                   std::vector<uint8_t>(16 + i, static_cast<uint8_t>(i))});
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
        EXPECT_EQ(sounds->sounds[i].size(), i == SoundLet ? 0u : 16u + i) << i;
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
