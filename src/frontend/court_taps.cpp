// court_taps.cpp: the human's taps on the court: where to walk, where to aim, ending a pause.
#include "frontend/court_taps.h"

#include "match/match.h"
#include "render/camera.h"

namespace {

constexpr Fixed kPauseCut = 65; // about 0.001 s

void cutPause(Fixed& delay) {
    if (delay > kPauseCut)
        delay = kPauseCut;
}

} // namespace

int tapCourt(Match* m, const Vec3& groundPoint) {
    m->tapFlags = 0;
    int human;
    if (!m->players[0].isComputer)
        human = 1;
    else if (!m->players[1].isComputer)
        human = 2;
    else
        return 0;
    MatchPlayer& p = playerOf(m, human);

    if (static_cast<int64_t>(groundPoint.z) * p.baselineZ > 0) {
        p.moveTarget = groundPoint;
        return 0;
    }
    if (m->pointDelay > 0) {
        // Ending the pause never lays out a point that is already laid out.
        if (human == 1) {
            if (m->setupDelay > 0)
                cutPause(m->setupDelay);
            else
                cutPause(m->pointDelay);
        } else {
            cutPause(m->setupDelay);
            cutPause(m->pointDelay);
        }
        return 0;
    }
    p.aimPoint = groundPoint;
    m->tapFlags |= kTapShot;
    return 1;
}

int tapCourt(Match* m, const CameraSetup& camera, int screenX, int screenY) {
    return tapCourt(m, screenToGround(camera, fxFromInt(screenX), fxFromInt(screenY)));
}
