// stylus_handling.cpp: presses and releases of the stylus, and what each screen's buttons do.
#include "app/game_app.h"
#include "app/profile_editor.h"

#include "assets/image_button.h"
#include "assets/sound_set.h"
#include "frontend/court_taps.h"
#include "frontend/ladders.h"
#include "frontend/profile_store.h"
#include "frontend/screen_entry.h"
#include "frontend/screen_tables.h"
#include "match/match.h"
#include "platform/platform.h"
#include "view/engine3d.h"

namespace {

constexpr int kReleasedFace = 0;
constexpr int kPressedFace = 1;
constexpr int kStaticFace = 2;

// Slots shared by the selection screens.
constexpr int kNewSlot = 0;
constexpr int kDeleteSlot = 1;
constexpr int kRankingsTitleSlot = 1;
constexpr int32_t kLastDrill = 3;

bool isPlayScreen(ScreenId screen) {
    return screen == ExhibitionMatch || screen == TournamentMatch || screen == Practice;
}

ImageButton* buttonAt(GameApp* app, int slot) {
    if (slot < 0 || static_cast<size_t>(slot) >= app->buttons.size())
        return nullptr;
    return app->buttons[static_cast<size_t>(slot)];
}

bool hits(const ImageButton* b, int x, int y) {
    return x >= b->left && x < b->left + b->width && y >= b->top && y < b->top + b->height;
}

// The first of `slots` still showing its pressed face goes back to normal; -1 when none.
template <size_t N> int releasedSlot(GameApp* app, const int (&slots)[N]) {
    for (int slot : slots) {
        ImageButton* b = buttonAt(app, slot);
        if (b && b->currentFace == kPressedFace) {
            b->currentFace = kReleasedFace;
            return slot;
        }
    }
    return -1;
}

void goTo(GameApp* app, ScreenId screen) {
    changeScreen(app, screen);
    gameRender(app);
}

void reloadFace(GameApp* app, int slot) {
    reloadChosenFace(app->resources.engine->jpeg, app->resources.pak, app->screen, slot,
                     buttonAt(app, slot), gameEntryContext(app, app->screen));
}

// The profile editor opens on a fresh slot, or nothing happens when all ten are used.
void openProfileEditor(GameApp* app, ScreenId returnTo) {
    const int32_t slot = createProfile(app->store);
    if (slot < 0) {
        gameRender(app);
        return;
    }
    startProfileEditor(app, slot);
    app->returnScreen = returnTo;
    goTo(app, NewPlayer);
}

// Selection screens: which player is shown, and where its labels sit.
struct SelectionLayout {
    int which;     // 1 or 2
    int labelSlot; // first name; last name and level follow
};

SelectionLayout selectionLayout(ScreenId screen) {
    switch (screen) {
    case ExhibitionPlayer1:
        return {1, 8};
    case ExhibitionPlayer2:
        return {2, 8};
    default:
        return {1, 7};
    }
}

int32_t shownProfileIndex(GameApp* app, int which) {
    return which == 1 ? app->store.options.player1Profile : app->store.options.player2Profile;
}

void refreshSelectionLabels(GameApp* app) {
    const SelectionLayout layout = selectionLayout(app->screen);
    const MatchPlayer& shown = layout.which == 1 ? app->player1 : app->player2;
    const int32_t level =
        shown.profileLevel >= 0 && shown.profileLevel < kLevelCount ? shown.profileLevel : 0;
    const char16_t* texts[3] = {shown.firstName, shown.lastName, kLevelNames[level]};
    for (int i = 0; i < 3; ++i)
        if (ImageButton* b = buttonAt(app, layout.labelSlot + i))
            setImageButtonLabel(b, texts[i]);
}

void refreshDeleteButton(GameApp* app) {
    const int which = selectionLayout(app->screen).which;
    if (ImageButton* b = buttonAt(app, kDeleteSlot))
        b->currentFace = app->store.profiles[shownProfileIndex(app, which)].builtIn ? kStaticFace
                                                                                    : kReleasedFace;
}

void stepShownProfile(GameApp* app, int delta) {
    const int which = selectionLayout(app->screen).which;
    const int changed = cycleProfile(app->store, which, delta);
    if (changed & 1)
        applyProfile(app, 1);
    if (changed & 2)
        applyProfile(app, 2);
    refreshSelectionLabels(app);
}

void deleteShownProfile(GameApp* app) {
    const int which = selectionLayout(app->screen).which;
    if (!app->store.profiles[shownProfileIndex(app, which)].builtIn) {
        deleteProfile(app->store, shownProfileIndex(app, which));
        stepShownProfile(app, +1);
    }
}

void releaseSelection(GameApp* app) {
    const bool tournament = app->screen == TournamentPlayer;
    const int slot = releasedSlot(app, {0, 1, 2, 3, 4, 5, 6});
    switch (slot) {
    case kNewSlot:
        if (!tournament)
            openProfileEditor(app, app->screen);
        return;
    case kDeleteSlot:
        if (tournament)
            return;
        deleteShownProfile(app);
        refreshDeleteButton(app);
        gameRender(app);
        return;
    case 2: // Back
        goTo(app, app->screen == ExhibitionPlayer2 ? ExhibitionPlayer1 : MainMenu);
        return;
    case 3: // Main
        goTo(app, MainMenu);
        return;
    case 4: { // Next
        const ScreenId next = app->screen == ExhibitionPlayer1   ? ExhibitionPlayer2
                              : app->screen == ExhibitionPlayer2 ? ExhibitionStadium
                              : tournament                       ? TournamentStadium
                                                                 : Practice;
        goTo(app, next);
        return;
    }
    case 5:
    case 6:
        stepShownProfile(app, slot == 5 ? -1 : +1);
        if (!tournament)
            refreshDeleteButton(app);
        gameRender(app);
        return;
    default:
        return;
    }
}

void releaseMainMenu(GameApp* app) {
    switch (releasedSlot(app, {0, 1, 2, 3, 4, 5, 6})) {
    case 0:
        goTo(app, ExhibitionPlayer1);
        return;
    case 1: {
        bool userMade = false;
        for (const PlayerProfile& p : app->store.profiles)
            userMade = userMade || (profileUsed(p) && !p.builtIn);
        if (userMade)
            goTo(app, TournamentPlayer);
        else
            openProfileEditor(app, TournamentPlayer);
        return;
    }
    case 2:
        goTo(app, PracticePlayer);
        return;
    case 3:
        app->rankingsPage = app->store.options.level;
        goTo(app, Rankings);
        return;
    case 4:
        goTo(app, Options);
        return;
    case 5:
        saveProfiles(app->store);
        gameRender(app);
        if (app->platform)
            app->platform->events.push_back({PlatformEventType::Close});
        return;
    case 6:
        goTo(app, Credits);
        return;
    default:
        return;
    }
}

void releaseStadium(GameApp* app) {
    const bool tournament = app->screen == TournamentStadium;
    int32_t& stadium = app->store.options.stadium;
    switch (releasedSlot(app, {0, 1, 2, 3, 4, 5})) {
    case 1:
        goTo(app, tournament ? TournamentPlayer : ExhibitionPlayer2);
        return;
    case 2:
        goTo(app, MainMenu);
        return;
    case 3:
        if (tournament)
            app->tournamentRound = 0;
        goTo(app, tournament ? TournamentMatch : ExhibitionMatch);
        return;
    case 4: // the stadium choice wraps both ways
        stadium = stadium <= 0 ? kStadiumCount - 1 : stadium - 1;
        break;
    case 5:
        stadium = stadium >= kStadiumCount - 1 ? 0 : stadium + 1;
        break;
    default:
        return;
    }
    reloadFace(app, 0);
    gameRender(app);
}

void leavePlay(GameApp* app) {
    finishMatchForProfile(app);
    hideHeldBalls(app);
    goTo(app, MainMenu);
}

void changeDrill(GameApp* app) {
    reloadFace(app, 1);
    setUpPracticeDrill(app);
    gameRender(app);
}

void releasePlay(GameApp* app) {
    if (app->screen != Practice) {
        if (releasedSlot(app, {7}) == 7)
            leavePlay(app);
        return;
    }
    switch (releasedSlot(app, {0, 1, 2, 3})) {
    case 0:
        if (app->practiceDrill > 0) {
            app->practiceDrill -= 1;
            changeDrill(app);
        } else {
            gameRender(app);
        }
        return;
    case 2:
        if (app->practiceDrill < kLastDrill) {
            app->practiceDrill += 1;
            changeDrill(app);
        } else {
            gameRender(app);
        }
        return;
    case 3:
        leavePlay(app);
        return;
    default:
        return;
    }
}

void releaseResult(GameApp* app) {
    switch (releasedSlot(app, {0, 1})) {
    case 0:
        goTo(app, MainMenu);
        return;
    case 1:
        if (app->screen == TournamentRoundWon)
            goTo(app, TournamentMatch);
        else if (app->screen == TournamentLost || app->screen == TournamentChampion)
            goTo(app, Trophies);
        return;
    default:
        return;
    }
}

void showRankingsPage(GameApp* app) {
    reloadFace(app, kRankingsTitleSlot);
    showRankingsLabels(app);
    gameRender(app);
}

void releaseRankings(GameApp* app) {
    switch (releasedSlot(app, {0, 2, 3})) {
    case 0:
        if (app->rankingsPage >= 1) {
            app->rankingsPage -= 1;
            showRankingsPage(app);
        }
        return;
    case 2:
        if (app->rankingsPage <= kLevelCount - 2) {
            app->rankingsPage += 1;
            showRankingsPage(app);
        }
        return;
    case 3:
        goTo(app, MainMenu);
        return;
    default:
        return;
    }
}

void releaseOptions(GameApp* app) {
    GameOptions& o = app->store.options;
    const GameOptions before = o;
    switch (releasedSlot(app, {0, 2, 3, 5, 7, 8})) {
    case 0:
        o.setsToWin = o.setsToWin > 1 ? o.setsToWin - 1 : o.setsToWin;
        break;
    case 2:
        o.setsToWin = o.setsToWin < 3 ? o.setsToWin + 1 : o.setsToWin;
        break;
    case 3:
        o.level = o.level > 0 ? o.level - 1 : o.level;
        break;
    case 5:
        o.level = o.level < kLevelCount - 1 ? o.level + 1 : o.level;
        break;
    case 7:
        o.soundOff ^= 1;
        setSoundMuted(app->resources.sounds, o.soundOff == 1 ? 1 : 0);
        break;
    case 8:
        saveProfiles(app->store);
        goTo(app, MainMenu);
        return;
    default:
        return;
    }
    gameRender(app);
    if (o.setsToWin != before.setsToWin || o.level != before.level ||
        o.soundOff != before.soundOff) {
        reloadFace(app, 1);
        reloadFace(app, 4);
        reloadFace(app, 6);
    }
}

} // namespace

