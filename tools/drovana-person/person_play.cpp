// person_play.cpp: what a person sees of the match, how late it reacts, and where it taps.
#include "person_play.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "app/game_app.h"
#include "court_pixels.h"
#include "frontend/screen_id.h"
#include "match/court_planes.h"
#include "match/stroke_table.h"
#include "session/script_session.h"
#include "view/engine3d.h"

namespace {

constexpr int kFramesPerSecond = 60;
constexpr int64_t kMaxMatchFrames = int64_t{6} * 3600 * kFramesPerSecond;
// A person reads the score for a moment before tapping the pause away.
constexpr double kPauseReadSeconds = 1.0;
// Taps for one ball before the person gives it up.
constexpr int kMaxAimTapsPerBall = 4;
constexpr double kServeTimingSpread = 0.05; // of the meter, either way
constexpr double kOpenCourtX = 2.8;         // metres from the centre line
constexpr double kDeepAimShare = 0.7;       // of the way from the net to the baseline
constexpr double kRecoveryDepthShare = 0.95;
constexpr double kCentreDeadZone = 0.3; // an opponent this near the centre leaves either side open

enum class TapKind { CutPause, Aim, Recover };

struct PendingTap {
    int64_t frame;
    TapKind kind;
};

// What the person follows of the ball coming to it.
enum class Incoming { None, Coming, Crossed, Bounced };

struct Person {
    ScriptSession& session;
    const PersonTraits& traits;
    std::mt19937& random;
    PersonMatch result;
    int64_t frame = 0;
    std::vector<PendingTap> pending;
    Incoming incoming = Incoming::None;
    int aimTapsThisBall = 0;
    bool ballHadAimTap = false;
    int64_t checkAimAt = -1; // the frame at which the last aim tap's effect shows
    bool pauseSeen = false;
    bool serveChosen = false;
    double serveTarget = 0;
    int32_t strokesSeen = 0;
};

double metres(Fixed value) {
    return value / 65536.0;
}

Match& matchOf(Person& person) {
    return *person.session.app->resources.match;
}

int64_t reactionFrames(Person& person) {
    std::uniform_real_distribution<double> delay(person.traits.reactionMin,
                                                 person.traits.reactionMax);
    return std::llround(delay(person.random) * kFramesPerSecond);
}

void schedule(Person& person, TapKind kind, int64_t delayFrames) {
    person.pending.push_back({person.frame + delayFrames, kind});
}

void dropPending(Person& person, TapKind kind) {
    std::erase_if(person.pending, [kind](const PendingTap& t) { return t.kind == kind; });
}

// A finger lands near, not on, the point meant.
void tapGround(Person& person, double x, double z) {
    const ScreenPoint aim = groundToScreen(person.session.app->resources.engine->camera, x, z);
    std::normal_distribution<double> noise(0.0, person.traits.tapNoise);
    const int sx = std::clamp(static_cast<int>(std::lround(aim.x + noise(person.random))), 0, 239);
    const int sy = std::clamp(static_cast<int>(std::lround(aim.y + noise(person.random))), 0, 319);
    deliverTap(person.session, sx, sy);
}

double sideOf(const MatchPlayer& p) {
    return p.baselineZ > 0 ? 1.0 : -1.0;
}

// The open court: the side away from the other player, deep.
void aimAtOpenCourt(Person& person) {
    Match& m = matchOf(person);
    const MatchPlayer& other = m.players[1];
    double x = metres(other.position.x) > 0 ? -kOpenCourtX : kOpenCourtX;
    if (std::fabs(metres(other.position.x)) < kCentreDeadZone)
        x = std::uniform_int_distribution<int>(0, 1)(person.random) ? kOpenCourtX : -kOpenCourtX;
    tapGround(person, x, sideOf(other) * metres(kBaselineZ) * kDeepAimShare);
}

// Into the service box, toward its corner away from the receiver and near its back line.
void aimServe(Person& person) {
    Match& m = matchOf(person);
    const double x0 = metres(m.targetBox[BoxXMin]), x1 = metres(m.targetBox[BoxXMax]);
    const double z0 = metres(m.targetBox[BoxZMin]), z1 = metres(m.targetBox[BoxZMax]);
    const double receiverX = metres(m.players[1].position.x);
    const double x = receiverX > (x0 + x1) / 2 ? x0 + 0.2 * (x1 - x0) : x1 - 0.2 * (x1 - x0);
    const double nearLine = std::fabs(z0) < std::fabs(z1) ? z0 : z1;
    const double backLine = std::fabs(z0) < std::fabs(z1) ? z1 : z0;
    tapGround(person, x, nearLine + 0.75 * (backLine - nearLine));
}

bool ballIsMine(const Match& m) {
    return m.nextStriker == 1 && m.pointDelay == 0 && !m.matchOver;
}

void tryAim(Person& person) {
    Match& m = matchOf(person);
    if (!ballIsMine(m) || person.aimTapsThisBall >= kMaxAimTapsPerBall)
        return;
    if (m.players[0].stroke != 0) {
        // Still swinging (an early tap): try again once the swing is over.
        schedule(person, TapKind::Aim, reactionFrames(person));
        return;
    }
    aimAtOpenCourt(person);
    ++person.result.aimTaps;
    ++person.aimTapsThisBall;
    person.ballHadAimTap = true;
    // The game plans the stroke on its next step.
    person.checkAimAt = person.frame + 1;
}

// What the player did after the aim tap, as the person sees it on screen.
void checkAim(Person& person) {
    const MatchPlayer& p = matchOf(person).players[0];
    person.checkAimAt = -1;
    if (p.stroke == 0) {
        schedule(person, TapKind::Aim, reactionFrames(person)); // nothing moved: tap again
        return;
    }
    const bool early = p.stroke == StrokeForehand && p.timeToSwing == 0 &&
                       p.contactPoint.x == p.position.x && p.contactPoint.z == p.position.z;
    if (early) {
        ++person.result.earlySwings;
        schedule(person, TapKind::Aim, reactionFrames(person));
        return;
    }
    ++person.result.aimTapsPlanned;
}

void runTap(Person& person, TapKind kind) {
    Match& m = matchOf(person);
    switch (kind) {
    case TapKind::CutPause:
        if (m.pointDelay > 0 && !m.matchOver)
            tapGround(person, 0.0, sideOf(m.players[1]) * metres(kBaselineZ) * 0.5);
        break;
    case TapKind::Aim:
        tryAim(person);
        break;
    case TapKind::Recover:
        if (m.nextStriker == 2 && m.pointDelay == 0)
            tapGround(person, 0.0, sideOf(m.players[0]) * metres(kBaselineZ) * kRecoveryDepthShare);
        break;
    }
}

void runDueTaps(Person& person) {
    std::vector<PendingTap> due;
    for (const PendingTap& t : person.pending)
        if (t.frame <= person.frame)
            due.push_back(t);
    std::erase_if(person.pending, [&](const PendingTap& t) { return t.frame <= person.frame; });
    for (const PendingTap& t : due)
        runTap(person, t.kind);
}

void scheduleAimOnCue(Person& person, ReturnCue cue) {
    if (person.traits.cue == cue)
        schedule(person, TapKind::Aim, reactionFrames(person));
}

// A stroke was made since the last frame: by the other player (a ball for the person) or by the
// person's player.
void noticeStroke(Person& person) {
    Match& m = matchOf(person);
    person.strokesSeen = m.tally.strokes;
    dropPending(person, TapKind::Aim);
    dropPending(person, TapKind::Recover);
    if (m.nextStriker == 1) {
        ++person.result.ballsToReturn;
        person.incoming = Incoming::Coming;
        person.aimTapsThisBall = 0;
        person.ballHadAimTap = false;
        scheduleAimOnCue(person, ReturnCue::Stroke);
        return;
    }
    if (person.ballHadAimTap && m.tally.exchangeStrokes > 1)
        ++person.result.aimTapsMet;
    person.ballHadAimTap = false;
    person.incoming = Incoming::None;
    schedule(person, TapKind::Recover, reactionFrames(person));
}

void followIncomingBall(Person& person) {
    Match& m = matchOf(person);
    const double mySide = sideOf(m.players[0]);
    if (person.incoming == Incoming::Coming && metres(m.ball.position.z) * mySide > 0) {
        person.incoming = Incoming::Crossed;
        scheduleAimOnCue(person, ReturnCue::Net);
    }
    if (person.incoming == Incoming::Crossed && m.bounced) {
        person.incoming = Incoming::Bounced;
        scheduleAimOnCue(person, ReturnCue::Bounce);
    }
}

void noticePause(Person& person) {
    Match& m = matchOf(person);
    if (m.pointDelay == 0) {
        person.pauseSeen = false;
        return;
    }
    if (person.pauseSeen)
        return;
    person.pauseSeen = true;
    person.incoming = Incoming::None;
    person.pending.clear();
    person.checkAimAt = -1;
    schedule(person, TapKind::CutPause,
             std::llround(kPauseReadSeconds * kFramesPerSecond) + reactionFrames(person));
}

// The person watches the meter and taps near the chosen fullness, as it rises.
void watchServeMeter(Person& person) {
    Match& m = matchOf(person);
    if (!m.serveMeterOn || m.server != 1 || m.players[0].stroke != 0) {
        person.serveChosen = false;
        return;
    }
    if (!person.serveChosen) {
        std::uniform_real_distribution<double> spread(-kServeTimingSpread, kServeTimingSpread);
        person.serveTarget = std::min(1.0, person.traits.serveAt + spread(person.random));
        person.serveChosen = true;
    }
    const double meter = metres(m.serveMeter);
    if (meter <= 1.0 && meter >= person.serveTarget) {
        aimServe(person);
        ++person.result.serveTaps;
        person.serveChosen = false;
    }
}

void watchMatch(Person& person) {
    Match& m = matchOf(person);
    noticePause(person);
    if (m.tally.strokes != person.strokesSeen)
        noticeStroke(person);
    followIncomingBall(person);
    watchServeMeter(person);
    if (person.checkAimAt >= 0 && person.frame >= person.checkAimAt)
        checkAim(person);
    runDueTaps(person);
}

} // namespace

PersonMatch playPersonMatch(ScriptSession& session, const PersonTraits& traits,
                            std::mt19937& random) {
    Person person{session, traits, random, {}, 0, {}};
    GameApp& app = *session.app;
    const ScreenId playing = app.screen;
    Match& m = *app.resources.match;
    while (app.screen == playing && !session.ended && person.frame < kMaxMatchFrames) {
        watchMatch(person);
        person.result.tally = m.tally;
        person.result.finished = m.matchOver;
        person.result.won = m.matchOver && m.setsWon[0] == m.setsToWin;
        runFrames(session, 1);
        ++person.frame;
    }
    person.result.seconds = static_cast<double>(person.frame) / kFramesPerSecond;
    return person.result;
}
