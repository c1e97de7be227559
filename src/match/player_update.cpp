// player_update.cpp: each player's stroke state machine per sub-step, and the human's controls.
#include "match/computer_opponent.h"
#include "match/match.h"
#include "match/player_actions.h"
#include "match/stroke_table.h"
#include "match/strokes.h"
#include "match/vector_math.h"

namespace {

constexpr Fixed kHumanContactStep = 2621;    // 0.04 s
constexpr Fixed kServerStepIn = 62259;       // 0.95: the server steps into the court
constexpr Fixed kComputerFactorBase = 57344; // 0.875
constexpr Fixed kComputerFactorLevel = 8192; // 0.125
constexpr Fixed kEarlyTapLimit = 52428;      // 0.8 s
constexpr Fixed kEarlyTapPerLevel = 19660;   // 0.3 s
constexpr Fixed kServeMeterPower = 49152;    // 0.75
constexpr Fixed kServeMeterFloor = 16384;    // 0.25
constexpr Fixed kOpenBoundsX = fxFromInt(10);
constexpr Fixed kOpenBoundsNear = fx(0.3);
constexpr Fixed kOpenBoundsFar = fxFromInt(18);

// After a stroke the player may go anywhere on its own half.
void openBounds(MatchPlayer& p) {
    p.xMin = -kOpenBoundsX;
    p.xMax = kOpenBoundsX;
    if (p.baselineZ > 0) {
        p.zMin = kOpenBoundsNear;
        p.zMax = kOpenBoundsFar;
    } else {
        p.zMin = -kOpenBoundsFar;
        p.zMax = -kOpenBoundsNear;
    }
}

void endSwing(MatchPlayer& p) {
    p.swingTimeLeft = -kFxOne;
    setIdleAnim(p, 0);
    p.swinging = 0;
    p.stroke = 0;
}

// Ends the swing inside this step (moving until then) or counts it down.
void finishSwing(MatchPlayer& p, Fixed& step) {
    if (p.swingTimeLeft > 0 && p.swingTimeLeft <= step) {
        movePlayer(p, p.swingTimeLeft);
        step = fxSub(step, p.swingTimeLeft);
        endSwing(p);
    } else {
        p.swingTimeLeft = fxSub(p.swingTimeLeft, step);
    }
}

// The non-striker's sub-step while its own swing plays out.
void followThrough(MatchPlayer& p, Fixed& step) {
    if (p.swingTimeLeft > 0 && p.swingTimeLeft <= step) {
        movePlayer(p, p.swingTimeLeft);
        step = fxSub(step, p.swingTimeLeft);
        endSwing(p);
    } else {
        movePlayer(p, step);
        p.swingTimeLeft = fxSub(p.swingTimeLeft, step);
    }
    p.animTime = fxAdd(p.animTime, step);
}

void countDownToSwing(MatchPlayer& p, Fixed& step) {
    if (p.stroke == 0)
        return;
    if (p.timeToSwing > step) {
        p.timeToSwing = fxSub(p.timeToSwing, step);
        return;
    }
    if (p.timeToSwing > 0) {
        movePlayer(p, p.timeToSwing);
        step = fxSub(step, p.timeToSwing);
    }
    p.timeToSwing = 0;
    startStrokeAnim(p);
    p.swinging = 1;
}

// Contact, if it falls in this step, then the follow-through. Returns 1 when the ball was struck.
int swingThrough(MatchPlayer& p, Match* m, MatchPlayer& other, Fixed& step) {
    if (!p.swinging)
        return 0;
    int struck = 0;
    if (p.timeToContact > 0 && p.timeToContact <= step) {
        const bool human = !p.isComputer;
        if (human)
            m->serveMeterOn = 0;
        movePlayer(p, p.timeToContact);
        if (isServeStroke(p.stroke))
            p.strokeSpot.z = fxMul(p.strokeSpot.z, kServerStepIn);
        else if (!human)
            chooseAim(p, m, other);
        if (human)
            step = kHumanContactStep;
        struck = strikeBall(p, m, step);
        openBounds(p);
        step = fxSub(step, p.timeToContact);
        // The human's contact step is 0.04 s; a later contact must not run the clock backwards.
        if (step < 0)
            step = 0;
        p.timeToContact = -kFxOne;
    } else {
        p.timeToContact = fxSub(p.timeToContact, step);
    }
    finishSwing(p, step);
    return struck;
}

int updateStriker(MatchPlayer& p, Match* m, MatchPlayer& other, Fixed& step) {
    if (p.isComputer) {
        if (!p.strokePlanned && !p.swinging && m->pointDelay == 0) {
            Fixed factor = fxAdd(kComputerFactorBase, fxMul(kComputerFactorLevel, m->level));
            planStroke(p, m, other, factor);
            p.strokePlanned = 1;
        }
    } else {
        if (p.stroke == 0) {
            const bool tapped = (m->tapFlags & kTapShot) != 0;
            if (m->serveMeterOn && (m->serveMeter >= kServeMeterAutomatic || tapped)) {
                startHumanServe(p, m);
                m->serveMeterRate = 0;
            } else if (tapped) {
                requestShot(p, m, other);
            }
        }
        m->tapFlags = 0;
    }
    countDownToSwing(p, step);
    const int struck = swingThrough(p, m, other, step);
    movePlayer(p, step);
    p.animTime = fxAdd(p.animTime, step);
    return struck;
}

void updateNonStriker(MatchPlayer& p, Match* m, MatchPlayer& other, Fixed& step) {
    if (!p.isComputer)
        m->tapFlags = 0;
    if (p.swinging) {
        followThrough(p, step);
        return;
    }
    if (p.isComputer) {
        // No movement while the other player prepares or plays its serve.
        if (other.isServing) {
            p.animTime = fxAdd(p.animTime, step);
            return;
        }
        planComputerMove(p, m, other);
    }
    movePlayer(p, step);
    p.animTime = fxAdd(p.animTime, step);
}

} // namespace

