// game_fixture.h: the real game as the tests run it: the built data.pak, a players.dat of its own
// in a fresh folder, the headless display and a shell on a clock the test steps. Everything it
// made is freed however the test ends. (The end-to-end driver runs the same game from outside.)
#pragma once

#include <cstdint>
#include <string>

#include "app/game_app.h"
#include "app/shell.h"
#include "core/game_random.h"
#include "core/wide_string.h"
#include "owned.h"
#include "platform/platform.h"
#include "platform/sound_output.h"
#include "temp_dir.h"

struct TestGameSetup {
    std::string dataFolder;      // where data.pak lies
    uint32_t seed = 11;          // the game's random generator, seeded before the game is made
    DisplayPitches pitches = {}; // of the headless display
};

struct RunningGame {
    TempDir home;
    Owned<Platform, platformClose> platform;
    Owned<SoundOutput, soundOutputClose> sound;
    Owned<GameApp, destroyGameApp> app;
    ShellState shell;

    // Raises FileError like the game when data.pak is missing; nothing is left behind then.
    explicit RunningGame(const TestGameSetup& setup)
        : platform(platformOpenHeadless(setup.pitches)), sound(soundOutputOpenHeadless()) {
        seedGameRandom(setup.seed);
        GameSetup game;
        game.dataFolder = fromUtf8(setup.dataFolder + "/");
        game.playersPath = playersPath();
        game.output = sound.get();
        game.platform = platform.get();
        app.reset(makeGameApp(game));
        shell.platform = platform.get();
        shellStartClock(shell);
    }
    std::string playersPath() const { return home.file("players.dat"); }
    // Frames of 20 ms on the headless clock, each a whole pass of the shell; false once the game
    // has ended.
    bool runFrames(int frames) {
        for (int i = 0; i < frames; ++i) {
            platform->clockNow += 20000;
            if (!shellPass(shell, app.get()))
                return false;
        }
        return true;
    }
    // A press and a release at one screen point, and the frame that handles them.
    bool tap(int x, int y) {
        platformInjectEvent(platform.get(), {PlatformEventType::StylusDown, x, y});
        platformInjectEvent(platform.get(), {PlatformEventType::StylusUp, x, y});
        return runFrames(1);
    }
};
