// person_screens.cpp: taps through the menus at the centres of the buttons a person would press.
#include "person_screens.h"

#include "app/game_app.h"
#include "frontend/screen_id.h"
#include "session/script_session.h"

namespace {

struct Tap {
    int x, y;
};

constexpr Tap kLeaveLogo = {120, 160};
constexpr Tap kOptionsButton = {114, 261};
constexpr Tap kFewerSets = {85, 128};
constexpr Tap kMoreSets = {146, 128};
constexpr Tap kLowerLevel = {99, 189};
constexpr Tap kHigherLevel = {181, 189};
constexpr Tap kMainButton = {120, 306};
constexpr Tap kExhibitionButton = {180, 147};
constexpr Tap kNewButton = {200, 138};
constexpr Tap kNextOrOk = {214, 306};
constexpr Tap kNextProfile = {148, 264};
// More taps than any choice on these screens can need.
constexpr int kMaxStepTaps = 12;

void tap(ScriptSession& session, Tap at) {
    deliverTap(session, at.x, at.y);
}

bool tapTo(ScriptSession& session, Tap at, ScreenId expected, const char* name,
           std::string& error) {
    tap(session, at);
    if (session.app->screen == expected)
        return true;
    error = std::string("the tap did not reach ") + name;
    return false;
}

// Taps lower or higher until the value is the wanted one.
bool stepValue(ScriptSession& session, const int32_t& value, int wanted, Tap lower, Tap higher) {
    for (int i = 0; i < kMaxStepTaps && value != wanted; ++i)
        tap(session, value < wanted ? higher : lower);
    return value == wanted;
}

} // namespace

bool startExhibition(ScriptSession& session, int level, int setsToWin, std::string& error) {
    GameOptions& options = session.app->store.options;
    if (!tapTo(session, kLeaveLogo, MainMenu, "the main menu", error) ||
        !tapTo(session, kOptionsButton, Options, "Options", error))
        return false;
    if (!stepValue(session, options.setsToWin, setsToWin, kFewerSets, kMoreSets) ||
        !stepValue(session, options.level, level, kLowerLevel, kHigherLevel)) {
        error = "Options did not take the level or the sets";
        return false;
    }
    if (!tapTo(session, kMainButton, MainMenu, "the main menu from Options", error) ||
        !tapTo(session, kExhibitionButton, ExhibitionPlayer1, "the exhibition", error) ||
        !tapTo(session, kNewButton, NewPlayer, "the profile editor", error) ||
        !tapTo(session, kNextOrOk, ExhibitionPlayer1, "player 1 after Ok", error) ||
        !tapTo(session, kNextOrOk, ExhibitionPlayer2, "the opponent's choice", error))
        return false;
    // The built-in players stand in the first slots, one per level.
    for (int i = 0; i < kMaxStepTaps && options.player2Profile != level; ++i)
        tap(session, kNextProfile);
    if (options.player2Profile != level) {
        error = "the level's built-in player could not be chosen";
        return false;
    }
    return tapTo(session, kNextOrOk, ExhibitionStadium, "the stadium", error) &&
           tapTo(session, kNextOrOk, ExhibitionMatch, "the match", error);
}
