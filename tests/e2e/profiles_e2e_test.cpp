// profiles_e2e_test.cpp: profiles and options made through the screens, found again in
// players.dat and after a restart; a save that fails leaves the old file as it was.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <unistd.h>

#include "driver_runner.h"
#include "players_dat.h"
#include "temp_dir.h"

namespace {

constexpr int kAdaSlot = 5;

// "Ada Byron": run speed 10 points, lob 0, the others 5; the second skin colour, the rest as
// the editor starts them.
std::vector<uint8_t> adaRecord() {
    const int32_t skills[8] = {360448, 50790, 50790, 53084, 53739, 50790, 50790, 39321};
    const uint32_t colours[4] = {0xFF4A7BAA, 0xFF22394E, 0xFFBACBC6, 0xFF755C34};
    return editorRecord(u"Ada", u"Byron", 5, skills, colours);
}

std::vector<std::string> homeArgs(const TempDir& home) {
    return {"--home", home.path.string(), "--seed", "7"};
}

// Without the right to override file permissions, even for root, so a read-only folder holds.
std::string withoutOverridePrefix() {
    if (geteuid() != 0)
        return "";
    return "setpriv --bounding-set -dac_override,-dac_read_search --inh-caps -dac_override --";
}

} // namespace

TEST(ProfileEditor, ProfileTypedOnTheKeyboardIsSavedByteForByteAndComesBack) {
    TempDir home;
    const DriverRun made = runDriver(homeArgs(home), e2eScript("make_profile.script"));
    ASSERT_EQ(made.status, 0) << made.errors;
    ASSERT_EQ(made.states().size(), 1u); // nothing after Quit runs
    const Json shown = made.states()[0];
    EXPECT_EQ(shown["options"]["player1Profile"], kAdaSlot);
    EXPECT_EQ(shown["buttons"][8]["label"], "Ada");
    EXPECT_EQ(shown["buttons"][9]["label"], "Byron");

    const std::vector<uint8_t> saved = readFileBytes(home.file("players.dat"));
    ASSERT_TRUE(playersDatValid(saved));
    EXPECT_EQ(recordBytes(saved, kAdaSlot), adaRecord());
    EXPECT_EQ(int32At(saved, kOptionsOffset), kAdaSlot);

    // A new start shows the profile as player 1, and its next save writes the same bytes.
    const DriverRun again = runDriverText(homeArgs(home), "tap 1 1\ntap 180 147\nstate\n"
                                                          "tap 120 306\ntap 78 289\n");
    ASSERT_EQ(again.status, 0) << again.errors;
    const Json restarted = again.states().at(0);
    EXPECT_EQ(restarted["buttons"][8]["label"], "Ada");
    EXPECT_EQ(restarted["buttons"][9]["label"], "Byron");
    EXPECT_EQ(restarted["profiles"][kAdaSlot], shown["profiles"][kAdaSlot]);
    EXPECT_EQ(readFileBytes(home.file("players.dat")), saved);
}

TEST(Options, ChangedOptionsAreSavedOnLeavingAndKeptAfterRestart) {
    TempDir home;
    const DriverRun changed = runDriver(homeArgs(home), e2eScript("change_options.script"));
    ASSERT_EQ(changed.status, 0) << changed.errors;
    EXPECT_EQ(changed.lines.at(0), "[10,10,10,10,10,10,10,10,10]");
    EXPECT_EQ(changed.lines.at(1), "[10]");
    EXPECT_EQ(changed.lines.at(2), "[]");   // muted
    EXPECT_EQ(changed.lines.at(3), "[10]"); // and back on for one tap
    const Json options = changed.states().at(0)["options"];
    EXPECT_EQ(options["setsToWin"], 2);
    EXPECT_EQ(options["level"], 2);
    EXPECT_EQ(options["soundOff"], 1);

    const std::vector<uint8_t> saved = readFileBytes(home.file("players.dat"));
    ASSERT_TRUE(playersDatValid(saved));
    EXPECT_EQ(int32At(saved, kOptionsOffset + 12), 2); // setsToWin
    EXPECT_EQ(int32At(saved, kOptionsOffset + 16), 2); // level
    EXPECT_EQ(int32At(saved, kOptionsOffset + 20), 1); // soundOff

    const DriverRun restarted = runDriver(homeArgs(home), e2eScript("restart_check.script"));
    ASSERT_EQ(restarted.status, 0) << restarted.errors;
    EXPECT_EQ(restarted.lines.at(0), "[]"); // still muted: the menu taps made no click
    EXPECT_EQ(restarted.states().at(0)["options"], options);
}

