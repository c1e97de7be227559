// game_view.h: the parts of the game object that each frame's drawing and posing read and write.
#pragma once

#include <cstdint>

#include "frontend/screen_id.h"

struct ImageButton;
struct Match;
struct MatchPlayer;

// The screen and its buttons, the three player records the menus show, the profile editor's
// skill points and the match. Pointers are not owned.
struct GameView {
    ScreenId screen = NoScreen;
    ImageButton* const* buttons = nullptr;
    int32_t buttonCount = 0;
    MatchPlayer* player1 = nullptr;
    MatchPlayer* player2 = nullptr;
    MatchPlayer* previewPlayer = nullptr;
    const int32_t* skillPoints = nullptr; // eight rows, in screen order
    Match* match = nullptr;
};
