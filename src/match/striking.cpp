// striking.cpp: meeting the ball, the stroke's quality and learning, and the launch search.
#include "core/game_random.h"
#include "match/match.h"
#include "match/match_tally.h"
#include "match/strokes.h"
#include "match/vector_math.h"

namespace {

constexpr Fixed kMissDistanceSquared = 16384; // 0.5 m
constexpr Fixed kCleanHitSquared = 983;       // 0.015
constexpr Fixed kLearnCeiling = 64225;        // 0.98
constexpr Fixed kLearningRate = 13;           // 0.000198
constexpr Fixed kIncomingSpinKept = 16384;    // 0.25
constexpr Fixed kIncomingSpeedLost = 24576;   // 0.375
constexpr Fixed kSpeedTrimPerUnit = 52;       // 0.000793: the trim k runs 0.95..1.0
constexpr Fixed kSlowDown = 62259;            // 0.95
constexpr Fixed kAngularError = 13107;        // 0.2 rad at skill 0
constexpr Fixed kMetresPerSecondToKmh = 235929;
constexpr int64_t kCloseEnough = 103;      // squared-distance error accepted as a hit
constexpr int64_t kSmallStep = 25;         // an elevation step this fine ...
constexpr int64_t kStillFarTooLong = 5898; // ... that still lands this long means slow down

// The skill that learns from each stroke; jump shots teach nothing.
Fixed* learningSkill(MatchPlayer& p, int stroke) {
    switch (stroke) {
    case 1:
        return &p.skills.firstServe;
    case 2:
        return &p.skills.secondServe;
    case 3:
        return &p.skills.forehand;
    case 4:
        return &p.skills.backhand;
    case 5:
    case 6:
        return &p.skills.volley;
    case 7:
    case 8:
        return &p.skills.smash;
    case 9:
    case 10:
        return &p.skills.lob;
    default:
        return nullptr;
    }
}

void learnStroke(MatchPlayer& p, Fixed quality) {
    if (p.isComputer || p.strokeSkill >= kLearnCeiling)
        return;
    p.strokeSkill = fxAdd(p.strokeSkill, fxMul(quality, kLearningRate));
    if (Fixed* skill = learningSkill(p, p.stroke))
        *skill = p.strokeSkill;
}

Vec3 launchVelocity(const Vec3& direction, Fixed theta, Fixed speed) {
    const Fixed c = fxCos(theta);
    const Vec3 unit = {fxMul(direction.x, c), fxSin(theta), fxMul(direction.z, c)};
    return vScale(unit, speed);
}

struct Trial {
    bool low;    // into the net or onto the striker's own side
    int64_t err; // squared landing distance minus the wanted one
};

// Flies a copy of the ball launched at theta and measures where it lands.
Trial flyTrial(const Match* m, const MatchPlayer& p, const Vec3& direction, Fixed theta,
               Fixed speed, Fixed distance) {
    Ball copy = m->ball;
    copy.velocity = launchVelocity(direction, theta, speed);
    for (int i = 0; i < kMaxFlightSteps; ++i) {
        if (timeToPlane(copy, m->net, kPredictionStep) != kFxNever)
            return {true, 0};
        const Fixed tg = timeToPlane(copy, m->ground, kPredictionStep);
        if (tg != kFxNever) {
            const Vec3 landing = vAdd(copy.position, vScale(copy.velocity, tg));
            if (fxMul(landing.z, p.baselineZ) >= 0)
                return {true, 0};
            const Fixed dx = fxSub(landing.x, m->ball.position.x);
            const Fixed dz = fxSub(landing.z, m->ball.position.z);
            const Fixed err = fxSub(fxAdd(fxMul(dx, dx), fxMul(dz, dz)), fxMul(distance, distance));
            return {false, err};
        }
        flyBall(copy, kPredictionStep);
    }
    return {true, 0}; // never lands: as useless as a ball into the net
}

// ((r & 127) - 64) / 64 as a Fixed value in -1 .. 63/64.
Fixed randomUnitError() {
    return ((gameRandom() & 127) - 64) * 1024;
}

Vec3 turnAboutVertical(const Vec3& v, Fixed cosPhi, Fixed sinPhi) {
    return {fxSub(fxMul(v.x, cosPhi), fxMul(v.z, sinPhi)), v.y,
            fxAdd(fxMul(v.z, cosPhi), fxMul(v.x, sinPhi))};
}

// What one search leaves for the next: the trial count runs on across speeds, and a search that
// runs out of trials before its first flight falls back on the previous search's best elevation.
struct LaunchSearch {
    int trials = 0;
    Fixed best = 0;
};

// Bisects the stroke's elevation range at one speed until a trial lands close enough, the step
// becomes negligible, the range is left or the trials run out; theta is then the elevation to
// use. False when even the lowest useful elevation carries the ball too long, so the speed must
// come down.
bool searchElevation(LaunchSearch& search, const Match* m, const MatchPlayer& p,
                     const Vec3& direction, Fixed distance, Fixed speed, Fixed& theta) {
    theta = fxHalf(fxAdd(p.pitchMin, p.pitchMax));
    Fixed delta = static_cast<Fixed>(static_cast<int64_t>(fxSub(p.pitchMax, p.pitchMin)) / 4);
    bool first = true, sawLong = false, sawShort = false;
    Fixed longTheta = 0, shortTheta = 0;
    int64_t bestErr = 0;
    // Too low (net, own side) and too short both climb; true when the climb leaves the range.
    auto climbOut = [&]() {
        if (delta > 0 && theta > p.pitchMax) {
            theta = search.best;
            return true;
        }
        if (delta < 0)
            delta = fxHalf(fxNeg(delta));
        theta = fxAdd(theta, delta);
        return false;
    };
    for (;;) {
        if (++search.trials > kMaxLaunchTrials) {
            theta = search.best;
            return true;
        }
        const Trial trial = flyTrial(m, p, direction, theta, speed, distance);
        const int64_t absErr = trial.err < 0 ? -trial.err : trial.err;
        if (first || (!trial.low && absErr < bestErr)) {
            search.best = theta;
            bestErr = trial.low ? INT64_MAX : absErr;
            first = false;
        }
        if (!trial.low && absErr <= kCloseEnough)
            return true;
        if (trial.low) {
            if (climbOut())
                return true;
        } else if (trial.err > 0) {
            sawLong = true;
            longTheta = theta;
            if (sawShort) {
                theta = fxHalf(fxAdd(shortTheta, theta));
                delta = fxHalf(fxSub(shortTheta, longTheta));
            } else if (theta <= p.pitchMin ||
                       (fxAbs(delta) <= kSmallStep && trial.err > kStillFarTooLong)) {
                return false;
            } else {
                if (delta > 0)
                    delta = fxHalf(fxNeg(delta));
                theta = fxAdd(theta, delta);
            }
        } else {
            sawShort = true;
            shortTheta = theta;
            if (sawLong) {
                theta = fxHalf(fxAdd(longTheta, theta));
                delta = fxHalf(fxSub(longTheta, shortTheta));
            } else if (climbOut()) {
                return true;
            }
        }
        if (fxAbs(delta) / 65536.0 <= 0.0001)
            return true;
    }
}

// Searches again at 95 % of the speed and spin each time a search asks for a slower ball.
Fixed elevationSlowingDown(const MatchPlayer& p, Match* m, const Vec3& direction, Fixed distance,
                           Fixed& speed) {
    LaunchSearch search;
    Fixed theta = 0;
    while (!searchElevation(search, m, p, direction, distance, speed, theta)) {
        speed = fxMul(speed, kSlowDown);
        m->ball.spin = fxMul(m->ball.spin, kSlowDown);
    }
    return theta;
}

// The skill's errors: none at skill 1, up to 0.2 rad of elevation and direction at 0.
void launchWithSkillError(const MatchPlayer& p, Match* m, const Vec3& direction, Fixed theta,
                          Fixed speed) {
    Ball& ball = m->ball;
    const Fixed unskill = fxSub(kFxOne, p.strokeSkill);
    const Fixed e1 = randomUnitError();
    const Fixed e2 = randomUnitError();
    theta = fxAdd(theta, fxMul(fxMul(kAngularError, e1), unskill));
    const Fixed phi = fxMul(fxMul(kAngularError, e2), unskill);
    const Fixed cosPhi = fxCos(phi), sinPhi = fxSin(phi);
    const Vec3 turned = turnAboutVertical(direction, cosPhi, sinPhi);
    ball.spinAxis = turnAboutVertical(ball.spinAxis, cosPhi, sinPhi);
    ball.velocity = launchVelocity(turned, theta, speed);
    if (m->serveState != ServeState::None)
        m->ballSpeedKmh = static_cast<int32_t>(fxMul(speed, kMetresPerSecondToKmh) / 65536);
}

} // namespace

