// player_profile.h: a player profile as players.dat stores it, the built-in roster, and the
// match player a profile makes.
#pragma once

#include "core/fixed_point.h"
#include "match/match_player.h"

#include <cstddef>
#include <cstdint>

constexpr int kProfileNameLength = 12; // UTF-16 units, terminator included

// The file's record, little-endian, 124 bytes.
struct PlayerProfile {
    char16_t firstName[kProfileNameLength];
    char16_t lastName[kProfileNameLength];
    int32_t level; // 0..4, -1 for an unused slot
    int32_t rank[5];
    uint8_t builtIn;
    uint8_t padding[3];
    PlayerSkills skills;
    uint32_t skinColour, hairColour, colour3, colour4; // bytes R, G, B, A
};

static_assert(sizeof(PlayerProfile) == 124);
static_assert(offsetof(PlayerProfile, level) == 48);
static_assert(offsetof(PlayerProfile, rank) == 52);
static_assert(offsetof(PlayerProfile, builtIn) == 72);
static_assert(offsetof(PlayerProfile, skills) == 76);
static_assert(sizeof(PlayerSkills) == 32 && offsetof(PlayerSkills, lob) == 28);
static_assert(offsetof(PlayerProfile, skinColour) == 108);
static_assert(offsetof(PlayerProfile, colour4) == 120);

constexpr int kDefaultRosterSize = 5;

// Skin (3 and a zero word), hair (3 and a zero word), clothing (4), as the program's data holds
// them.
inline constexpr uint32_t kProfilePalette[12] = {
    0xFF63A5E3, 0xFF4A7BAA, 0xFF315271, 0,          // skin
    0xFF22394E, 0xFF111C27, 0xFF83D6E5, 0,          // hair
    0xFFBACBC6, 0xFF755C34, 0xFF242C5C, 0xFF2C5824, // clothing
};
constexpr int kSkinPalette = 0;
constexpr int kHairPalette = 4;
constexpr int kClothingPalette = 8;

// One built-in computer player per level, the strongest in slot 4.
extern const PlayerProfile kDefaultRoster[kDefaultRosterSize];

// The player a match starts with: the profile's skills, and nothing yet played. The profile
// learns back only through updateProfileAfterMatch.
MatchPlayer matchPlayerFromProfile(const PlayerProfile& profile, bool isComputer);