// A damaged file is set aside and the game starts from the built-in players; the window would
// tell the player in a message box, the driver lists the notice and runs on without waiting.
TEST(DamagedPlayersFile, StartsFromTheBuiltInPlayersKeepsTheCopyAndSaysWhere) {
    TempDir home;
    ASSERT_EQ(runDriver(homeArgs(home), e2eScript("make_profile.script")).status, 0);
    std::vector<uint8_t> damaged = readFileBytes(home.file("players.dat"));
    damaged.resize(kPlayersDatSize - 100); // cut short, as by a crash while copying
    writeFileBytes(home.file("players.dat"), damaged);

    const DriverRun started = runDriver(homeArgs(home), e2eScript("restart_check.script"));
    ASSERT_EQ(started.status, 0) << started.errors;
    const Json state = started.states().at(0);
    EXPECT_EQ(state["screen"], "ExhibitionPlayer1");
    EXPECT_EQ(state["buttons"][8]["label"], "Bramwel"); // slot 0 of the built-in players
    EXPECT_EQ(state["profiles"][kAdaSlot]["level"], -1);
    ASSERT_EQ(state["notices"].size(), 1u);
    const std::string notice = state["notices"][0];
    EXPECT_NE(notice.find("kept as\n" + home.file("players.dat.damaged")), std::string::npos)
        << notice;
    EXPECT_NE(started.errors.find(notice), std::string::npos) << started.errors;
    EXPECT_EQ(readFileBytes(home.file("players.dat.damaged")), damaged);
    EXPECT_TRUE(playersDatValid(readFileBytes(home.file("players.dat"))));

    // Told once: the next start finds the defaults written in its place.
    const DriverRun again = runDriver(homeArgs(home), e2eScript("restart_check.script"));
    ASSERT_EQ(again.status, 0) << again.errors;
    EXPECT_EQ(again.states().at(0)["notices"], Json::array());
}

// A save cut short (files may not grow past 1 KiB, and the save takes 1276 bytes, as on a full
// disk) or refused at the start (a folder that cannot be written) leaves the old file as it was;
// the game goes on with its data in memory.
TEST(InterruptedSave, AFailedSaveLeavesTheOldFileValid) {
    for (const bool readOnly : {false, true}) {
        SCOPED_TRACE(readOnly ? "read-only folder" : "full disk");
        if (readOnly && geteuid() == 0 && std::system("setpriv --help > /dev/null 2>&1") != 0)
            GTEST_SKIP() << "root without setpriv cannot be kept out of a read-only folder";
        TempDir home;
        ASSERT_EQ(runDriver(homeArgs(home), e2eScript("make_profile.script")).status, 0);
        const std::vector<uint8_t> before = readFileBytes(home.file("players.dat"));
        if (readOnly)
            std::filesystem::permissions(home.path, std::filesystem::perms::owner_read |
                                                        std::filesystem::perms::owner_exec);
        const DriverRun failed =
            runDriver(homeArgs(home), e2eScript("change_options.script"),
                      readOnly ? withoutOverridePrefix() : "ulimit -f 1; trap '' XFSZ;");
        std::filesystem::permissions(home.path, std::filesystem::perms::owner_all);
        ASSERT_EQ(failed.status, 0) << failed.errors;
        EXPECT_EQ(readFileBytes(home.file("players.dat")), before);
        EXPECT_EQ(home.names(), std::vector<std::string>{"players.dat"}); // nothing half-written

        const DriverRun restarted = runDriver(homeArgs(home), e2eScript("restart_check.script"));
        ASSERT_EQ(restarted.status, 0) << restarted.errors;
        const Json state = restarted.states().at(0);
        EXPECT_EQ(state["buttons"][8]["label"], "Ada");
        EXPECT_EQ(state["options"]["setsToWin"], 1);
        EXPECT_EQ(state["options"]["level"], 0);
        EXPECT_EQ(restarted.errors.find("damaged"), std::string::npos) << restarted.errors;
    }
}
