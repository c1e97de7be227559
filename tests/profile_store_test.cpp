// players.dat through real files in a temp folder: defaults, damage, forged values, a save that
// cannot rename (a failed write and a read-only folder are played end to end, a killed save in
// save_crash_test); and the profile operations, level score and skill points.
#include "frontend/profile_store.h"
#include "match/match_player.h"
#include "players_dat.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <iterator>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

Bytes encoded(const ProfileStore& store) {
    PlayersFileBytes bytes;
    encodePlayersFile(store.options, store.profiles, bytes);
    return Bytes(std::begin(bytes), std::end(bytes));
}

bool sameProfiles(const ProfileStore& a, const ProfileStore& b) {
    return std::memcmp(a.profiles, b.profiles, sizeof a.profiles) == 0 &&
           std::memcmp(&a.options, &b.options, sizeof a.options) == 0;
}

ProfileStore defaultStore(const std::string& path = {}) {
    ProfileStore store;
    store.path = path;
    makeDefaultProfiles(store);
    return store;
}

// A user profile confirmed by the editor, as the game would keep it.
int32_t addUserProfile(ProfileStore& store) {
    const int32_t slot = createProfile(store);
    if (slot >= 0)
        store.profiles[slot].level = 0;
    return slot;
}

struct PlayersFile : ::testing::Test {
    TempDir dir;
    std::string path = dir.file("players.dat");
    std::string damaged = path + ".damaged";

    ProfileStore load(ProfilesLoad expected) {
        ProfileStore store;
        store.path = path;
        EXPECT_EQ(loadProfiles(store), expected);
        return store;
    }
    // What the player is told after a load; empty when nothing.
    std::string noticeOfLoad() {
        ProfileStore store;
        store.path = path;
        WideString notice;
        loadProfiles(store, &notice);
        return toUtf8(notice);
    }
};

TEST_F(PlayersFile, MissingFileGivesTheRosterAndWritesIt) {
    const ProfileStore store = load(ProfilesLoad::Missing);
    EXPECT_TRUE(sameProfiles(store, defaultStore()));
    EXPECT_EQ(store.options.player1Profile, 0);
    EXPECT_EQ(store.options.player2Profile, 1);
    EXPECT_EQ(store.profiles[5].level, -1);
    EXPECT_EQ(std::filesystem::file_size(path), 1276u);
    EXPECT_TRUE(sameProfiles(load(ProfilesLoad::Loaded), store));
    EXPECT_EQ(dir.names().size(), 1u);
}

// What the game then does with a damaged file is played end to end (DamagedPlayersFile).
TEST_F(PlayersFile, OneChangedByteIsDamageAndASecondDamageKeepsTheFirstCopy) {
    ProfileStore mine = defaultStore(path);
    addUserProfile(mine);
    ASSERT_TRUE(saveProfiles(mine));
    // The checksum sees a change only when fewer than 32 odd bytes follow it (each odd byte
    // multiplies by an even factor), so the damage lies near the end of the file.
    Bytes firstDamage = readFileBytes(path);
    firstDamage[1154] ^= 1;
    writeFileBytes(path, firstDamage);
    load(ProfilesLoad::Damaged);

    Bytes secondDamage = readFileBytes(path);
    secondDamage[1260] ^= 0x80;
    writeFileBytes(path, secondDamage);
    const std::string notKept = noticeOfLoad();
    EXPECT_NE(notKept.find("an earlier one is\nalready kept as\n" + damaged), std::string::npos)
        << notKept;
    EXPECT_EQ(readFileBytes(damaged), firstDamage);
}

TEST_F(PlayersFile, WrongMagicOrLengthIsDamagedEvenWithTheRightChecksum) {
    Bytes bytes = encoded(defaultStore());
    bytes[0] = 0x85;
    writeFileBytes(path, bytes);
    load(ProfilesLoad::Damaged);

    std::filesystem::remove(damaged);
    Bytes shortFile = encoded(defaultStore());
    shortFile.pop_back();
    writeFileBytes(path, shortFile);
    load(ProfilesLoad::Damaged);
    EXPECT_EQ(std::filesystem::file_size(path), 1276u);
}

