// step_match.cpp: advancing the match in sub-steps cut at every bounce and stroke, and the
// rules applied to each bounce.
#include "assets/sound_ids.h"
#include "match/court_planes.h"
#include "match/match.h"
#include "match/match_tally.h"
#include "match/player_actions.h"
#include "match/vector_math.h"

namespace {

constexpr Fixed kPlayAreaX = fxFromInt(10);
constexpr Fixed kPlayAreaZ = fxFromInt(20);
constexpr Fixed kFastStroke = fxFromInt(784);   // 28 m/s, squared
constexpr Fixed kMediumStroke = fxFromInt(361); // 19 m/s, squared
constexpr Fixed kFastBounce = fxFromInt(200);   // 14.14 m/s, squared
// A sub-step consumes time unless a stroke lands exactly at its end; this many sub-steps in one
// call can only mean no progress is being made, and the rest of dt is then flown at once.
constexpr int kMaxSubSteps = 256;

// Rules apply between the pauses, and never once the match is over: a ball still bouncing when
// the last pause runs out would otherwise be judged again, restart the pause and score points
// after the end, so the match would never be left.
bool pointLive(const Match* m) {
    return m->pointDelay == 0 && !m->matchOver;
}

void recordSound(Match* m, int sound) {
    StepSounds& s = m->stepSounds;
    if (s.count < kMaxStepSounds)
        ++s.count;
    s.ids[s.count - 1] = sound;
}

bool leftPlayArea(const Ball& ball) {
    const Vec3& p = ball.position;
    return p.x < -kPlayAreaX || p.x > kPlayAreaX || p.z < -kPlayAreaZ || p.z > kPlayAreaZ ||
           p.y < 0;
}

bool insideTargetBox(const Match* m, const Vec3& point) {
    return point.x >= m->targetBox[BoxXMin] && point.x <= m->targetBox[BoxXMax] &&
           point.z >= m->targetBox[BoxZMin] && point.z <= m->targetBox[BoxZMax];
}

void startServeMeterIfHuman(Match* m) {
    if (m->matchOver || !isHumanServer(m))
        return;
    m->serveMeterOn = 1;
    m->serveMeter = kServeMeterStart;
    m->serveMeterRate = fxAdd(m->level, kFxOne);
}

void runPauses(Match* m, Fixed dt) {
    if (!m->matchOver) {
        if (m->setupDelay > dt) {
            m->setupDelay = fxSub(m->setupDelay, dt);
        } else if (m->setupDelay > 0) {
            m->setupDelay = 0;
            setUpPoint(m);
        }
    }
    if (m->pointDelay > dt) {
        m->pointDelay = fxSub(m->pointDelay, dt);
    } else if (m->pointDelay > 0) {
        m->pointDelay = 0;
        startServeMeterIfHuman(m);
    }
}

// A first bounce outside the target box, or a ball gone without bouncing.
void ruleOutside(Match* m) {
    if (m->serveState != ServeState::None)
        tallyServeJudged(m, false);
    if (m->serveState == ServeState::First) {
        recordSound(m, SoundFault);
        ++m->tally.faults;
        m->serveState = ServeState::Second;
        m->showScore = 0;
        startPointDelay(m);
    } else if (m->serveState == ServeState::Second) {
        recordSound(m, SoundFault);
        ++m->tally.faults;
        ++m->tally.doubleFaults;
        tallyPointEnd(m, false);
        awardPoint(m, m->nextStriker);
    } else {
        recordSound(m, SoundOut);
        tallyPointEnd(m, false);
        awardPoint(m, m->nextStriker);
    }
}

void ruleSecondBounce(Match* m) {
    recordSound(m, SoundApplause);
    tallyPointEnd(m, true);
    awardPoint(m, otherPlayer(m->nextStriker));
}

void ruleBounce(Match* m, const Vec3& bouncePoint) {
    if (m->bounced) {
        ruleSecondBounce(m);
        return;
    }
    m->bounceMark = bouncePoint;
    m->bounceMarkVisible = 1;
    if (!insideTargetBox(m, bouncePoint)) {
        ruleOutside(m);
        return;
    }
    m->bounced = 1;
    if (m->serveState != ServeState::None && m->netTouched) {
        recordSound(m, SoundLet);
        ++m->tally.lets;
        m->showScore = 0;
        startPointDelay(m);
        return;
    }
    if (m->serveState != ServeState::None)
        tallyServeJudged(m, true);
    const Fixed speedSquared = vDot(m->ball.velocity, m->ball.velocity);
    recordSound(m, speedSquared > kFastBounce ? SoundBounce1 : SoundBounce2);
    m->serveState = ServeState::None;
    m->players[0].isServing = 0;
    m->players[1].isServing = 0;
}

void afterStroke(Match* m) {
    const ServeState serveStateBefore = m->serveState;
    m->netTouched = 0;
    m->bounced = 0;
    m->bounceMarkVisible = 0;
    m->nextStriker = otherPlayer(m->nextStriker);
    m->ballStruck = 1;
    m->players[0].strokePlanned = 0;
    m->players[1].strokePlanned = 0;
    ++m->tally.strokes;
    if (serveStateBefore != ServeState::None) {
        m->tally.exchangeStrokes = 1;
        recordSound(m, serveStateBefore == ServeState::First ? SoundServeGrunt : SoundServe);
        return; // the target stays the service box
    }
    ++m->tally.exchangeStrokes;
    const Fixed speedSquared = vDot(m->ball.velocity, m->ball.velocity);
    recordSound(m, speedSquared > kFastStroke     ? SoundStroke3
                   : speedSquared > kMediumStroke ? SoundStroke2
                                                  : SoundStroke1);
    m->targetBox[BoxXMin] = -kSinglesHalfWidth;
    m->targetBox[BoxXMax] = kSinglesHalfWidth;
    if ((m->nextStriker ^ m->endsSwapped) & 1) {
        m->targetBox[BoxZMin] = kNetClearance;
        m->targetBox[BoxZMax] = kBaselineZ;
    } else {
        m->targetBox[BoxZMin] = -kBaselineZ;
        m->targetBox[BoxZMax] = -kNetClearance;
    }
    // The serve and return drills end each exchange at the return.
    if (m->isPractice &&
        (m->practiceMode == PracticeMode::Serve || m->practiceMode == PracticeMode::Return) &&
        m->pointDelay == 0)
        awardPoint(m, 1);
}

// One sub-step of the loop; returns the time it consumed.
Fixed subStep(Match* m, Fixed dt) {
    Ball& ball = m->ball;
    if (!ball.dead && leftPlayArea(ball)) {
        ball.dead = 1;
        ball.position.x = 0;
        ball.position.z = 0;
        if (pointLive(m)) {
            if (m->bounced)
                ruleSecondBounce(m);
            else
                ruleOutside(m);
        }
        return 0; // the dead ball never meets a plane: the players move on the next pass
    }

    Fixed tNet = kFxNever, tGround = kFxNever;
    if (!ball.dead) {
        tNet = m->netTouched ? kFxNever : timeToPlane(ball, m->net, dt);
        tGround = timeToPlane(ball, m->ground, dt);
    }
    Fixed step = dt;
    if (tGround < step)
        step = tGround;
    if (tNet < step)
        step = tNet;

    MatchPlayer& striker = playerOf(m, m->nextStriker);
    MatchPlayer& other = playerOf(m, otherPlayer(m->nextStriker));
    const int struck = updatePlayer(striker, 1, m, other, step);
    updatePlayer(other, 0, m, striker, step);

    if (struck) {
        afterStroke(m);
        return step;
    }
    const bool netFirst = tNet >= 0 && tNet <= tGround;
    if (tGround <= dt && !netFirst) {
        const Vec3 bouncePoint = vAdd(ball.position, vScale(ball.velocity, tGround));
        const Fixed used = bounceOffPlane(ball, m->ground);
        if (pointLive(m))
            ruleBounce(m, bouncePoint);
        return used;
    }
    if (tNet >= 0 && tNet <= dt) {
        recordSound(m, SoundNet);
        if (pointLive(m))
            tallyNetTouch(m);
        const Fixed used = bounceOffPlane(ball, m->net);
        m->netTouched = 1;
        m->players[0].strokePlanned = 0;
        m->players[1].strokePlanned = 0;
        return used;
    }
    if (!ball.dead)
        flyBall(ball, dt);
    return dt;
}

} // namespace

void stepMatch(Match* m, Fixed& dt) {
    m->stepSounds.count = 0;
    if (m->serveMeterOn)
        m->serveMeter = fxAdd(m->serveMeter, fxMul(m->serveMeterRate, dt));
    m->ballPrevPosition = m->ball.position;
    runPauses(m, dt);
    for (int subSteps = 0; dt > 0; ++subSteps) {
        if (subSteps == kMaxSubSteps) {
            if (!m->ball.dead)
                flyBall(m->ball, dt);
            dt = 0;
            break;
        }
        dt = fxSub(dt, subStep(m, dt));
    }
}
