// replay_playback.cpp: a replay fed into the game step by step and event by event, with the
// game's own state set aside while it plays and put back when it ends.
#include "app/replay_playback.h"

#include <cstdio>

#include "app/game_app.h"
#include "app/replay_recording.h"
#include "assets/image_button.h"
#include "core/display.h"
#include "core/wide_format.h"
#include "frontend/screen_tables.h"
#include "match/state_hash.h"
#include "view/engine3d.h"
#include "view/hud_text.h"

namespace {

constexpr int kSpeeds[] = {1, 4, 16};
constexpr int kSpeedCount = sizeof kSpeeds / sizeof kSpeeds[0];
constexpr int kCaptionCentreX = kScreenWidth / 2;
// Under the power meter, between the scoreboard and the ball's speed: only the far figure's head
// reaches it, when that player stands well behind the baseline. Below the near baseline the near
// figure's feet would meet it at serves and in about half of a match's frames.
constexpr int kCaptionCentreY = 24;
constexpr int kCaptionCellWidth = 8; // the 8 x 16 font
constexpr int kCaptionCellHeight = 16;

WideString captionText(const GameApp* app) {
    return u"Replay " + wideDecimal(playbackSpeed(app)) + u"x";
}

} // namespace

// What watching sets aside and puts back, and how far the replay has come.
struct ReplayPlayback {
    bool active = false;
    ReplayFile file;
    ReplayReader reader;
    ReplayEvent nextEvent;
    bool eventWaiting = false;
    Fixed nextStep = 0;
    bool stepWaiting = false;
    uint32_t stepsPlayed = 0; // counting the one being played
    uint32_t eventsPlayed = 0;
    uint64_t soundDigest = 0;
    int speedIndex = 0;
    int64_t owed = 0;       // real time times the speed not yet played, raw Fixed units
    int64_t timePlayed = 0; // the recorded steps played so far, raw Fixed units
    bool feeding = false;   // a recorded step or event is going through the game's handlers
    int32_t pressX = 0, pressY = 0;
    bool watcherOnClose = false;
    ProfileStore store;
    Match match = {};
    RandomState random;
    ScreenId returnTo = MainMenu;
    int32_t practiceDrill = 0;
    int32_t tournamentRound = 0;
    PlaybackResult result;
};

