// game_app.h: the game object the shell drives. Until the menus, profiles and tournaments
// arrive it is a quick exhibition: the player (roster profile 1) against the computer (profile
// 2) on the real engine, one set at a time, the stadium changing after every match. The close
// button starts a new match.
#pragma once

#include <cstdint>
#include <vector>

#include "core/fixed_point.h"
#include "core/wide_string.h"
#include "frontend/screen_id.h"
#include "match/match_player.h"
#include "render/frame_buffer.h"

struct Engine3D;
struct ImageButton;
struct Match;
struct PakArchive;
struct SoundOutput;
struct SoundSet;

constexpr int kCloseButtonSlot = 7;

struct GameApp {
    PakArchive* archive = nullptr;
    Engine3D* engine = nullptr;
    SoundSet* sounds = nullptr;
    Match* match = nullptr;
    ScreenId screen = NoScreen;
    std::vector<ImageButton*> buttons;
    int32_t stadium = 0;
    MatchPlayer player1{};
    MatchPlayer player2{};
    MatchPlayer previewPlayer{};
    Fixed screenTime = 0;
};

// folder: the program's folder, where data.pak lies. output may be null (silence). Raises
// FileError when data.pak is missing or damaged; nothing is leaked then.
GameApp* makeGameApp(const WideString& folder, SoundOutput* output);
void destroyGameApp(GameApp* app);

void gameUpdate(GameApp* app, Fixed dt);
void gameAfterUpdate(GameApp* app);
void gameRender(GameApp* app);
void gamePresent(GameApp* app, uint8_t* displayMemory, const DisplayPitches& pitches,
                 uint8_t fullCopy);
uint8_t gameStylusDown(GameApp* app, int x, int y);
void gameStylusUp(GameApp* app, int dx, int dy);
