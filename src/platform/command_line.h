// command_line.h: the window options a player may give on the command line, and a replay to
// watch; the game reads nothing else.
#pragma once

#include <string>

constexpr int kDefaultWindowScale = 2;
constexpr int kMaxWindowScale = 8;

enum class CommandLineAction {
    Run,      // open the window with the options below
    ShowHelp, // print the usage on stdout, exit 0
    ShowVersion,
    Refuse, // print error and the usage on stderr, exit 2
};

struct CommandLine {
    CommandLineAction action = CommandLineAction::Run;
    int scale = kDefaultWindowScale; // window of 240 * scale x 320 * scale
    bool fullscreen = false;
    std::string replayPath; // a replay to watch instead of the logo; empty for none
    std::string error;      // why the command line was refused
};

CommandLine parseCommandLine(int argc, const char* const* argv);
std::string usageText();
std::string versionText();

struct Platform;

// Prints what the action asks for and returns the exit status, or -1 when the game should run.
int answerCommandLine(const CommandLine& line);

// The options that apply once the window is open (full screen).
void applyWindowOptions(Platform* platform, const CommandLine& line);
