// stylus_handling.cpp: presses and releases of the stylus, and what each button's action does.
#include "app/game_app.h"
#include "app/profile_editor.h"
#include "app/replay_playback.h"
#include "app/replay_recording.h"

#include "assets/image_button.h"
#include "assets/sound_set.h"
#include "frontend/court_taps.h"
#include "frontend/ladders.h"
#include "frontend/match_statistics.h"
#include "frontend/profile_store.h"
#include "frontend/screen_entry.h"
#include "frontend/screen_tables.h"
#include "match/match.h"
#include "platform/platform.h"
#include "view/engine3d.h"

namespace {

constexpr int32_t kLastDrill = 3;

bool isPlayScreen(ScreenId screen) {
    return screen == ExhibitionMatch || screen == TournamentMatch || screen == Practice;
}

bool hits(const ImageButton* b, int x, int y) {
    return x >= b->left && x < b->left + b->width && y >= b->top && y < b->top + b->height;
}

// Where Back and Next lead; NoScreen where a screen has no such button.
struct Neighbours {
    ScreenId screen;
    ScreenId back;
    ScreenId next;
};
constexpr Neighbours kNeighbours[] = {
    {ExhibitionPlayer1, MainMenu, ExhibitionPlayer2},
    {ExhibitionPlayer2, ExhibitionPlayer1, ExhibitionStadium},
    {ExhibitionStadium, ExhibitionPlayer2, ExhibitionMatch},
    {TournamentPlayer, MainMenu, TournamentStadium},
    {TournamentStadium, TournamentPlayer, TournamentMatch},
    {PracticePlayer, MainMenu, Practice},
    {TournamentRoundWon, NoScreen, TournamentMatch}, // the next round
    {TournamentLost, NoScreen, Trophies},
    {TournamentChampion, NoScreen, Trophies},
};

Neighbours neighboursOf(ScreenId screen) {
    for (const Neighbours& n : kNeighbours)
        if (n.screen == screen)
            return n;
    return {screen, NoScreen, NoScreen};
}

// The statistics page goes back to its result screen and on where that screen's Next leads. A
// page shown without a finished match (a script may open any screen) leads to the main menu.
Neighbours neighboursOf(const GameApp* app) {
    if (app->screen != Statistics)
        return neighboursOf(app->screen);
    const ScreenId result = app->finishedMatch.resultScreen;
    if (!showsMatchResult(result))
        return {Statistics, MainMenu, MainMenu};
    return {Statistics, result, neighboursOf(result).next};
}

void reloadChosenFaces(GameApp* app) {
    reloadChosenFaces(app->resources.engine->jpeg, app->resources.pak, app->screen, app->buttons,
                      gameEntryContext(app, app->screen));
}

bool goBack(GameApp* app) {
    const ScreenId back = neighboursOf(app).back;
    if (back == NoScreen)
        return false;
    changeScreen(app, back);
    return true;
}

bool goNext(GameApp* app) {
    const ScreenId next = neighboursOf(app).next;
    if (next == NoScreen)
        return false;
    if (app->screen == TournamentStadium)
        app->tournamentRound = 0;
    changeScreen(app, next);
    return true;
}

// Options are kept when they are left with Main.
void goToMainMenu(GameApp* app) {
    if (app->screen == Options)
        saveProfiles(app->store);
    changeScreen(app, MainMenu);
}

// The profile editor opens on a fresh slot, or nothing happens when all ten are used.
void openProfileEditor(GameApp* app, ScreenId returnTo) {
    const int32_t slot = createProfile(app->store);
    if (slot < 0)
        return;
    startProfileEditor(app, slot, returnTo);
    changeScreen(app, NewPlayer);
}

void openTournament(GameApp* app) {
    bool userMade = false;
    for (const PlayerProfile& p : app->store.profiles)
        userMade = userMade || (profileUsed(p) && !p.builtIn);
    if (userMade)
        changeScreen(app, TournamentPlayer);
    else
        openProfileEditor(app, TournamentPlayer);
}

void quit(GameApp* app) {
    saveProfiles(app->store);
    if (app->platform)
        app->platform->events.push_back({PlatformEventType::Close});
}

// Selection screens show player 2 on ExhibitionPlayer2 and player 1 everywhere else.
int shownPlayer(ScreenId screen) {
    return screen == ExhibitionPlayer2 ? 2 : 1;
}

int32_t shownProfileIndex(GameApp* app) {
    return shownPlayer(app->screen) == 1 ? app->store.options.player1Profile
                                         : app->store.options.player2Profile;
}

void stepShownProfile(GameApp* app, int delta) {
    const int changed = cycleProfile(app->store, shownPlayer(app->screen), delta);
    if (changed & kPlayer1Changed)
        applyProfile(app, 1);
    if (changed & kPlayer2Changed)
        applyProfile(app, 2);
}

void showSelection(GameApp* app) {
    showShownPlayer(app->screen, gameEntryContext(app, app->screen), app->buttons);
}

void deleteShownProfile(GameApp* app) {
    if (!app->store.profiles[shownProfileIndex(app)].builtIn) {
        deleteProfile(app->store, shownProfileIndex(app));
        stepShownProfile(app, +1);
    }
    showSelection(app);
}

// The stadium choice wraps both ways.
void stepStadium(GameApp* app, int delta) {
    int32_t& stadium = app->store.options.stadium;
    if (delta < 0)
        stadium = stadium <= 0 ? kStadiumCount - 1 : stadium - 1;
    else
        stadium = stadium >= kStadiumCount - 1 ? 0 : stadium + 1;
    reloadChosenFaces(app);
}

void leavePlay(GameApp* app) {
    if (replayEndsHere(app, ReplayEnd::Closed))
        return;
    finishMatchForProfile(app);
    hideHeldBalls(app);
    changeScreen(app, MainMenu);
}

// At either end of the drills only the pressed look is taken back.
void stepDrill(GameApp* app, int delta) {
    const int32_t drill = app->practiceDrill + delta;
    if (drill < 0 || drill > kLastDrill)
        return;
    app->practiceDrill = drill;
    reloadChosenFaces(app);
    setUpPracticeDrill(app);
}

// At either end of the ladders only the pressed look is taken back.
void stepLadder(GameApp* app, int delta) {
    const int32_t page = app->rankingsPage + delta;
    if (page < 0 || page >= kLevelCount)
        return;
    app->rankingsPage = page;
    reloadChosenFaces(app);
    showRankingsLabels(app);
}

// A value at its limit stays; the value pictures are reloaded only when something changed.
void changeOption(GameApp* app, ButtonAction action) {
    GameOptions& o = app->store.options;
    const GameOptions before = o;
    switch (action) {
    case ButtonAction::FewerSets:
        o.setsToWin = o.setsToWin > 1 ? o.setsToWin - 1 : o.setsToWin;
        break;
    case ButtonAction::MoreSets:
        o.setsToWin = o.setsToWin < 3 ? o.setsToWin + 1 : o.setsToWin;
        break;
    case ButtonAction::LowerLevel:
        o.level = o.level > 0 ? o.level - 1 : o.level;
        break;
    case ButtonAction::HigherLevel:
        o.level = o.level < kLevelCount - 1 ? o.level + 1 : o.level;
        break;
    case ButtonAction::SoundToggle:
        o.soundOff ^= 1;
        setSoundMuted(app->resources.sounds, o.soundOff == 1 ? 1 : 0);
        break;
    default:
        return;
    }
    if (o.setsToWin != before.setsToWin || o.level != before.level || o.soundOff != before.soundOff)
        reloadChosenFaces(app);
}

// What the released button does; false when its action means nothing on this screen.
bool performButtonAction(GameApp* app, const ButtonLayout& row, ImageButton* button) {
    switch (row.action) {
    case ButtonAction::None:
        return false;
    case ButtonAction::Back:
        return goBack(app);
    case ButtonAction::Next:
        return goNext(app);
    case ButtonAction::Main:
        goToMainMenu(app);
        return true;
    case ButtonAction::Exhibition:
        changeScreen(app, ExhibitionPlayer1);
        return true;
    case ButtonAction::Tournament:
        openTournament(app);
        return true;
    case ButtonAction::Practice:
        changeScreen(app, PracticePlayer);
        return true;
    case ButtonAction::Rankings:
        app->rankingsPage = app->store.options.level;
        changeScreen(app, Rankings);
        return true;
    case ButtonAction::Options:
        changeScreen(app, Options);
        return true;
    case ButtonAction::Quit:
        quit(app);
        return true;
    case ButtonAction::Credits:
        changeScreen(app, Credits);
        return true;
    case ButtonAction::New:
        openProfileEditor(app, app->screen);
        return true;
    case ButtonAction::Delete:
        deleteShownProfile(app);
        return true;
    case ButtonAction::PreviousProfile:
    case ButtonAction::NextProfile:
        stepShownProfile(app, row.action == ButtonAction::PreviousProfile ? -1 : +1);
        showSelection(app);
        return true;
    case ButtonAction::PreviousStadium:
    case ButtonAction::NextStadium:
        stepStadium(app, row.action == ButtonAction::PreviousStadium ? -1 : +1);
        return true;
    case ButtonAction::Close:
        leavePlay(app);
        return true;
    case ButtonAction::PreviousDrill:
    case ButtonAction::NextDrill:
        stepDrill(app, row.action == ButtonAction::PreviousDrill ? -1 : +1);
        return true;
    case ButtonAction::PreviousLadder:
    case ButtonAction::NextLadder:
        stepLadder(app, row.action == ButtonAction::PreviousLadder ? -1 : +1);
        return true;
    case ButtonAction::FewerSets:
    case ButtonAction::MoreSets:
    case ButtonAction::LowerLevel:
    case ButtonAction::HigherLevel:
    case ButtonAction::SoundToggle:
        changeOption(app, row.action);
        return true;
    case ButtonAction::EditFirstName:
    case ButtonAction::EditLastName:
    case ButtonAction::Cancel:
    case ButtonAction::Ok:
    case ButtonAction::TypeKey:
    case ButtonAction::NextSkinColour:
    case ButtonAction::NextHairColour:
    case ButtonAction::NextColour3:
    case ButtonAction::NextColour4:
    case ButtonAction::TakePoint:
    case ButtonAction::GivePoint:
        performEditorAction(app, row, button);
        return true;
    case ButtonAction::WatchAgain:
        // Without a replay to play the page simply stays.
        watchLastReplay(app);
        return true;
    }
    return false;
}

} // namespace