TEST_F(PlayersFile, ForgedValuesBehindARightChecksumAreDamage) {
    const std::vector<std::pair<const char*, std::function<void(ProfileStore&)>>> forgeries = {
        {"player 1 slot 10", [](ProfileStore& s) { s.options.player1Profile = 10; }},
        {"player 2 slot -1", [](ProfileStore& s) { s.options.player2Profile = -1; }},
        {"stadium 5", [](ProfileStore& s) { s.options.stadium = 5; }},
        {"no sets to win", [](ProfileStore& s) { s.options.setsToWin = 0; }},
        {"four sets to win", [](ProfileStore& s) { s.options.setsToWin = 4; }},
        {"level option 5", [](ProfileStore& s) { s.options.level = 5; }},
        {"sound 2", [](ProfileStore& s) { s.options.soundOff = 2; }},
        {"profile level 5", [](ProfileStore& s) { s.profiles[2].level = 5; }},
        {"profile level -2", [](ProfileStore& s) { s.profiles[7].level = -2; }},
        {"built-in 2", [](ProfileStore& s) { s.profiles[3].builtIn = 2; }},
        {"unterminated first name",
         [](ProfileStore& s) {
             std::fill(std::begin(s.profiles[0].firstName), std::end(s.profiles[0].firstName),
                       u'x');
         }},
        {"unterminated last name in an unused slot",
         [](ProfileStore& s) {
             std::fill(std::begin(s.profiles[8].lastName), std::end(s.profiles[8].lastName), u'x');
         }},
        {"rank 10", [](ProfileStore& s) { s.profiles[0].rank[2] = 10; }},
        {"rank -1", [](ProfileStore& s) { s.profiles[4].rank[0] = -1; }},
        {"two on one place", [](ProfileStore& s) { s.profiles[0].rank[1] = 3; }},
        {"one used slot",
         [](ProfileStore& s) {
             for (int i = 1; i < 5; ++i)
                 s.profiles[i].level = -1;
             s.profiles[0].rank[0] = s.profiles[0].rank[1] = s.profiles[0].rank[2] = 0;
             s.profiles[0].rank[3] = s.profiles[0].rank[4] = 0;
         }},
    };
    for (const auto& [name, forge] : forgeries) {
        SCOPED_TRACE(name);
        ProfileStore forged = defaultStore();
        forge(forged);
        EXPECT_FALSE(profilesValid(forged.options, forged.profiles));
        writeFileBytes(path, encoded(forged));
        EXPECT_TRUE(sameProfiles(load(ProfilesLoad::Damaged), defaultStore()));
        std::filesystem::remove(damaged);
    }
}

// The game saves after a delete and only then moves the player on: such a file is not damage.
TEST_F(PlayersFile, APlayerOnAnUnusedSlotIsMovedOnToTheNextUsedOne) {
    ProfileStore store = defaultStore(path);
    store.options.player1Profile = 7;
    store.options.player2Profile = 0;
    writeFileBytes(path, encoded(store));
    const ProfileStore loaded = load(ProfilesLoad::Loaded);
    EXPECT_EQ(loaded.options.player1Profile, 0);
    EXPECT_EQ(loaded.options.player2Profile, 1);
}

TEST_F(PlayersFile, FailedRenameLeavesNoTemporaryFile) {
    std::filesystem::create_directories(path + "/inside");
    EXPECT_FALSE(saveProfiles(defaultStore(path)));
    EXPECT_TRUE(std::filesystem::is_directory(path + "/inside"));
    EXPECT_EQ(dir.names().size(), 1u);
}

TEST_F(PlayersFile, DefaultPathFollowsTheDataHomeAndMakesTheFolder) {
    const char* xdg = std::getenv("XDG_DATA_HOME");
    const char* home = std::getenv("HOME");
    const std::string savedXdg = xdg ? xdg : "", savedHome = home ? home : "";

    setenv("XDG_DATA_HOME", dir.file("data").c_str(), 1);
    EXPECT_EQ(defaultPlayersPath(), dir.file("data") + "/drovana/players.dat");
    EXPECT_TRUE(std::filesystem::is_directory(dir.file("data/drovana")));

    setenv("XDG_DATA_HOME", "relative", 1);
    setenv("HOME", dir.file("home").c_str(), 1);
    EXPECT_EQ(defaultPlayersPath(), dir.file("home") + "/.local/share/drovana/players.dat");
    EXPECT_TRUE(std::filesystem::is_directory(dir.file("home/.local/share/drovana")));

    xdg ? setenv("XDG_DATA_HOME", savedXdg.c_str(), 1) : unsetenv("XDG_DATA_HOME");
    home ? setenv("HOME", savedHome.c_str(), 1) : unsetenv("HOME");
}

