// scripted_person_e2e_test.cpp: the scripted person finds its way through the screens, plays a
// whole match and reports figures that hang together.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <sys/wait.h>

#include "driver_runner.h"

TEST(ScriptedPerson, PlaysAWholeMatchThroughTheScreens) {
    const std::string command =
        std::string(DROVANA_BUILD_DIR) + "/drovana-person --level 4 --matches 1 --seed 5 --json";
    FILE* out = popen(command.c_str(), "r");
    ASSERT_NE(out, nullptr);
    std::string text;
    char buffer[4096];
    for (size_t n; (n = fread(buffer, 1, sizeof buffer, out)) > 0;)
        text.append(buffer, n);
    const int status = pclose(out);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << text;

    const Json levels = Json::parse(text);
    ASSERT_EQ(levels.size(), 1u);
    const Json& f = levels[0];
    EXPECT_EQ(f["levelName"], "Champion");
    EXPECT_EQ(f["matches"], 1);
    EXPECT_EQ(f["unfinished"], 0);
    EXPECT_GT(f["pointsWon"].get<int>(), 0);
    EXPECT_LT(f["pointsWon"].get<int>(), f["points"].get<int>());
    EXPECT_GT(f["firstServes"].get<int>(), 0) << "the person served";
    EXPECT_GT(f["aimTapsMet"].get<int>(), 0) << "the person returned balls by its taps";
    EXPECT_LE(f["aimTapsMet"].get<int>(), f["aimTapsPlanned"].get<int>());
    EXPECT_LE(f["aimTapsPlanned"].get<int>(), f["aimTaps"].get<int>());
    EXPECT_LE(f["returned"].get<int>(), f["ballsToReturn"].get<int>());
}
