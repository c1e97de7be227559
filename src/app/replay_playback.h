// replay_playback.h: watching a replay: the match set up again as it was and fed its recorded
// steps and stylus events through the game's own handlers, so the match, the HUD and the sounds
// are those of the match it recorded. The watcher's own taps only change the speed (1x, 4x,
// 16x) or leave by the close button; nothing the watcher does reaches the match.
#pragma once

#include <cstdint>
#include <string>

#include "core/fixed_point.h"
#include "frontend/replay_file.h"
#include "frontend/screen_tables.h"
#include "match/match.h"

struct GameApp;

// How a replay ended, against what its file says.
struct PlaybackResult {
    bool started = false;
    bool exact = false; // it ended as recorded: the same way, state hash and sounds, at its end
    ReplayEnd end = ReplayEnd::GameQuit;
    uint64_t stateHash = 0;
    uint64_t soundDigest = 0;
    uint32_t stepsPlayed = 0;
    uint32_t eventsPlayed = 0;
    Match endState = {}; // the match as the replay left it
    std::string error;   // why it could not start
};

// The statistics page's "watch again": the replay kept when the last match or drill ended (the
// page's own match; never another that sorts later in the folder), from its start. False (nothing
// changes) when it was lost or cannot be played; the reason is on stderr.
bool watchLastReplay(GameApp* app);
// Plays the file in real time on the screen (drovana --replay FILE); false with the error when it
// cannot be read or was made with another data.pak.
bool watchReplayFile(GameApp* app, const std::string& path, std::string& error);
bool startPlayback(GameApp* app, ReplayFile replay, std::string& error);
// The whole replay at once, nothing drawn (drovana-script's `replay FILE`); the game is left as
// it was before.
PlaybackResult playReplayHeadless(GameApp* app, ReplayFile replay);

bool replayPlaying(const GameApp* app);
// The speed the watcher chose: 1, 4 or 16.
int playbackSpeed(const GameApp* app);
// How much of the replay's recorded time has been played, in raw Fixed units.
int64_t playbackTimePlayed(const GameApp* app);
// The result of the last replay that ended.
const PlaybackResult& lastPlaybackResult(const GameApp* app);

// The game's hooks. While a replay plays, the frame loop's real time drives it (true: the step
// is taken); the watcher's stylus goes to the replay's controls (true: taken, with what the
// shell should get back).
bool playbackTakesTime(GameApp* app, Fixed dt);
bool playbackTakesStylusDown(GameApp* app, int x, int y, uint8_t& accepted);
bool playbackTakesStylusUp(GameApp* app);
void notePlaybackStep(GameApp* app);
// Ends the replay (the match ended `end`), puts the game back as it was and returns to the
// screen it was watched from.
void endPlayback(GameApp* app, ReplayEnd end);
void closePlayback(GameApp* app);
// The replay's caption over the match: that it is one, and its speed; and the cells it covers.
void drawPlaybackCaption(GameApp* app);
ScreenRect playbackCaptionPlace(const GameApp* app);