TEST(ProfileOperations, CreateFillsTheFirstFreeSlotAtTheBottomOfEveryLadder) {
    ProfileStore store = defaultStore();
    store.profiles[5].level = 0; // a confirmed user profile on place 5 everywhere
    for (int& r : store.profiles[5].rank)
        r = 5;
    std::fill(std::begin(store.profiles[6].firstName), std::end(store.profiles[6].firstName), u'z');
    ASSERT_EQ(createProfile(store), 6);
    const PlayerProfile& p = store.profiles[6];
    EXPECT_EQ(std::u16string(p.firstName), u"New");
    EXPECT_EQ(std::u16string(p.lastName), u"Player");
    EXPECT_EQ(p.level, -1); // its colours are checked byte for byte end to end
    EXPECT_EQ(p.skills, skillsFromPoints({5, 5, 5, 5, 5, 5, 5, 5}));
    for (int r : p.rank)
        EXPECT_EQ(r, 6);
    // Not confirmed, so the next one takes the same slot.
    EXPECT_EQ(createProfile(store), 6);
}

TEST(ProfileOperations, CreateWithEverySlotUsedGivesMinusOne) {
    ProfileStore store = defaultStore();
    for (int i = 0; i < 5; ++i)
        ASSERT_EQ(addUserProfile(store), 5 + i);
    EXPECT_TRUE(profilesValid(store.options, store.profiles));
    const ProfileStore before = store;
    EXPECT_EQ(createProfile(store), -1);
    EXPECT_TRUE(sameProfiles(store, before));
}

TEST(ProfileOperations, DeleteClosesTheLaddersAndSavesButSparesBuiltInAndUnused) {
    TempDir dir;
    ProfileStore store = defaultStore(dir.file("players.dat"));
    addUserProfile(store);
    addUserProfile(store);
    store.profiles[5].rank[0] = 0; // slot 5 tops ladder 0
    for (int slot = 0; slot < 5; ++slot)
        store.profiles[slot].rank[0] += 1;
    const ProfileStore before = store;

    EXPECT_FALSE(deleteProfile(store, 4));
    EXPECT_FALSE(deleteProfile(store, 7));
    EXPECT_FALSE(deleteProfile(store, 10));
    EXPECT_TRUE(sameProfiles(store, before));
    EXPECT_FALSE(std::filesystem::exists(store.path));

    EXPECT_TRUE(deleteProfile(store, 5));
    EXPECT_EQ(store.profiles[5].level, -1);
    EXPECT_EQ(store.profiles[4].rank[0], 0);
    EXPECT_EQ(store.profiles[0].rank[0], 4);
    EXPECT_EQ(store.profiles[6].rank[0], 5);
    EXPECT_EQ(store.profiles[6].rank[1], 5); // was 6, below the deleted 5
    EXPECT_EQ(store.profiles[0].rank[1], 4);
    EXPECT_TRUE(profilesValid(store.options, store.profiles));
    ProfileStore reloaded;
    reloaded.path = store.path;
    EXPECT_EQ(loadProfiles(reloaded), ProfilesLoad::Loaded);
    EXPECT_TRUE(sameProfiles(reloaded, store));
}

// The arrows step round the used slots, past the other player's; player 1 pushes player 2 on.
TEST(ProfileOperations, CyclingWrapsAndSkipsUnusedSlotsAndTheOtherPlayer) {
    ProfileStore store = defaultStore();
    store.profiles[9] = store.profiles[addUserProfile(store)]; // the last slot; 5 to 8 unused
    store.profiles[5].level = -1;
    store.options.player1Profile = 9;
    store.options.player2Profile = 0;
    const struct {
        int player, step, changed, player1, player2;
    } steps[] = {{1, +1, kPlayer1Changed | kPlayer2Changed, 0, 1},
                 {2, -1, kPlayer2Changed, 0, 9},
                 {2, +1, kPlayer2Changed, 0, 1},
                 {1, -1, kPlayer1Changed, 9, 1}};
    for (const auto& s : steps) {
        EXPECT_EQ(cycleProfile(store, s.player, s.step), s.changed);
        EXPECT_EQ(store.options.player1Profile, s.player1);
        EXPECT_EQ(store.options.player2Profile, s.player2);
    }
    // With no other slot used, nothing moves.
    ProfileStore alone = defaultStore();
    for (int i = 1; i < 5; ++i)
        alone.profiles[i].level = -1;
    EXPECT_EQ(cycleProfile(alone, 2, +1), 0);
    EXPECT_EQ(cycleProfile(alone, 1, +1), 0);
    EXPECT_EQ(alone.options.player1Profile, 0);
}

