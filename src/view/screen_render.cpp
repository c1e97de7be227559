// screen_render.cpp: what each screen draws, in which order, over its backdrop.
#include "view/screen_render.h"

#include "assets/image_button.h"
#include "frontend/match_statistics.h"
#include "frontend/screen_tables.h"
#include "match/match.h"
#include "view/button_drawing.h"
#include "view/engine3d.h"
#include "view/hud_text.h"
#include "view/match_hud.h"
#include "view/match_scene.h"
#include "view/statistics_drawing.h"

namespace {

void drawScreenButtons(Engine3D& engine, const GameView& view) {
    drawButtons(engine.frame, view.buttons, view.buttonCount);
}

// The figure stands on the spot the screen's picture leaves for it.
void showFigure(Engine3D& engine, int figure, const Vec3& position) {
    drawFigureView(engine, {position, kShownFigureFacing}, *engine.playerPoses[figure]);
}

// The keyboard's Static face means it is hidden.
bool keyboardHidden(const GameView& view) {
    const int32_t slot = slotDoing(view.screen, ButtonAction::TypeKey);
    if (slot < 0 || slot >= view.buttonCount || !view.buttons[slot])
        return false;
    return view.buttons[slot]->currentFace == ButtonFace::Static;
}

void drawSkillPoints(Engine3D& engine, const int32_t* skillPoints) {
    if (!skillPoints)
        return;
    for (int row = 0; row < kSkillRows; ++row)
        for (int j = 0; j < skillPoints[row]; ++j)
            fillRect(engine.frame, kSkillBarLeft + kSkillPointStep * j,
                     kSkillRowTop + kSkillRowStep * row, kSkillPointSize, kSkillPointSize,
                     kSkillPointColour);
}

} // namespace

void renderScreen(Engine3D& engine, const GameView& view) {
    beginFrame(engine.frame);
    switch (view.screen) {
    case ExhibitionPlayer1:
    case TournamentPlayer:
    case PracticePlayer:
        drawScreenButtons(engine, view);
        showFigure(engine, 0, kSelectionFigurePosition);
        break;
    case ExhibitionPlayer2:
        drawScreenButtons(engine, view);
        showFigure(engine, 1, kSelectionFigurePosition);
        break;
    case NewPlayer:
        drawScreenButtons(engine, view);
        // While the keyboard shows it covers the bars and the figure.
        if (!keyboardHidden(view))
            break;
        drawSkillPoints(engine, view.skillPoints);
        showFigure(engine, 0, kEditorFigurePosition);
        break;
    case ExhibitionMatch:
    case TournamentMatch:
    case Practice:
        if (view.match) {
            updateMatchHud(*view.match, view.screen, view.buttons, view.buttonCount);
            drawMatchScene(engine, *view.match);
        }
        drawScreenButtons(engine, view);
        break;
    case Statistics:
        drawScreenButtons(engine, view);
        if (view.finishedMatch)
            drawStatisticsPage(engine.frame, statisticsPage(*view.finishedMatch));
        break;
    default:
        drawScreenButtons(engine, view);
        if (showsMatchResult(view.screen))
            drawResultCaption(engine.frame);
        break;
    }
}
