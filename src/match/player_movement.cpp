// player_movement.cpp: running within the bounds, the running and resting animations.
#include "match/match_player.h"
#include "match/player_actions.h"
#include "match/stroke_table.h"
#include "match/vector_math.h"

namespace {

bool outsideBounds(const MatchPlayer& p, const Vec3& point) {
    return point.x < p.xMin || point.x > p.xMax || point.z < p.zMin || point.z > p.zMax;
}

// Shortens t so a player heading out of bounds stops on the boundary.
void stopAtBoundary(const MatchPlayer& p, const Vec3& d, Fixed dist, Fixed& t) {
    const Fixed along[2] = {d.x, d.z};
    const Fixed from[2] = {p.position.x, p.position.z};
    const Fixed bounds[2][2] = {{p.xMin, p.xMax}, {p.zMin, p.zMax}};
    for (int axis = 0; axis < 2; ++axis) {
        if (fxAbs(along[axis]) <= kFxSmallest)
            continue;
        for (Fixed b : bounds[axis]) {
            const Fixed tb =
                fxDiv(fxMul(fxSub(b, from[axis]), dist), fxMul(along[axis], p.skills.runSpeed));
            if (tb >= 0 && tb < t)
                t = tb;
        }
    }
}

void learnRunning(MatchPlayer& p, Fixed distance) {
    if (!p.isComputer && p.skills.runSpeed < kMaxLearnedRunSpeed)
        p.skills.runSpeed = fxAdd(p.skills.runSpeed, fxMul(distance, kLearningRate));
}

void settleAtDestination(MatchPlayer& p) {
    const bool pendingPlays = (p.wonSet && p.anim == AnimWin) || (p.lostSet && p.anim == AnimLose);
    const bool nonePending = !p.wonSet && !p.lostSet;
    const bool alreadyIdle =
        p.anim == AnimRest || p.anim == AnimWaitToServe || p.anim == AnimWaitForServe;
    if (pendingPlays || (nonePending && alreadyIdle))
        return;
    p.facing = {0, 0, p.facing.z > 0 ? kFxOne : -kFxOne};
    setIdleAnim(p, 0);
}

// Picks the running animation; the player keeps looking across the net.
void chooseRunningAnim(MatchPlayer& p, const Vec3& d, Fixed dist, Fixed t) {
    if (p.anim == AnimWaitToServe)
        return;
    int anim;
    const bool facingPlusZ = p.facing.z > 0;
    if (fxAbs(d.x) > kFxSmallest && fxAbs(fxDiv(d.z, d.x)) < kFxOne) {
        const bool towardLeft = (d.x > 0 && facingPlusZ) || (d.x < 0 && !facingPlusZ);
        if (towardLeft) {
            anim = AnimRunLeft;
            p.facing = {fxDiv(fxNeg(d.z), dist), 0, fxDiv(d.x, dist)};
        } else {
            anim = AnimRunRight;
            p.facing = {fxDiv(d.z, dist), 0, fxDiv(fxNeg(d.x), dist)};
        }
    } else {
        const bool forward = (d.z > 0) == facingPlusZ && d.z != 0;
        if (forward) {
            anim = AnimRunForward;
            p.facing = {fxDiv(d.x, dist), 0, fxDiv(d.z, dist)};
        } else {
            anim = AnimRunBackward;
            p.facing = {fxDiv(fxNeg(d.x), dist), 0, fxDiv(fxNeg(d.z), dist)};
        }
        if (fxAbs(d.x) <= kFxSmallest)
            p.facing = {0, 0, p.facing.z > 0 ? kFxOne : -kFxOne};
    }
    if (anim != p.anim) {
        p.anim = anim;
        p.animLoops = 1;
        p.animTime = t;
    }
}

} // namespace

void movePlayer(MatchPlayer& p, Fixed t) {
    if (outsideBounds(p, p.position))
        return;
    const Vec3& destination = (!p.strokePlanned && !p.swinging) ? p.moveTarget : p.strokeSpot;
    const Vec3 d = {fxSub(destination.x, p.position.x), 0, fxSub(destination.z, p.position.z)};
    const Fixed dist = vLength(d);
    if (outsideBounds(p, destination))
        stopAtBoundary(p, d, dist, t);

    const Fixed reach = fxMul(p.skills.runSpeed, t);
    if (reach >= dist) {
        p.position = destination;
        learnRunning(p, dist);
        if (!p.swinging)
            settleAtDestination(p);
        return;
    }
    const Fixed share = fxDiv(reach, dist);
    p.position.x = fxAdd(p.position.x, fxMul(d.x, share));
    p.position.z = fxAdd(p.position.z, fxMul(d.z, share));
    learnRunning(p, reach);
    if (!p.swinging)
        chooseRunningAnim(p, d, dist, t);
}

void startStrokeAnim(MatchPlayer& p) {
    if (p.swinging)
        return;
    p.animLoops = 0;
    p.animTime = 0;
    p.anim = strokeAnimation(p.stroke);
}

void setIdleAnim(MatchPlayer& p, int forServe) {
    p.animTime = 0;
    if (forServe) {
        p.anim = AnimWaitToServe;
        p.animLoops = 1;
    } else if (p.wonSet) {
        p.anim = AnimWin;
        p.animLoops = 0;
    } else if (p.lostSet) {
        p.anim = AnimLose;
        p.animLoops = 0;
    } else {
        p.anim = AnimRest;
        p.animLoops = 1;
    }
}
