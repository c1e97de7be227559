// person_screens.cpp: taps through the menus at the middle of the buttons a person would press,
// found by what they do.
#include "person_screens.h"

#include "app/game_app.h"
#include "assets/image_button.h"
#include "frontend/screen_entry.h"
#include "frontend/screen_id.h"
#include "frontend/screen_tables.h"
#include "session/script_session.h"

namespace {

// The logo has no buttons: any tap leaves it.
constexpr int kLogoTapX = 120, kLogoTapY = 160;
// More taps than any choice on these screens can need.
constexpr int kMaxStepTaps = 12;

// A tap at the middle of the current screen's button that does `action`, as a person presses
// what it reads on the screen; false when the screen has no such button.
bool press(ScriptSession& session, ButtonAction action) {
    GameApp& app = *session.app;
    const ImageButton* b = buttonDoing(app.screen, app.buttons, action);
    if (!b)
        return false;
    deliverTap(session, b->left + b->width / 2, b->top + b->height / 2);
    return true;
}

bool pressTo(ScriptSession& session, ButtonAction action, ScreenId expected, const char* name,
             std::string& error) {
    if (press(session, action) && session.app->screen == expected)
        return true;
    error = std::string("the tap did not reach ") + name;
    return false;
}

// Presses lower or higher until the value is the wanted one.
bool stepValue(ScriptSession& session, const int32_t& value, int wanted, ButtonAction lower,
               ButtonAction higher) {
    for (int i = 0; i < kMaxStepTaps && value != wanted; ++i)
        if (!press(session, value < wanted ? higher : lower))
            return false;
    return value == wanted;
}

} // namespace

bool startExhibition(ScriptSession& session, int level, int setsToWin, std::string& error) {
    GameOptions& options = session.app->store.options;
    deliverTap(session, kLogoTapX, kLogoTapY);
    if (session.app->screen != MainMenu) {
        error = "the tap did not leave the logo";
        return false;
    }
    if (!pressTo(session, ButtonAction::Options, Options, "Options", error))
        return false;
    if (!stepValue(session, options.setsToWin, setsToWin, ButtonAction::FewerSets,
                   ButtonAction::MoreSets) ||
        !stepValue(session, options.level, level, ButtonAction::LowerLevel,
                   ButtonAction::HigherLevel)) {
        error = "Options did not take the level or the sets";
        return false;
    }
    if (!pressTo(session, ButtonAction::Main, MainMenu, "the main menu from Options", error) ||
        !pressTo(session, ButtonAction::Exhibition, ExhibitionPlayer1, "the exhibition", error) ||
        !pressTo(session, ButtonAction::New, NewPlayer, "the profile editor", error) ||
        !pressTo(session, ButtonAction::Ok, ExhibitionPlayer1, "player 1 after Ok", error) ||
        !pressTo(session, ButtonAction::Next, ExhibitionPlayer2, "the opponent's choice", error))
        return false;
    // The built-in players stand in the first slots, one per level.
    for (int i = 0; i < kMaxStepTaps && options.player2Profile != level; ++i)
        press(session, ButtonAction::NextProfile);
    if (options.player2Profile != level) {
        error = "the level's built-in player could not be chosen";
        return false;
    }
    return pressTo(session, ButtonAction::Next, ExhibitionStadium, "the stadium", error) &&
           pressTo(session, ButtonAction::Next, ExhibitionMatch, "the match", error);
}
