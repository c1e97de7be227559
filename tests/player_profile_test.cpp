// Player profiles: a match player starts from its profile's skills alone, and the built-in roster
// holds the values the computer players are tuned with.
#include "frontend/player_profile.h"
#include "match/match_player.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

std::u16string text(const char16_t* units) {
    return std::u16string(units);
}

TEST(PlayerProfile, AMatchPlayerStartsFromTheProfilesSkillsAndNothingPlayed) {
    PlayerProfile profile{};
    profile.level = 3;
    profile.skills = {101, 102, 103, 104, 105, 106, 107, 108};
    profile.skinColour = 0xFF010203;

    const MatchPlayer human = matchPlayerFromProfile(profile, false);
    EXPECT_EQ(human.skills, profile.skills);
    EXPECT_EQ(human.isComputer, 0);
    MatchPlayer untouched{};
    untouched.skills = profile.skills;
    EXPECT_EQ(std::memcmp(&human, &untouched, sizeof human), 0);
    EXPECT_EQ(matchPlayerFromProfile(profile, true).isComputer, 1);
}

struct RosterRow {
    const char16_t* first;
    const char16_t* last;
    int rank;
    Fixed runSpeed, strokes, firstServe, secondServe;
    uint32_t skin, hair, colour3, colour4;
};

TEST(PlayerProfile, DefaultRosterHoldsOneTunedComputerPlayerPerLevel) {
    const uint32_t* c = kProfilePalette + kClothingPalette;
    const uint32_t* skin = kProfilePalette + kSkinPalette;
    const uint32_t* hair = kProfilePalette + kHairPalette;
    const RosterRow rows[kDefaultRosterSize] = {
        {u"Bramwel", u"Ostrand", 4, 0x40000, 0x9999, 0xA8F5, 0xAB85, skin[0], hair[0], c[0], c[1]},
        {u"Teodric", u"Valmosca", 3, 0x44CCC, 0xAE14, 0xBAE1, 0xBD70, skin[1], hair[1], c[1], c[2]},
        {u"Corin", u"Lefaur", 2, 0x49999, 0xC000, 0xCCCC, 0xD1EB, skin[0], hair[2], c[2], c[3]},
        {u"Ivor", u"Quintaner", 1, 0x4E666, 0xD999, 0xDEB8, 0xE3D7, skin[0], hair[1], c[3], c[0]},
        {u"Osmund", u"Vex", 0, 0x58000, 0xF333, 0xF333, 0xF851, skin[2], hair[1], c[2], c[1]},
    };
    for (int level = 0; level < kDefaultRosterSize; ++level) {
        const PlayerProfile& p = kDefaultRoster[level];
        const RosterRow& row = rows[level];
        SCOPED_TRACE(level);
        EXPECT_EQ(text(p.firstName), text(row.first));
        EXPECT_EQ(text(p.lastName), text(row.last));
        EXPECT_EQ(p.level, level);
        for (int32_t rank : p.rank)
            EXPECT_EQ(rank, row.rank);
        EXPECT_EQ(p.builtIn, 1);
        const PlayerSkills& s = p.skills;
        EXPECT_EQ(s.runSpeed, row.runSpeed);
        for (Fixed skill : {s.forehand, s.backhand, s.volley, s.smash, s.lob})
            EXPECT_EQ(skill, row.strokes);
        EXPECT_EQ(s.firstServe, row.firstServe);
        EXPECT_EQ(s.secondServe, row.secondServe);
        EXPECT_EQ(p.skinColour, row.skin);
        EXPECT_EQ(p.hairColour, row.hair);
        EXPECT_EQ(p.colour3, row.colour3);
        EXPECT_EQ(p.colour4, row.colour4);
    }
}

} // namespace
