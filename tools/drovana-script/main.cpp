// main.cpp: drovana-script, the real game without a window, driven by a script of commands.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>

#include "app/game_app.h"
#include "app/replay_playback.h"
#include "app/replay_recording.h"
#include "assets/file_error.h"
#include "core/wide_string.h"
#include "display_shot.h"
#include "frontend/profile_store.h"
#include "platform/program_folder.h"
#include "script_commands.h"
#include "session/script_session.h"
#include "state_json.h"

namespace {

constexpr int kExitOk = 0;
constexpr int kExitFileError = 1;
constexpr int kExitBadScript = 2;
constexpr int kExitExpectationFailed = 3;
constexpr int kExitReplayRefused = 4;

constexpr const char* kUsage =
    "usage: drovana-script [--data FILE] [--home DIR] [--seed N] [SCRIPT]\n"
    "  --data FILE  the asset archive (default: data.pak beside this program)\n"
    "  --home DIR   the folder of players.dat (default: the game's own data folder)\n"
    "  --seed N     seeds the random generator instead of the clock\n"
    "  SCRIPT       the commands, one per line (default: standard input)\n";

struct Arguments {
    SessionSetup setup;
    std::string scriptPath; // empty: standard input
};

bool parseSeed(const std::string& text, uint32_t& seed) {
    if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos ||
        text.size() > 10)
        return false;
    const unsigned long long value = std::stoull(text);
    seed = static_cast<uint32_t>(value);
    return value <= 0xFFFFFFFFull;
}

// False (with the reason on stderr) for anything but the documented options.
bool parseArguments(int argc, char** argv, Arguments& args) {
    std::string home;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--data" && hasValue) {
            args.setup.pakPath = argv[++i];
        } else if (arg == "--home" && hasValue) {
            home = argv[++i];
        } else if (arg == "--seed" && hasValue) {
            args.setup.hasSeed = true;
            if (!parseSeed(argv[++i], args.setup.seed)) {
                std::cerr << "drovana-script: --seed wants a number from 0 to 4294967295\n";
                return false;
            }
        } else if (arg == "-h" || arg == "--help" || arg.starts_with("-") ||
                   !args.scriptPath.empty()) {
            return false;
        } else {
            args.scriptPath = arg;
        }
    }
    if (args.setup.pakPath.empty())
        args.setup.pakPath = toUtf8(programFolder()) + "data.pak";
    if (home.empty()) {
        args.setup.playersPath = defaultPlayersPath();
    } else {
        std::error_code ignored; // a folder that cannot be made fails at the first save
        std::filesystem::create_directories(home, ignored);
        args.setup.playersPath = (std::filesystem::path(home) / "players.dat").string();
    }
    return true;
}

struct ScriptFailure {
    int status;
};

std::string hexOf(uint64_t value) {
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(value));
    return text;
}

const char* endName(ReplayEnd end) {
    switch (end) {
    case ReplayEnd::MatchOver:
        return "MatchOver";
    case ReplayEnd::Closed:
        return "Closed";
    case ReplayEnd::GameQuit:
        break;
    }
    return "GameQuit";
}

// How the replay ended against what its file recorded, and the match as it left it.
nlohmann::ordered_json replayJson(const std::string& path, const ReplayOutcome& recorded,
                                  const PlaybackResult& played) {
    return {{"replay",
             {{"file", path},
              {"exact", played.exact},
              {"end", endName(played.end)},
              {"recordedEnd", endName(recorded.end)},
              {"hash", hexOf(played.stateHash)},
              {"recordedHash", hexOf(recorded.stateHash)},
              {"soundsAsRecorded", played.soundDigest == recorded.soundDigest},
              {"steps", played.stepsPlayed},
              {"recordedSteps", recorded.stepCount},
              {"events", played.eventsPlayed},
              {"recordedEvents", recorded.eventCount}}},
            {"match", matchStateJson(played.endState)}};
}

