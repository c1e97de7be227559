// shell.h: the outermost loop: events to the game, time in fixed steps, frames to the display.
#pragma once

#include <cstdint>

#include "core/fixed_point.h"
#include "platform/platform.h"

// The shell's state, one per process.
struct ShellState {
    Platform* platform = nullptr; // not owned
    bool hasPerformanceCounter = true;
    uint64_t counterFrequency = 1000;
    uint64_t startCounter = 0;
    uint64_t frameNow = 0;
    uint64_t frameLast = 0;
    int64_t frameDelta = 0;
    bool firstFrame = true;
    int stylusDownX = 0;
    int stylusDownY = 0;
    uint8_t stylusDownAccepted = 0;
    bool quitRequested = false;
};

constexpr Fixed kMaxStep = 3276; // 0.05 s, truncated from 3276.8

// Reads the platform clock and frequency into the shell and returns the start counter,
// whose low 32 bits seed the game's random generator.
uint64_t shellStartClock(ShellState& shell);
uint64_t readClock(ShellState& shell);

// Splits the elapsed seconds of one frame into game steps: none at 5 ms or less, otherwise
// the time capped at 0.1 s in steps of 0.05 s, the rest converted double -> float -> Fixed.
// Returns the number of steps written (0, 1 or 2).
int frameSteps(double elapsedSeconds, Fixed steps[2]);

// The game object is any type with these free functions:
//   gameUpdate(Game*, Fixed dt), gameAfterUpdate(Game*), gameRender(Game*),
//   gamePresent(Game*, uint8_t* displayMemory, const DisplayPitches&, uint8_t fullCopy,
//   ScreenRows& written) -> bool (false when no pixel changed; written: the rows it wrote),
//   gameStylusDown(Game*, int x, int y) -> uint8_t, gameStylusUp(Game*, int dx, int dy).

// One pass of the idle loop: advance the game when more than 5 ms passed, then draw and
// present while the window is in the foreground.
template <typename Game> void frameTick(ShellState& shell, Game* game) {
    if (shell.firstFrame) {
        shell.frameNow = shell.frameLast = readClock(shell);
        shell.frameDelta = 0;
        shell.firstFrame = false;
    } else {
        shell.frameNow = readClock(shell);
        shell.frameDelta = static_cast<int64_t>(shell.frameNow - shell.frameLast);
        const double elapsed =
            static_cast<double>(shell.frameDelta) / static_cast<double>(shell.counterFrequency);
        Fixed steps[2];
        const int count = frameSteps(elapsed, steps);
        if (count > 0) {
            for (int i = 0; i < count; ++i)
                gameUpdate(game, steps[i]);
            gameAfterUpdate(game);
            shell.frameLast = shell.frameNow;
        }
    }
    if (game && platformIsForeground(shell.platform)) {
        gameRender(game);
        // A frame equal to the one shown is not shown again: a menu at rest costs next to nothing.
        ScreenRows written;
        if (gamePresent(game, platformBeginDraw(shell.platform), shell.platform->pitches, 0,
                        written))
            platformEndDraw(shell.platform, written);
        else
            platformSkipDraw(shell.platform);
    }
}

// The window procedure: one platform event.
template <typename Game> void handleEvent(ShellState& shell, Game* game, const PlatformEvent& e) {
    switch (e.type) {
    case PlatformEventType::Close:
        shell.quitRequested = true;
        break;
    case PlatformEventType::KeyDown:
        if (e.key == KeyA)
            shell.quitRequested = true;
        break;
    case PlatformEventType::StylusDown:
        shell.stylusDownX = static_cast<uint16_t>(e.x);
        shell.stylusDownY = static_cast<uint16_t>(e.y);
        shell.stylusDownAccepted =
            game ? gameStylusDown(game, shell.stylusDownX, shell.stylusDownY) : 0;
        break;
    case PlatformEventType::StylusUp:
        if (!shell.stylusDownAccepted)
            break;
        shell.stylusDownAccepted = 0;
        gameStylusUp(game, static_cast<uint16_t>(e.x) - shell.stylusDownX,
                     static_cast<uint16_t>(e.y) - shell.stylusDownY);
        break;
    case PlatformEventType::Paint:
        if (game && platformIsForeground(shell.platform)) {
            ScreenRows written;
            gamePresent(game, platformBeginDraw(shell.platform), shell.platform->pitches, 1,
                        written);
            platformEndDraw(shell.platform, written);
        }
        break;
    case PlatformEventType::FocusLost:
    case PlatformEventType::FocusGained:
        break; // the platform tracks the foreground; nothing is suspended on a desktop
    }
}

// Drains pending events, then runs one frame; returns false once the game should end.
template <typename Game> bool shellPass(ShellState& shell, Game* game) {
    PlatformEvent event;
    while (platformPollEvent(shell.platform, event)) {
        handleEvent(shell, game, event);
        if (shell.quitRequested)
            return false;
    }
    frameTick(shell, game);
    return true;
}