namespace {

ReplayPlayback* activePlayback(const GameApp* app) {
    return app->playback && app->playback->active ? app->playback : nullptr;
}

ScreenId screenOf(ReplayMode mode) {
    switch (mode) {
    case ReplayMode::Tournament:
        return TournamentMatch;
    case ReplayMode::Practice:
        return Practice;
    case ReplayMode::Exhibition:
        break;
    }
    return ExhibitionMatch;
}

bool isPlayScreen(ScreenId screen) {
    return screen == ExhibitionMatch || screen == TournamentMatch || screen == Practice;
}

// Only the two players of the replay, in the slots they held; the watcher's sound setting.
ProfileStore replayStore(const ReplayStart& start, const ProfileStore& own) {
    ProfileStore store;
    for (PlayerProfile& p : store.profiles) {
        p = PlayerProfile{};
        p.level = -1;
    }
    store.options = start.options;
    store.options.soundOff = own.options.soundOff;
    store.profiles[start.options.player1Profile] = start.players[0];
    store.profiles[start.options.player2Profile] = start.players[1];
    return store;
}

void takeNextEvent(ReplayPlayback& p) {
    p.eventWaiting = p.reader.eventsLeft > 0;
    if (p.eventWaiting)
        p.nextEvent = readReplayEvent(p.reader);
}

void deliver(GameApp* app, ReplayPlayback& p, const ReplayEvent& e) {
    ++p.eventsPlayed;
    switch (e.kind) {
    case ReplayEventKind::StylusDown:
        p.pressX = e.x;
        p.pressY = e.y;
        gameStylusDown(app, e.x, e.y);
        break;
    case ReplayEventKind::StylusUp:
        gameStylusUp(app, e.x - p.pressX, e.y - p.pressY);
        break;
    case ReplayEventKind::Player1Computer:
    case ReplayEventKind::Player1Person:
        app->resources.match->players[0].isComputer =
            e.kind == ReplayEventKind::Player1Computer ? 1 : 0;
        break;
    case ReplayEventKind::FocusLost:
    case ReplayEventKind::FocusGained:
        break; // the watcher's own window decides what is drawn
    }
}

// The events due before the next step, as far as the replay still plays.
void deliverDueEvents(GameApp* app, ReplayPlayback& p) {
    while (p.active && p.eventWaiting && p.nextEvent.step <= p.stepsPlayed) {
        const ReplayEvent e = p.nextEvent;
        takeNextEvent(p);
        p.feeding = true;
        deliver(app, p, e);
        p.feeding = false;
    }
}

// Plays on while the owed time lasts (all of it when unlimited); a replay whose steps and events
// run out before the match ended ends there, as the game quit there.
void feed(GameApp* app, ReplayPlayback& p, bool unlimited) {
    while (p.active) {
        deliverDueEvents(app, p);
        if (!p.active)
            return;
        if (!p.stepWaiting && p.reader.stepsLeft == 0) {
            endPlayback(app, ReplayEnd::GameQuit);
            return;
        }
        if (!p.stepWaiting) {
            p.nextStep = readReplayStep(p.reader);
            p.stepWaiting = true;
        }
        if (!unlimited && p.nextStep > p.owed)
            return;
        p.stepWaiting = false;
        p.owed -= p.nextStep;
        p.timePlayed += p.nextStep;
        ++p.stepsPlayed;
        p.feeding = true;
        gameUpdate(app, p.nextStep);
        p.feeding = false;
    }
}

bool hitsCloseButton(GameApp* app, int x, int y) {
    const ImageButton* b = buttonDoing(app->screen, app->buttons, ButtonAction::Close);
    return b && x >= b->left && x < b->left + b->width && y >= b->top && y < b->top + b->height;
}

void reportInexact(const ReplayPlayback& p) {
    std::fprintf(stderr,
                 "drovana: %s did not play as it was recorded (state %016llx, recorded %016llx; "
                 "%u of %u steps, %u of %u events)\n",
                 p.file.name.c_str(), static_cast<unsigned long long>(p.result.stateHash),
                 static_cast<unsigned long long>(p.file.outcome.stateHash), p.stepsPlayed,
                 p.file.outcome.stepCount, p.eventsPlayed, p.file.outcome.eventCount);
}

} // namespace

bool replayPlaying(const GameApp* app) {
    return activePlayback(app) != nullptr;
}

int playbackSpeed(const GameApp* app) {
    const ReplayPlayback* p = activePlayback(app);
    return p ? kSpeeds[p->speedIndex] : 1;
}

int64_t playbackTimePlayed(const GameApp* app) {
    const ReplayPlayback* p = activePlayback(app);
    return p ? p->timePlayed : 0;
}

const PlaybackResult& lastPlaybackResult(const GameApp* app) {
    static const PlaybackResult none;
    return app->playback ? app->playback->result : none;
}

bool startPlayback(GameApp* app, ReplayFile replay, std::string& error) {
    if (replayPlaying(app))
        endPlayback(app, ReplayEnd::Closed);
    if (isPlayScreen(app->screen)) {
        error = replay.name + ": cannot be watched while a match is in play";
        return false;
    }
    if (!replayArchiveMatches(replay, gameArchiveIdentity(app), error))
        return false;
    if (!app->playback)
        app->playback = new ReplayPlayback;
    ReplayPlayback& p = *app->playback;
    p = ReplayPlayback{};
    p.file = std::move(replay);
    startReplayReader(p.file, p.reader);
    takeNextEvent(p);
    p.soundDigest = kStateHashStart;
    p.store = app->store;
    p.match = *app->resources.match;
    p.random = gameRandomState();
    p.returnTo = app->screen >= MainMenu && app->screen <= kLastScreen ? app->screen : MainMenu;
    p.practiceDrill = app->practiceDrill;
    p.tournamentRound = app->tournamentRound;
    p.result.started = true;
    p.active = true;

    const ReplayStart& start = p.file.start;
    app->store = replayStore(start, p.store);
    app->tournamentRound = start.tournamentRound;
    setGameRandomState(start.random);
    changeScreen(app, screenOf(start.mode));
    applyProfile(app, 1);
    applyProfile(app, 2);
    return true;
}

