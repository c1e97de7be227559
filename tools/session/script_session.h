// script_session.h: the real game on the headless platform, driven one script command at a time.
#pragma once

#include <cstdint>
#include <string>

#include "app/shell.h"

struct GameApp;
struct Platform;
struct SoundOutput;

struct ScriptSession {
    Platform* platform = nullptr;
    SoundOutput* sound = nullptr;
    GameApp* app = nullptr;
    ShellState shell;
    bool autoPlay = false;  // player 1 of the match is left to the computer
    size_t soundsShown = 0; // sound requests already printed by `sounds`
    bool ended = false;     // the game has quit; no further command runs
};

struct SessionSetup {
    std::string pakPath;     // data.pak
    std::string playersPath; // players.dat
    bool hasSeed = false;
    uint32_t seed = 0;
};

// Opens the headless platform and sound output, seeds the game's random generator (from the
// clock unless a seed is given), makes the game and runs the first frame. Raises FileError like
// the game; the session must be closed in any case.
void openSession(ScriptSession& session, const SessionSetup& setup);
void closeSession(ScriptSession& session);

// Frames of 1/60 s of the scripted clock, each one full pass of the shell; stops early when the
// game ends.
void runFrames(ScriptSession& session, int64_t frames);
// Stylus events and the quit key are delivered as the window delivers them, then one pass of the
// shell runs without advancing the clock: it handles them and draws the result.
void deliverPress(ScriptSession& session, int x, int y);
void deliverRelease(ScriptSession& session, int x, int y);
void deliverTap(ScriptSession& session, int x, int y);
void deliverQuitKey(ScriptSession& session);

void setAutoPlay(ScriptSession& session, bool on);
// The ids of the sounds started since the last call, as a JSON array.
std::string takeSoundsJson(ScriptSession& session);
