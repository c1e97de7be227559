// game_fixture.cpp
#include "game_fixture.h"

#include "core/game_random.h"
#include "core/wide_string.h"

RunningGame::RunningGame(const TestGameSetup& setup)
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

bool RunningGame::runFrames(int frames) {
    for (int i = 0; i < frames; ++i) {
        platform->clockNow += 20000;
        if (!shellPass(shell, app.get()))
            return false;
    }
    return true;
}

bool RunningGame::tap(int x, int y) {
    platformInjectEvent(platform.get(), {PlatformEventType::StylusDown, x, y});
    platformInjectEvent(platform.get(), {PlatformEventType::StylusUp, x, y});
    return runFrames(1);
}
