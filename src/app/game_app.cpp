// game_app.cpp: the quick-exhibition game object.
#include "app/game_app.h"

#include "assets/image_button.h"
#include "assets/model.h"
#include "assets/pak_archive.h"
#include "assets/sound_set.h"
#include "frontend/court_taps.h"
#include "frontend/player_profile.h"
#include "frontend/screen_entry.h"
#include "match/match.h"
#include "view/engine3d.h"
#include "view/figure_posing.h"
#include "view/game_view.h"
#include "view/screen_render.h"

namespace {

constexpr int kHumanProfile = 0;
constexpr int kComputerProfile = 1;
constexpr Fixed kRookieLevel = 32768;
constexpr int kPressedFace = 1;
constexpr int kHiddenFace = 2;

GameView viewOf(GameApp* app) {
    GameView view;
    view.screen = app->screen;
    view.buttons = app->buttons.data();
    view.buttonCount = static_cast<int32_t>(app->buttons.size());
    view.player1 = &app->player1;
    view.player2 = &app->player2;
    view.previewPlayer = &app->previewPlayer;
    view.match = app->match;
    return view;
}

void hideHeldBalls(GameApp* app) {
    for (Model* model : app->engine->playerModels) {
        ObjectLod& lod = primaryLod(*model);
        if (lod.meshes.size() > 1)
            lod.meshes[1].visible = 0;
    }
}

void startMatch(GameApp* app) {
    copyProfileToPlayer(kDefaultRoster[kHumanProfile], app->player1);
    copyProfileToPlayer(kDefaultRoster[kComputerProfile], app->player2);
    app->player1.isComputer = 0;
    app->player2.isComputer = 1;
    setUpMatch(app->match, 1, kRookieLevel, app->player1, app->player2);
    setSurface(app->match, app->stadium);
    app->screen = ExhibitionMatch;
    app->screenTime = 0;
    ScreenEntryContext context;
    context.stadium = app->stadium;
    context.shownPlayer = &app->player1;
    context.shownProfile = &kDefaultRoster[kHumanProfile];
    enterScreenFromTable(app->engine->jpeg, app->engine->frame.backdrop, app->archive,
                         ExhibitionMatch, context, app->buttons);
}

// In the order the rules asked for them, within the frame of the step.
void playStepSounds(GameApp* app) {
    const StepSounds& step = app->match->stepSounds;
    for (int i = 0; i < step.count; ++i)
        playSound(app->sounds, step.ids[i]);
}

void nextMatch(GameApp* app) {
    hideHeldBalls(app);
    app->stadium = (app->stadium + 1) % 5;
    startMatch(app);
}

void buildGame(GameApp* app, const WideString& folder, SoundOutput* output) {
    app->archive = pakOpen(folder + u"data.pak", 1);
    app->engine = makeEngine3D(app->archive);
    app->sounds = makeSoundSet(app->archive, output);
    app->match = createMatch();
    dressPlayerModel(*app->engine->playerModels[0], kDefaultRoster[kHumanProfile]);
    dressPlayerModel(*app->engine->playerModels[1], kDefaultRoster[kComputerProfile]);
    startMatch(app);
}

} // namespace

GameApp* makeGameApp(const WideString& folder, SoundOutput* output) {
    auto* app = new GameApp;
    try {
        buildGame(app, folder, output);
    } catch (...) {
        destroyGameApp(app);
        throw;
    }
    return app;
}

void destroyGameApp(GameApp* app) {
    if (!app)
        return;
    freeScreenButtons(app->buttons);
    destroyMatch(app->match);
    destroySoundSet(app->sounds);
    destroyEngine3D(app->engine);
    pakClose(app->archive);
    delete app;
}

void gameUpdate(GameApp* app, Fixed dt) {
    stepMatch(app->match, dt);
    playStepSounds(app);
    app->screenTime = fxAdd(app->screenTime, dt);
    if (app->match->matchOver && app->match->pointDelay <= 0)
        nextMatch(app);
}

void gameAfterUpdate(GameApp* app) {
    afterUpdateScreen(*app->engine, viewOf(app));
}

void gameRender(GameApp* app) {
    renderScreen(*app->engine, viewOf(app));
}

void gamePresent(GameApp* app, uint8_t* displayMemory, const DisplayPitches& pitches,
                 uint8_t fullCopy) {
    presentFrame(app->engine->frame, displayMemory, pitches, fullCopy);
}

uint8_t gameStylusDown(GameApp* app, int x, int y) {
    for (ImageButton* b : app->buttons) {
        if (!b || b->currentFace == kHiddenFace)
            continue;
        if (x >= b->left && x < b->left + b->width && y >= b->top && y < b->top + b->height) {
            playSound(app->sounds, SoundStroke2);
            b->currentFace = kPressedFace;
            gameRender(app);
            return 1;
        }
    }
    return static_cast<uint8_t>(tapCourt(app->match, app->engine->camera, x, y));
}

void gameStylusUp(GameApp* app, int, int) {
    for (size_t slot = 0; slot < app->buttons.size(); ++slot) {
        ImageButton* b = app->buttons[slot];
        if (!b || b->currentFace != kPressedFace)
            continue;
        b->currentFace = 0;
        if (static_cast<int>(slot) == kCloseButtonSlot)
            nextMatch(app);
        gameRender(app);
        return;
    }
}
