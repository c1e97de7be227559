// script_commands.h: one line of a drovana-script script, read into a command record.
#pragma once

#include <cstdint>
#include <string>

enum class CommandKind {
    Nothing, // a blank line or a comment
    Wait,    // seconds
    Frames,  // count
    Tap,     // x, y
    Press,   // x, y
    Release, // x, y
    KeyA,
    Shot, // text: the PNG's path
    State,
    Sounds,
    Auto,         // on
    ExpectScreen, // screen
    Record,       // text: where every replay from now on is written as well
    Replay,       // text: the replay file to play headless
};

struct ScriptCommand {
    CommandKind kind = CommandKind::Nothing;
    int64_t frames = 0; // Wait and Frames: frames of 1/60 s to run
    int x = 0;
    int y = 0;
    bool on = false;
    int32_t screen = 0;
    std::string text;
};

constexpr int kFramesPerSecond = 60;

// False when the line is not a command of the language. Blank lines and comments (from a '#'
// that begins a word to the end of the line) give CommandKind::Nothing.
bool parseScriptLine(const std::string& line, ScriptCommand& command);

// "Logo", "MainMenu", ... for 1..21; "None" for any other id.
const char* screenName(int32_t id);
// The id of a screen name, or 0 when no screen has that name.
int32_t screenIdFromName(const std::string& name);
