// profile_store.h: the ten player profiles and the options, kept in players.dat, and the
// operations that change them.
#pragma once

#include "core/wide_string.h"
#include "frontend/game_options.h"
#include "frontend/player_profile.h"
#include "frontend/players_file.h"

#include <cstdint>
#include <string>

struct ProfileStore {
    GameOptions options;
    PlayerProfile profiles[kProfileSlots];
    std::string path; // players.dat's full path, UTF-8
};

// The default options, every record zeroed, the built-in roster in slots 0-4, 5-9 unused.
void makeDefaultProfiles(ProfileStore& store);

enum class ProfilesLoad { Loaded, Missing, Damaged };

// A missing or damaged file is replaced by the defaults, which are written at once; a damaged
// file is first kept beside it as players.dat.damaged (an earlier one is never overwritten).
// For a damaged file, what the player must be told (what happened, where the copy is) goes to
// stderr and, when asked for, into notice.
ProfilesLoad loadProfiles(ProfileStore& store, WideString* notice = nullptr);
// Writes a temporary file in the same folder and renames it over the old one, so a failure at
// any point leaves the old file as it was; false on failure.
bool saveProfiles(const ProfileStore& store);

// Takes the first unused slot and fills it as the profile editor's starting point; the slot
// stays unused (level -1) until the editor confirms it. -1 when every slot is used. No save.
int32_t createProfile(ProfileStore& store);
// Frees a user profile's slot, closes the gaps on the ladders and saves. False (and no save)
// for an index outside 0..9, an unused slot or a built-in profile.
bool deleteProfile(ProfileStore& store, int32_t index);

constexpr int kPlayer1Changed = 1;
constexpr int kPlayer2Changed = 2;
// Steps player `which` (1 or 2) by delta (+1 or -1) to the next used slot, keeping the two
// players on different slots. Returns kPlayer1Changed | kPlayer2Changed for the players whose
// profile index changed and must be applied again.
int cycleProfile(ProfileStore& store, int which, int delta);

// The level 0..4 that the skills earn.
int32_t levelFromSkills(const PlayerSkills& skills);
// Keeps what the match taught player 1: the skills it ended with become player 1's profile's,
// which earns its level and is saved. False (nothing done) for a built-in or unused profile or a
// player 1 index outside 0..9.
bool updateProfileAfterMatch(ProfileStore& store, const PlayerSkills& learnt);

// The profile editor's skill points, 0..10 each, in the order of its bars: run speed, first
// serve, second serve, forehand, backhand, smash, volley, lob.
using SkillPoints = int32_t[kSkillCount];
// What every bar of a new profile starts with.
constexpr int32_t kStartingSkillPoints = 5;
PlayerSkills skillsFromPoints(const SkillPoints& points);

// <user data folder>/players.dat; the folder is created when missing.
std::string defaultPlayersPath();
