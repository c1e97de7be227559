// replay_recording.cpp: the recording of the match in play, and its replay file written when it
// ends (a frame's worth of work at most: the streams were coded as the match went).
#include "app/replay_recording.h"

#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>

#include "app/game_app.h"
#include "app/replay_playback.h"
#include "app/shell.h"
#include "core/display.h"
#include "match/match.h"
#include "match/state_hash.h"
#include "platform/platform.h"

namespace {

static_assert(kReplayMaxStep == kMaxStep, "a replay's longest step is the frame loop's");
// Room under the cap on a file's size for what the next steps and events may add.
constexpr size_t kRoomUnderCap = 1024;

constexpr char kReplaysFolderName[] = "replays";

ReplayRecorder* activeRecorder(GameApp* app) {
    ReplayRecorder* r = app->recorder;
    if (!r || !r->recording || replayPlaying(app))
        return nullptr;
    return r;
}

ReplayMode modeOf(ScreenId screen) {
    switch (screen) {
    case TournamentMatch:
        return ReplayMode::Tournament;
    case Practice:
        return ReplayMode::Practice;
    default:
        return ReplayMode::Exhibition;
    }
}

void refuse(ReplayRecorder& r, const std::string& why) {
    if (r.unkeepable.empty())
        r.unkeepable = why;
}

void writeEvent(ReplayRecorder& r, const ReplayEvent& event) {
    if (r.writer.eventCount >= kMaxReplayEvents)
        refuse(r, "it holds more events than a replay can");
    if (r.unkeepable.empty())
        writeReplayEvent(r.writer, event);
}

// Focus changes reach the shell only; they are noted at the next thing the game is given,
// which is exact enough for what they change (whether frames are drawn, never the match).
void noteFocus(GameApp* app, ReplayRecorder& r) {
    if (!app->platform)
        return;
    const bool foreground = platformIsForeground(app->platform);
    if (foreground == r.foreground)
        return;
    r.foreground = foreground;
    writeEvent(r, {foreground ? ReplayEventKind::FocusGained : ReplayEventKind::FocusLost,
                   r.writer.stepCount, 0, 0});
}

void recordEvent(GameApp* app, ReplayRecorder& r, const ReplayEvent& event) {
    noteFocus(app, r);
    writeEvent(r, event);
}

bool onScreen(int x, int y) {
    return x >= 0 && x < kScreenWidth && y >= 0 && y < kScreenHeight;
}

void writeCopy(const std::string& path, const std::vector<uint8_t>& bytes) {
    FILE* file = std::fopen(path.c_str(), "wb");
    bool ok = file && std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    if (file && std::fclose(file) != 0)
        ok = false;
    if (!ok)
        std::fprintf(stderr, "drovana: cannot write the replay to %s\n", path.c_str());
}

void keepRecording(GameApp* app, ReplayRecorder& r, ReplayEnd end) {
    const std::vector<uint8_t> bytes =
        finishReplayFile(r.writer, gameArchiveIdentity(app), r.start, end,
                         matchStateHash(*app->resources.match), r.soundDigest);
    std::string error;
    const std::string path =
        keepReplayFile(r.folder, replayFileName(r.start, std::time(nullptr)), bytes, error);
    if (path.empty()) {
        r.lastLoss = "the replay of this match is lost: " + error;
        std::fprintf(stderr, "drovana: %s\n", r.lastLoss.c_str());
    } else {
        r.lastKept = path;
        pruneReplays(r.folder, kKeptReplays);
    }
    if (!r.copyTo.empty())
        writeCopy(r.copyTo, bytes);
}

} // namespace

void openReplayRecorder(GameApp* app, const GameSetup& setup) {
    auto* r = new ReplayRecorder;
    r->archivePath = toUtf8(setup.pakPath.empty() ? setup.dataFolder + u"data.pak" : setup.pakPath);
    r->folder =
        (std::filesystem::path(setup.playersPath).parent_path() / kReplaysFolderName).string();
    app->recorder = r;
}

void closeReplayRecorder(GameApp* app) {
    if (!app->recorder)
        return;
    replayEndsHere(app, ReplayEnd::GameQuit);
    delete app->recorder;
    app->recorder = nullptr;
}

uint64_t gameArchiveIdentity(GameApp* app) {
    ReplayRecorder* r = app->recorder;
    if (!r)
        return 0;
    if (r->archiveIdentity == 0)
        r->archiveIdentity = archiveIdentityOf(r->archivePath);
    return r->archiveIdentity;
}

