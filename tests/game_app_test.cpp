// The stand-in game object through the real shell and headless display.
#include "app/game_app.h"
#include "app/shell.h"
#include "platform/sound_output.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

namespace {

TEST(GameAppStandIn, RunsFramesWithoutAnArchive) {
    TempDir dir;
    Platform* platform = platformOpenHeadless();
    SoundOutput* sound = soundOutputOpenHeadless();
    GameApp* app = makeGameApp(fromUtf8(dir.path.string() + "/"), sound);
    ShellState shell;
    shell.platform = platform;
    shellStartClock(shell);
    for (int i = 0; i < 10; ++i) {
        platform->clockNow += 20000;
        ASSERT_TRUE(shellPass(shell, app));
    }
    EXPECT_GT(app->clock, 0);
    // The first frame wrote every pixel; the display shows the backdrop's line colour.
    EXPECT_EQ(platformDisplayPixel(platform, 20, 100), 0xF79E);
    platformInjectEvent(platform, {PlatformEventType::StylusDown, 50, 60});
    shellPass(shell, app);
    EXPECT_EQ(sound->requests.back(), 10);
    destroyGameApp(app);
    soundOutputClose(sound);
    platformClose(platform);
}

} // namespace
