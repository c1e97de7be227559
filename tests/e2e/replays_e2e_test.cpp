// replays_e2e_test.cpp: matches recorded by drovana-script's `record` and played again by its
// `replay` in another driver, with another seed and another home: the same state hash, score,
// tally and sounds; and replays the game must refuse.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "driver_runner.h"
#include "players_dat.h"
#include "temp_dir.h"

namespace {

// From the logo through the menus to the button that starts play; the sounds so far are read.
const char* const kToExhibition = "tap 1 1\ntap 180 147\ntap 214 306\ntap 214 306\nsounds\n";
const char* const kToPractice = "tap 1 1\ntap 108 189\nsounds\n";
const char* const kStartPlay = "tap 214 306\n";
const char* const kTapsByHand = "wait 2\ntap 120 70\nwait 1.5\ntap 60 250\nwait 0.7\n"
                                "press 180 90\nwait 0.2\nrelease 170 100\nwait 3\n";

// The JSON arrays `sounds` printed, joined.
Json soundsOf(const DriverRun& run, size_t from) {
    Json all = Json::array();
    size_t seen = 0;
    for (const std::string& line : run.lines)
        if (!line.empty() && line[0] == '[' && seen++ >= from)
            for (const Json& id : Json::parse(line))
                all.push_back(id);
    return all;
}

DriverRun replayIn(const std::string& file, const std::string& seed) {
    TempDir home;
    return runDriverText({"--home", home.path.string(), "--seed", seed},
                         "replay " + file + "\nsounds\nstate\n");
}

void expectPlayedAgain(const DriverRun& recorded, const DriverRun& replayed) {
    ASSERT_EQ(recorded.status, 0) << recorded.errors;
    ASSERT_EQ(replayed.status, 0) << replayed.errors;
    const std::vector<Json> states = recorded.states();
    const std::vector<Json> replays = replayed.states();
    ASSERT_FALSE(states.empty());
    ASSERT_EQ(replays.size(), 2u); // the replay's line, then the state after it
    const Json& played = states.back()["match"];
    const Json& report = replays[0]["replay"];
    EXPECT_EQ(report["exact"], true) << report.dump();
    EXPECT_EQ(report["soundsAsRecorded"], true);
    EXPECT_EQ(report["hash"], played["hash"]);
    const Json& again = replays[0]["match"];
    for (const char* field : {"setsWon", "games", "points", "setScoreText", "tally"})
        EXPECT_EQ(again[field], played[field]) << field;
    // The click of the button that started play belongs to the menu before it.
    Json heard = soundsOf(recorded, 1);
    ASSERT_FALSE(heard.empty());
    heard.erase(heard.begin());
    EXPECT_EQ(soundsOf(replayed, 0), heard);
    // After the replay the game goes on from the main menu.
    EXPECT_EQ(replays[1]["screen"], "MainMenu");
}

} // namespace

TEST(Replays, AnExhibitionPlayedByHandAndThenByTheComputerPlaysAgainExactly) {
    TempDir home, out;
    const std::string file = out.file("exhibition.replay");
    const DriverRun recorded = runDriverText(
        {"--home", home.path.string(), "--seed", "5"},
        std::string(kToExhibition) + "record " + file + "\n" + kStartPlay + kTapsByHand +
            "auto on\nwait 4000\nexpect screen ExhibitionLost\nsounds\nstate\n");
    expectPlayedAgain(recorded, replayIn(file, "77"));
    // The game kept it in its own folder too, named by date, time and players.
    const auto kept = std::filesystem::directory_iterator(home.file("replays"));
    ASSERT_NE(kept, std::filesystem::directory_iterator());
    EXPECT_NE(kept->path().filename().string().find("_v_"), std::string::npos);
}

TEST(Replays, DamagedAndForeignReplaysAreRefusedNamingTheFile) {
    TempDir home, out;
    const std::string file = out.file("short.replay");
    ASSERT_EQ(runDriverText({"--home", home.path.string()}, std::string(kToPractice) + "record " +
                                                                file + "\n" + kStartPlay +
                                                                "wait 1\ntap 234 5\n")
                  .status,
              0);
    // Another data.pak: the same archive with a reserved byte of its first directory record
    // (12 bytes of header, then the record's name and position) changed.
    const std::string otherPak = out.file("data.pak");
    std::filesystem::copy_file(std::string(DROVANA_BUILD_DIR) + "/data.pak", otherPak);
    std::fstream(otherPak, std::ios::in | std::ios::out | std::ios::binary).seekp(12 + 248).put(1);
    const DriverRun foreign = runDriverText({"--home", home.path.string(), "--data", otherPak},
                                            "replay " + file + "\nstate\n");
    EXPECT_EQ(foreign.status, 4);
    EXPECT_NE(foreign.errors.find(file + ": was recorded with another data.pak"), std::string::npos)
        << foreign.errors;
    EXPECT_TRUE(foreign.states().empty());

    std::filesystem::resize_file(file, std::filesystem::file_size(file) - 1);
    const DriverRun cut = replayIn(file, "1");
    EXPECT_EQ(cut.status, 4);
    EXPECT_NE(cut.errors.find(file + ": is cut short"), std::string::npos) << cut.errors;
}

TEST(Replays, ADrillTheGameQuitDuringIsKeptAndPlaysToWhereItStopped) {
    TempDir home, out;
    const std::string file = out.file("quit.replay");
    ASSERT_EQ(runDriverText({"--home", home.path.string()}, std::string(kToPractice) + "record " +
                                                                file + "\n" + kStartPlay +
                                                                kTapsByHand + "key a\n")
                  .status,
              0);
    const DriverRun replayed = replayIn(file, "2");
    ASSERT_EQ(replayed.status, 0) << replayed.errors;
    const Json report = replayed.states().at(0)["replay"];
    EXPECT_EQ(report["exact"], true) << report.dump();
    EXPECT_EQ(report["end"], "GameQuit");
}
