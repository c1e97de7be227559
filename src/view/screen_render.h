// screen_render.h: each frame's drawing, by screen, and how the 3D pass and the buttons layer.
#pragma once

#include <cstdint>

#include "core/fixed_point.h"
#include "view/game_view.h"

struct Engine3D;

constexpr uint32_t kSkillPointColour = 0xFF00F6FFu; // R 255, G 246, B 0

// Where the selection screens and the editor stand their figure, turned 45 degrees.
constexpr Vec3 kSelectionFigurePosition = {-32768, 0, 6 << 16};
constexpr Vec3 kEditorFigurePosition = {0, 0, -(1 << 16)};
constexpr Vec3 kShownFigureFacing = {46340, 0, 46340};

// Starts the frame from the backdrop, then by screen: the selection screens and the editor draw
// their buttons and then the figure over them; the match screens update the HUD, draw the scene
// and then the buttons over it; the statistics page its buttons and figures, the result screens
// their buttons and the caption that leads there; every other screen only its buttons.
void renderScreen(Engine3D& engine, const GameView& view);
