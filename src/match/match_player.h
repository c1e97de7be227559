// match_player.h: one player of a match: skills, stroke state, movement and animation.
#pragma once

#include "core/fixed_point.h"

#include <cstdint>

// Indices into the list of player animations.
enum AnimId : int {
    AnimRest = 0,
    AnimWaitToServe = 1,
    AnimServe = 2,
    AnimWaitForServe = 3,
    AnimRunForward = 4,
    AnimRunBackward = 5,
    AnimRunRight = 6,
    AnimRunLeft = 7,
    AnimForehand = 8,
    AnimBackhand = 9,
    AnimForehandSmash = 10,
    AnimWin = 18,
    AnimLose = 19,
};

// Which serve is due or in flight; None once the ball is in play, and in the rally drills.
enum class ServeState : int32_t { None = 0, First = 1, Second = 2 };

// What a player brings to a match and learns in it: the run speed in metres per second and the
// stroke skills, 0..1. players.dat keeps them in this order, so a profile holds the same record.
struct PlayerSkills {
    Fixed runSpeed;
    Fixed forehand, backhand, firstServe, secondServe, volley, smash, lob;

    bool operator==(const PlayerSkills&) const = default;
};
constexpr int kSkillCount = sizeof(PlayerSkills) / sizeof(Fixed);

struct MatchPlayer {
    uint8_t isComputer;
    uint8_t isServing;      // serves the current point, until the first good bounce
    ServeState serveNumber; // the serve this player makes, while isServing
    uint8_t swinging;
    Fixed timeToContact; // -1 once struck
    Vec3 contactPoint;
    Fixed swingTimeLeft; // -1 once the swing has ended
    Fixed timeToSwing;
    Fixed strokeSkill;
    Fixed shotSpeed;
    Fixed shotSpin;
    Fixed pitchMin, pitchMax;
    Vec3 position; // feet
    Vec3 facing;   // x and z only, unit length
    Vec3 moveTarget;
    Fixed baselineZ; // its sign tells the side
    Fixed xMin, xMax, zMin, zMax;
    PlayerSkills skills;
    int32_t stroke; // StrokeId, 0 for none
    Vec3 aimPoint;
    Vec3 strokeSpot;
    uint8_t strokePlanned;
    int32_t anim;
    uint8_t animLoops;
    Fixed animTime;
    uint8_t wonSet, lostSet;
};
