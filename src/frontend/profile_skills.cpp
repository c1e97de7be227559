// profile_skills.cpp: skills from the editor's points, and the level that skills earn.
#include "frontend/profile_store.h"

namespace {

// Each skill's contribution to the level score: 0 at the bottom of its range, 1.0 at the top.
struct SkillRange {
    Fixed minimum;
    Fixed range;
};
constexpr SkillRange kRunSpeedRange = {0x40000, 0x18000};
constexpr SkillRange kFirstServeRange = {0xA8F5, 0x51EB};
constexpr SkillRange kSecondServeRange = {0xAB85, 0x4F5C};
constexpr SkillRange kStrokeRange = {0x9999, 0x6147};

// The score is strictly above a threshold to earn the level past it.
constexpr Fixed kLevelThresholds[4] = {0x4CCCC, 0x59999, 0x66666, 0x73333};

// The sum wraps at 32 bits, without signed overflow: the levels of stored profiles depend on it.
void addTerm(uint32_t& sum, Fixed skill, SkillRange r) {
    sum += static_cast<uint32_t>(fxDiv(skill - r.minimum, r.range));
}

// Computed in float and only then widened and scaled, as the editor always did: the raw
// values depend on it.
Fixed skillFromPoints(float base, float perPoint, int32_t points) {
    const float value = base + perPoint * static_cast<float>(points);
    return static_cast<Fixed>(static_cast<double>(value) * 65536.0);
}

} // namespace

int32_t levelFromSkills(const PlayerSkills& s) {
    uint32_t sum = 0;
    addTerm(sum, s.runSpeed, kRunSpeedRange);
    addTerm(sum, s.firstServe, kFirstServeRange);
    addTerm(sum, s.secondServe, kSecondServeRange);
    addTerm(sum, s.forehand, kStrokeRange);
    addTerm(sum, s.backhand, kStrokeRange);
    addTerm(sum, s.volley, kStrokeRange);
    addTerm(sum, s.smash, kStrokeRange);
    addTerm(sum, s.lob, kStrokeRange);
    const Fixed score = static_cast<Fixed>(sum);
    int32_t level = 0;
    for (Fixed threshold : kLevelThresholds)
        if (score > threshold)
            ++level;
    return level;
}

bool updateProfileAfterMatch(ProfileStore& store, const PlayerSkills& learnt) {
    const int32_t slot = store.options.player1Profile;
    if (slot < 0 || slot >= kProfileSlots)
        return false;
    PlayerProfile& p = store.profiles[slot];
    // An unused slot holds no place on the ladders; a level would make it count as used.
    if (p.builtIn || !profileUsed(p))
        return false;
    p.skills = learnt;
    p.level = levelFromSkills(p.skills);
    saveProfiles(store);
    return true;
}

PlayerSkills skillsFromPoints(const SkillPoints& points) {
    PlayerSkills s;
    s.runSpeed = skillFromPoints(4.0f, 0.15f, points[0]);
    s.firstServe = skillFromPoints(0.66f, 0.03f, points[1]);
    s.secondServe = skillFromPoints(0.67f, 0.03f, points[2]);
    s.forehand = skillFromPoints(0.6f, 0.035f, points[3]);
    s.backhand = skillFromPoints(0.6f, 0.035f, points[4]);
    s.smash = skillFromPoints(0.6f, 0.035f, points[5]);
    s.volley = skillFromPoints(0.6f, 0.035f, points[6]);
    s.lob = skillFromPoints(0.6f, 0.035f, points[7]);
    return s;
}
