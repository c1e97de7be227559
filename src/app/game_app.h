// game_app.h: the game object: the records it holds, the 21 screens and their changes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "app/profile_editor.h"
#include "core/fixed_point.h"
#include "core/screen_rows.h"
#include "core/wide_string.h"
#include "frontend/game_options.h"
#include "frontend/match_statistics.h"
#include "frontend/profile_store.h"
#include "frontend/screen_entry.h"
#include "frontend/screen_id.h"
#include "render/frame_buffer.h"
#include "view/figure_posing.h"
#include "view/game_resources.h"

struct Engine3D;
struct ImageButton;
struct Match;
struct PakArchive;
struct Platform;
struct ReplayPlayback;
struct ReplayRecorder;
struct SoundOutput;
struct SoundSet;

// Where the stylus last went down, in screen pixels: the keyboard types the key under it. A
// release opens a result's statistics only when its press fell on the result too.
struct StylusPress {
    int32_t x = 0;
    int32_t y = 0;
    ScreenId screen = NoScreen;
};

struct GameApp {
    ProfileStore store;      // the profiles, the options and where players.dat lives
    GameResources resources; // the archive, the engine, the sounds, the match
    ShownFigures figures;    // the menus' figures, as far as their animations have run
    ProfileEditor editor;    // while NewPlayer shows
    // The screen on show, and what its buttons step through.
    ScreenId screen = NoScreen;
    Fixed screenTime = 0;
    std::vector<ImageButton*> buttons; // the current screen's, in slot order
    StylusPress press;
    int32_t practiceDrill = 0;
    int32_t rankingsPage = 0;
    int32_t tournamentRound = 0;
    FinishedMatch finishedMatch;  // the last match played to its end, for its statistics
    Platform* platform = nullptr; // not owned; the Quit button closes its window
    // What the player must be told once the game has started (a damaged players.dat set
    // aside): the window shows each in a message box, the headless driver lists them.
    std::vector<WideString> startNotices;
    ReplayRecorder* recorder = nullptr; // the match in play as it is played; replays kept
    ReplayPlayback* playback = nullptr; // a replay being watched
};

// What the game needs from its surroundings.
struct GameSetup {
    WideString dataFolder;   // where data.pak lies, ending in a slash
    WideString pakPath;      // another archive's full path; empty for dataFolder + "data.pak"
    std::string playersPath; // players.dat's full path
    SoundOutput* output = nullptr;
    Platform* platform = nullptr;
};

// Raises FileError when data.pak is missing or damaged; nothing is leaked then.
GameApp* makeGameApp(const GameSetup& setup);
void destroyGameApp(GameApp* app);

void gameUpdate(GameApp* app, Fixed dt);
void gameAfterUpdate(GameApp* app);
void gameRender(GameApp* app);
// False when the frame left every pixel of the display as it was.
bool gamePresent(GameApp* app, uint8_t* displayMemory, const DisplayPitches& pitches,
                 uint8_t fullCopy, ScreenRows& written);
// The stylus changes state only; the frame loop draws every frame after the events of its pass,
// so a press held across a frame shows its pressed face.
uint8_t gameStylusDown(GameApp* app, int x, int y);
// True when the release ran an action: a button's, or the Logo and Credits screens' own.
bool gameStylusUp(GameApp* app, int dx, int dy);

// Frees the old screen's buttons and enters screen id (kFirstScreen..kLastScreen; any other id
// loads nothing).
void changeScreen(GameApp* app, int32_t id);
// which 1: the colours of player 1's profile (options.player1Profile) onto model 1; which 2:
// player 2's onto model 2.
void applyProfile(GameApp* app, int which);
// The match (or practice) is being left: player 1's profile learns from it and is saved.
void finishMatchForProfile(GameApp* app);
// Mesh 1 is the ball a figure holds while serving; the animations show it, and every match
// start and end hides it again.
void hideHeldBalls(GameApp* app);
// The rankings rows of the ladder on show, for the used profiles.
void showRankingsLabels(GameApp* app);
// The game values that pick a screen's pictures and fill its labels and swatches.
ScreenEntryContext gameEntryContext(GameApp* app, int32_t screen);
// The drill in practiceDrill from its start, always on the green court.
void setUpPracticeDrill(GameApp* app);
// The computer's strength for the match: level x 0.25, computed in single precision; a seed and
// taps play the same match again only with the same raw value.
Fixed levelStrength(int32_t level);
