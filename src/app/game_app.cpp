// game_app.cpp: the game object's set-up and teardown, its frame operations and screen changes.
#include "app/game_app.h"
#include "app/replay_playback.h"
#include "app/replay_recording.h"

#include "assets/image_button.h"
#include "assets/model.h"
#include "assets/pak_archive.h"
#include "assets/sound_set.h"
#include "frontend/court_taps.h"
#include "frontend/ladders.h"
#include "frontend/player_profile.h"
#include "frontend/screen_entry.h"
#include "frontend/screen_tables.h"
#include "match/match.h"
#include "view/engine3d.h"
#include "view/figure_posing.h"
#include "view/game_view.h"
#include "view/screen_render.h"

namespace {

constexpr int kPracticePartnerProfile = 4;
constexpr int32_t kLastTournamentRound = 4;
constexpr int32_t kChampionRound = 5;

GameView viewOf(GameApp* app) {
    GameView view;
    view.screen = app->screen;
    view.buttons = app->buttons.data();
    view.buttonCount = static_cast<int32_t>(app->buttons.size());
    view.skillPoints = app->editor.skillPoints;
    view.match = app->resources.match;
    view.finishedMatch = &app->finishedMatch;
    return view;
}

// Player 1 is the person at the screen, player 2 the computer.
MatchPlayer matchPlayerOf(const GameApp* app, int which) {
    const GameOptions& o = app->store.options;
    const int32_t slot = which == 1 ? o.player1Profile : o.player2Profile;
    return matchPlayerFromProfile(app->store.profiles[slot], which == 2);
}

void setUpMatchFromOptions(GameApp* app) {
    const GameOptions& o = app->store.options;
    setUpMatch(app->resources.match, o.setsToWin, levelStrength(o.level), matchPlayerOf(app, 1),
               matchPlayerOf(app, 2));
}

// What happens before a screen's pictures are loaded.
void beforeEntry(GameApp* app, int32_t id) {
    switch (id) {
    case ExhibitionPlayer1:
    case ExhibitionPlayer2:
    case TournamentPlayer:
    case PracticePlayer:
        restartFigure(app->figures.player1);
        restartFigure(app->figures.player2);
        break;
    case NewPlayer:
        restartFigure(app->figures.preview);
        break;
    case TournamentMatch:
        if (!replayPlaying(app)) // a replay brings its own opponent
            pickTournamentOpponent(app->store, app->tournamentRound);
        applyProfile(app, 2);
        break;
    case Practice:
        app->store.options.player2Profile = kPracticePartnerProfile;
        applyProfile(app, 2);
        break;
    default:
        break;
    }
}

// What happens once the screen's buttons exist.
void afterEntry(GameApp* app, int32_t id) {
    switch (id) {
    case ExhibitionMatch:
    case TournamentMatch:
        startRecording(app);
        hideHeldBalls(app);
        setUpMatchFromOptions(app);
        setSurface(app->resources.match, app->store.options.stadium);
        break;
    case Practice:
        startRecording(app);
        app->practiceDrill = 0;
        setUpPracticeDrill(app);
        break;
    case Rankings:
        showRankingsLabels(app);
        break;
    case Statistics:
        showStatisticsButtons(app->buttons, app->finishedMatch.resultScreen);
        break;
    default:
        break;
    }
}

// In the order the rules asked for them, within the frame of the step.
void playStepSounds(GameApp* app) {
    const StepSounds& step = app->resources.match->stepSounds;
    for (int i = 0; i < step.count; ++i)
        playSound(app->resources.sounds, step.ids[i]);
}

void updateCaptionBlink(GameApp* app) {
    // A quarter second shown, a quarter second hidden (the Normal face is empty).
    const int32_t quarters = fxMul(app->screenTime, 4 << 16) >> 16;
    forEachScreenButton(app->screen, app->buttons, [&](const ButtonLayout& row, ImageButton* b) {
        if (row.startRule == StartRule::Blinks)
            b->currentFace = (quarters & 1) == 0 ? ButtonFace::Pressed : ButtonFace::Normal;
    });
}

ScreenId tournamentOutcome(GameApp* app, bool won) {
    if (!won) {
        ladderLoss(app->store);
        saveProfiles(app->store);
        return TournamentLost;
    }
    ladderWin(app->store);
    saveProfiles(app->store);
    if (app->tournamentRound >= kLastTournamentRound) {
        app->tournamentRound = kChampionRound;
        return TournamentChampion;
    }
    app->tournamentRound += 1;
    pickTournamentOpponent(app->store, app->tournamentRound);
    applyProfile(app, 2);
    setUpMatchFromOptions(app);
    setSurface(app->resources.match, app->store.options.stadium);
    return TournamentRoundWon;
}

// A match ends only once the pause after its last point has run out.
void endMatchWhenOver(GameApp* app, bool tournament) {
    if (!app->resources.match->matchOver || app->resources.match->pointDelay > 0)
        return;
    if (replayEndsHere(app, ReplayEnd::MatchOver))
        return;
    finishMatchForProfile(app);
    hideHeldBalls(app);
    const bool won = app->resources.match->setsWon[0] == app->resources.match->setsToWin;
    // Kept before a tournament sets the match up for its next round.
    const GameOptions& o = app->store.options;
    app->finishedMatch =
        finishedMatchOf(*app->resources.match, app->store.profiles[o.player1Profile],
                        app->store.profiles[o.player2Profile], NoScreen);
    const ScreenId next =
        tournament ? tournamentOutcome(app, won) : (won ? ExhibitionWon : ExhibitionLost);
    app->finishedMatch.resultScreen = next;
    changeScreen(app, next);
}

void buildGame(GameApp* app, const GameSetup& setup) {
    app->platform = setup.platform;
    app->store.path = setup.playersPath;
    openArchiveAndEngine(app->resources,
                         setup.pakPath.empty() ? setup.dataFolder + u"data.pak" : setup.pakPath);
    changeScreen(app, Logo);
    app->store.options = GameOptions{};
    WideString damagedNotice;
    if (loadProfiles(app->store, &damagedNotice) == ProfilesLoad::Damaged)
        app->startNotices.push_back(damagedNotice);
    openSoundsAndMatch(app->resources, setup.output);
    setSoundMuted(app->resources.sounds, app->store.options.soundOff == 1 ? 1 : 0);
    for (int figure = 0; figure < kPlayerFigures; ++figure) {
        const int profile =
            figure == 0 ? app->store.options.player1Profile : app->store.options.player2Profile;
        dressPlayerModel(*app->resources.engine->playerModels[figure],
                         app->store.profiles[profile]);
    }
    applyProfile(app, 1);
    applyProfile(app, 2);
    setUpMatchFromOptions(app);
    setSurface(app->resources.match, 0);
    openReplayRecorder(app, setup);
}

} // namespace

