// match_tally.cpp: counting serves, winners, errors and net touches for each player.
#include "match/match_tally.h"

#include "match/court_planes.h"
#include "match/match.h"
#include "match/stroke_table.h"
#include "match/vector_math.h"

namespace {

// The ball in play was struck last by the player who is not to strike next.
PlayerTally& lastStriker(Match* m) {
    return m->tally.players[otherPlayer(m->nextStriker) - 1];
}

const char* const kKindNames[kStrokeKinds] = {"forehand", "backhand", "volley",
                                              "smash",    "lob",      "serve"};

} // namespace

const char* strokeKindName(int kind) {
    return kind >= 0 && kind < kStrokeKinds ? kKindNames[kind] : "?";
}

StrokeKind strokeKindOf(int strokeId) {
    switch (strokeId) {
    case StrokeFirstServe:
    case StrokeSecondServe:
        return StrokeKind::Serve;
    case StrokeBackhand:
        return StrokeKind::Backhand;
    case StrokeForehandVolley:
    case StrokeBackhandVolley:
    case StrokeForehandJump:
    case StrokeBackhandJump:
        return StrokeKind::Volley;
    case StrokeForehandSmash:
    case StrokeBackhandSmash:
        return StrokeKind::Smash;
    case StrokeForehandLob:
    case StrokeBackhandLob:
        return StrokeKind::Lob;
    default:
        return StrokeKind::Forehand;
    }
}

void tallyStroke(Match* m, const MatchPlayer& striker) {
    m->tally.lastStroke = striker.stroke;
    const int index = &striker == &m->players[0] ? 0 : 1;
    const StrokeKind kind = strokeKindOf(striker.stroke);
    ++m->tally.players[index].strokes[static_cast<int>(kind)];
    // Coming in means taking a ball with the feet inside the service line; the serve is struck
    // from behind the baseline whatever happens after it.
    if (kind != StrokeKind::Serve && fxAbs(striker.position.z) < kServiceLineZ)
        m->tally.atNet[index] = 1;
}

void tallyServeJudged(Match* m, bool in) {
    PlayerTally& server = m->tally.players[m->server - 1];
    // The speed the serve left the racket with; nothing else is struck before its first bounce.
    if (in && m->ballSpeedKmh > server.fastestServeInKmh)
        server.fastestServeInKmh = m->ballSpeedKmh;
    if (m->serveState == ServeState::First) {
        ++server.firstServes;
        server.firstServesIn += in ? 1 : 0;
    } else if (m->serveState == ServeState::Second) {
        ++server.secondServes;
        server.secondServesIn += in ? 1 : 0;
        server.doubleFaults += in ? 0 : 1;
    }
}

void tallyNetPoints(Match* m, int winner) {
    for (int i = 0; i < 2; ++i) {
        if (!m->tally.atNet[i])
            continue;
        ++m->tally.players[i].netPoints;
        m->tally.players[i].netPointsWon += winner == i + 1 ? 1 : 0;
    }
}

void tallyPointEnd(Match* m, bool byWinner) {
    PlayerTally& striker = lastStriker(m);
    const int kind = static_cast<int>(strokeKindOf(m->tally.lastStroke));
    ++(byWinner ? striker.winners : striker.errors)[kind];
}

void tallyNetTouch(Match* m) {
    ++m->tally.netTouches;
    ++lastStriker(m).netTouches;
}