int strikeBall(MatchPlayer& p, Match* m, [[maybe_unused]] Fixed& step) {
    Ball& ball = m->ball;
    // A swing that misses leaves the ball alone: stepMatch flies it for the whole step.
    const Vec3 atContact = vAdd(ball.position, vScale(ball.velocity, p.timeToContact));
    const Vec3 off = vSub(atContact, p.contactPoint);
    const Fixed q = vDot(off, off);
    if (q > kMissDistanceSquared)
        return 0;
    ball.position = atContact;

    const Fixed base = fxSub(kFxOne, fxMul(kFxHalf, fxSub(kFxOne, p.strokeSkill)));
    const Fixed quality = q < kCleanHitSquared ? base : fxDiv(base, fxAdd(kFxOne, fxSqrt(q)));
    learnStroke(p, quality);

    ball.spin = fxSub(fxMul(p.shotSpin, quality), fxMul(ball.spin, kIncomingSpinKept));
    Fixed speed =
        fxSub(fxMul(p.shotSpeed, quality), fxMul(vLength(ball.velocity), kIncomingSpeedLost));

    Vec3 aim = vSub(p.aimPoint, ball.position);
    aim.y = 0;
    const Fixed distance = vLength(aim);
    const Vec3 direction = {fxDiv(aim.x, distance), 0, fxDiv(aim.z, distance)};
    ball.spinAxis = {direction.z, 0, fxNeg(direction.x)}; // positive spin: topspin along the shot
    solveLaunch(p, m, direction, distance, speed);

    ball.dead = 0;
    m->ballStruck = 1;
    tallyStroke(m, p);
    m->ballPrevPosition = ball.position;
    return 1;
}

void solveLaunch(MatchPlayer& p, Match* m, const Vec3& direction, Fixed distance, Fixed& speed) {
    const Fixed trim = fxSub(kFxOne, (gameRandom() & 63) * kSpeedTrimPerUnit);
    speed = fxMul(speed, trim);
    m->ball.spin = fxMul(m->ball.spin, trim);
    const Fixed theta = elevationSlowingDown(p, m, direction, distance, speed);
    launchWithSkillError(p, m, direction, theta, speed);
}