uint8_t gameStylusDown(GameApp* app, int x, int y) {
    app->pressX = x;
    app->pressY = y;
    bool hit = false;
    for (ImageButton* b : app->buttons) {
        if (!b || b->currentFace == kStaticFace || !hits(b, x, y))
            continue;
        playSound(app->resources.sounds, SoundStroke2);
        b->currentFace = kPressedFace;
        gameRender(app);
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

void gameStylusUp(GameApp* app, int, int) {
    switch (app->screen) {
    case Logo:
    case Credits:
        goTo(app, MainMenu);
        return;
    case MainMenu:
        releaseMainMenu(app);
        return;
    case ExhibitionPlayer1:
    case ExhibitionPlayer2:
    case TournamentPlayer:
    case PracticePlayer:
        releaseSelection(app);
        return;
    case ExhibitionStadium:
    case TournamentStadium:
        releaseStadium(app);
        return;
    case ExhibitionMatch:
    case TournamentMatch:
    case Practice:
        releasePlay(app);
        return;
    case Trophies:
    case ExhibitionWon:
    case TournamentRoundWon:
    case ExhibitionLost:
    case TournamentLost:
    case TournamentChampion:
        releaseResult(app);
        return;
    case Rankings:
        releaseRankings(app);
        return;
    case Options:
        releaseOptions(app);
        return;
    case NewPlayer:
        releaseProfileEditor(app);
        return;
    default:
        return;
    }
}
