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
    // A tap in the middle of the current screen's button in `slot`.
    void tapSlot(size_t slot) {
        ASSERT_LT(slot, app->buttons.size());
        const ImageButton* b = app->buttons[slot];
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
    // Makes a user profile through the editor, from the screen that has a New button.
    void makeProfileThroughEditor() {
        tapSlot(0); // New
        ASSERT_EQ(app->screen, NewPlayer);
        tapSlot(3); // Ok
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
        EXPECT_EQ(b->currentFace, 0);
    platformInjectEvent(platform, {PlatformEventType::StylusDown, 150, 140});
    runFrames(1);
    EXPECT_EQ(app->buttons[0]->currentFace, 1);
    platformInjectEvent(platform, {PlatformEventType::StylusUp, 0, 0}); // released elsewhere
    runFrames(1);
    EXPECT_EQ(app->screen, ExhibitionPlayer1);
    tapSlot(3); // Main
    tap(200, 300);
    EXPECT_EQ(app->screen, Credits);
    tap(10, 10);
    EXPECT_EQ(app->screen, MainMenu);
}

TEST_F(GameAppFixture, SelectionCaptionBlinksAQuarterSecondAtATime) {
    goToMainMenu();
    tapSlot(0);
    ASSERT_EQ(app->screen, ExhibitionPlayer1);
    app->screenTime = 19660; // 0.3 s: 4 x 0.3 = 1.2, odd
    gameUpdate(app, 1);
    EXPECT_EQ(app->buttons[7]->currentFace, 0);
    app->screenTime = 39321; // 0.6 s: 2.4, even
    gameUpdate(app, 1);
    EXPECT_EQ(app->buttons[7]->currentFace, 1);
}

TEST_F(GameAppFixture, BuiltInProfileHidesDeleteAndArrowsStepThroughUsedProfiles) {
    goToMainMenu();
    tapSlot(0);
    EXPECT_EQ(app->buttons[1]->currentFace, 2);
    tapSlot(6); // right arrow: player 1 takes slot 1 and pushes player 2 on to slot 2
    EXPECT_EQ(app->store.options.player1Profile, 1);
    EXPECT_EQ(app->store.options.player2Profile, 2);
    EXPECT_EQ(*app->buttons[8]->label, WideString(profile(1).firstName));
    tapSlot(5);
    tapSlot(5);
    EXPECT_EQ(app->store.options.player1Profile, 4); // wraps past the unused slots
    EXPECT_EQ(WideString(app->player1.firstName), WideString(profile(4).firstName));
}

TEST_F(GameAppFixture, ExhibitionRunsFromTheMenusToTheResultAndBack) {
    goToMainMenu();
    tapSlot(0);
    tapSlot(4);
    ASSERT_EQ(app->screen, ExhibitionPlayer2);
    tapSlot(4);
    ASSERT_EQ(app->screen, ExhibitionStadium);
    tapSlot(5); // right: stadium 1
    tapSlot(4);
    tapSlot(4); // left twice: 0, then 4
    EXPECT_EQ(app->store.options.stadium, 4);
    tapSlot(3);
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
    tapSlot(0);
    EXPECT_EQ(app->screen, MainMenu);
}

TEST_F(GameAppFixture, TournamentClimbsFiveRoundsToTheChampionAndShowsItsLaurels) {
    goToMainMenu();
    tapSlot(1); // no user profile yet: the editor opens
    ASSERT_EQ(app->screen, NewPlayer);
    tapSlot(3); // Ok
    ASSERT_EQ(app->screen, TournamentPlayer);
    const int me = app->store.options.player1Profile;
    EXPECT_EQ(me, 5);
    tapSlot(4);
    tapSlot(3); // stadium Next
    ASSERT_EQ(app->screen, TournamentMatch);
    for (int round = 0; round < 5; ++round) {
        EXPECT_EQ(app->tournamentRound, round);
        EXPECT_EQ(profile(app->store.options.player2Profile).rank[0], 4 - round);
        finishMatch(true);
        if (round < 4) {
            ASSERT_EQ(app->screen, TournamentRoundWon);
            EXPECT_EQ(app->tournamentRound, round + 1);
            tapSlot(1);
            ASSERT_EQ(app->screen, TournamentMatch);
        }
    }
    ASSERT_EQ(app->screen, TournamentChampion);
    EXPECT_EQ(app->tournamentRound, 5);
    EXPECT_EQ(profile(me).rank[0], 0);
    EXPECT_EQ(profile(4).rank[0], 1);
    tapSlot(1);
    ASSERT_EQ(app->screen, Trophies);
    for (size_t slot = 1; slot <= 5; ++slot)
        EXPECT_NE(app->buttons[slot]->face[2], nullptr);
}

TEST_F(GameAppFixture, TournamentLostInRoundTwoShowsTwoLaurels) {
    goToMainMenu();
    tapSlot(1);
    tapSlot(3);
    tapSlot(4);
    tapSlot(3);
    finishMatch(true);
    tapSlot(1);
    finishMatch(true);
    tapSlot(1);
    finishMatch(false);
    ASSERT_EQ(app->screen, TournamentLost);
    EXPECT_EQ(app->tournamentRound, 2);
    tapSlot(1);
    ASSERT_EQ(app->screen, Trophies);
    for (size_t slot = 1; slot <= 5; ++slot)
        EXPECT_EQ(app->buttons[slot]->face[2] != nullptr, slot >= 4) << slot;
}

TEST_F(GameAppFixture, EditorCancelFromTheTournamentPathReturnsToTheMainMenu) {
    goToMainMenu();
    tapSlot(1);
    ASSERT_EQ(app->screen, NewPlayer);
    tapSlot(2);
    EXPECT_EQ(app->screen, MainMenu);
    EXPECT_EQ(profile(5).level, -1);
}

TEST_F(GameAppFixture, EditorKeyboardTypesDeletesAndNeverLeavesAnEmptyName) {
    goToMainMenu();
    tapSlot(0);
    tapSlot(0); // New
    ASSERT_EQ(app->screen, NewPlayer);
    const int slot = app->editProfile;
    tapSlot(0); // first-name field: the keyboard opens over everything
    const ImageButton* keyboard = app->buttons[4];
    ASSERT_EQ(keyboard->currentFace, 0);
    EXPECT_EQ(keyboard->top, 98);
    EXPECT_EQ(app->buttons[3]->currentFace, 2);
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
    EXPECT_EQ(app->buttons[4]->currentFace, 2);
    EXPECT_EQ(app->buttons[3]->currentFace, 0);
}

TEST_F(GameAppFixture, EditorPointsAndSwatchesAndOkSavesTheNewProfile) {
    goToMainMenu();
    tapSlot(0);
    tapSlot(0);
    const int slot = app->editProfile;
    tapSlot(10); // give to run speed: the counter already stands at 50
    EXPECT_EQ(app->skillPoints[0], 5);
    tapSlot(11); // take from first serve
    tapSlot(10); // now run speed can take it
    EXPECT_EQ(app->skillPoints[0], 6);
    EXPECT_EQ(app->skillPoints[1], 4);
    tapSlot(5); // skin swatch
    EXPECT_EQ(profile(slot).skinColour, kProfilePalette[kSkinPalette + 1]);
    EXPECT_EQ(app->buttons[5]->fillColour[0], kProfilePalette[kSkinPalette + 1]);
    tapSlot(3); // Ok
    EXPECT_EQ(app->screen, ExhibitionPlayer1);
    EXPECT_EQ(app->store.options.player1Profile, slot);
    EXPECT_EQ(profile(slot).level, 0);
    EXPECT_EQ(profile(slot).runSpeed, static_cast<Fixed>((4.0f + 0.15f * 6) * 65536.0f));
    EXPECT_EQ(app->buttons[1]->currentFace, 0); // a user profile can be deleted
    ProfileStore reloaded;
    reloaded.path = home.file("players.dat");
    ASSERT_EQ(loadProfiles(reloaded), ProfilesLoad::Loaded);
    EXPECT_EQ(reloaded.profiles[slot].level, 0);
    tapSlot(1); // Delete
    EXPECT_EQ(profile(slot).level, -1);
    EXPECT_NE(app->store.options.player1Profile, slot);
}

TEST_F(GameAppFixture, LeavingTheEditorGivesPlayerOneItsOwnColoursBack) {
    goToMainMenu();
    tapSlot(0);
    tapSlot(4);
    ASSERT_EQ(app->screen, ExhibitionPlayer2);
    tapSlot(0);
    tapSlot(5); // the new profile's skin on figure 1
    tapSlot(2); // Cancel back to player 2's screen
    ASSERT_EQ(app->screen, ExhibitionPlayer2);
    const uint32_t skin = profile(app->store.options.player1Profile).skinColour;
    const auto& colour = app->resources.engine->playerModels[0]->objects[0].materials[0].colour;
    EXPECT_EQ(colour[0] | colour[1] << 8 | colour[2] << 16 | uint32_t(colour[3]) << 24, skin);
}

TEST_F(GameAppFixture, LearningFromOneMatchCarriesIntoTheNext) {
    goToMainMenu();
    tapSlot(0);
    makeProfileThroughEditor();
    tapSlot(4);
    tapSlot(4);
    tapSlot(3);
    ASSERT_EQ(app->screen, ExhibitionMatch);
    app->resources.match->players[0].forehand += 1000;
    const Fixed learnt = app->resources.match->players[0].forehand;
    finishMatch(true);
    EXPECT_EQ(app->player1.forehand, learnt);
    tapSlot(0);
    tapSlot(0);
    tapSlot(4);
    tapSlot(4);
    tapSlot(3);
    EXPECT_EQ(app->resources.match->players[0].forehand, learnt);
}

TEST_F(GameAppFixture, OptionsChangeWithinTheirLimitsAndAreSavedOnLeaving) {
    goToMainMenu();
    tapSlot(4);
    ASSERT_EQ(app->screen, Options);
    tapSlot(0); // fewer sets at 1: nothing
    EXPECT_EQ(app->store.options.setsToWin, 1);
    tapSlot(2);
    tapSlot(2);
    tapSlot(2);
    EXPECT_EQ(app->store.options.setsToWin, 3);
    tapSlot(5);
    EXPECT_EQ(app->store.options.level, 1);
    tapSlot(7);
    EXPECT_EQ(app->resources.sounds->muted, 1);
    tapSlot(7);
    EXPECT_EQ(app->resources.sounds->muted, 0);
    tapSlot(8);
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
    tapSlot(3);
    ASSERT_EQ(app->screen, Rankings);
    EXPECT_EQ(app->buttons.size(), 14u);
    EXPECT_EQ(*app->buttons[4]->label, u"Osmund Vex");
    tapSlot(0);
    EXPECT_EQ(app->rankingsPage, 0);
    for (int i = 0; i < 6; ++i)
        tapSlot(2);
    EXPECT_EQ(app->rankingsPage, 4);
    tapSlot(3);
    tapSlot(2);
    ASSERT_EQ(app->screen, PracticePlayer);
    tapSlot(4);
    ASSERT_EQ(app->screen, Practice);
    EXPECT_EQ(app->store.options.player2Profile, 4);
    EXPECT_EQ(app->resources.match->isPractice, 1);
    tapSlot(0); // previous drill at 0: nothing
    EXPECT_EQ(app->practiceDrill, 0);
    tapSlot(2);
    EXPECT_EQ(app->practiceDrill, 1);
    EXPECT_EQ(app->resources.match->practiceMode, PracticeMode::Return);
    tapSlot(3); // close
    EXPECT_EQ(app->screen, MainMenu);
}

TEST_F(GameAppFixture, QuitSavesAndClosesTheWindow) {
    goToMainMenu();
    std::filesystem::remove(home.file("players.dat"));
    const ImageButton* quit = app->buttons[5];
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
