// serve_sequence.cpp: laying the court out for the next point: who serves from where.
#include "match/match.h"

#include "match/court_planes.h"
#include "match/serve_layout.h"
#include "match/vector_math.h"

namespace {

constexpr Fixed kRallyBoundsX = fxFromInt(10);
constexpr Fixed kRallyBoundsNear = fx(0.3);
constexpr Fixed kRallyBoundsFar = fxFromInt(18);

void clearPointFlags(Match* m) {
    m->nextStriker = m->server;
    m->ballStruck = 0;
    m->bounced = 0;
    m->bounceMarkVisible = 0;
    m->netTouched = 0;
    m->ball.dead = 1;
    m->ball.velocity = {0, 0, 0};
    m->ball.spin = 0;
    m->tally.exchangeStrokes = 0;
    m->tally.atNet[0] = m->tally.atNet[1] = 0;
    for (MatchPlayer& p : m->players) {
        p.stroke = 0;
        p.wonSet = 0;
        p.lostSet = 0;
    }
}

void startLoopingAnim(MatchPlayer& p, int anim) {
    p.anim = anim;
    p.animLoops = 1;
    p.animTime = 0;
}

void placeRallyDrill(Match* m) {
    MatchPlayer& p1 = m->players[0];
    MatchPlayer& p2 = m->players[1];
    m->ballStruck = 1;
    m->ball.dead = 0;
    for (MatchPlayer& p : m->players) {
        p.isServing = 0;
        p.serveNumber = ServeState::None;
        p.swinging = 0;
        p.strokePlanned = 0;
    }
    const bool netDrill = m->practiceMode == PracticeMode::NetRally;
    p1.position = {0, 0, netDrill ? fx(2.5) : fxAdd(p1.baselineZ, kFxHalf)};
    p1.facing = {0, 0, -kFxOne};
    p2.position = {0, 0, fxSub(p2.baselineZ, kFxHalf)};
    p2.facing = {0, 0, kFxOne};
    p1.xMin = p2.xMin = -kRallyBoundsX;
    p1.xMax = p2.xMax = kRallyBoundsX;
    p1.zMin = kRallyBoundsNear;
    p1.zMax = kRallyBoundsFar;
    p2.zMin = -kRallyBoundsFar;
    p2.zMax = -kRallyBoundsNear;
    m->targetBox[BoxXMin] = -kSinglesHalfWidth;
    m->targetBox[BoxXMax] = kSinglesHalfWidth;
    m->targetBox[BoxZMin] = -kBaselineZ;
    m->targetBox[BoxZMax] = -kNetClearance;
    // The partner feeds the first ball from player 1's spot with topspin toward player 2.
    m->ball.position = {p1.position.x, fx(1.4), p1.position.z};
    m->ball.velocity =
        netDrill ? Vec3{0, 0, fxFromInt(-25)} : Vec3{0, fxFromInt(10), fxFromInt(-20)};
    m->ball.spin = fxFromInt(300);
    m->ball.spinAxis.x = -kFxOne;
    m->nextStriker = 2;
    startLoopingAnim(p1, AnimRest);
    startLoopingAnim(p2, AnimRest);
    m->serveState = ServeState::None;
    m->pointDelay = 0;
}

void placePlayer(MatchPlayer& p, const Vec3& position, const Vec3& facing,
                 const GroundRect& bounds) {
    p.position = position;
    p.facing = facing;
    p.xMin = bounds.xMin;
    p.xMax = bounds.xMax;
    p.zMin = bounds.zMin;
    p.zMax = bounds.zMax;
}

void placeServe(Match* m) {
    for (MatchPlayer& p : m->players) {
        p.strokePlanned = 0;
        p.swinging = 0;
    }
    const int row = m->server == 1 ? m->serveCourt + 2 * m->endsSwapped
                                   : (2 - 2 * m->endsSwapped) + m->serveCourt;
    const ServeLayoutRow& layout = serveLayout().rows[row];
    MatchPlayer& server = playerOf(m, m->server);
    MatchPlayer& receiver = playerOf(m, otherPlayer(m->server));
    server.isServing = 1;
    server.serveNumber = m->serveState;
    receiver.isServing = 0;
    placePlayer(server, layout.serverPosition, layout.serverFacing, layout.serverBounds);
    placePlayer(receiver, layout.receiverPosition, layout.receiverFacing, layout.receiverBounds);
    // The layout stores boxes as (xMin, zMin, xMax, zMax); the target box is ordered by axis.
    m->targetBox[BoxXMin] = layout.serviceBox.xMin;
    m->targetBox[BoxXMax] = layout.serviceBox.xMax;
    m->targetBox[BoxZMin] = layout.serviceBox.zMin;
    m->targetBox[BoxZMax] = layout.serviceBox.zMax;
    m->ball.position = server.position;
    startLoopingAnim(server, AnimWaitToServe);
    startLoopingAnim(receiver, AnimWaitForServe);
}

} // namespace

void setUpPoint(Match* m) {
    clearPointFlags(m);
    m->players[0].baselineZ = m->endsSwapped ? -kBaselineZ : kBaselineZ;
    m->players[1].baselineZ = -m->players[0].baselineZ;
    if (m->isPractice && (m->practiceMode == PracticeMode::BaselineRally ||
                          m->practiceMode == PracticeMode::NetRally))
        placeRallyDrill(m);
    else
        placeServe(m);
    m->ballPrevPosition = m->ball.position;
    for (MatchPlayer& p : m->players) {
        p.moveTarget = p.position;
        p.strokeSpot = p.position;
    }
}
