// Command-line options of the game window: what is accepted, what is refused, and the exit codes.
#include "platform/command_line.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

CommandLine parse(const std::vector<const char*>& args) {
    std::vector<const char*> argv{"drovana"};
    argv.insert(argv.end(), args.begin(), args.end());
    return parseCommandLine(static_cast<int>(argv.size()), argv.data());
}

TEST(CommandLine, NoOptionsRunAWindowAtTheDefaultScale) {
    const CommandLine line = parse({});
    EXPECT_EQ(line.action, CommandLineAction::Run);
    EXPECT_EQ(line.scale, 2);
    EXPECT_FALSE(line.fullscreen);
}

TEST(CommandLine, ScaleAndFullscreenInEitherForm) {
    EXPECT_EQ(parse({"--scale", "3"}).scale, 3);
    EXPECT_EQ(parse({"--scale=1"}).scale, 1);
    EXPECT_EQ(parse({"--scale", "8"}).scale, 8);
    const CommandLine both = parse({"--fullscreen", "--scale", "4"});
    EXPECT_EQ(both.action, CommandLineAction::Run);
    EXPECT_TRUE(both.fullscreen);
    EXPECT_EQ(both.scale, 4);
    EXPECT_EQ(parse({"--scale", "2", "--scale", "5"}).scale, 5); // the last one counts
}

TEST(CommandLine, AReplayToWatchInEitherForm) {
    EXPECT_EQ(parse({}).replayPath, "");
    EXPECT_EQ(parse({"--replay", "a b.replay", "--scale", "3"}).replayPath, "a b.replay");
    EXPECT_EQ(parse({"--replay=/x/y.replay"}).replayPath, "/x/y.replay");
    EXPECT_EQ(parse({"--replay"}).action, CommandLineAction::Refuse);
    EXPECT_EQ(parse({"--replay="}).action, CommandLineAction::Refuse);
}

TEST(CommandLine, HelpAndVersionWinOverEverythingAfterThem) {
    EXPECT_EQ(parse({"--help"}).action, CommandLineAction::ShowHelp);
    EXPECT_EQ(parse({"-h"}).action, CommandLineAction::ShowHelp);
    EXPECT_EQ(parse({"--version", "--bogus"}).action, CommandLineAction::ShowVersion);
    EXPECT_EQ(parse({"--scale", "3", "--help"}).action, CommandLineAction::ShowHelp);
    EXPECT_EQ(answerCommandLine(parse({"--help"})), 0);
    EXPECT_EQ(answerCommandLine(parse({"--version"})), 0);
    EXPECT_EQ(answerCommandLine(parse({})), -1); // the game runs
}

TEST(CommandLine, BadOptionsAreRefusedWithExitStatusTwo) {
    for (const auto& args : std::vector<std::vector<const char*>>{
             {"--bogus"},
             {"fullscreen"},
             {"--scale"},       // value missing
             {"--scale", "0"},  // below the range
             {"--scale", "9"},  // above it
             {"--scale", "2x"}, // not a whole number
             {"--scale", "-1"},
             {"--scale", ""},
             {"--scale=", "2"},
             {"--scale", "99999999999999999999"},
             {"--fullscreen", "--scales=2"},
         }) {
        const CommandLine line = parse(args);
        EXPECT_EQ(line.action, CommandLineAction::Refuse) << args[0];
        EXPECT_FALSE(line.error.empty());
        testing::internal::CaptureStderr();
        EXPECT_EQ(answerCommandLine(line), 2);
        const std::string printed = testing::internal::GetCapturedStderr();
        EXPECT_NE(printed.find("Usage: drovana"), std::string::npos); // the usage goes along
    }
}

TEST(CommandLine, UsageNamesEveryOptionAndTheVersionItsNumber) {
    const std::string usage = usageText();
    for (const char* option : {"--scale N", "--fullscreen", "--replay FILE", "--help", "--version"})
        EXPECT_NE(usage.find(option), std::string::npos) << option;
    EXPECT_EQ(versionText().rfind("drovana ", 0), 0u);
    EXPECT_NE(versionText().find('.'), std::string::npos);
}

} // namespace
