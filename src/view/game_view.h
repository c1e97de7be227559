// game_view.h: the parts of the game object that each frame's drawing and posing read.
#pragma once

#include <cstdint>

#include "frontend/screen_id.h"

struct FinishedMatch;
struct ImageButton;
struct Match;

// The screen and its buttons (the match's HUD writes its labels into them), the profile editor's
// skill points, the match and the match just finished, which the drawing only reads. Pointers are
// not owned.
struct GameView {
    ScreenId screen = NoScreen;
    ImageButton* const* buttons = nullptr;
    int32_t buttonCount = 0;
    const int32_t* skillPoints = nullptr; // eight rows, in screen order
    const Match* match = nullptr;
    const FinishedMatch* finishedMatch = nullptr; // what the statistics page shows
};
