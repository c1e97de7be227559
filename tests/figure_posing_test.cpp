// Posing the figures after the simulation steps, and the menus' idle cycle.
#include "view/figure_posing.h"

#include "scene_fixture.h"

namespace {

constexpr Fixed kLongAfter = 5 * kFxOne; // past the end of every fixture animation

struct PosingTest : SceneFixture {
    ShownFigures figures;
    FigureMotion &player1 = figures.player1, &player2 = figures.player2, &preview = figures.preview;
    GameView view;
    PosingTest() { view.match = &match; }
    void afterUpdate(ScreenId screen) {
        view.screen = screen;
        afterUpdateScreen(*engine, view, figures);
    }
    const Pose& pose(int i) const { return *engine->playerPoses[i]; }
};

void playOnce(FigureMotion& figure, int32_t anim, Fixed time) {
    figure = {anim, time};
}

void playOnce(MatchPlayer& p, int32_t anim, Fixed time) {
    p.anim = anim;
    p.animLoops = 0;
    p.animTime = time;
}

TEST_F(PosingTest, SelectionFiguresStepThroughTheCycleWhenTheirAnimationEnds) {
    playOnce(player1, 0, kLongAfter);
    playOnce(player2, 10, kLongAfter);
    afterUpdate(ExhibitionPlayer1);
    // Posed from the state before the advance: the last frame of each.
    EXPECT_EQ(pose(0).animation, engine->animations[0]);
    EXPECT_EQ(pose(0).frame, 4);
    EXPECT_EQ(pose(1).animation, engine->animations[10]);
    EXPECT_EQ(pose(1).frame, 14);
    EXPECT_EQ(player1.anim, 8);
    EXPECT_EQ(player1.time, 0);
    EXPECT_EQ(player2.anim, 0);
    EXPECT_EQ(player2.time, 0);
}

TEST_F(PosingTest, RunningOrOtherAnimationsAreNotAdvanced) {
    playOnce(player1, 8, 13107); // 0.2 s: frame 5 of 13
    playOnce(player2, 3, kLongAfter);
    afterUpdate(ExhibitionPlayer2);
    EXPECT_EQ(pose(0).frame, 5);
    EXPECT_EQ(player1.anim, 8);
    EXPECT_EQ(player1.time, 13107);
    EXPECT_EQ(player2.anim, 3); // outside the cycle: restarted, not changed
    EXPECT_EQ(player2.time, 0);
}

TEST_F(PosingTest, SinglePlayerScreensAdvanceOnlyPlayerOne) {
    for (ScreenId screen : {TournamentPlayer, PracticePlayer}) {
        playOnce(player1, 9, kLongAfter);
        playOnce(player2, 9, kLongAfter);
        afterUpdate(screen);
        EXPECT_EQ(pose(1).animation, engine->animations[9]);
        EXPECT_EQ(player1.anim, 10);
        EXPECT_EQ(player2.anim, 9);
        EXPECT_EQ(player2.time, kLongAfter);
    }
}

TEST_F(PosingTest, EditorPosesTheProfileBeingMadeWithFigureOne) {
    playOnce(preview, 0, kLongAfter);
    playOnce(player1, 12, 0);
    playOnce(player2, 8, kLongAfter);
    afterUpdate(NewPlayer);
    EXPECT_EQ(pose(0).animation, engine->animations[0]);
    EXPECT_EQ(preview.anim, 8);
    EXPECT_EQ(player2.anim, 9);
    EXPECT_EQ(player1.anim, 12);
}

TEST_F(PosingTest, MatchScreensPoseTheMatchPlayersAndChangeNothing) {
    playOnce(match.players[0], 2, 2621); // frame 1
    playOnce(match.players[1], 19, kLongAfter);
    playOnce(player1, 0, kLongAfter);
    afterUpdate(TournamentMatch);
    EXPECT_EQ(pose(0).animation, engine->animations[2]);
    EXPECT_EQ(pose(0).frame, 1);
    EXPECT_EQ(pose(1).animation, engine->animations[19]);
    EXPECT_EQ(pose(1).frame, 23);
    EXPECT_EQ(match.players[1].anim, 19);
    EXPECT_EQ(player1.anim, 0);
}

TEST_F(PosingTest, OtherScreensLeaveThePosesAlone) {
    playOnce(player1, 9, kLongAfter);
    afterUpdate(MainMenu);
    EXPECT_EQ(pose(0).animation, engine->animations[0]);
    EXPECT_EQ(player1.anim, 9);
}

} // namespace
