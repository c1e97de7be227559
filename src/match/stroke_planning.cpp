// stroke_planning.cpp: predicting the ball and choosing the stroke that can reach it.
#include "match/computer_opponent.h"
#include "match/match.h"
#include "match/stroke_table.h"
#include "match/strokes.h"
#include "match/vector_math.h"

namespace {

constexpr Fixed kLobOpponentNearNet = 196608; // 3.0 m
constexpr Fixed kNearNet = 393216;            // 6.0 m
constexpr Fixed kSmashMaxApproach = fxFromInt(10);
constexpr Fixed kLobMaxApproach = fxFromInt(20);
constexpr Fixed kOutMargin = 13107; // 0.2 m around the target box

struct FoundStrokes {
    bool lob = false, volley = false, drive = false, jump = false;
    bool any() const { return lob || volley || drive || jump; }
};

bool sameSide(Fixed a, Fixed b) {
    return (a > 0 && b > 0) || (a < 0 && b < 0);
}

bool outsideTargetWithMargin(const Match* m, const Vec3& point) {
    return point.x < fxSub(m->targetBox[BoxXMin], kOutMargin) ||
           point.x > fxAdd(m->targetBox[BoxXMax], kOutMargin) ||
           point.z < fxSub(m->targetBox[BoxZMin], kOutMargin) ||
           point.z > fxAdd(m->targetBox[BoxZMax], kOutMargin);
}

// Tries the strokes at one predicted position. Returns true when a smash ends the search.
bool tryStrokes(MatchPlayer& p, const Ball& copy, Fixed elapsed, int bounces, bool lobAllowed,
                FoundStrokes& found) {
    const Fixed side = p.baselineZ > 0 ? kFxOne : -kFxOne;
    const bool forehandSide = fxMul(fxSub(copy.position.x, p.position.x), side) >= 0;
    const int offset = forehandSide ? 0 : 1; // forehands have the odd ids
    const bool nearNet = fxAbs(copy.position.z) < kNearNet;
    const int64_t approach = fxAbs(copy.velocity.z);
    const Vec3& at = copy.position;

    if (approach < kSmashMaxApproach &&
        canReach(p, at, elapsed, StrokeForehandSmash + offset, p.skills.smash))
        return true;
    if (!found.lob && !nearNet && lobAllowed && approach < kLobMaxApproach &&
        canReach(p, at, elapsed, StrokeForehandLob + offset, p.skills.lob))
        found.lob = true;
    if (!found.lob && !found.volley && nearNet &&
        canReach(p, at, elapsed, StrokeForehandVolley + offset, p.skills.volley))
        found.volley = true;
    if (!found.lob && !found.volley && !found.drive && bounces == 1 &&
        canReach(p, at, elapsed, StrokeForehand + offset,
                 forehandSide ? p.skills.forehand : p.skills.backhand))
        found.drive = true;
    if (!found.drive && !found.volley && !found.lob && !found.jump &&
        canReach(p, at, elapsed, StrokeForehandJump + offset, p.skills.volley))
        found.jump = true;
    return false;
}

// Bounces the prediction starts from. A person's tap often comes after the bounce, the natural
// cue; counting from zero would then offer the first drive after the real second bounce, when
// the point is already lost. The computer plans as soon as the other player strikes, before any
// bounce; its rare plan after a bounce (a net cord during its swing) keeps the count from zero,
// so that its play stays as it is.
int bouncesBeforePrediction(const MatchPlayer& p, const Match* m) {
    return (m->bounced && !p.isComputer) ? 1 : 0;
}

} // namespace

void takeStrokeRow(MatchPlayer& p, int id) {
    const StrokeRow& row = strokeRow(id);
    p.stroke = id;
    p.shotSpeed = row.speed;
    p.shotSpin = row.spin;
    p.pitchMin = row.pitchMin;
    p.pitchMax = row.pitchMax;
    p.swingTimeLeft = row.swingTime;
    p.timeToContact = row.contactTime;
}

