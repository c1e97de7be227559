// game_app.cpp: the stand-in game object.
#include "app/game_app.h"

#include "assets/pak_archive.h"
#include "assets/sound_set.h"

namespace {

constexpr uint32_t rgb(uint32_t r, uint32_t g, uint32_t b) {
    return r | (g << 8) | (b << 16);
}

void paintBackdrop(uint32_t* backdrop) {
    for (int y = 0; y < kScreenHeight; ++y)
        for (int x = 0; x < kScreenWidth; ++x) {
            const bool line = x == 20 || x == 219 || y == 40 || y == 279 || y == 160;
            backdrop[frameBufferIndex(x, y)] = line ? rgb(240, 240, 240) : rgb(40, 110 + y / 8, 70);
        }
}

void fillSquare(uint32_t* buffer, int cx, int cy, int half, uint32_t colour) {
    for (int y = cy - half; y <= cy + half; ++y)
        for (int x = cx - half; x <= cx + half; ++x)
            if (x >= 0 && x < kScreenWidth && y >= 0 && y < kScreenHeight)
                buffer[frameBufferIndex(x, y)] = colour;
}

void bounce(Fixed& position, Fixed& speed, Fixed low, Fixed high) {
    if (position < low) {
        position = low;
        speed = -speed;
    } else if (position > high) {
        position = high;
        speed = -speed;
    }
}

} // namespace

GameApp* makeGameApp(const WideString& folder, SoundOutput* output) {
    auto* app = new GameApp;
    app->archive = pakOpen(folder + u"data.pak", 1);
    app->sounds = makeSoundSet(app->archive, output);
    makeFrameBuffers(app->frame);
    paintBackdrop(app->frame.backdrop);
    app->ball = {fxFromInt(120), fxFromInt(160), 0};
    app->velocity = {fxFromInt(70), fxFromInt(110), 0};
    return app;
}

void destroyGameApp(GameApp* app) {
    if (!app)
        return;
    pakClose(app->archive);
    destroySoundSet(app->sounds);
    freeFrameBuffers(app->frame);
    delete app;
}

void gameUpdate(GameApp* app, Fixed dt) {
    app->clock = fxAdd(app->clock, dt);
    app->ball.x = fxAdd(app->ball.x, fxMul(app->velocity.x, dt));
    app->ball.y = fxAdd(app->ball.y, fxMul(app->velocity.y, dt));
    bounce(app->ball.x, app->velocity.x, fxFromInt(24), fxFromInt(215));
    bounce(app->ball.y, app->velocity.y, fxFromInt(44), fxFromInt(275));
}

void gameAfterUpdate(GameApp*) {}

void gameRender(GameApp* app) {
    beginFrame(app->frame);
    fillSquare(app->frame.drawBuffer, app->ball.x >> 16, (app->ball.y >> 16) + 4, 3,
               rgb(20, 60, 30));
    fillSquare(app->frame.drawBuffer, app->ball.x >> 16, app->ball.y >> 16, 3, rgb(230, 240, 60));
}

void gamePresent(GameApp* app, uint8_t* displayMemory, const DisplayPitches& pitches,
                 uint8_t fullCopy) {
    presentFrame(app->frame, displayMemory, pitches, fullCopy);
}

uint8_t gameStylusDown(GameApp* app, int x, int y) {
    app->ball.x = fxFromInt(x);
    app->ball.y = fxFromInt(y);
    playSound(app->sounds, SoundStroke2);
    return 1;
}

void gameStylusUp(GameApp*, int, int) {}
