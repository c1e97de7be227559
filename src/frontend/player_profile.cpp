// player_profile.cpp: carrying a profile's names and skills into a match player.
#include "frontend/player_profile.h"

#include "match/match_player.h"

namespace {

void copyName(char16_t (&to)[kPlayerNameLength], const char16_t (&from)[kProfileNameLength]) {
    int i = 0;
    for (; i < kPlayerNameLength - 1 && from[i] != 0; ++i)
        to[i] = from[i];
    for (; i < kPlayerNameLength; ++i)
        to[i] = 0;
}

} // namespace

void copyProfileToPlayer(const PlayerProfile& profile, MatchPlayer& player) {
    copyName(player.firstName, profile.firstName);
    copyName(player.lastName, profile.lastName);
    player.profileLevel = profile.level;
    player.runSpeed = profile.runSpeed;
    player.forehand = profile.forehand;
    player.backhand = profile.backhand;
    player.firstServe = profile.firstServe;
    player.secondServe = profile.secondServe;
    player.volley = profile.volley;
    player.smash = profile.smash;
    player.lob = profile.lob;
}
