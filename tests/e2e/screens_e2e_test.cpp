// screens_e2e_test.cpp: every screen reached through the real buttons, and the driver's own
// answers to bad scripts.
#include <gtest/gtest.h>

#include "driver_runner.h"
#include "players_dat.h"
#include "temp_dir.h"

namespace {

std::vector<std::string> labelsOf(const Json& state) {
    std::vector<std::string> labels;
    for (const Json& b : state["buttons"])
        if (b.contains("label") && b["label"].is_string())
            labels.push_back(b["label"]);
    return labels;
}

} // namespace

TEST(ScreenWalk, EveryTapLeadsWhereTheScreenGraphSays) {
    TempDir home;
    const DriverRun run =
        runDriver({"--home", home.path.string(), "--seed", "1"}, e2eScript("walk_screens.script"));
    ASSERT_EQ(run.status, 0) << run.errors;
    EXPECT_EQ(run.lines[0], "[]");   // the logo has no buttons
    EXPECT_EQ(run.lines[1], "[10]"); // the credits area clicks
    const std::vector<Json> states = run.states();
    ASSERT_EQ(states.size(), 7u);

    // Player 1 stepped right and back left; player 2 was pushed off the slot on the way.
    EXPECT_EQ(states[0]["screen"], "ExhibitionPlayer1");
    EXPECT_EQ(states[0]["options"]["player1Profile"], 0);
    EXPECT_EQ(states[0]["options"]["player2Profile"], 2);
    EXPECT_EQ(labelsOf(states[0]), (std::vector<std::string>{"Bramwel", "Ostrand", "Beginner"}));
    // The stadium wraps from the first to the last.
    EXPECT_EQ(states[1]["options"]["stadium"], 4);
    // Practice is against profile 4; two steps of the drill arrow.
    EXPECT_EQ(states[2]["screen"], "Practice");
    EXPECT_EQ(states[2]["practiceDrill"], 2);
    EXPECT_EQ(states[2]["options"]["player2Profile"], 4);
    EXPECT_EQ(states[2]["match"]["practiceMode"], 2);
    // The Amateur ladder of the default roster, top first.
    EXPECT_EQ(labelsOf(states[3]),
              (std::vector<std::string>{"Osmund Vex", "Ivor Quintaner", "Corin Lefaur",
                                        "Teodric Valmosca", "Bramwel Ostrand"}));
    // The first tournament round meets the lowest of the roster; the new profile plays.
    EXPECT_EQ(states[4]["screen"], "TournamentMatch");
    EXPECT_EQ(states[4]["options"]["player1Profile"], 5);
    EXPECT_EQ(states[4]["options"]["player2Profile"], 0);
    EXPECT_EQ(states[4]["tournamentRound"], 0);
    // The user's profile can be deleted; player 1 moves on to the next used slot.
    EXPECT_EQ(labelsOf(states[5]), (std::vector<std::string>{"New", "Player", "Beginner"}));
    EXPECT_EQ(states[5]["buttons"][1]["face"], 0);
    EXPECT_EQ(states[6]["profiles"][5]["level"], -1);
    EXPECT_EQ(states[6]["options"]["player1Profile"], 0);
    EXPECT_EQ(states[6]["buttons"][1]["face"], 2); // Delete hides for a built-in profile

    // Quit saved the store as it was at the end.
    const std::vector<uint8_t> file = readFileBytes(home.file("players.dat"));
    ASSERT_TRUE(playersDatValid(file));
    EXPECT_EQ(int32At(file, kOptionsOffset + 8), 4); // stadium
    EXPECT_EQ(int32At(file, kRecordsOffset + 5 * kRecordSize + 48), -1);
}

// What the driver answers to a bad line, a failed expectation, a missing archive (as the game
// does) and the quit key: its status, what it names, and nothing run after that line.
TEST(DriverScript, StopsWithTheStatusOfWhatEndedIt) {
    TempDir home;
    const struct {
        std::string script;
        std::vector<std::string> arguments;
        int status;
        std::vector<std::string> said;
    } cases[] = {
        {"# fine\n\nwait 0.5\ntap 10\nstate\n", {}, 2, {"line 4"}},
        {"tap 1 1\nexpect screen Options\nstate\n", {}, 3, {"line 2", "MainMenu"}},
        {"state\n", {"--data", home.file("nothing.pak")}, 1, {"Cannot open file", "nothing.pak"}},
        {"tap 1 1\nkey a\nstate\nnot a command\n", {}, 0, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.script);
        std::vector<std::string> arguments = {"--home", home.path.string()};
        arguments.insert(arguments.end(), c.arguments.begin(), c.arguments.end());
        const DriverRun run = runDriverText(arguments, c.script);
        EXPECT_EQ(run.status, c.status) << run.errors;
        for (const std::string& text : c.said)
            EXPECT_NE(run.errors.find(text), std::string::npos) << run.errors;
        EXPECT_TRUE(run.lines.empty());
    }
}
