// statistics_e2e_test.cpp: a whole exhibition played through the real game, then its statistics
// page opened from the result picture: the page's figures are the match's own tally.
#include <gtest/gtest.h>

#include <cmath>

#include "driver_runner.h"
#include "temp_dir.h"
#include "writers/png_reader.h"

namespace {

constexpr int kWaitSeconds = 20;
constexpr int kMaxWaits = 6 * 3600 / kWaitSeconds;

int rallySum(const Json& byKind) {
    int sum = 0;
    for (const auto& [kind, count] : byKind.items())
        sum += kind == "serve" ? 0 : count.get<int>();
    return sum;
}

std::string outOf(const Json& part, const Json& whole) {
    return std::to_string(part.get<int>()) + "/" + std::to_string(whole.get<int>());
}

// The rows as the page must read them, worked out here from the tally the driver reports.
std::vector<std::vector<std::string>> expectedRows(const Json& tally) {
    std::vector<std::vector<std::string>> rows(10);
    for (const Json& p : tally["players"]) {
        const int served = p["firstServes"], in = p["firstServesIn"],
                  fastest = p["fastestServeInKmh"];
        const std::string percent =
            served ? std::to_string(std::lround(100.0 * in / served)) + "%" : "-";
        const std::string figures[] = {std::to_string(p["pointsWon"].get<int>()),
                                       outOf(p["servicePointsWon"], p["servicePoints"]),
                                       percent,
                                       std::to_string(p["aces"].get<int>()),
                                       std::to_string(p["doubleFaults"].get<int>()),
                                       std::to_string(rallySum(p["winners"])),
                                       std::to_string(rallySum(p["errors"])),
                                       outOf(p["netPointsWon"], p["netPoints"]),
                                       "",
                                       fastest ? std::to_string(fastest) : "-"};
        for (int r = 0; r < 10; ++r)
            if (r != 8)
                rows[static_cast<size_t>(r)].push_back(figures[r]);
    }
    rows[8] = {std::to_string(tally["longestRally"].get<int>())}; // one figure for the match
    return rows;
}

} // namespace

TEST(StatisticsPage, AfterAWholeExhibitionShowsTheMatchsOwnTally) {
    TempDir home;
    DriverProcess driver;
    startDriver(driver, {"--home", home.path.string(), "--seed", "3"});
    sendCommand(driver, "tap 1 1");
    sendCommand(driver, "tap 180 147"); // Exhibition
    sendCommand(driver, "tap 214 306");
    sendCommand(driver, "tap 214 306");
    sendCommand(driver, "auto on");
    sendCommand(driver, "tap 214 306");
    Json state = readState(driver);
    ASSERT_EQ(state["screen"], "ExhibitionMatch");
    for (int i = 0; i < kMaxWaits && state["screen"] == "ExhibitionMatch"; ++i) {
        sendCommand(driver, "wait " + std::to_string(kWaitSeconds));
        state = readState(driver);
    }
    const Json& match = state["match"];
    ASSERT_EQ(match["matchOver"], 1);
    ASSERT_EQ(state["statistics"], nullptr);

    sendCommand(driver, "tap 120 150"); // the result picture, off its Main button
    const Json page = readState(driver);
    ASSERT_EQ(page["screen"], "Statistics");
    const Json& statistics = page["statistics"];
    const std::vector<std::vector<std::string>> rows = expectedRows(match["tally"]);
    ASSERT_EQ(statistics["rows"].size(), rows.size());
    for (size_t r = 0; r < rows.size(); ++r)
        EXPECT_EQ(statistics["rows"][r]["values"].get<std::vector<std::string>>(), rows[r])
            << statistics["rows"][r]["label"];
    const int me = page["options"]["player1Profile"];
    EXPECT_EQ(statistics["players"][0]["firstName"], page["profiles"][me]["firstName"]);
    const std::string sets = match["setScoreText"];
    EXPECT_EQ(statistics["players"][0]["setGames"], sets.substr(0, 1));
    EXPECT_EQ(statistics["players"][1]["setGames"], sets.substr(1, 1));

    const std::string shot = home.file("statistics.png");
    sendCommand(driver, "shot " + shot);
    sendCommand(driver, "tap 26 306"); // Back
    EXPECT_EQ(readState(driver)["screen"], state["screen"]);
    std::vector<uint8_t> rgb;
    int width = 0, height = 0;
    EXPECT_TRUE(readPngRgb(shot, rgb, width, height));
    EXPECT_EQ(width, 240);
    EXPECT_EQ(height, 320);
    sendCommand(driver, "key a");
    EXPECT_EQ(finishDriver(driver), 0);
}
