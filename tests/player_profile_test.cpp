// Player profiles: each field of a profile reaches its own field of the match player, and the
// built-in roster holds the values the computer players are tuned with.
#include "frontend/player_profile.h"
#include "match/match_player.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::u16string text(const char16_t* units) {
    return std::u16string(units);
}

TEST(PlayerProfile, CopiesEverySkillToItsOwnFieldAndLeavesTheRestAlone) {
    PlayerProfile profile{};
    const std::u16string first = u"Alda", last = u"Brenn";
    first.copy(profile.firstName, first.size());
    last.copy(profile.lastName, last.size());
    profile.level = 3;
    profile.runSpeed = 101;
    profile.forehand = 102;
    profile.backhand = 103;
    profile.firstServe = 104;
    profile.secondServe = 105;
    profile.volley = 106;
    profile.smash = 107;
    profile.lob = 108;

    MatchPlayer player{};
    player.isComputer = 1;
    player.strokeSkill = 999;
    copyProfileToPlayer(profile, player);
    EXPECT_EQ(text(player.firstName), first);
    EXPECT_EQ(text(player.lastName), last);
    EXPECT_EQ(player.profileLevel, 3);
    EXPECT_EQ(player.runSpeed, 101);
    EXPECT_EQ(player.forehand, 102);
    EXPECT_EQ(player.backhand, 103);
    EXPECT_EQ(player.firstServe, 104);
    EXPECT_EQ(player.secondServe, 105);
    EXPECT_EQ(player.volley, 106);
    EXPECT_EQ(player.smash, 107);
    EXPECT_EQ(player.lob, 108);
    EXPECT_EQ(player.isComputer, 1);
    EXPECT_EQ(player.strokeSkill, 999);
}

TEST(PlayerProfile, NameWithoutTerminatorIsCutAtElevenUnits) {
    PlayerProfile profile{};
    for (char16_t& unit : profile.firstName)
        unit = u'x';
    MatchPlayer player{};
    for (char16_t& unit : player.lastName)
        unit = u'y'; // an empty profile name clears what was there
    copyProfileToPlayer(profile, player);
    EXPECT_EQ(text(player.firstName), std::u16string(11, u'x'));
    EXPECT_EQ(text(player.lastName), u"");
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
        EXPECT_EQ(p.runSpeed, row.runSpeed);
        for (Fixed skill : {p.forehand, p.backhand, p.volley, p.smash, p.lob})
            EXPECT_EQ(skill, row.strokes);
        EXPECT_EQ(p.firstServe, row.firstServe);
        EXPECT_EQ(p.secondServe, row.secondServe);
        EXPECT_EQ(p.skinColour, row.skin);
        EXPECT_EQ(p.hairColour, row.hair);
        EXPECT_EQ(p.colour3, row.colour3);
        EXPECT_EQ(p.colour4, row.colour4);
    }
}

} // namespace
