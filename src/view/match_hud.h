// match_hud.h: the match's scoreboard, serve marker, power meter and ball speed, and the
// centred messages between points.
#pragma once

#include <cstdint>
#include <vector>

#include "core/wide_string.h"
#include "frontend/screen_id.h"
#include "render/frame_buffer.h"

struct ImageButton;
struct Match;

// Slots of the match screens' buttons that the HUD writes every frame.
constexpr int kHudServeMarker = 1;
constexpr int kHudPointsPlayer1 = 2;
constexpr int kHudPointsPlayer2 = 3;
constexpr int kHudPowerMeter = 5;
constexpr int kHudBallSpeed = 6;

// Serve-marker tops for player 1 and player 2 serving; the full length of the power bar.
constexpr int32_t kServeMarkerTopPlayer1 = 6;
constexpr int32_t kServeMarkerTopPlayer2 = 21;
constexpr int32_t kPowerMeterLength = 47;

// Sets the display fields of the match buttons from the match. The practice screen has no
// scoreboard, so there only the meter and the speed are set. Slots beyond buttonCount or empty
// are left alone.
void updateMatchHud(const Match& match, ScreenId screen, ImageButton* const* buttons,
                    int32_t buttonCount);

// A point label: the tie-break's plain count, else 0, 15, 30, 40 with 50 shown as 40 and the
// advantage (55) as "Ad"; right-aligned in two characters.
WideString pointLabel(int32_t points, bool tieBreak);

// One line of the message between points: the text centred on (120, y).
struct MessageLine {
    int y;
    WideString text;
    bool operator==(const MessageLine&) const = default;
};
// What drawMatchMessage shows, top line first; empty while no pause runs.
std::vector<MessageLine> matchMessageLines(const Match& match);
// Draws those lines in the 8 x 16 font.
void drawMatchMessage(FrameBuffers& fb, const Match& match);