void startRecording(GameApp* app) {
    ReplayRecorder* r = app->recorder;
    if (!r || replayPlaying(app))
        return;
    replayEndsHere(app, ReplayEnd::GameQuit); // none is going, but never two at once
    const GameOptions& o = app->store.options;
    r->start = ReplayStart{};
    r->start.mode = modeOf(app->screen);
    r->start.tournamentRound = app->tournamentRound;
    r->start.options = o;
    r->start.players[0] = app->store.profiles[o.player1Profile];
    r->start.players[1] = app->store.profiles[o.player2Profile];
    r->start.random = gameRandomState();
    r->start.recordedAt = std::time(nullptr);
    r->writer = ReplayWriter{};
    r->soundDigest = kStateHashStart;
    r->foreground = !app->platform || platformIsForeground(app->platform);
    r->unkeepable.clear();
    r->recording = true;
    gameArchiveIdentity(app);
}

void recordStylusDown(GameApp* app, int x, int y) {
    ReplayRecorder* r = activeRecorder(app);
    if (!r)
        return;
    r->pressX = x;
    r->pressY = y;
    if (!onScreen(x, y))
        refuse(*r, "a stylus press at (" + std::to_string(x) + ", " + std::to_string(y) +
                       ") lay outside the screen");
    recordEvent(app, *r, {ReplayEventKind::StylusDown, r->writer.stepCount, x, y});
}

void recordStylusUp(GameApp* app, int dx, int dy) {
    ReplayRecorder* r = activeRecorder(app);
    if (!r)
        return;
    const int x = r->pressX + dx, y = r->pressY + dy;
    if (!onScreen(x, y))
        refuse(*r, "a stylus release at (" + std::to_string(x) + ", " + std::to_string(y) +
                       ") lay outside the screen");
    recordEvent(app, *r, {ReplayEventKind::StylusUp, r->writer.stepCount, x, y});
}

void recordPlayer1Control(GameApp* app, bool computer) {
    if (ReplayRecorder* r = activeRecorder(app))
        recordEvent(app, *r,
                    {computer ? ReplayEventKind::Player1Computer : ReplayEventKind::Player1Person,
                     r->writer.stepCount, 0, 0});
}

uint64_t digestStepSounds(uint64_t digest, uint32_t step, const GameApp* app) {
    const StepSounds& sounds = app->resources.match->stepSounds;
    if (sounds.count == 0)
        return digest;
    digest = hashWord(digest, step);
    for (int i = 0; i < sounds.count && i < kMaxStepSounds; ++i)
        digest = hashWord(digest, static_cast<uint32_t>(sounds.ids[i]));
    return digest;
}

void noteMatchStep(GameApp* app, Fixed dt) {
    if (replayPlaying(app)) {
        notePlaybackStep(app);
        return;
    }
    ReplayRecorder* r = activeRecorder(app);
    if (!r)
        return;
    noteFocus(app, *r);
    if (dt < 0 || dt > kReplayMaxStep)
        refuse(*r, "a step of " + std::to_string(dt) + " raw units, which no frame makes");
    else if (r->writer.stepCount >= kMaxReplaySteps ||
             replayFileSize(r->writer) > kMaxReplayFileBytes - kRoomUnderCap)
        refuse(*r, "it went on longer than a replay can hold");
    if (!r->unkeepable.empty())
        return;
    r->soundDigest = digestStepSounds(r->soundDigest, r->writer.stepCount, app);
    writeReplayStep(r->writer, dt);
}

bool replayEndsHere(GameApp* app, ReplayEnd end) {
    if (replayPlaying(app)) {
        endPlayback(app, end);
        return true;
    }
    ReplayRecorder* r = app->recorder;
    if (!r || !r->recording)
        return false;
    r->recording = false;
    const auto started = std::chrono::steady_clock::now();
    r->lastKept.clear();
    r->lastLoss.clear();
    if (!r->unkeepable.empty()) {
        r->lastLoss = "this match is not kept as a replay: " + r->unkeepable;
        std::fprintf(stderr, "drovana: %s\n", r->lastLoss.c_str());
    } else {
        keepRecording(app, *r, end);
    }
    r->writer = ReplayWriter{};
    r->lastWriteSeconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    return false;
}