uint8_t gameStylusDown(GameApp* app, int x, int y) {
    if (uint8_t accepted; playbackTakesStylusDown(app, x, y, accepted))
        return accepted;
    recordStylusDown(app, x, y);
    app->press = {x, y, app->screen};
    bool hit = false;
    for (ImageButton* b : app->buttons) {
        if (!b || b->currentFace == ButtonFace::Static || !hits(b, x, y))
            continue;
        playSound(app->resources.sounds, SoundStroke2);
        b->currentFace = ButtonFace::Pressed;
        hit = true;
        break;
    }
    if (app->screen < kFirstScreen || app->screen > kLastScreen)
        return 0;
    if (isPlayScreen(app->screen) && !hit)
        return static_cast<uint8_t>(
            tapCourt(app->resources.match, app->resources.engine->camera, x, y));
    return 1;
}

bool gameStylusUp(GameApp* app, int dx, int dy) {
    if (playbackTakesStylusUp(app))
        return true;
    recordStylusUp(app, dx, dy);
    if (app->screen == Logo || app->screen == Credits) {
        changeScreen(app, MainMenu);
        return true;
    }
    const ReleasedButton released = releasePressedButton(app->screen, app->buttons);
    // A tap on a result's picture, not on its buttons, opens the match's statistics.
    if (!released.row && showsMatchResult(app->screen) && app->press.screen == app->screen) {
        changeScreen(app, Statistics);
        return true;
    }
    return released.row && performButtonAction(app, *released.row, released.button);
}
