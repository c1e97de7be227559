// player_profile.cpp: the match player a profile makes.
#include "frontend/player_profile.h"

MatchPlayer matchPlayerFromProfile(const PlayerProfile& profile, bool isComputer) {
    MatchPlayer player{};
    player.isComputer = isComputer ? 1 : 0;
    player.skills = profile.skills;
    return player;
}
