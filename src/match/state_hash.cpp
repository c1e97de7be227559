// state_hash.cpp: the match's fields fed one by one into FNV-1a.
#include "match/state_hash.h"

#include "match/match.h"

namespace {

constexpr uint64_t kFnvPrime = 1099511628211ull;

// A new field in one of these records must join the hash below; these sizes are a reminder.
static_assert(sizeof(Match) == 1120);
static_assert(sizeof(MatchPlayer) == 192);
static_assert(sizeof(Ball) == 52);
static_assert(sizeof(CourtPlane) == 68);
static_assert(sizeof(MatchTally) == 312);
static_assert(sizeof(PlayerTally) == 128);

struct Hasher {
    uint64_t value = kStateHashStart;
};

void add(Hasher& h, int32_t v) {
    h.value = hashWord(h.value, static_cast<uint32_t>(v));
}
void add(Hasher& h, uint8_t v) {
    h.value = hashBytes(h.value, &v, 1);
}
void add(Hasher& h, int64_t v) {
    add(h, static_cast<int32_t>(static_cast<uint64_t>(v)));
    add(h, static_cast<int32_t>(static_cast<uint64_t>(v) >> 32));
}
template <typename Enum>
requires std::is_enum_v<Enum>
void add(Hasher& h, Enum v) {
    add(h, static_cast<int32_t>(v));
}
void add(Hasher& h, const Vec3& v) {
    add(h, v.x);
    add(h, v.y);
    add(h, v.z);
}
template <typename T, size_t N> void add(Hasher& h, const T (&values)[N]) {
    for (const T& v : values)
        add(h, v);
}
void add(Hasher& h, const char (&text)[kSetScoreTextLength]) {
    h.value = hashBytes(h.value, reinterpret_cast<const uint8_t*>(text), kSetScoreTextLength);
}

void add(Hasher& h, const PlayerSkills& s) {
    add(h, s.runSpeed);
    add(h, s.forehand);
    add(h, s.backhand);
    add(h, s.firstServe);
    add(h, s.secondServe);
    add(h, s.volley);
    add(h, s.smash);
    add(h, s.lob);
}

void add(Hasher& h, const MatchPlayer& p) {
    add(h, p.isComputer);
    add(h, p.isServing);
    add(h, p.serveNumber);
    add(h, p.swinging);
    add(h, p.timeToContact);
    add(h, p.contactPoint);
    add(h, p.swingTimeLeft);
    add(h, p.timeToSwing);
    add(h, p.strokeSkill);
    add(h, p.shotSpeed);
    add(h, p.shotSpin);
    add(h, p.pitchMin);
    add(h, p.pitchMax);
    add(h, p.position);
    add(h, p.facing);
    add(h, p.moveTarget);
    add(h, p.baselineZ);
    add(h, p.xMin);
    add(h, p.xMax);
    add(h, p.zMin);
    add(h, p.zMax);
    add(h, p.skills);
    add(h, p.stroke);
    add(h, p.aimPoint);
    add(h, p.strokeSpot);
    add(h, p.strokePlanned);
    add(h, p.anim);
    add(h, p.animLoops);
    add(h, p.animTime);
    add(h, p.wonSet);
    add(h, p.lostSet);
}

void add(Hasher& h, const Ball& b) {
    add(h, b.mass);
    add(h, b.diameter);
    add(h, b.position);
    add(h, b.velocity);
    add(h, b.spin);
    add(h, b.spinAxis);
    add(h, b.dead);
}

void add(Hasher& h, const CourtPlane& c) {
    add(h, c.origin);
    add(h, c.normal);
    add(h, c.uAxis);
    add(h, c.vAxis);
    add(h, c.halfU);
    add(h, c.halfV);
    add(h, c.friction);
    add(h, c.restitution);
    add(h, c.hasTopEdge);
}

// Only the sounds this step asked for: the places beyond count hold what earlier steps left.
void add(Hasher& h, const StepSounds& s) {
    add(h, s.count);
    for (int i = 0; i < s.count && i < kMaxStepSounds; ++i)
        add(h, s.ids[i]);
}

void add(Hasher& h, const PlayerTally& t) {
    add(h, t.pointsWon);
    add(h, t.gamesWon);
    add(h, t.servicePoints);
    add(h, t.servicePointsWon);
    add(h, t.firstServes);
    add(h, t.firstServesIn);
    add(h, t.secondServes);
    add(h, t.secondServesIn);
    add(h, t.aces);
    add(h, t.doubleFaults);
    add(h, t.netTouches);
    add(h, t.netPoints);
    add(h, t.netPointsWon);
    add(h, t.fastestServeInKmh);
    add(h, t.strokes);
    add(h, t.winners);
    add(h, t.errors);
}

void add(Hasher& h, const MatchTally& t) {
    add(h, t.points);
    add(h, t.aces);
    add(h, t.faults);
    add(h, t.doubleFaults);
    add(h, t.lets);
    add(h, t.netTouches);
    add(h, t.strokes);
    add(h, t.exchangeStrokes);
    add(h, t.rallyStrokes);
    add(h, t.longestRally);
    add(h, t.lastStroke);
    add(h, t.atNet);
    add(h, t.players);
}

} // namespace

uint64_t hashBytes(uint64_t hash, const uint8_t* bytes, size_t count) {
    for (size_t i = 0; i < count; ++i)
        hash = (hash ^ bytes[i]) * kFnvPrime;
    return hash;
}

uint64_t hashWord(uint64_t hash, uint32_t word) {
    const uint8_t bytes[4] = {static_cast<uint8_t>(word), static_cast<uint8_t>(word >> 8),
                              static_cast<uint8_t>(word >> 16), static_cast<uint8_t>(word >> 24)};
    return hashBytes(hash, bytes, 4);
}

uint64_t matchStateHash(const Match& m) {
    Hasher h;
    add(h, m.isPractice);
    add(h, m.practiceMode);
    add(h, m.level);
    add(h, m.stepSounds);
    add(h, m.matchOver);
    add(h, m.tapFlags);
    add(h, m.setIndex);
    add(h, m.setScoreText);
    add(h, m.setsToWin);
    add(h, m.setsWon);
    add(h, m.games);
    add(h, m.points);
    add(h, m.tieBreak);
    add(h, m.server);
    add(h, m.serveCourt);
    add(h, m.serveState);
    add(h, m.endsSwapped);
    add(h, m.nextStriker);
    add(h, m.ballStruck);
    add(h, m.bounced);
    add(h, m.netTouched);
    add(h, m.targetBox);
    add(h, m.bounceMarkVisible);
    add(h, m.bounceMark);
    add(h, m.ballSpeedKmh);
    add(h, m.serveMeterOn);
    add(h, m.serveMeter);
    add(h, m.serveMeterRate);
    add(h, m.pointDelay);
    add(h, m.setupDelay);
    add(h, m.showScore);
    add(h, m.players);
    add(h, m.ball);
    add(h, m.ballPrevPosition);
    add(h, m.ground);
    add(h, m.net);
    add(h, m.tally);
    return h.value;
}
