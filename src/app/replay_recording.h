// replay_recording.h: every match and drill the game plays, recorded as it is played and kept
// as a replay file when it ends: the set-up, each time step and each stylus event in order.
#pragma once

#include <cstdint>
#include <string>

#include "core/fixed_point.h"
#include "frontend/replay_file.h"

struct GameApp;
struct GameSetup;

struct ReplayRecorder {
    std::string folder;           // the replays folder beside players.dat
    std::string archivePath;      // data.pak, whose identity each replay holds
    uint64_t archiveIdentity = 0; // worked out at the first recording
    bool recording = false;
    ReplayStart start;
    ReplayWriter writer;
    uint64_t soundDigest = 0;
    bool foreground = true;
    int32_t pressX = 0, pressY = 0; // the last press, which a release is measured from
    std::string unkeepable;         // why this recording cannot become a replay; empty if it can
    std::string copyTo;             // drovana-script's `record FILE`: each replay also goes here
    std::string lastKept;           // the replay of the last recording that ended; empty if lost
    std::string lastLoss;           // what was said on stderr when the last one was lost
    double lastWriteSeconds = 0;    // how long finishing and writing it took
};

// Where replays are kept, and the archive they are made with; nothing is read yet.
void openReplayRecorder(GameApp* app, const GameSetup& setup);
// A recording still going (the game quit during play) is kept first.
void closeReplayRecorder(GameApp* app);

// A play screen was entered; called before its match or drill is set up.
void startRecording(GameApp* app);
// What the game was given, as it was given: a press, a release (its distance from the press),
// a change in who plays player 1 (the driver's auto play); each before the next step.
void recordStylusDown(GameApp* app, int x, int y);
void recordStylusUp(GameApp* app, int dx, int dy);
void recordPlayer1Control(GameApp* app, bool computer);
// A step of the match ran (dt as the frame loop gave it) and asked for the sounds of its record.
void noteMatchStep(GameApp* app, Fixed dt);

// The match or drill on screen ends. A recording is finished and kept; a replay being watched
// ends instead of the game going on, and the caller then returns at once (true).
bool replayEndsHere(GameApp* app, ReplayEnd end);

// The sound digest's next value: each step's number and the sounds it asked for.
uint64_t digestStepSounds(uint64_t digest, uint32_t step, const GameApp* app);
uint64_t gameArchiveIdentity(GameApp* app);
