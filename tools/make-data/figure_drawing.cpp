// figure_drawing.cpp: a figure and its shadow for the contact sheets, drawn by the game itself.
#include "figure_drawing.h"

#include "match/match_player.h"
#include "render/render_context.h"
#include "view/match_scene.h"

// The game's own player and shadow drawing, so the sheets show exactly what a match shows.
void drawFigure(RenderContext* rc, const Pose& pose, Vec3 position, Vec3 facing) {
    MatchPlayer shown{};
    shown.position = position;
    shown.facing = facing;
    rcShadeModel(rc, GL_FLAT);
    rcEnable(rc, GL_DEPTH_TEST);
    drawPlayer(rc, shown, pose);
    rcEnable(rc, GL_BLEND);
    rcBlendFunc(rc, GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    drawPlayerShadow(rc, shown, pose);
    rcDisable(rc, GL_BLEND);
}