// Mesh 1 is the ball a figure holds while serving; the animations show it, and every match
// start and end hides it again.
void hideHeldBalls(GameApp* app) {
    for (Model* model : app->resources.engine->playerModels) {
        ObjectLod& lod = primaryLod(*model);
        if (lod.meshes.size() > 1)
            lod.meshes[1].visible = 0;
    }
}

void showRankingsLabels(GameApp* app) {
    for (const RankingRow& row : rankingsRows(app->store, app->rankingsPage))
        if (ImageButton* b =
                buttonShowing(app->screen, app->buttons, LabelSource::RankRow, row.row))
            setImageButtonLabel(b, row.text.c_str());
}

ScreenEntryContext gameEntryContext(GameApp* app, int32_t id) {
    const GameOptions& o = app->store.options;
    ScreenEntryContext context;
    context.stadium = o.stadium;
    context.setsToWin = o.setsToWin;
    context.level = o.level;
    context.soundOff = o.soundOff;
    context.rankingsPage = app->rankingsPage;
    context.practiceDrill = app->practiceDrill;
    context.tournamentRound = app->tournamentRound;
    switch (id) {
    case ExhibitionPlayer2:
        context.shownProfile = &app->store.profiles[o.player2Profile];
        break;
    case NewPlayer:
        context.shownProfile = &app->store.profiles[app->editor.slot];
        break;
    default:
        context.shownProfile = &app->store.profiles[o.player1Profile];
        break;
    }
    return context;
}

