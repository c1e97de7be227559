// long_session_e2e_test.cpp: a long session through the real game, as a player who stays a while
// would play it: many screen changes, a profile made, three whole exhibitions played with it to
// their result screens, and the profile deleted. Under the sanitizer build it is the leak check of
// a whole session; its peak memory is reported.
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "driver_runner.h"
#include "temp_dir.h"

namespace {

// Counts the screen changes a tap causes.
struct Session {
    DriverProcess driver;
    int screenChanges = 0;
    std::string screen = "Logo";

    void tapTo(const std::string& tap, const std::string& expected) {
        const Json state = tapAndExpect(driver, tap, expected);
        screenChanges += state["screen"] != screen ? 1 : 0;
        screen = state["screen"];
    }

    // Plays with player 1 left to the computer until the match is decided; the state then.
    Json playExhibition() {
        tapTo("tap 180 147", "ExhibitionPlayer1");
        tapTo("tap 214 306", "ExhibitionPlayer2");
        tapTo("tap 214 306", "ExhibitionStadium");
        tapTo("tap 146 283", "ExhibitionStadium"); // the next stadium
        sendCommand(driver, "auto on");
        tapTo("tap 214 306", "ExhibitionMatch");
        sendCommand(driver, "sounds");
        readLine(driver); // the clicks of the menus
        const Json over = playWhileOn(driver, "ExhibitionMatch", 30);
        sendCommand(driver, "auto off");
        const Json& match = over["match"];
        const bool won = match["setsWon"][0] == match["setsToWin"];
        EXPECT_EQ(match["matchOver"], 1);
        EXPECT_EQ(match["setsWon"][won ? 1 : 0], 0);
        EXPECT_EQ(over["screen"], won ? "ExhibitionWon" : "ExhibitionLost");
        sendCommand(driver, "sounds");
        EXPECT_NE(readLine(driver), "[]\n"); // strokes, bounces and calls were heard
        screen = over["screen"];
        ++screenChanges;
        tapTo("tap 120 306", "MainMenu");
        return over;
    }
};

// The driver's peak resident memory, from the kernel's account of the process.
long peakKilobytes(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmHWM:", 0) == 0)
            return std::stol(line.substr(6));
    return -1;
}

} // namespace

TEST(LongSession, ScreenChangesAProfileMadeAndDeletedAndThreeWholeMatches) {
    TempDir home;
    Session s;
    startDriver(s.driver, {"--home", home.path.string(), "--seed", "21"});
    s.tapTo("tap 1 1", "MainMenu");
    for (int round = 0; round < 4; ++round) {
        s.tapTo("tap 114 261", "Options");
        s.tapTo("tap 146 128", "Options"); // more sets, then fewer again
        s.tapTo("tap 85 128", "Options");
        s.tapTo("tap 120 306", "MainMenu");
        s.tapTo("tap 142 233", "Rankings");
        s.tapTo("tap 234 19", "Rankings");
        s.tapTo("tap 120 306", "MainMenu");
        s.tapTo("tap 200 300", "Credits");
        s.tapTo("tap 10 10", "MainMenu");
        s.tapTo("tap 160 205", "PracticePlayer");
        s.tapTo("tap 214 306", "Practice");
        s.tapTo("tap 234 5", "MainMenu");
    }
    // A profile made with the editor plays three matches: its level is worked out again after
    // each, and an exhibition moves no ladder.
    s.tapTo("tap 180 147", "ExhibitionPlayer1");
    s.tapTo("tap 200 138", "NewPlayer");
    s.tapTo("tap 36 90", "NewPlayer");           // the keyboard opens
    s.tapTo("tap 12 105", "NewPlayer");          // "!"
    s.tapTo("tap 20 195", "NewPlayer");          // done
    s.tapTo("tap 214 306", "ExhibitionPlayer1"); // Ok
    const Json made = readState(s.driver);
    const int slot = made["options"]["player1Profile"];
    EXPECT_EQ(made["profiles"][slot]["level"], 0);
    s.tapTo("tap 120 306", "MainMenu");
    for (int match = 0; match < 3; ++match) {
        const Json over = s.playExhibition();
        EXPECT_EQ(over["options"]["player1Profile"], slot);
        EXPECT_EQ(over["profiles"][slot]["level"], 0);
        EXPECT_EQ(over["profiles"][slot]["ranks"], made["profiles"][slot]["ranks"]);
    }
    s.tapTo("tap 180 147", "ExhibitionPlayer1");
    s.tapTo("tap 206 162", "ExhibitionPlayer1"); // Delete
    EXPECT_EQ(readState(s.driver)["profiles"][slot]["level"], -1);
    s.tapTo("tap 120 306", "MainMenu");
    EXPECT_GE(s.screenChanges, 30);
    const long peak = peakKilobytes(s.driver.pid);
    std::printf("long session: %d screen changes, peak resident memory %ld KB\n", s.screenChanges,
                peak);
    testing::Test::RecordProperty("peak_kilobytes", static_cast<int>(peak));
    sendCommand(s.driver, "key a");
    // Under the sanitizer build a leak makes the driver exit with an error.
    EXPECT_EQ(finishDriver(s.driver), 0);
}