bool watchReplayFile(GameApp* app, const std::string& path, std::string& error) {
    ReplayFile replay;
    return readReplayFile(path, replay, error) && startPlayback(app, std::move(replay), error);
}

bool watchLastReplay(GameApp* app) {
    if (!app->recorder || app->recorder->lastKept.empty())
        return false;
    std::string error;
    if (!watchReplayFile(app, app->recorder->lastKept, error)) {
        std::fprintf(stderr, "drovana: %s\n", error.c_str());
        return false;
    }
    return true;
}

PlaybackResult playReplayHeadless(GameApp* app, ReplayFile replay) {
    PlaybackResult failed;
    if (!startPlayback(app, std::move(replay), failed.error))
        return failed;
    feed(app, *app->playback, true);
    return app->playback->result;
}

bool playbackTakesTime(GameApp* app, Fixed dt) {
    ReplayPlayback* p = activePlayback(app);
    if (!p || p->feeding)
        return false;
    p->owed += static_cast<int64_t>(dt) * kSpeeds[p->speedIndex];
    feed(app, *p, false);
    return true;
}

bool playbackTakesStylusDown(GameApp* app, int x, int y, uint8_t& accepted) {
    ReplayPlayback* p = activePlayback(app);
    if (!p || p->feeding)
        return false;
    p->watcherOnClose = hitsCloseButton(app, x, y);
    accepted = 1;
    return true;
}

bool playbackTakesStylusUp(GameApp* app) {
    ReplayPlayback* p = activePlayback(app);
    if (!p || p->feeding)
        return false;
    if (p->watcherOnClose)
        endPlayback(app, ReplayEnd::Closed);
    else
        p->speedIndex = (p->speedIndex + 1) % kSpeedCount;
    return true;
}

void notePlaybackStep(GameApp* app) {
    if (ReplayPlayback* p = activePlayback(app))
        p->soundDigest = digestStepSounds(p->soundDigest, p->stepsPlayed - 1, app);
}

void endPlayback(GameApp* app, ReplayEnd end) {
    ReplayPlayback* p = activePlayback(app);
    if (!p)
        return;
    const uint32_t stepsPlayed = p->stepsPlayed;
    PlaybackResult& r = p->result;
    r.end = end;
    r.stateHash = matchStateHash(*app->resources.match);
    r.soundDigest = p->soundDigest;
    r.stepsPlayed = stepsPlayed;
    r.eventsPlayed = p->eventsPlayed;
    r.endState = *app->resources.match;
    const ReplayOutcome& recorded = p->file.outcome;
    r.exact = end == recorded.end && r.stateHash == recorded.stateHash &&
              r.soundDigest == recorded.soundDigest && stepsPlayed == recorded.stepCount &&
              r.eventsPlayed == recorded.eventCount;
    // A watcher who leaves early has seen nothing wrong.
    const bool watcherLeft = end == ReplayEnd::Closed && !p->feeding;
    if (!r.exact && !watcherLeft)
        reportInexact(*p);

    p->active = false;
    p->feeding = false;
    app->store = p->store;
    app->tournamentRound = p->tournamentRound;
    app->practiceDrill = p->practiceDrill;
    setGameRandomState(p->random);
    *app->resources.match = p->match;
    applyProfile(app, 1);
    applyProfile(app, 2);
    hideHeldBalls(app);
    changeScreen(app, p->returnTo);
    *app->resources.match = p->match; // the screen's entry may have set up a match of its own
}

void closePlayback(GameApp* app) {
    if (replayPlaying(app))
        endPlayback(app, ReplayEnd::Closed);
    delete app->playback;
    app->playback = nullptr;
}

ScreenRect playbackCaptionPlace(const GameApp* app) {
    const int width = kCaptionCellWidth * static_cast<int>(captionText(app).size());
    return {kCaptionCentreX - width / 2, kCaptionCentreY - kCaptionCellHeight / 2, width,
            kCaptionCellHeight};
}

void drawPlaybackCaption(GameApp* app) {
    if (!replayPlaying(app))
        return;
    drawTextCentred(app->resources.engine->frame, kCaptionCentreX, kCaptionCentreY,
                    captionText(app));
}
