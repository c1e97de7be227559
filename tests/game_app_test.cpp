// The game object through the real shell, the headless display, the built data.pak and a real
// players.dat in a temporary folder.
#include "app/game_app.h"
#include "app/shell.h"
#include "assets/file_error.h"
#include "assets/image_button.h"
#include "assets/model.h"
#include "assets/sound_set.h"
#include "core/game_random.h"
#include "frontend/profile_store.h"
#include "frontend/screen_entry.h"
#include "match/match.h"
#include "platform/sound_output.h"
#include "temp_dir.h"
#include "view/engine3d.h"

#include <gtest/gtest.h>

namespace {

struct GameAppFixture : ::testing::Test {
    TempDir home;
    Platform* platform = platformOpenHeadless();
    SoundOutput* sound = soundOutputOpenHeadless();
    GameApp* app = nullptr;
    ShellState shell;
    void SetUp() override {
        seedGameRandom(11);
        GameSetup setup;
        setup.dataFolder = fromUtf8(std::string(DROVANA_BUILD_DIR) + "/");
        setup.playersPath = home.file("players.dat");
        setup.output = sound;
        setup.platform = platform;
        app = makeGameApp(setup);
        shell.platform = platform;
        shellStartClock(shell);
    }
    void TearDown() override {
        destroyGameApp(app);
        soundOutputClose(sound);
        platformClose(platform);
    }
    void runFrames(int frames) {
        for (int i = 0; i < frames; ++i) {
            platform->clockNow += 20000;
            ASSERT_TRUE(shellPass(shell, app));
        }
    }
    void tap(int x, int y) {
        platformInjectEvent(platform, {PlatformEventType::StylusDown, x, y});
        platformInjectEvent(platform, {PlatformEventType::StylusUp, x, y});
        runFrames(1);
    }
    // The current screen's button that does `action` (of that index), or the label that shows
    // `label`; null when the screen has none.
    ImageButton* button(ButtonAction action, int32_t index = 0) {
        return buttonDoing(app->screen, app->buttons, action, index);
    }
    ImageButton* label(LabelSource source) {
        return buttonShowing(app->screen, app->buttons, source);
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
    // Which of the trophy screen's laurels show, top first.
    std::vector<bool> laurelsShown() {
        std::vector<bool> shown;
        for (const ImageButton* b :
             buttonsWhere([](const ButtonLayout& row) { return row.choice; }))
            shown.push_back(b->face[2] != nullptr);
        return shown;
    }
    // Makes a user profile through the editor, from the screen that has a New button.
    void makeProfileThroughEditor() {
        tapButton(ButtonAction::New);
        ASSERT_EQ(app->screen, NewPlayer);
        tapButton(ButtonAction::Ok);
    }
};

TEST(GameAppStart, MissingArchiveRaisesCannotOpenFileWithoutLeaks) {
    TempDir dir;
    GameSetup setup;
    setup.dataFolder = fromUtf8(dir.path.string() + "/");
    setup.playersPath = dir.file("players.dat");
    try {
        makeGameApp(setup);
        FAIL() << "no FileError";
    } catch (const FileError& error) {
        EXPECT_EQ(error.message, u"Cannot open file");
    }
}

TEST_F(GameAppFixture, StartsAtTheLogoAndTheFirstTapOpensTheMainMenu) {
    EXPECT_EQ(app->screen, Logo);
    EXPECT_TRUE(app->buttons.empty());
    runFrames(2);
    tap(120, 160);
    EXPECT_EQ(app->screen, MainMenu);
    EXPECT_EQ(app->buttons.size(), 7u);
}

TEST_F(GameAppFixture, MainMenuButtonsShowOnlyWhilePressedAndTheCreditsAreaIsHidden) {
    goToMainMenu();
    for (const ImageButton* b : app->buttons)
        EXPECT_EQ(b->currentFace, ButtonFace::Normal);
    const ImageButton* exhibition = button(ButtonAction::Exhibition);
    const auto shownOnTheButton = [&] {
        std::vector<uint16_t> pixels;
        for (int y = exhibition->top; y < exhibition->top + exhibition->height; ++y)
            for (int x = exhibition->left; x < exhibition->left + exhibition->width; ++x)
                pixels.push_back(platformDisplayPixel(platform, x, y));
        return pixels;
    };
    const std::vector<uint16_t> unpressed = shownOnTheButton();
    platformInjectEvent(platform, {PlatformEventType::StylusDown, 150, 140});
    runFrames(1);
    EXPECT_EQ(exhibition->currentFace, ButtonFace::Pressed);
    EXPECT_NE(shownOnTheButton(), unpressed); // the frame that follows the press shows it
    platformInjectEvent(platform, {PlatformEventType::StylusUp, 0, 0}); // released elsewhere
    runFrames(1);
    EXPECT_EQ(app->screen, ExhibitionPlayer1);
    tapButton(ButtonAction::Main);
    tap(200, 300);
    EXPECT_EQ(app->screen, Credits);
    tap(10, 10);
    EXPECT_EQ(app->screen, MainMenu);
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

TEST_F(GameAppFixture, BuiltInProfileHidesDeleteAndArrowsStepThroughUsedProfiles) {
    goToMainMenu();
    tapButton(ButtonAction::Exhibition);
    EXPECT_EQ(button(ButtonAction::Delete)->currentFace, ButtonFace::Static);
    tapButton(ButtonAction::NextProfile); // player 1 takes slot 1 and pushes player 2 on to slot 2
    EXPECT_EQ(app->store.options.player1Profile, 1);
    EXPECT_EQ(app->store.options.player2Profile, 2);
    EXPECT_EQ(*label(LabelSource::FirstName)->label, WideString(profile(1).firstName));
    tapButton(ButtonAction::PreviousProfile);
    tapButton(ButtonAction::PreviousProfile);
    EXPECT_EQ(app->store.options.player1Profile, 4); // wraps past the unused slots
    EXPECT_EQ(*label(LabelSource::FirstName)->label, WideString(profile(4).firstName));
}

TEST_F(GameAppFixture, ExhibitionRunsFromTheMenusToTheResultAndBack) {
    goToMainMenu();
    tapButton(ButtonAction::Exhibition);
    tapButton(ButtonAction::Next);
    ASSERT_EQ(app->screen, ExhibitionPlayer2);
    tapButton(ButtonAction::Next);
    ASSERT_EQ(app->screen, ExhibitionStadium);
    tapButton(ButtonAction::NextStadium); // 1
    tapButton(ButtonAction::PreviousStadium);
    tapButton(ButtonAction::PreviousStadium); // 0, then round to 4
    EXPECT_EQ(app->store.options.stadium, 4);
    tapButton(ButtonAction::Next);
    ASSERT_EQ(app->screen, ExhibitionMatch);
    EXPECT_EQ(app->resources.match->setsToWin, 1);
    // A finished match waits for its pause.
    app->resources.match->matchOver = 1;
    app->resources.match->setsWon[1] = 1;
    app->resources.match->pointDelay = 1 << 16;
    gameUpdate(app, 1);
    EXPECT_EQ(app->screen, ExhibitionMatch);
    finishMatch(false);
    EXPECT_EQ(app->screen, ExhibitionLost);
    tapButton(ButtonAction::Main);
    EXPECT_EQ(app->screen, MainMenu);
}

TEST_F(GameAppFixture, TournamentClimbsFiveRoundsToTheChampionAndShowsItsLaurels) {
    goToMainMenu();
    tapButton(ButtonAction::Tournament); // no user profile yet: the editor opens
    ASSERT_EQ(app->screen, NewPlayer);
    tapButton(ButtonAction::Ok);
    ASSERT_EQ(app->screen, TournamentPlayer);
    const int me = app->store.options.player1Profile;
    EXPECT_EQ(me, 5);
    tapButton(ButtonAction::Next);
    tapButton(ButtonAction::Next);
    ASSERT_EQ(app->screen, TournamentMatch);
    for (int round = 0; round < 5; ++round) {
        EXPECT_EQ(app->tournamentRound, round);
        EXPECT_EQ(profile(app->store.options.player2Profile).rank[0], 4 - round);
        finishMatch(true);
        if (round < 4) {
            ASSERT_EQ(app->screen, TournamentRoundWon);
            EXPECT_EQ(app->tournamentRound, round + 1);
            tapButton(ButtonAction::Next);
            ASSERT_EQ(app->screen, TournamentMatch);
        }
    }
    ASSERT_EQ(app->screen, TournamentChampion);
    EXPECT_EQ(app->tournamentRound, 5);
    EXPECT_EQ(profile(me).rank[0], 0);
    EXPECT_EQ(profile(4).rank[0], 1);
    tapButton(ButtonAction::Next);
    ASSERT_EQ(app->screen, Trophies);
    EXPECT_EQ(laurelsShown(), (std::vector<bool>{true, true, true, true, true}));
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

TEST_F(GameAppFixture, TournamentLostInRoundTwoShowsTwoLaurels) {
    goToMainMenu();
    tapButton(ButtonAction::Tournament);
    tapButton(ButtonAction::Ok);
    tapButton(ButtonAction::Next);
    tapButton(ButtonAction::Next);
    finishMatch(true);
    tapButton(ButtonAction::Next);
    finishMatch(true);
    tapButton(ButtonAction::Next);
    finishMatch(false);
    ASSERT_EQ(app->screen, TournamentLost);
    EXPECT_EQ(app->tournamentRound, 2);
    tapButton(ButtonAction::Next);
    ASSERT_EQ(app->screen, Trophies);
    EXPECT_EQ(laurelsShown(), (std::vector<bool>{false, false, false, true, true}));
}

TEST_F(GameAppFixture, EditorCancelFromTheTournamentPathReturnsToTheMainMenu) {
    goToMainMenu();
    tapButton(ButtonAction::Tournament);
    ASSERT_EQ(app->screen, NewPlayer);
    tapButton(ButtonAction::Cancel);
    EXPECT_EQ(app->screen, MainMenu);
    EXPECT_EQ(profile(5).level, -1);
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

TEST_F(GameAppFixture, EditorPointsAndSwatchesAndOkSavesTheNewProfile) {
    goToMainMenu();
    tapButton(ButtonAction::Exhibition);
    tapButton(ButtonAction::New);
    const int slot = app->editor.slot;
    tapButton(ButtonAction::GivePoint, 0); // to run speed: the counter already stands at 50
    EXPECT_EQ(app->editor.skillPoints[0], 5);
    tapButton(ButtonAction::TakePoint, 1); // from first serve
    tapButton(ButtonAction::GivePoint, 0); // now run speed can take it
    EXPECT_EQ(app->editor.skillPoints[0], 6);
    EXPECT_EQ(app->editor.skillPoints[1], 4);
    tapButton(ButtonAction::NextSkinColour);
    EXPECT_EQ(profile(slot).skinColour, kProfilePalette[kSkinPalette + 1]);
    EXPECT_EQ(button(ButtonAction::NextSkinColour)->fillColour[0],
              kProfilePalette[kSkinPalette + 1]);
    tapButton(ButtonAction::Ok);
    EXPECT_EQ(app->screen, ExhibitionPlayer1);
    EXPECT_EQ(app->store.options.player1Profile, slot);
    EXPECT_EQ(profile(slot).level, 0);
    EXPECT_EQ(profile(slot).skills.runSpeed, static_cast<Fixed>((4.0f + 0.15f * 6) * 65536.0f));
    EXPECT_EQ(button(ButtonAction::Delete)->currentFace,
              ButtonFace::Normal); // a user profile can be deleted
    ProfileStore reloaded;
    reloaded.path = home.file("players.dat");
    ASSERT_EQ(loadProfiles(reloaded), ProfilesLoad::Loaded);
    EXPECT_EQ(reloaded.profiles[slot].level, 0);
    tapButton(ButtonAction::Delete);
    EXPECT_EQ(profile(slot).level, -1);
    EXPECT_NE(app->store.options.player1Profile, slot);
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
    makeProfileThroughEditor();
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

TEST_F(GameAppFixture, OptionsChangeWithinTheirLimitsAndAreSavedOnLeaving) {
    goToMainMenu();
    tapButton(ButtonAction::Options);
    ASSERT_EQ(app->screen, Options);
    tapButton(ButtonAction::FewerSets); // at 1: nothing
    EXPECT_EQ(app->store.options.setsToWin, 1);
    for (int i = 0; i < 3; ++i)
        tapButton(ButtonAction::MoreSets);
    EXPECT_EQ(app->store.options.setsToWin, 3);
    tapButton(ButtonAction::HigherLevel);
    EXPECT_EQ(app->store.options.level, 1);
    tapButton(ButtonAction::SoundToggle);
    EXPECT_EQ(app->resources.sounds->muted, 1);
    tapButton(ButtonAction::SoundToggle);
    EXPECT_EQ(app->resources.sounds->muted, 0);
    tapButton(ButtonAction::Main);
    ASSERT_EQ(app->screen, MainMenu);
    ProfileStore reloaded;
    reloaded.path = home.file("players.dat");
    ASSERT_EQ(loadProfiles(reloaded), ProfilesLoad::Loaded);
    EXPECT_EQ(reloaded.options.setsToWin, 3);
    EXPECT_EQ(reloaded.options.level, 1);
    EXPECT_EQ(reloaded.options.soundOff, 0);
}

TEST_F(GameAppFixture, RankingsPagesStopAtTheEndsAndPracticeAlwaysMeetsProfileFour) {
    goToMainMenu();
    tapButton(ButtonAction::Rankings);
    ASSERT_EQ(app->screen, Rankings);
    EXPECT_EQ(*label(LabelSource::RankRow)->label, u"Osmund Vex");
    tapButton(ButtonAction::PreviousLadder);
    EXPECT_EQ(app->rankingsPage, 0);
    for (int i = 0; i < 6; ++i)
        tapButton(ButtonAction::NextLadder);
    EXPECT_EQ(app->rankingsPage, 4);
    tapButton(ButtonAction::Main);
    tapButton(ButtonAction::Practice);
    ASSERT_EQ(app->screen, PracticePlayer);
    tapButton(ButtonAction::Next);
    ASSERT_EQ(app->screen, Practice);
    EXPECT_EQ(app->store.options.player2Profile, 4);
    EXPECT_EQ(app->resources.match->isPractice, 1);
    tapButton(ButtonAction::PreviousDrill); // at 0: nothing
    EXPECT_EQ(app->practiceDrill, 0);
    tapButton(ButtonAction::NextDrill);
    EXPECT_EQ(app->practiceDrill, 1);
    EXPECT_EQ(app->resources.match->practiceMode, PracticeMode::Return);
    tapButton(ButtonAction::Close);
    EXPECT_EQ(app->screen, MainMenu);
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

TEST_F(GameAppFixture, QuitSavesAndClosesTheWindow) {
    goToMainMenu();
    std::filesystem::remove(home.file("players.dat"));
    const ImageButton* quit = button(ButtonAction::Quit);
    ASSERT_EQ(gameStylusDown(app, quit->left + 5, quit->top + 5), 1);
    gameStylusUp(app, 0, 0);
    EXPECT_TRUE(std::filesystem::exists(home.file("players.dat")));
    PlatformEvent e;
    bool closed = false;
    while (platformPollEvent(platform, e))
        closed = closed || e.type == PlatformEventType::Close;
    EXPECT_TRUE(closed);
}

TEST_F(GameAppFixture, PlaysTheSoundsOfEachStepInTheirOrderWithinTheFrame) {
    changeScreen(app, ExhibitionMatch);
    // Both players left to the computer, so the match plays itself.
    app->resources.match->players[0].isComputer = 1;
    size_t heard = 0;
    for (int frame = 0; frame < 3000 && heard < 40; ++frame) {
        const size_t before = sound->requests.size();
        gameUpdate(app, 3276);
        const StepSounds& step = app->resources.match->stepSounds;
        const std::vector<int> played(sound->requests.begin() + static_cast<long>(before),
                                      sound->requests.end());
        ASSERT_EQ(played, std::vector<int>(step.ids, step.ids + step.count)) << "frame " << frame;
        heard += played.size();
    }
    EXPECT_GE(heard, 40u);
}

} // namespace
