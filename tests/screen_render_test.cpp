// Each screen's drawing order: figures over buttons on the menus, buttons over the match.
#include "view/screen_render.h"

#include "assets/image_button.h"
#include "frontend/screen_tables.h"
#include "scene_fixture.h"
#include "view/match_hud.h"

namespace {

constexpr uint32_t kButtonColour = 0xFF102030u;

struct ScreenRenderTest : SceneFixture {
    std::vector<ImageButton*> buttons;
    int32_t skillPoints[kSkillCount] = {3, 0, 10, 1, 1, 1, 1, 1};
    GameView view;

    ScreenRenderTest() {
        view.skillPoints = skillPoints;
        view.match = &match;
    }
    ~ScreenRenderTest() override {
        for (ImageButton* b : buttons)
            freeImageButton(b);
    }
    ImageButton* addButton(int left, int top, int width, int height, uint32_t fill = 0) {
        ImageButton* b = makeImageButton(left, top, width, height);
        b->fillColour[2] = fill;
        buttons.push_back(b);
        view.buttons = buttons.data();
        view.buttonCount = static_cast<int32_t>(buttons.size());
        return b;
    }
    // The editor's buttons up to its keyboard, which is returned.
    ImageButton* addEditorButtonsToTheKeyboard() {
        for (int32_t slot = 0; slot < slotDoing(NewPlayer, ButtonAction::TypeKey); ++slot)
            addButton(0, 0, 2, 2);
        return addButton(0, 0, 2, 2);
    }
    void render(ScreenId screen) {
        view.screen = screen;
        renderScreen(*engine, view);
    }
    // Pixels that differ from the backdrop outside the given rectangle.
    int changedOutside(int left, int top, int width, int height) const {
        int changed = 0;
        for (int y = 0; y < kScreenHeight; ++y)
            for (int x = 0; x < kScreenWidth; ++x) {
                const bool inside = x >= left && x < left + width && y >= top && y < top + height;
                if (!inside && at(x, y) != kGreyBackdrop)
                    ++changed;
            }
        return changed;
    }
};

// A point of the board's upper face, model (-20, 120), for a figure turned 45 degrees.
Vec3 boardPointOf(const Vec3& feet) {
    return {fxAdd(feet.x, fxFromDouble(0.1414)), fxFromDouble(1.2),
            fxSub(feet.z, fxFromDouble(0.1414))};
}
// The racket's centre, model (75, 113).
Vec3 racketPointOf(const Vec3& feet) {
    return {fxSub(feet.x, fxFromDouble(0.53)), fxFromDouble(1.13),
            fxAdd(feet.z, fxFromDouble(0.53))};
}

const Vec3 kSelectionSpot = {-32768, 0, 6 << 16};

TEST_F(ScreenRenderTest, SelectionScreenStandsPlayerOneOverTheButtons) {
    addButton(0, 0, 240, 320, kButtonColour); // covers the whole screen
    render(ExhibitionPlayer1);
    EXPECT_EQ(seenClose(boardPointOf(kSelectionSpot)), 0xFFC81E1Eu);
    EXPECT_EQ(at(5, 5), kButtonColour);
}

TEST_F(ScreenRenderTest, OpponentScreenShowsPlayerTwoWithPoseTwo) {
    primaryLod(*engine->playerModels[0]).meshes[1].visible = 0;
    render(ExhibitionPlayer2);
    EXPECT_EQ(seenClose(racketPointOf(kSelectionSpot)), 0xFF1EC81Eu);
    render(TournamentPlayer);
    EXPECT_EQ(seenClose(racketPointOf(kSelectionSpot)), kGreyBackdrop);
}

TEST_F(ScreenRenderTest, EditorDrawsNeitherBarsNorFigureWhileTheKeyboardShows) {
    addEditorButtonsToTheKeyboard()->currentFace = ButtonFace::Normal;
    render(NewPlayer);
    EXPECT_EQ(changedOutside(0, 0, 2, 2), 0);
}

TEST_F(ScreenRenderTest, EditorDrawsSkillPointsAndThePreviewFigure) {
    addEditorButtonsToTheKeyboard();
    render(NewPlayer);
    const uint32_t yellow = kSkillPointColour;
    EXPECT_EQ(at(151, 191), yellow);
    EXPECT_EQ(at(157, 197), yellow);
    EXPECT_EQ(at(158, 191), kGreyBackdrop); // the gap between points
    EXPECT_EQ(at(151 + 16, 191), yellow);   // the third of three
    EXPECT_EQ(at(151 + 24, 191), kGreyBackdrop);
    EXPECT_EQ(at(151, 203), kGreyBackdrop);       // row 1 has none
    EXPECT_EQ(at(151 + 72 + 6, 215 + 6), yellow); // row 2, the tenth point
    EXPECT_EQ(seenClose(boardPointOf({0, 0, -(1 << 16)})), 0xFFC81E1Eu);
}

TEST_F(ScreenRenderTest, MatchScreenDrawsTheSceneUnderItsHudButtons) {
    for (int i = 0; i < 7; ++i)
        addButton(0, 300, 1, 1);
    const Pixel tape = project(metres(0, 1.035, 0), engine->camera.matchView);
    ImageButton* cover = addButton(tape.x, tape.y, 4, 4, kButtonColour);
    match.ballSpeedKmh = 98;
    for (ScreenId screen : {ExhibitionMatch, TournamentMatch, Practice}) {
        render(screen);
        EXPECT_EQ(*buttons[kHudBallSpeed]->label, u"098kmh");
        EXPECT_EQ(at(tape.x, tape.y), kButtonColour);
        EXPECT_EQ(at(tape.x - 10, tape.y), 0xFFC8C8C8u);
    }
    (void)cover;
}

TEST_F(ScreenRenderTest, OtherScreensDrawOnlyTheirButtons) {
    addButton(10, 10, 20, 20, kButtonColour);
    match.ball.dead = 0;
    match.players[0].position = metres(0, 0, 5);
    render(MainMenu);
    EXPECT_EQ(at(10, 10), kButtonColour);
    EXPECT_EQ(changedOutside(10, 10, 20, 20), 0);
}

} // namespace
