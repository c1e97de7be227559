// The game object through the real shell, the headless display, the built data.pak and a real
// players.dat in a temporary folder: what a person's taps cannot show from outside. The screens,
// the options, the editor's file and whole matches are played through the driver (tests/e2e).
#include "app/game_app.h"
#include "assets/image_button.h"
#include "assets/model.h"
#include "frontend/screen_entry.h"
#include "game_fixture.h"
#include "match/match.h"
#include "view/engine3d.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

namespace {

struct GameAppFixture : ::testing::Test {
    RunningGame game{{.dataFolder = DROVANA_BUILD_DIR}};
    GameApp* app = game.app.get();

    void runFrames(int frames) { ASSERT_TRUE(game.runFrames(frames)); }
    void tap(int x, int y) { ASSERT_TRUE(game.tap(x, y)); }
    // The current screen's button that does `action` (of that index); null when it has none.
    ImageButton* button(ButtonAction action, int32_t index = 0) {
        return buttonDoing(app->screen, app->buttons, action, index);
    }
    // A tap in the middle of the current screen's button that does `action`.
    void tapButton(ButtonAction action, int32_t index = 0) {
        const ImageButton* b = button(action, index);
        ASSERT_NE(b, nullptr) << "screen " << app->screen;
        tap(b->left + b->width / 2, b->top + b->height / 2);
    }
    void goToMainMenu() {
        runFrames(1);
        tap(120, 160);
        ASSERT_EQ(app->screen, MainMenu);
    }
    // Ends the match in play as won or lost by player 1 and runs the pause out.
    void finishMatch(bool won) {
        Match* m = app->resources.match;
        m->matchOver = 1;
        m->setsWon[0] = won ? m->setsToWin : 0;
        m->setsWon[1] = won ? 0 : m->setsToWin;
        m->pointDelay = 0;
        runFrames(1);
    }
    PlayerProfile& profile(int slot) { return app->store.profiles[slot]; }
    // From the first selection screen through the opponent and the stadium into the match.
    void playExhibition() {
        for (int screen = 0; screen < 3; ++screen)
            tapButton(ButtonAction::Next);
    }
    // The current screen's buttons whose table rows pass `test`, in slot order.
    template <typename Test> std::vector<ImageButton*> buttonsWhere(Test test) {
        std::vector<ImageButton*> found;
        forEachScreenButton(app->screen, app->buttons,
                            [&](const ButtonLayout& row, ImageButton* b) {
                                if (test(row))
                                    found.push_back(b);
                            });
        return found;
    }
};

TEST_F(GameAppFixture, MenuButtonShowsPressedOnTheNextFrameAndActsWhereverReleased) {
    goToMainMenu();
    const ImageButton* exhibition = button(ButtonAction::Exhibition);
    const auto shownOnTheButton = [&] {
        std::vector<uint16_t> pixels;
        for (int y = exhibition->top; y < exhibition->top + exhibition->height; ++y)
            for (int x = exhibition->left; x < exhibition->left + exhibition->width; ++x)
                pixels.push_back(platformDisplayPixel(game.platform.get(), x, y));
        return pixels;
    };
    const std::vector<uint16_t> unpressed = shownOnTheButton();
    EXPECT_EQ(exhibition->currentFace, ButtonFace::Normal);
    platformInjectEvent(game.platform.get(), {PlatformEventType::StylusDown, 150, 140});
    runFrames(1);
    EXPECT_EQ(exhibition->currentFace, ButtonFace::Pressed);
    EXPECT_NE(shownOnTheButton(), unpressed);
    platformInjectEvent(game.platform.get(), {PlatformEventType::StylusUp, 0, 0}); // elsewhere
    runFrames(1);
    EXPECT_EQ(app->screen, ExhibitionPlayer1);
}

TEST_F(GameAppFixture, SelectionCaptionBlinksAQuarterSecondAtATime) {
    goToMainMenu();
    tapButton(ButtonAction::Exhibition);
    ASSERT_EQ(app->screen, ExhibitionPlayer1);
    const ImageButton* caption = buttonsWhere([](const ButtonLayout& row) {
                                     return row.startRule == StartRule::Blinks;
                                 }).at(0);
    app->screenTime = 19660; // 0.3 s: 4 x 0.3 = 1.2, odd
    gameUpdate(app, 1);
    EXPECT_EQ(caption->currentFace, ButtonFace::Normal);
    app->screenTime = 39321; // 0.6 s: 2.4, even
    gameUpdate(app, 1);
    EXPECT_EQ(caption->currentFace, ButtonFace::Pressed);
}

TEST_F(GameAppFixture, AFinishedMatchEndsOnlyOnceItsPauseHasRunOut) {
    goToMainMenu();
    tapButton(ButtonAction::Exhibition);
    playExhibition();
    ASSERT_EQ(app->screen, ExhibitionMatch);
    app->resources.match->matchOver = 1;
    app->resources.match->setsWon[1] = 1;
    app->resources.match->pointDelay = 1 << 16;
    gameUpdate(app, 1);
    EXPECT_EQ(app->screen, ExhibitionMatch);
    finishMatch(false);
    EXPECT_EQ(app->screen, ExhibitionLost);
}

// The caption of a change of ends is drawn through the pause once the players stand at their new
// ends, and goes with the pause; after a game that changes no ends none is drawn. (Which points
// change the ends is EndsCaption's part, in match_hud_test.)
TEST_F(GameAppFixture, ChangeOfEndsCaptionIsDrawnInThePauseOfAChangeOnly) {
    // Where "Change of ends" stands: fourteen 8 x 16 cells centred on (120, 120); each pixel as
    // 8-bit red, green and blue.
    const auto caption = [&] {
        std::vector<int> channels;
        for (int y = 112; y < 128; ++y)
            for (int x = 64; x < 176; ++x) {
                const int p = platformDisplayPixel(game.platform.get(), x, y);
                const int r = p >> 11, g = (p >> 5) & 63, b = p & 31;
                channels.insert(channels.end(),
                                {r << 3 | r >> 2, g << 2 | g >> 4, b << 3 | b >> 2});
            }
        return channels;
    };
    // After player 1 wins a game from `gamesBefore`: the share of the caption's place that the
    // pause shows darkened to half of what the first frame after it shows, as a text cell draws
    // its blank pixels (a step of 8 either way is one unit of the display).
    const auto darkenedAfterAGame = [&](int32_t gamesBefore) {
        changeScreen(app, ExhibitionMatch);
        Match* m = app->resources.match;
        m->games[0] = gamesBefore;
        for (int point = 0; point < 4; ++point)
            awardPoint(m, 1);
        runFrames(126); // 2.5 s: the next point was laid out at 2 s
        EXPECT_EQ(m->setupDelay, 0);
        const std::vector<int> paused = caption();
        m->pointDelay = 1;
        runFrames(1);
        const std::vector<int> after = caption();
        int darkened = 0;
        for (size_t i = 0; i < paused.size(); i += 3) {
            bool halved = true;
            for (size_t c = i; c < i + 3; ++c)
                halved = halved && std::abs(paused[c] - after[c] / 2) <= 8 && after[c] > 24;
            darkened += halved ? 1 : 0;
        }
        return static_cast<double>(darkened) / static_cast<double>(paused.size() / 3);
    };
    EXPECT_GT(darkenedAfterAGame(0), 0.6);  // 1-0: the ends change
    EXPECT_LT(darkenedAfterAGame(1), 0.05); // 2-0: they stay
}

// Played tournaments (end to end) seldom get this far.
TEST_F(GameAppFixture, TheFifthWonRoundMakesAChampion) {
    goToMainMenu();
    tapButton(ButtonAction::Tournament); // no user profile yet: the editor opens
    tapButton(ButtonAction::Ok);
    tapButton(ButtonAction::Next);
    tapButton(ButtonAction::Next);
    ASSERT_EQ(app->screen, TournamentMatch);
    app->tournamentRound = 4;
    finishMatch(true);
    EXPECT_EQ(app->screen, TournamentChampion);
    EXPECT_EQ(app->tournamentRound, 5);
    tapButton(ButtonAction::Next);
    EXPECT_EQ(app->screen, Trophies);
}

TEST_F(GameAppFixture, TrophiesShowALaurelPerRoundWonFromTheBottomUp) {
    for (int won = 0; won <= 5; ++won) {
        app->tournamentRound = won;
        changeScreen(app, Trophies);
        std::vector<bool> shown;
        for (const ImageButton* b :
             buttonsWhere([](const ButtonLayout& row) { return row.choice; }))
            shown.push_back(b->face[2] != nullptr);
        std::vector<bool> expected(5, false);
        std::fill(expected.end() - won, expected.end(), true);
        EXPECT_EQ(shown, expected) << won << " won";
    }
}

// A tap on the result picture, off its buttons, opens the statistics of the match just played;
// the page goes back to the picture and on where the picture's buttons lead.
TEST_F(GameAppFixture, TheResultPictureOpensTheStatisticsWhichGoOnAsTheResultDoes) {
    goToMainMenu();
    tapButton(ButtonAction::Exhibition);
    playExhibition();
    app->resources.match->tally.players[0].pointsWon = 24;
    finishMatch(false);
    ASSERT_EQ(app->screen, ExhibitionLost);
    tap(120, 150);
    ASSERT_EQ(app->screen, Statistics);
    EXPECT_EQ(app->finishedMatch.tally.players[0].pointsWon, 24);
    EXPECT_EQ(toUtf8(app->finishedMatch.firstNames[0]),
              toUtf8(profile(app->store.options.player1Profile).firstName));
    EXPECT_EQ(button(ButtonAction::Next)->currentFace, ButtonFace::Static) << "an exhibition's "
                                                                              "result has no Next";
    tapButton(ButtonAction::Back);
    EXPECT_EQ(app->screen, ExhibitionLost);
    tap(120, 150);
    tapButton(ButtonAction::Main);
    EXPECT_EQ(app->screen, MainMenu);

    // A tournament round won: the match is already set up for the next round, the page is not.
    tapButton(ButtonAction::Tournament);
    tapButton(ButtonAction::Ok);
    tapButton(ButtonAction::Next);
    tapButton(ButtonAction::Next);
    app->resources.match->tally.players[1].aces = 3;
    finishMatch(true);
    ASSERT_EQ(app->screen, TournamentRoundWon);
    EXPECT_EQ(app->resources.match->tally.players[1].aces, 0);
    tap(120, 150);
    ASSERT_EQ(app->screen, Statistics);
    EXPECT_EQ(app->finishedMatch.tally.players[1].aces, 3);
    tapButton(ButtonAction::Next);
    EXPECT_EQ(app->screen, TournamentMatch);
    EXPECT_EQ(app->tournamentRound, 1);
}

// A press made in the match, held while it ends, is no tap on the result picture.
TEST_F(GameAppFixture, APressFromTheMatchReleasedOnTheResultOpensNothing) {
    goToMainMenu();
    tapButton(ButtonAction::Exhibition);
    playExhibition();
    Match* m = app->resources.match;
    m->matchOver = 1;
    m->setsWon[0] = m->setsToWin;
    m->pointDelay = 0;
    const ImageButton* close = button(ButtonAction::Close);
    ASSERT_EQ(gameStylusDown(app, close->left + 2, close->top + 2), 1);
    runFrames(1);
    ASSERT_EQ(app->screen, ExhibitionWon);
    EXPECT_FALSE(gameStylusUp(app, 0, 0));
    EXPECT_EQ(app->screen, ExhibitionWon);
}

TEST_F(GameAppFixture, EditorKeyboardTypesDeletesAndNeverLeavesAnEmptyName) {
    goToMainMenu();
    tapButton(ButtonAction::Exhibition);
    tapButton(ButtonAction::New);
    ASSERT_EQ(app->screen, NewPlayer);
    const int slot = app->editor.slot;
    tapButton(ButtonAction::EditFirstName); // the keyboard opens over everything
    const ImageButton* keyboard = button(ButtonAction::TypeKey);
    ASSERT_EQ(keyboard->currentFace, ButtonFace::Normal);
    EXPECT_EQ(keyboard->top, 98);
    EXPECT_EQ(button(ButtonAction::Ok)->currentFace, ButtonFace::Static);
    // "New" plus nine more: the twelfth character is refused.
    for (int i = 0; i < 9; ++i)
        tap(keyboard->left + 3, keyboard->top + 2); // column 0, row 0: "!"
    EXPECT_EQ(WideString(profile(slot).firstName), u"New!!!!!!!!");
    // Column 15 of row 5 types a space only if room is left; delete the whole name instead.
    for (int i = 0; i < 12; ++i)
        tap(keyboard->left + 7 + 14 * 14 + 3, keyboard->top + 5 + 6 * 14 + 7 + 3); // delete key
    EXPECT_EQ(WideString(profile(slot).firstName), u"");
    tap(keyboard->left + 10, keyboard->top + 5 + 6 * 14 + 10); // done
    EXPECT_EQ(WideString(profile(slot).firstName), u" ");
    EXPECT_EQ(keyboard->currentFace, ButtonFace::Static);
    EXPECT_EQ(button(ButtonAction::Ok)->currentFace, ButtonFace::Normal);
}

// Each swatch steps round its palette; the profile and the swatch both take each colour.
TEST_F(GameAppFixture, EditorSwatchesStepRoundTheirPalettes) {
    goToMainMenu();
    tapButton(ButtonAction::Exhibition);
    tapButton(ButtonAction::New);
    const PlayerProfile& edited = profile(app->editor.slot);
    const struct {
        ButtonAction action;
        uint32_t PlayerProfile::*colour;
        int colours;
    } swatches[] = {{ButtonAction::NextSkinColour, &PlayerProfile::skinColour, 3},
                    {ButtonAction::NextHairColour, &PlayerProfile::hairColour, 3},
                    {ButtonAction::NextColour3, &PlayerProfile::colour3, 4},
                    {ButtonAction::NextColour4, &PlayerProfile::colour4, 4}};
    for (const auto& swatch : swatches) {
        const uint32_t first = edited.*swatch.colour;
        for (int step = 1; step <= swatch.colours; ++step) {
            tapButton(swatch.action);
            EXPECT_EQ(button(swatch.action)->fillColour[0], edited.*swatch.colour);
            EXPECT_EQ(edited.*swatch.colour == first, step == swatch.colours) << step;
        }
    }
}

TEST_F(GameAppFixture, LeavingTheEditorGivesPlayerOneItsOwnColoursBack) {
    goToMainMenu();
    tapButton(ButtonAction::Exhibition);
    tapButton(ButtonAction::Next);
    ASSERT_EQ(app->screen, ExhibitionPlayer2);
    tapButton(ButtonAction::New);
    tapButton(ButtonAction::NextSkinColour); // the new profile's skin on figure 1
    tapButton(ButtonAction::Cancel);         // back to player 2's screen
    ASSERT_EQ(app->screen, ExhibitionPlayer2);
    const uint32_t skin = profile(app->store.options.player1Profile).skinColour;
    const auto& colour = app->resources.engine->playerModels[0]->objects[0].materials[0].colour;
    EXPECT_EQ(colour[0] | colour[1] << 8 | colour[2] << 16 | uint32_t(colour[3]) << 24, skin);
}

TEST_F(GameAppFixture, LearningFromOneMatchCarriesIntoTheNext) {
    goToMainMenu();
    tapButton(ButtonAction::Exhibition);
    tapButton(ButtonAction::New);
    tapButton(ButtonAction::Ok);
    playExhibition();
    ASSERT_EQ(app->screen, ExhibitionMatch);
    app->resources.match->players[0].skills.forehand += 1000;
    const Fixed learnt = app->resources.match->players[0].skills.forehand;
    finishMatch(true);
    EXPECT_EQ(profile(app->store.options.player1Profile).skills.forehand, learnt);
    tapButton(ButtonAction::Main);
    tapButton(ButtonAction::Exhibition);
    playExhibition();
    EXPECT_EQ(app->resources.match->players[0].skills.forehand, learnt);
}

TEST_F(GameAppFixture, LadderPagesAndDrillsStopAtTheirEnds) {
    goToMainMenu();
    tapButton(ButtonAction::Rankings);
    tapButton(ButtonAction::PreviousLadder);
    EXPECT_EQ(app->rankingsPage, 0);
    for (int i = 0; i < 6; ++i)
        tapButton(ButtonAction::NextLadder);
    EXPECT_EQ(app->rankingsPage, 4);
    tapButton(ButtonAction::Main);
    tapButton(ButtonAction::Practice);
    tapButton(ButtonAction::Next);
    ASSERT_EQ(app->screen, Practice);
    tapButton(ButtonAction::PreviousDrill);
    EXPECT_EQ(app->practiceDrill, 0);
    for (int i = 0; i < 5; ++i)
        tapButton(ButtonAction::NextDrill);
    EXPECT_EQ(app->practiceDrill, 3);
    EXPECT_EQ(app->resources.match->practiceMode, PracticeMode::NetRally);
}

// Every button a table gives an action is released on its screen, as entered afresh, and its
// action runs there.
TEST_F(GameAppFixture, EveryButtonsActionIsHandledOnItsScreen) {
    for (const ScreenLayout& screen : allScreenLayouts())
        for (size_t slot = 0; slot < screen.buttons.size(); ++slot) {
            if (screen.buttons[slot].action == ButtonAction::None)
                continue;
            changeScreen(app, screen.id);
            app->buttons[slot]->currentFace = ButtonFace::Pressed;
            EXPECT_TRUE(gameStylusUp(app, 0, 0)) << "screen " << screen.id << " slot " << slot;
        }
}

TEST_F(GameAppFixture, PlaysTheSoundsOfEachStepInTheirOrderWithinTheFrame) {
    changeScreen(app, ExhibitionMatch);
    // Both players left to the computer, so the match plays itself.
    app->resources.match->players[0].isComputer = 1;
    const std::vector<int>& requests = game.sound->requests;
    size_t heard = 0;
    for (int frame = 0; frame < 3000 && heard < 40; ++frame) {
        const size_t before = requests.size();
        gameUpdate(app, 3276);
        const StepSounds& step = app->resources.match->stepSounds;
        const std::vector<int> played(requests.begin() + static_cast<long>(before), requests.end());
        ASSERT_EQ(played, std::vector<int>(step.ids, step.ids + step.count)) << "frame " << frame;
        heard += played.size();
    }
    EXPECT_GE(heard, 40u);
}

} // namespace