[[noreturn]] void failLine(int status, int lineNumber, const std::string& line,
                           const std::string& why) {
    std::cerr << "drovana-script: line " << lineNumber << ": " << why << ": " << line << "\n";
    throw ScriptFailure{status};
}

void replayFile(ScriptSession& session, const std::string& path) {
    ReplayFile replay;
    std::string error;
    if (!readReplayFile(path, replay, error)) {
        std::cerr << "drovana-script: " << error << "\n";
        throw ScriptFailure{kExitReplayRefused};
    }
    const ReplayOutcome recorded = replay.outcome;
    const PlaybackResult played = playReplayHeadless(session.app, std::move(replay));
    if (!played.started) {
        std::cerr << "drovana-script: " << played.error << "\n";
        throw ScriptFailure{kExitReplayRefused};
    }
    std::cout << replayJson(path, recorded, played)
                     .dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace)
              << std::endl;
}

void runCommand(ScriptSession& session, const ScriptCommand& c, int lineNumber,
                const std::string& line) {
    switch (c.kind) {
    case CommandKind::Nothing:
        break;
    case CommandKind::Wait:
    case CommandKind::Frames:
        runFrames(session, c.frames);
        break;
    case CommandKind::Tap:
        deliverTap(session, c.x, c.y);
        break;
    case CommandKind::Press:
        deliverPress(session, c.x, c.y);
        break;
    case CommandKind::Release:
        deliverRelease(session, c.x, c.y);
        break;
    case CommandKind::KeyA:
        deliverQuitKey(session);
        break;
    case CommandKind::Shot:
        if (!writeDisplayShot(session.platform, c.text))
            failLine(kExitBadScript, lineNumber, line, "cannot write the picture");
        break;
    case CommandKind::State:
        std::cout << gameStateJson(*session.app)
                         .dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace)
                  << std::endl;
        break;
    case CommandKind::Sounds:
        std::cout << takeSoundsJson(session) << std::endl;
        break;
    case CommandKind::Auto:
        setAutoPlay(session, c.on);
        break;
    case CommandKind::Record:
        session.app->recorder->copyTo = c.text;
        break;
    case CommandKind::Replay:
        replayFile(session, c.text);
        break;
    case CommandKind::ExpectScreen:
        if (session.app->screen != c.screen)
            failLine(kExitExpectationFailed, lineNumber, line,
                     std::string("the screen is ") + screenName(session.app->screen));
        break;
    }
}

// Runs the script until it ends or the game quits.
void runScript(ScriptSession& session, std::istream& script) {
    std::string line;
    int lineNumber = 0;
    while (!session.ended && std::getline(script, line)) {
        ++lineNumber;
        ScriptCommand command;
        if (!parseScriptLine(line, command))
            failLine(kExitBadScript, lineNumber, line, "not a command");
        runCommand(session, command, lineNumber, line);
    }
}

int runWithScript(const Arguments& args, std::istream& script) {
    ScriptSession session;
    int status = kExitOk;
    try {
        openSession(session, args.setup);
        runScript(session, script);
    } catch (const FileError& error) {
        if (error.detail.empty())
            std::cerr << "drovana-script: " << toUtf8(error.message) << " (" << args.setup.pakPath
                      << ")\n";
        else
            std::cerr << "drovana-script: " << toUtf8(fileErrorText(error)) << "\n";
        status = kExitFileError;
    } catch (const ScriptFailure& failure) {
        status = failure.status;
    }
    closeSession(session);
    return status;
}

} // namespace

int main(int argc, char** argv) {
    Arguments args;
    if (!parseArguments(argc, argv, args)) {
        std::cerr << kUsage;
        return kExitBadScript;
    }
    if (args.scriptPath.empty())
        return runWithScript(args, std::cin);
    std::ifstream script(args.scriptPath);
    if (!script) {
        std::cerr << "drovana-script: cannot read " << args.scriptPath << "\n";
        return kExitBadScript;
    }
    return runWithScript(args, script);
}