// Skills whose level terms sum to whole skills at the top plus a fraction from the run speed.
PlayerSkills skillsScoring(int wholeSkillsAtTop, Fixed fraction) {
    PlayerSkills p{};
    Fixed* strokes[] = {&p.firstServe, &p.secondServe, &p.forehand, &p.backhand,
                        &p.volley,     &p.smash,       &p.lob};
    const Fixed bottoms[] = {0xA8F5, 0xAB85, 0x9999, 0x9999, 0x9999, 0x9999, 0x9999};
    const Fixed ranges[] = {0x51EB, 0x4F5C, 0x6147, 0x6147, 0x6147, 0x6147, 0x6147};
    for (int i = 0; i < 7; ++i)
        *strokes[i] = bottoms[i] + (i < wholeSkillsAtTop ? ranges[i] : 0);
    // The run speed term is x / 1.5 truncated: the smallest x that reaches the fraction.
    p.runSpeed = 0x40000 + (fraction * 3 + 1) / 2;
    return p;
}

TEST(LevelScore, ThresholdsAreStrict) {
    EXPECT_EQ(levelFromSkills(skillsScoring(0, 0)), 0);
    EXPECT_EQ(levelFromSkills(skillsScoring(4, 0xCCCC)), 0); // exactly 4.8
    EXPECT_EQ(levelFromSkills(skillsScoring(4, 0xCCCD)), 1);
    EXPECT_EQ(levelFromSkills(skillsScoring(5, 0x9999)), 1); // exactly 5.6
    EXPECT_EQ(levelFromSkills(skillsScoring(5, 0x999A)), 2);
    EXPECT_EQ(levelFromSkills(skillsScoring(6, 0x6666)), 2); // exactly 6.4
    EXPECT_EQ(levelFromSkills(skillsScoring(6, 0x6667)), 3);
    EXPECT_EQ(levelFromSkills(skillsScoring(7, 0x3333)), 3); // exactly 7.2
    EXPECT_EQ(levelFromSkills(skillsScoring(7, 0x3334)), 4);
    PlayerSkills top = skillsScoring(7, 0);
    top.runSpeed = 0x58000; // every skill at minimum + range: 8.0
    EXPECT_EQ(levelFromSkills(top), 4);
}

TEST(LevelScore, AfterAMatchAUserProfileLearnsAndIsSaved) {
    TempDir dir;
    ProfileStore store = defaultStore(dir.file("players.dat"));
    const PlayerSkills strong = skillsScoring(7, 0x3334);

    EXPECT_FALSE(updateProfileAfterMatch(store, strong)); // built-in slot 0
    EXPECT_EQ(store.profiles[0].skills, kDefaultRoster[0].skills);
    EXPECT_FALSE(std::filesystem::exists(store.path));

    store.options.player1Profile = addUserProfile(store);
    EXPECT_TRUE(updateProfileAfterMatch(store, strong));
    EXPECT_EQ(store.profiles[5].level, 4);
    EXPECT_EQ(store.profiles[5].skills, strong);
    EXPECT_TRUE(std::filesystem::exists(store.path)); // what it holds: the tournament, end to end
}

TEST(SkillPoints, FiveAndTenPointsGiveTheEditorsRawValues) {
    const SkillPoints five = {5, 5, 5, 5, 5, 5, 5, 5};
    PlayerSkills p = skillsFromPoints(five);
    EXPECT_EQ(p.runSpeed, 311296);
    EXPECT_EQ(p.firstServe, 53084);
    EXPECT_EQ(p.secondServe, 53739);
    for (Fixed s : {p.forehand, p.backhand, p.smash, p.volley, p.lob})
        EXPECT_EQ(s, 50790);

    const SkillPoints ten = {10, 10, 10, 10, 10, 10, 10, 10};
    p = skillsFromPoints(ten);
    EXPECT_EQ(p.runSpeed, 360448);
    EXPECT_EQ(p.firstServe, 62914);
    EXPECT_EQ(p.secondServe, 63569);
    for (Fixed s : {p.forehand, p.backhand, p.smash, p.volley, p.lob})
        EXPECT_EQ(s, 62259);

    // Screen order: run speed, serves, forehand, backhand, smash, volley, lob.
    const SkillPoints mixed = {0, 0, 0, 0, 0, 10, 0, 0};
    p = skillsFromPoints(mixed);
    EXPECT_EQ(p.smash, 62259);
    EXPECT_EQ(p.volley, 0x9999);
    EXPECT_EQ(p.runSpeed, 0x40000);
}

} // namespace
