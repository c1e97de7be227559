// match.cpp: making the match record and setting up a match or a practice drill.
#include "match/match.h"

#include "match/court_planes.h"
#include "match/serve_layout.h"
#include "match/stroke_table.h"
#include "match/vector_math.h"

#include <cstring>

namespace {

constexpr Fixed kComputerPause = fxFromInt(8);
constexpr Fixed kHumanPause = fxFromInt(15);
constexpr Fixed kRunSpeedPerLevel = 22937; // 0.35
constexpr Fixed kRunSpeedBase = 42598;     // 0.65

// Everything both kinds of set-up share; the caller then chooses server and drill.
void resetMatchState(Match* m, Fixed level, const MatchPlayer& player1,
                     const MatchPlayer& player2) {
    *m = Match{};
    m->level = level;
    std::memcpy(m->setScoreText, "00        ", kSetScoreTextLength);
    m->server = 1;
    m->serveCourt = 0;
    m->serveState = ServeState::First;
    m->endsSwapped = 0;
    m->nextStriker = 1;
    m->players[0] = player1;
    m->players[1] = player2;
    m->pointDelay = player1.isComputer ? kComputerPause : kHumanPause;
    m->setupDelay = 0;
    // A computer runs slower at the lower levels.
    const Fixed speedFactor = fxAdd(fxMul(kRunSpeedPerLevel, level), kRunSpeedBase);
    for (MatchPlayer& p : m->players) {
        if (p.isComputer)
            p.skills.runSpeed = fxMul(p.skills.runSpeed, speedFactor);
        p.stroke = 0;
    }
    m->ball = makeStartBall();
    m->ground = makeGroundPlane();
    m->net = makeNetPlane();
}

} // namespace

Match* createMatch() {
    Match* match = new Match{};
    // Both tables are converted once, before any play needs them.
    strokeTable();
    serveLayout();
    return match;
}

void destroyMatch(Match* match) {
    delete match;
}

void setUpMatch(Match* m, int setsToWin, Fixed level, const MatchPlayer& player1,
                const MatchPlayer& player2) {
    resetMatchState(m, level, player1, player2);
    m->isPractice = 0;
    m->setsToWin = setsToWin;
    setUpPoint(m);
}

void setUpPractice(Match* m, PracticeMode practiceMode, Fixed level, const MatchPlayer& player1,
                   const MatchPlayer& player2) {
    resetMatchState(m, level, player1, player2);
    m->isPractice = 1;
    m->practiceMode = practiceMode;
    m->setsToWin = 1;
    // Every drill but the serve drill starts with the partner serving or feeding.
    m->server = practiceMode != PracticeMode::Serve ? 2 : 1;
    m->nextStriker = m->server;
    setUpPoint(m);
}

void setSurface(Match* m, int surfaceKind) {
    applySurface(m->ball, m->ground, surfaceKind);
}

bool isHumanServer(const Match* m) {
    return !m->players[m->server - 1].isComputer;
}