int canReach(MatchPlayer& p, const Vec3& ballPos, Fixed time, int id, Fixed skill) {
    const StrokeRow& row = strokeRow(id);
    if (time < row.contactTime || ballPos.y < row.reachMin.y || ballPos.y > row.reachMax.y)
        return 0;

    // Where the feet may be at contact; a player facing +z has the offsets mirrored.
    Vec3 low, high;
    if (p.facing.z < 0) {
        low = vSub(ballPos, row.reachMax);
        high = vSub(ballPos, row.reachMin);
    } else {
        low = vAdd(ballPos, row.reachMin);
        high = vAdd(ballPos, row.reachMax);
    }
    if (low.z > p.zMax || high.z < p.zMin || low.x > p.xMax || high.x < p.xMin)
        return 0;

    const Fixed x0 = fxSub(low.x > p.xMin ? low.x : p.xMin, p.position.x);
    const Fixed x1 = fxSub(high.x < p.xMax ? high.x : p.xMax, p.position.x);
    const Fixed z0 = fxSub(low.z > p.zMin ? low.z : p.zMin, p.position.z);
    const Fixed z1 = fxSub(high.z < p.zMax ? high.z : p.zMax, p.position.z);
    Vec3 c = {fxHalf(fxAdd(x0, x1)), 0, fxHalf(fxAdd(z0, z1))};

    const Fixed reach = fxMul(p.skills.runSpeed, time);
    const Fixed distanceSquared = vDot(c, c);
    if (distanceSquared >= kFxSmallest && distanceSquared > fxMul(reach, reach)) {
        if (x0 > reach || z0 > reach || x1 < -static_cast<int64_t>(reach) ||
            z1 < -static_cast<int64_t>(reach))
            return 0;
        c = vScale(c, fxDiv(reach, fxSqrt(distanceSquared)));
        if (c.x < x0 || c.x > x1 || c.z < z0 || c.z > z1)
            return 0;
    }

    p.strokeSpot = vAdd(p.position, c);
    p.contactPoint = ballPos;
    takeStrokeRow(p, id);
    p.timeToSwing = fxSub(time, row.contactTime);
    p.strokeSkill = skill;
    return 1;
}

void planStroke(MatchPlayer& p, Match* m, MatchPlayer& other, Fixed& factor) {
    if (p.isServing && !m->ballStruck) {
        planComputerServe(p, m, factor);
        return;
    }
    Ball copy = m->ball;
    Fixed elapsed = 0;
    int bounces = bouncesBeforePrediction(p, m);
    FoundStrokes found;
    bool smash = false;
    bool onMySide = false;
    const bool lobAllowed = fxAbs(other.position.z) < kLobOpponentNearNet;

    for (int flightStep = 0; flightStep < kMaxFlightSteps; ++flightStep) {
        if (sameSide(copy.position.z, p.baselineZ))
            onMySide = true;
        if (bounces < 2 && onMySide && tryStrokes(p, copy, elapsed, bounces, lobAllowed, found)) {
            smash = true;
            break;
        }
        Fixed step = kPredictionStep;
        const Fixed tg = timeToPlane(copy, m->ground, step);
        if (tg >= 0 && tg < step) {
            if (++bounces > 1)
                break;
            const Fixed used = bounceOffPlane(copy, m->ground);
            step = fxSub(step, used);
            elapsed = fxAdd(elapsed, used);
            if (outsideTargetWithMargin(m, copy.position)) {
                found = FoundStrokes{}; // going out: let it pass
                break;
            }
        }
        if (step > 0) {
            flyBall(copy, step);
            elapsed = fxAdd(elapsed, step);
        }
    }

    if (!smash && !found.any()) {
        p.stroke = 0;
        p.strokeSpot = p.position;
        return;
    }
    const StrokeRow& row = strokeRow(p.stroke);
    p.shotSpeed = fxMul(row.speed, factor);
    p.shotSpin = fxMul(row.spin, factor);
}
