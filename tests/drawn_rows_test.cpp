// The rows each frame marks as drawn, checked against what the game really draws: a frame
// restores, clears and compares only marked rows, so a writer that draws without marking leaves
// a stale row on screen. Played through the real game over a match and every screen.
#include "app/game_app.h"
#include "assets/image_button.h"
#include "frontend/screen_entry.h"
#include "game_fixture.h"
#include "match/match.h"
#include "render/render_context.h"
#include "view/engine3d.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>

namespace {

bool rowHoldsBackdrop(const FrameBuffers& fb, const uint32_t* buffer, int y) {
    const int at = frameBufferIndex(0, y);
    return std::memcmp(buffer + at, fb.backdrop + at, kScreenWidth * sizeof(uint32_t)) == 0;
}

// The first row found that was written but is outside its set ("" when there is none): every
// row of a buffer outside its set must hold the backdrop, and every depth row outside the
// context's set the value its last clear wrote.
std::string firstUnmarkedRow(const FrameBuffers& fb) {
    for (int y = 0; y < kScreenHeight; ++y) {
        if (!rowMarked(fb.rowsA, y) && !rowHoldsBackdrop(fb, fb.bufferA, y))
            return "bufferA row " + std::to_string(y);
        if (!rowMarked(fb.rowsB, y) && !rowHoldsBackdrop(fb, fb.bufferB, y))
            return "bufferB row " + std::to_string(y);
    }
    const RenderContext& rc = *fb.renderContext;
    for (int y = 0; y < rc.height; ++y) {
        const uint16_t* row = rc.depthBuffer + static_cast<ptrdiff_t>(y) * rc.width;
        if (!rowMarked(rc.depthRows, y) &&
            !std::all_of(row, row + rc.width, [&](uint16_t d) { return d == rc.depthRowsHold; }))
            return "depth row " + std::to_string(y);
    }
    return "";
}

struct DrawnRowsFixture : ::testing::Test {
    RunningGame game{{.dataFolder = DROVANA_BUILD_DIR}};
    GameApp* app = game.app.get();
    int framesChecked = 0;

    // Frames run one at a time, each checked once drawn and presented.
    void runFrames(int frames) {
        for (int i = 0; i < frames; ++i) {
            ASSERT_TRUE(game.runFrames(1));
            checkFrame();
        }
    }
    void tap(int x, int y) {
        ASSERT_TRUE(game.tap(x, y));
        checkFrame();
    }
    void checkFrame() {
        ++framesChecked;
        ASSERT_EQ(firstUnmarkedRow(app->resources.engine->frame), "")
            << "screen " << app->screen << ", frame " << framesChecked;
    }
    void tapButton(ButtonAction action) {
        const ImageButton* b = buttonDoing(app->screen, app->buttons, action, 0);
        ASSERT_NE(b, nullptr) << "screen " << app->screen;
        tap(b->left + b->width / 2, b->top + b->height / 2);
    }
};

TEST_F(DrawnRowsFixture, AMatchAndItsResultDrawOnlyIntoMarkedRows) {
    runFrames(1);
    tap(120, 160);
    ASSERT_EQ(app->screen, MainMenu);
    tapButton(ButtonAction::Exhibition);
    for (int screen = 0; screen < 3; ++screen)
        tapButton(ButtonAction::Next);
    ASSERT_EQ(app->screen, ExhibitionMatch);
    // Rallies with player one sent about the court now and then, so that the figures, the ball,
    // the shadows and the score all move.
    const int courtPoints[][2] = {{60, 250}, {180, 240}, {120, 200}, {90, 280}};
    for (int k = 0; k < 16; ++k) {
        tap(courtPoints[k % 4][0], courtPoints[k % 4][1]);
        runFrames(40);
        if (HasFatalFailure())
            return;
    }
    Match* m = app->resources.match;
    m->matchOver = 1;
    m->setsWon[1] = m->setsToWin;
    m->pointDelay = 0;
    runFrames(2);
    ASSERT_EQ(app->screen, ExhibitionLost);
    tap(120, 150);
    ASSERT_EQ(app->screen, Statistics);
    runFrames(5);
}

TEST_F(DrawnRowsFixture, EveryScreenDrawsOnlyIntoMarkedRows) {
    runFrames(2);
    for (int32_t id = kFirstScreen; id <= kLastScreen; ++id) {
        changeScreen(app, id);
        runFrames(12); // long enough for a blink of the captions
        if (HasFatalFailure())
            return;
    }
}

} // namespace
