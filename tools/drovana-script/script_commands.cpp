// script_commands.cpp: reads the lines of a drovana-script script.
#include "script_commands.h"

#include <cmath>
#include <sstream>
#include <vector>

#include "frontend/screen_id.h"

namespace {

const char* const kScreenNames[] = {
    "None",
    "Logo",
    "MainMenu",
    "Credits",
    "ExhibitionPlayer1",
    "ExhibitionPlayer2",
    "ExhibitionStadium",
    "ExhibitionMatch",
    "TournamentPlayer",
    "TournamentStadium",
    "TournamentMatch",
    "Trophies",
    "ExhibitionWon",
    "TournamentRoundWon",
    "ExhibitionLost",
    "TournamentLost",
    "TournamentChampion",
    "PracticePlayer",
    "Practice",
    "NewPlayer",
    "Rankings",
    "Options",
    "Statistics",
};
static_assert(sizeof(kScreenNames) / sizeof(kScreenNames[0]) == kLastScreen + 1);

// A simulated day is far more than any script needs; it keeps frame counts from overflowing.
constexpr double kMaxWaitSeconds = 86400.0;
constexpr int64_t kMaxFrames = static_cast<int64_t>(kMaxWaitSeconds) * kFramesPerSecond;
constexpr int kMaxCoordinate = 65535; // the window delivers 16-bit coordinates

std::vector<std::string> wordsOf(const std::string& line) {
    std::istringstream in(line);
    std::vector<std::string> words;
    std::string word;
    while (in >> word)
        words.push_back(word);
    return words;
}

// Whole decimal numbers only: "12", "-3"; no trailing junk.
bool parseInteger(const std::string& text, int64_t low, int64_t high, int64_t& value) {
    if (text.empty() || text.size() > 12)
        return false;
    size_t used = 0;
    try {
        value = std::stoll(text, &used, 10);
    } catch (...) {
        return false;
    }
    return used == text.size() && value >= low && value <= high;
}

bool parseSeconds(const std::string& text, int64_t& frames) {
    size_t used = 0;
    double seconds = 0;
    try {
        seconds = std::stod(text, &used);
    } catch (...) {
        return false;
    }
    if (used != text.size() || !std::isfinite(seconds) || seconds < 0 || seconds > kMaxWaitSeconds)
        return false;
    frames = std::llround(seconds * kFramesPerSecond);
    return true;
}

bool parsePoint(const std::vector<std::string>& words, ScriptCommand& command) {
    int64_t x = 0, y = 0;
    if (words.size() != 3 || !parseInteger(words[1], 0, kMaxCoordinate, x) ||
        !parseInteger(words[2], 0, kMaxCoordinate, y))
        return false;
    command.x = static_cast<int>(x);
    command.y = static_cast<int>(y);
    return true;
}

// The rest of the line after the command word, outer blanks removed: a path may hold spaces.
std::string restAfterWord(const std::string& line, const std::string& word) {
    const size_t start = line.find(word) + word.size();
    const size_t first = line.find_first_not_of(" \t", start);
    if (first == std::string::npos)
        return {};
    const size_t last = line.find_last_not_of(" \t\r");
    return line.substr(first, last - first + 1);
}

// A comment starts at a '#' that begins a word and runs to the end of the line.
std::string withoutComment(const std::string& line) {
    for (size_t i = 0; i < line.size(); ++i)
        if (line[i] == '#' && (i == 0 || line[i - 1] == ' ' || line[i - 1] == '\t'))
            return line.substr(0, i);
    return line;
}

} // namespace

const char* screenName(int32_t id) {
    return id >= kFirstScreen && id <= kLastScreen ? kScreenNames[id] : kScreenNames[0];
}

int32_t screenIdFromName(const std::string& name) {
    for (int32_t id = kFirstScreen; id <= kLastScreen; ++id)
        if (name == kScreenNames[id])
            return id;
    return 0;
}

bool parseScriptLine(const std::string& fullLine, ScriptCommand& command) {
    command = ScriptCommand{};
    const std::string line = withoutComment(fullLine);
    const std::vector<std::string> words = wordsOf(line);
    if (words.empty())
        return true;
    const std::string& verb = words[0];
    if (verb == "wait") {
        command.kind = CommandKind::Wait;
        return words.size() == 2 && parseSeconds(words[1], command.frames);
    }
    if (verb == "frames") {
        command.kind = CommandKind::Frames;
        return words.size() == 2 && parseInteger(words[1], 0, kMaxFrames, command.frames);
    }
    if (verb == "tap" || verb == "press" || verb == "release") {
        command.kind = verb == "tap"     ? CommandKind::Tap
                       : verb == "press" ? CommandKind::Press
                                         : CommandKind::Release;
        return parsePoint(words, command);
    }
    if (verb == "key") {
        command.kind = CommandKind::KeyA;
        return words.size() == 2 && words[1] == "a";
    }
    if (verb == "shot") {
        command.kind = CommandKind::Shot;
        command.text = restAfterWord(line, verb);
        return !command.text.empty();
    }
    if (verb == "record" || verb == "replay") {
        command.kind = verb == "record" ? CommandKind::Record : CommandKind::Replay;
        command.text = restAfterWord(line, verb);
        return !command.text.empty();
    }
    if (verb == "state" || verb == "sounds") {
        command.kind = verb == "state" ? CommandKind::State : CommandKind::Sounds;
        return words.size() == 1;
    }
    if (verb == "auto") {
        command.kind = CommandKind::Auto;
        command.on = words.size() == 2 && words[1] == "on";
        return words.size() == 2 && (words[1] == "on" || words[1] == "off");
    }
    if (verb == "expect") {
        command.kind = CommandKind::ExpectScreen;
        if (words.size() != 3 || words[1] != "screen")
            return false;
        command.screen = screenIdFromName(words[2]);
        return command.screen != 0;
    }
    return false;
}