int updatePlayer(MatchPlayer& p, int isStriker, Match* m, MatchPlayer& other, Fixed& step) {
    if (isStriker)
        return updateStriker(p, m, other, step);
    updateNonStriker(p, m, other, step);
    return 0;
}

void requestShot(MatchPlayer& p, Match* m, MatchPlayer& other) {
    Fixed factor = kFxOne;
    planStroke(p, m, other, factor);
    // A tap that finds no stroke plans nothing, so the player still walks where it is sent.
    if (p.stroke == 0)
        return;
    p.strokePlanned = 1;
    const Fixed allowedLead = fxSub(kEarlyTapLimit, fxMul(kEarlyTapPerLevel, m->level));
    if (p.timeToSwing <= allowedLead)
        return;
    // Tapped too early: an empty forehand from where the player stands.
    takeStrokeRow(p, StrokeForehand);
    p.strokeSpot = p.position;
    p.contactPoint = p.position;
    p.timeToSwing = 0;
    p.strokeSkill = p.skills.forehand;
}

void startHumanServe(MatchPlayer& p, Match* m) {
    // The meter rises past full power and falls back: 1.3 serves like 0.7.
    Fixed meter = m->serveMeter;
    if (meter > kFxOne)
        meter = fxSub(fxFromInt(2), meter);
    p.stroke = p.serveNumber == ServeState::First ? StrokeFirstServe : StrokeSecondServe;
    p.strokeSkill = p.serveNumber == ServeState::First ? p.skills.firstServe : p.skills.secondServe;
    const StrokeRow& row = strokeRow(p.stroke);
    m->ball.position = {p.position.x, fxHalf(fxAdd(row.reachMin.y, row.reachMax.y)), p.position.z};
    const Fixed power = fxAdd(fxMul(kServeMeterPower, meter), kServeMeterFloor);
    p.shotSpeed = fxMul(row.speed, power);
    p.shotSpin = fxMul(row.spin, power);
    p.strokeSpot = p.position;
    p.timeToSwing = 0;
    p.swingTimeLeft = row.swingTime;
    p.timeToContact = row.contactTime;
    p.pitchMin = row.pitchMin;
    p.pitchMax = row.pitchMax;
    p.contactPoint = m->ball.position;
    startStrokeAnim(p);
    p.swinging = 1;
}
