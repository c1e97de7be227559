// command_line.cpp: parsing the window options, and the usage and version texts.
#include "platform/command_line.h"
#include "platform/console_text.h"

#include <cstdio>
#include <string_view>

#include "platform/platform.h"

// The build gives the project's version; a made-up one would be a wrong answer to --version.
#ifndef DROVANA_VERSION
#error "DROVANA_VERSION must be defined by the build (the CMake project's version)"
#endif

namespace {

// Digits only, so "2x", "+2" and "" are refused rather than read as a prefix.
bool parseScale(std::string_view text, int& scale) {
    if (text.empty() || text.size() > 2)
        return false;
    int value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return false;
        value = value * 10 + (c - '0');
    }
    if (value < 1 || value > kMaxWindowScale)
        return false;
    scale = value;
    return true;
}

CommandLine refuse(std::string error) {
    CommandLine line;
    line.action = CommandLineAction::Refuse;
    line.error = std::move(error);
    return line;
}

} // namespace

CommandLine parseCommandLine(int argc, const char* const* argv) {
    CommandLine line;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            line.action = CommandLineAction::ShowHelp;
            return line;
        }
        if (arg == "--version") {
            line.action = CommandLineAction::ShowVersion;
            return line;
        }
        if (arg == "--fullscreen") {
            line.fullscreen = true;
        } else if (arg == "--scale" || arg.starts_with("--scale=")) {
            std::string_view value;
            if (arg == "--scale") {
                if (i + 1 >= argc)
                    return refuse("--scale needs a number");
                value = argv[++i];
            } else {
                value = arg.substr(8);
            }
            if (!parseScale(value, line.scale))
                return refuse("--scale takes a whole number from 1 to " +
                              std::to_string(kMaxWindowScale) + ", not '" + std::string(value) +
                              "'");
        } else if (arg == "--replay" || arg.starts_with("--replay=")) {
            if (arg == "--replay" && i + 1 >= argc)
                return refuse("--replay needs a file");
            line.replayPath = arg == "--replay" ? argv[++i] : std::string(arg.substr(9));
            if (line.replayPath.empty())
                return refuse("--replay needs a file");
        } else {
            return refuse("unknown option '" + std::string(arg) + "'");
        }
    }
    return line;
}

std::string usageText() {
    return "Usage: drovana [OPTION]...\n"
           "A tennis game played with the mouse or a touch screen.\n"
           "\n"
           "  --scale N      window of 240N x 320N pixels, N from 1 to " +
           std::to_string(kMaxWindowScale) + " (default " + std::to_string(kDefaultWindowScale) +
           ")\n"
           "  --fullscreen   start in full screen (F11 switches)\n"
           "  --replay FILE  open on a replay (the game keeps the last 20 in replays/ in its\n"
           "                 data folder); taps change its speed, the close button leaves\n"
           "  --help         show this help and exit\n"
           "  --version      show the version and exit\n"
           "\n"
           "In the game: A or Escape quits, F11 full screen, F12 saves a screenshot.\n";
}

std::string versionText() {
    return std::string("drovana ") + DROVANA_VERSION + "\n";
}

int answerCommandLine(const CommandLine& line) {
    if (line.action == CommandLineAction::Run)
        return -1;
    useParentConsoleForText();
    switch (line.action) {
    case CommandLineAction::Run:
        return -1;
    case CommandLineAction::ShowHelp:
        std::fputs(usageText().c_str(), stdout);
        return 0;
    case CommandLineAction::ShowVersion:
        std::fputs(versionText().c_str(), stdout);
        return 0;
    case CommandLineAction::Refuse:
        std::fprintf(stderr, "drovana: %s\n%s", line.error.c_str(), usageText().c_str());
        return 2;
    }
    return 2;
}

void applyWindowOptions(Platform* platform, const CommandLine& line) {
    if (line.fullscreen)
        platformSetFullscreen(platform, true); // F11 switches back from here
}
