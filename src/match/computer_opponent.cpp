// computer_opponent.cpp: the computer's serve, its aim by level and where it waits.
#include "match/computer_opponent.h"

#include "core/game_random.h"
#include "match/match.h"
#include "match/player_actions.h"
#include "match/stroke_table.h"
#include "match/vector_math.h"

namespace {

constexpr Fixed kServeDepth = 353894;        // 5.4 m beyond the net
constexpr Fixed kServeWidth = 134348;        // 2.05 m
constexpr Fixed kFirstServeSpread = 117964;  // 1.8 m
constexpr Fixed kSecondServeSpread = 127795; // 1.95 m
constexpr Fixed kServeWindUp = fxFromInt(1);
constexpr Fixed kInsideOpponent = 78643; // 1.2 m
constexpr Fixed kSideline = 243138;      // 3.71 m, just inside the singles line
constexpr Fixed kCourtWidth = fx(7.42);  // sideline to sideline
constexpr Fixed kNetDrillDepth = 26214;  // 0.4
constexpr Fixed kDeepShare = 55705;      // 0.85
constexpr Fixed kOpponentAtNet = fxFromInt(5);
constexpr Fixed kEasyDepthShift = fxFromInt(2);
constexpr Fixed kCentreBand = fxFromInt(2);
constexpr Fixed kOpponentDeep = 26213; // deeper than 0.4 of its half
constexpr Fixed kSmashDepth = 36044;   // 0.55
constexpr Fixed kLobDepth = fx(0.95);
constexpr Fixed kFrontHalf = kFxHalf;
constexpr Fixed kFrontDepth = fx(0.8);
constexpr Fixed kBackDepth = fx(0.7);
constexpr Fixed kSpreadSteps = fx(7.5);
constexpr Fixed kRecoveryBand = 98304; // 1.5 m either side of the centre line
constexpr Fixed kStrikerDeep = 45875;  // 0.7 of its half
constexpr Fixed kStayBack = fx(0.95);
constexpr Fixed kMoveIn = fx(0.3);

Fixed clampToSidelines(Fixed x) {
    if (x > kSideline)
        return kSideline;
    if (x < -kSideline)
        return -kSideline;
    return x;
}

// 1.2 m inside the other player, toward the middle.
Fixed insideOf(Fixed ox) {
    return clampToSidelines(ox > 0 ? fxSub(ox, kInsideOpponent) : fxAdd(ox, kInsideOpponent));
}

Fixed easyDepth(Fixed oz, Fixed farBaseline) {
    const Fixed away = farBaseline > 0 ? kEasyDepthShift : -kEasyDepthShift;
    Fixed ez = fxAbs(oz) < kOpponentAtNet ? fxAdd(oz, away) : fxSub(oz, away);
    const Fixed limit = fxMul(farBaseline, kDeepShare);
    if (fxAbs(ez) > fxAbs(limit))
        ez = limit;
    return ez;
}

Fixed hardWidth(const MatchPlayer& p, const MatchPlayer& o, int r) {
    const Fixed ox = o.position.x;
    if (ox > kCentreBand)
        return -kSideline;
    if (ox < -kCentreBand)
        return kSideline;
    if (fxDiv(o.position.z, o.baselineZ) > kOpponentDeep)
        return fxSub(fxDiv(fxMul(fxFromInt(r & 15), kCourtWidth), fxFromInt(15)), kSideline);
    return p.position.x < 0 ? -kSideline : kSideline;
}

Fixed hardDepth(const MatchPlayer& p, const MatchPlayer& o, Fixed farBaseline, int r) {
    if (isSmashStroke(p.stroke))
        return fxMul(fxNeg(p.position.z), kSmashDepth);
    if (fxAbs(o.position.z) > fxAbs(farBaseline) + kFxHalf)
        return fxMul(farBaseline, kSmashDepth);
    if (isLobStroke(p.stroke))
        return fxMul(farBaseline, kLobDepth);
    const Fixed j = fxSub(fxFromInt(r & 15), kSpreadSteps);
    if (fxDiv(p.position.z, p.baselineZ) < kFrontHalf)
        return fxAdd(fxMul(farBaseline, kFrontDepth), fxDiv(fxMul(fxFromInt(2), j), kSpreadSteps));
    return fxAdd(fxMul(farBaseline, kBackDepth), fxDiv(fxMul(kFxOne, j), kSpreadSteps));
}

} // namespace

void planComputerServe(MatchPlayer& p, Match* m, Fixed factor) {
    const int r = gameRandom();
    p.aimPoint.z = p.position.z <= 0 ? kServeDepth : -kServeDepth;
    p.aimPoint.x = p.position.x > 0 ? -kServeWidth : kServeWidth;
    p.stroke = p.serveNumber == ServeState::First ? StrokeFirstServe : StrokeSecondServe;
    const StrokeRow& row = strokeRow(p.stroke);
    m->ball.position.y = fxHalf(fxAdd(row.reachMin.y, row.reachMax.y));
    p.shotSpeed = fxMul(row.speed, factor);
    p.shotSpin = fxMul(row.spin, factor);
    p.swingTimeLeft = row.swingTime;
    p.timeToContact = row.contactTime;
    p.pitchMin = row.pitchMin;
    p.pitchMax = row.pitchMax;
    p.strokeSpot = p.position;
    p.timeToSwing = kServeWindUp;
    p.contactPoint = m->ball.position;
    p.strokeSkill = p.serveNumber == ServeState::First ? p.skills.firstServe : p.skills.secondServe;
    setIdleAnim(p, 1);
    p.swinging = 0;
    const Fixed spread =
        p.serveNumber == ServeState::First ? kFirstServeSpread : kSecondServeSpread;
    if (r % 3 == 0)
        p.aimPoint.x = fxSub(p.aimPoint.x, spread);
    else if (r % 3 == 2)
        p.aimPoint.x = fxAdd(p.aimPoint.x, spread);
}

void chooseAim(MatchPlayer& p, Match* m, const MatchPlayer& o) {
    const Fixed farBaseline = fxNeg(p.baselineZ);
    const int r = gameRandom();
    p.aimPoint.y = 0;
    const Fixed ex = insideOf(o.position.x);
    if (m->isPractice) {
        p.aimPoint.x = ex;
        p.aimPoint.z = fxMul(farBaseline, m->practiceMode == PracticeMode::NetRally ? kNetDrillDepth
                                                                                    : kDeepShare);
        return;
    }
    const Fixed ez = easyDepth(o.position.z, farBaseline);
    const Fixed hx = hardWidth(p, o, r);
    const Fixed hz = hardDepth(p, o, farBaseline, r);
    const Fixed easyShare = fxSub(kFxOne, m->level);
    p.aimPoint.x = fxAdd(fxMul(ex, easyShare), fxMul(hx, m->level));
    p.aimPoint.z = fxAdd(fxMul(ez, easyShare), fxMul(hz, m->level));
}

void planComputerMove(MatchPlayer& p, Match* m, const MatchPlayer& o) {
    p.moveTarget.x = 0;
    if (fxAbs(p.position.x) > kRecoveryBand) {
        p.moveTarget.z = p.position.z; // back toward the middle first
        return;
    }
    const Fixed b = p.baselineZ;
    if (fxDiv(o.position.z, o.baselineZ) > kStrikerDeep)
        p.moveTarget.z = fxAdd(fxMul(fxMul(fxSub(kFxOne, m->level), b), kStayBack),
                               fxMul(fxMul(m->level, b), kMoveIn));
    else
        p.moveTarget.z = fxMul(b, kStayBack);
}