void setUpPracticeDrill(GameApp* app) {
    hideHeldBalls(app);
    setUpPractice(app->resources.match, static_cast<PracticeMode>(app->practiceDrill),
                  levelStrength(app->store.options.level), matchPlayerOf(app, 1),
                  matchPlayerOf(app, 2));
    setSurface(app->resources.match, 0); // practice is always on the green court
}

Fixed levelStrength(int32_t level) {
    return static_cast<Fixed>(static_cast<float>(level) * 0.25f * 65536.0f);
}

GameApp* makeGameApp(const GameSetup& setup) {
    auto* app = new GameApp;
    try {
        buildGame(app, setup);
    } catch (...) {
        destroyGameApp(app);
        throw;
    }
    return app;
}

void destroyGameApp(GameApp* app) {
    if (!app)
        return;
    closePlayback(app);
    closeReplayRecorder(app);
    changeScreen(app, NoScreen);
    closeGameResources(app->resources);
    delete app;
}

void changeScreen(GameApp* app, int32_t id) {
    app->screen = static_cast<ScreenId>(id);
    app->screenTime = 0;
    freeScreenButtons(app->buttons);
    if (id < kFirstScreen || id > kLastScreen)
        return;
    beforeEntry(app, id);
    enterScreenFromTable(app->resources.engine->jpeg, app->resources.engine->frame.backdrop,
                         app->resources.pak, static_cast<ScreenId>(id), gameEntryContext(app, id),
                         app->buttons);
    markBackdropChanged(app->resources.engine->frame);
    afterEntry(app, id);
}

void applyProfile(GameApp* app, int which) {
    const GameOptions& o = app->store.options;
    const int32_t index = which == 1 ? o.player1Profile : o.player2Profile;
    if (index < 0 || index >= kProfileSlots)
        return;
    if (app->resources.engine)
        setProfileColours(*app->resources.engine->playerModels[which == 1 ? 0 : 1],
                          app->store.profiles[index]);
}

void finishMatchForProfile(GameApp* app) {
    // The next match is made from the profile, so it starts from what this one taught.
    updateProfileAfterMatch(app->store, app->resources.match->players[0].skills);
}

void gameUpdate(GameApp* app, Fixed dt) {
    if (playbackTakesTime(app, dt))
        return;
    switch (app->screen) {
    case ExhibitionPlayer1:
    case ExhibitionPlayer2:
        advanceFigure(app->figures.player1, dt);
        advanceFigure(app->figures.player2, dt);
        updateCaptionBlink(app);
        break;
    case TournamentPlayer:
    case PracticePlayer:
        advanceFigure(app->figures.player1, dt);
        break;
    case NewPlayer:
        advanceFigure(app->figures.preview, dt);
        break;
    case ExhibitionMatch:
    case TournamentMatch:
    case Practice: {
        const bool practice = app->screen == Practice;
        const bool tournament = app->screen == TournamentMatch;
        const Fixed step = dt;
        stepMatch(app->resources.match, dt);
        playStepSounds(app);
        noteMatchStep(app, step);
        if (!practice)
            endMatchWhenOver(app, tournament);
        break;
    }
    default:
        break;
    }
    app->screenTime = fxAdd(app->screenTime, dt);
}

void gameAfterUpdate(GameApp* app) {
    afterUpdateScreen(*app->resources.engine, viewOf(app), app->figures);
}

void gameRender(GameApp* app) {
    renderScreen(*app->resources.engine, viewOf(app));
    drawPlaybackCaption(app);
}

bool gamePresent(GameApp* app, uint8_t* displayMemory, const DisplayPitches& pitches,
                 uint8_t fullCopy, ScreenRows& written) {
    return presentFrame(app->resources.engine->frame, displayMemory, pitches, fullCopy, written);
}
