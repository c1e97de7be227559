// Platform pieces that can run on a machine without a display: single instance, files, the
// SDL sound output on SDL's dummy audio driver, text conversion.
#include "core/wide_string.h"
#include "owned.h"
#include "platform/frame_pacing.h"
#include "platform/platform_file.h"
#include "platform/single_instance.h"
#include "platform/sound_output.h"
#include "temp_dir.h"
#include "writers/wav_writer.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

namespace {

TEST(SingleInstance, SecondStartIsRefusedAndRaisesTheFirst) {
    TempDir dir;
    SingleInstance first, second;
    ASSERT_TRUE(singleInstanceAcquire(first, dir.path.string()));
    EXPECT_FALSE(singleInstanceRaiseRequested(first));
    EXPECT_FALSE(singleInstanceAcquire(second, dir.path.string()));
    EXPECT_TRUE(singleInstanceRaiseRequested(first));
    EXPECT_FALSE(singleInstanceRaiseRequested(first));
    singleInstanceRelease(first);
    EXPECT_TRUE(singleInstanceAcquire(second, dir.path.string())); // free again after release
    singleInstanceRelease(second);
}

// A microsecond clock: the idle period is 16,666 ticks.
TEST(FramePacing, AnUnchangedFrameRestsForWhatIsLeftOfTheIdlePeriod) {
    EXPECT_EQ(idleWaitMilliseconds(1000000, 500000, 500000 + 6666), 10u);
    EXPECT_EQ(idleWaitMilliseconds(1000000, 500000, 500000 + 16000), 0u); // 666 us: under 1 ms
    EXPECT_EQ(idleWaitMilliseconds(1000000, 500000, 500000 + 16666), 0u);
    EXPECT_EQ(idleWaitMilliseconds(1000000, 500000, 500000 + 90000), 0u);
    EXPECT_EQ(idleWaitMilliseconds(1000000, 0, 6666), 0u); // nothing presented yet
}

TEST(PlatformFile, FailedReadIsZeroBytesNotSuccess) {
    TempDir dir;
    PlatformFile file;
    uint32_t got = 99;
    EXPECT_FALSE(platformFileRead(file, &got, 4, got)); // not open
    EXPECT_EQ(got, 0u);
    ASSERT_TRUE(platformFileOpen(file, fromUtf8(dir.path.string()), FileOpenMode::ReadExisting));
    char buffer[4];
    EXPECT_FALSE(platformFileRead(file, buffer, 4, got)); // a folder cannot be read
    EXPECT_EQ(got, 0u);
    platformFileClose(file);
    bool created = false;
    ASSERT_TRUE(
        platformFileOpen(file, fromUtf8(dir.file("f")), FileOpenMode::ReadWriteAlways, &created));
    EXPECT_TRUE(created);
    EXPECT_TRUE(platformFileWrite(file, "abcdef", 6, got));
    EXPECT_EQ(platformFileSize(file), 6u);
    EXPECT_TRUE(platformFileSeek(file, 4));
    EXPECT_TRUE(platformFileRead(file, buffer, 4, got));
    EXPECT_EQ(got, 2u);
    platformFileClose(file);
    ASSERT_TRUE(
        platformFileOpen(file, fromUtf8(dir.file("f")), FileOpenMode::ReadWriteAlways, &created));
    EXPECT_FALSE(created);
    platformFileClose(file);
}

TEST(SdlSoundOutput, PlaysParsesAndStopsOnTheDummyDevice) {
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    const Owned<SoundOutput, soundOutputClose> output{soundOutputOpenSdl()};
    ASSERT_NE(output, nullptr);
    const std::vector<uint8_t> wav = buildWav(std::vector<int16_t>(kWavSampleRate)); // silence
    soundOutputPlay(output.get(), 3, wav.data(), static_cast<uint32_t>(wav.size()));
    ASSERT_NE(output->device, 0u) << "the dummy driver always opens";
    EXPECT_EQ(output->playing, 3);
    const std::vector<uint8_t> garbage(100, 0x55);
    soundOutputPlay(output.get(), 4, garbage.data(), static_cast<uint32_t>(garbage.size()));
    EXPECT_EQ(output->playing, -1); // cut off, and nothing parseable started
    soundOutputPlay(output.get(), 3, wav.data(), static_cast<uint32_t>(wav.size()));
    soundOutputPlay(output.get(), 5, nullptr, 0);
    EXPECT_EQ(output->playing, -1);
    soundOutputStop(output.get());
}

TEST(WideString, RoundTripsAndUpperCases) {
    const std::string text = "D:\\VELDAR\\Data\\Pelé – ✓ 𝄞";
    EXPECT_EQ(toUtf8(fromUtf8(text)), text);
    EXPECT_EQ(toUpperWide(u'a'), u'A');
    EXPECT_EQ(toUpperWide(u'é'), u'É');
    EXPECT_EQ(toUpperWide(u'÷'), u'÷');
    EXPECT_EQ(toUpperWide(u'_'), u'_');
}

} // namespace
