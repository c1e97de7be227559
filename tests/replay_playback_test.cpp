// Replays of matches and drills played through the real game and the real shell: what the game
// recorded plays again to the same state, score and sounds, the watcher cannot change it, and
// watching leaves the game as it was.
#include "app/game_app.h"
#include "app/replay_playback.h"
#include "app/replay_recording.h"
#include "app/shell.h"
#include "assets/image_button.h"
#include "core/display.h"
#include "core/game_random.h"
#include "frontend/screen_entry.h"
#include "match/match.h"
#include "match/state_hash.h"
#include "platform/sound_output.h"
#include "render/frame_buffer.h"
#include "temp_dir.h"
#include "view/engine3d.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

using Bytes = std::vector<uint8_t>;

Bytes fileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

struct ReplayFixture : ::testing::Test {
    TempDir home;
    Platform* platform = platformOpenHeadless();
    SoundOutput* sound = soundOutputOpenHeadless();
    GameApp* app = nullptr;
    ShellState shell;
    uint32_t jitter = 1;

    void SetUp() override { open(); }
    void TearDown() override { close(); }
    void open() {
        seedGameRandom(23);
        GameSetup setup;
        setup.dataFolder = fromUtf8(std::string(DROVANA_BUILD_DIR) + "/");
        setup.playersPath = home.file("players.dat");
        setup.output = sound;
        setup.platform = platform;
        app = makeGameApp(setup);
        shell = ShellState{};
        shell.platform = platform;
        shellStartClock(shell);
    }
    void close() {
        destroyGameApp(app);
        app = nullptr;
        soundOutputClose(sound);
        platformClose(platform);
    }
    // Frames of a desktop's clock: 60 a second give or take some tens of microseconds, and now
    // and then a late one the shell splits into two steps.
    void runFrames(int frames) {
        for (int i = 0; i < frames; ++i) {
            jitter = jitter * 1664525u + 1013904223u;
            const uint64_t late = (jitter >> 10) % 1000 == 0 ? 40000 : 0;
            platform->clockNow += 16667 - 40 + (jitter >> 8) % 81 + late; // microseconds
            ASSERT_TRUE(shellPass(shell, app));
        }
    }
    void press(int x, int y) {
        platformInjectEvent(platform, {PlatformEventType::StylusDown, x, y});
    }
    void release(int x, int y) {
        platformInjectEvent(platform, {PlatformEventType::StylusUp, x, y});
    }
    void tap(int x, int y) {
        press(x, y);
        release(x, y);
        runFrames(1);
    }
    void tapButton(ButtonAction action) {
        const ImageButton* b = buttonDoing(app->screen, app->buttons, action);
        ASSERT_NE(b, nullptr) << "screen " << app->screen;
        tap(b->left + b->width / 2, b->top + b->height / 2);
    }
    void toMainMenu() {
        runFrames(1);
        tap(120, 160);
        ASSERT_EQ(app->screen, MainMenu);
    }
    // A person's taps for a few seconds: aims at the far half, runs on the near half, and a press
    // held over some frames and released elsewhere.
    void playByHand() {
        const int spots[][2] = {{120, 70}, {60, 250}, {180, 90}, {150, 260}, {90, 60}};
        for (const auto& spot : spots) {
            runFrames(40);
            tap(spot[0], spot[1]);
        }
        press(100, 80);
        runFrames(5);
        release(110, 90);
        runFrames(60);
    }
    // The rest of the match left to the computer as drovana-script's auto play does, with the
    // window in the background so nothing is drawn.
    void handOverToTheComputerUntil(ScreenId playing) {
        platform->foreground = false;
        for (int i = 0; i < 400000 && app->screen == playing; ++i) {
            if (!app->resources.match->players[0].isComputer) {
                app->resources.match->players[0].isComputer = 1;
                recordPlayer1Control(app, true);
            }
            runFrames(1);
        }
        platform->foreground = true;
    }
    std::string newestReplay() {
        const std::vector<std::string> kept = listReplays(home.file("replays"));
        return kept.empty() ? std::string() : kept.back();
    }
    PlaybackResult playHeadless(const std::string& path) {
        ReplayFile replay;
        std::string error;
        EXPECT_TRUE(readReplayFile(path, replay, error)) << error;
        return playReplayHeadless(app, std::move(replay));
    }
    std::vector<int> soundsSince(size_t first) {
        return std::vector<int>(sound->requests.begin() + static_cast<std::ptrdiff_t>(first),
                                sound->requests.end());
    }
};

// What a whole exhibition, played by hand and then by the computer, recorded; played again from
// a fresh start of the game it ends in the same state, with the same sounds in the same order.
TEST_F(ReplayFixture, AWholeExhibitionPlaysAgainExactly) {
    toMainMenu();
    tapButton(ButtonAction::Exhibition);
    tapButton(ButtonAction::Next);
    tapButton(ButtonAction::Next);
    tapButton(ButtonAction::NextStadium);
    const size_t firstSound = sound->requests.size();
    tapButton(ButtonAction::Next);
    ASSERT_EQ(app->screen, ExhibitionMatch);
    playByHand();
    handOverToTheComputerUntil(ExhibitionMatch);
    ASSERT_TRUE(app->screen == ExhibitionWon || app->screen == ExhibitionLost);
    const Match played = *app->resources.match;
    const std::vector<int> heard = soundsSince(firstSound);
    const std::string path = newestReplay();
    ASSERT_FALSE(path.empty());
    const Bytes playersBefore = fileBytes(home.file("players.dat"));

    close();
    platform = platformOpenHeadless();
    sound = soundOutputOpenHeadless();
    open();
    toMainMenu();
    const size_t replaySound = sound->requests.size();
    const PlaybackResult result = playHeadless(path);
    EXPECT_TRUE(result.exact);
    EXPECT_EQ(result.end, ReplayEnd::MatchOver);
    EXPECT_EQ(result.stateHash, matchStateHash(played));
    EXPECT_EQ(std::memcmp(&result.endState.tally, &played.tally, sizeof played.tally), 0);
    EXPECT_EQ(result.endState.setsWon[0], played.setsWon[0]);
    EXPECT_EQ(result.endState.setsWon[1], played.setsWon[1]);
    // The button's click at the start belongs to the menus; from the match on they are the same.
    EXPECT_EQ(soundsSince(replaySound), std::vector<int>(heard.begin() + 1, heard.end()));
    // Watching taught nobody anything and changed no file.
    EXPECT_EQ(app->screen, MainMenu);
    EXPECT_EQ(fileBytes(home.file("players.dat")), playersBefore);
    EXPECT_EQ(listReplays(home.file("replays")).size(), 1u);
}

// A drill whose drill is changed by its arrows and which is left by the close button.
TEST_F(ReplayFixture, APracticeWithItsDrillChangedAndClosedPlaysAgainExactly) {
    toMainMenu();
    tapButton(ButtonAction::Practice);
    tapButton(ButtonAction::Next);
    ASSERT_EQ(app->screen, Practice);
    playByHand();
    tapButton(ButtonAction::NextDrill);
    tapButton(ButtonAction::NextDrill);
    playByHand();
    const int32_t drill = app->practiceDrill;
    const uint64_t hash = matchStateHash(*app->resources.match);
    tapButton(ButtonAction::Close);
    ASSERT_EQ(app->screen, MainMenu);
    const std::string path = newestReplay();
    ASSERT_FALSE(path.empty());
    const Bytes playersBefore = fileBytes(home.file("players.dat"));
    tapButton(ButtonAction::Options);

    seedGameRandom(77); // whatever the generator holds, the replay brings its own
    const PlaybackResult result = playHeadless(path);
    EXPECT_TRUE(result.exact);
    EXPECT_EQ(result.end, ReplayEnd::Closed);
    EXPECT_EQ(result.stateHash, hash);
    EXPECT_EQ(result.endState.practiceMode, PracticeMode::BaselineRally);
    EXPECT_EQ(app->screen, Options); // back where it was watched from
    EXPECT_EQ(app->practiceDrill, drill);
    EXPECT_EQ(fileBytes(home.file("players.dat")), playersBefore);
}

// A tournament round: the opponent comes from the replay, not from today's ladder.
TEST_F(ReplayFixture, ATournamentRoundPlaysAgainAgainstItsOwnOpponent) {
    app->store.profiles[5] = app->store.profiles[1];
    app->store.profiles[5].builtIn = 0;
    app->store.options.player1Profile = 5;
    toMainMenu();
    tapButton(ButtonAction::Tournament);
    tapButton(ButtonAction::Next);
    tapButton(ButtonAction::Next);
    ASSERT_EQ(app->screen, TournamentMatch);
    const int32_t opponent = app->store.options.player2Profile;
    playByHand();
    handOverToTheComputerUntil(TournamentMatch);
    const std::string path = newestReplay();
    ASSERT_FALSE(path.empty());
    ReplayFile replay;
    std::string error;
    ASSERT_TRUE(readReplayFile(path, replay, error)) << error;
    EXPECT_EQ(replay.start.mode, ReplayMode::Tournament);
    EXPECT_EQ(replay.start.options.player2Profile, opponent);
    tapButton(ButtonAction::Main);
    for (int ladder = 0; ladder < 5; ++ladder) // today's ladders would pick someone else
        std::swap(app->store.profiles[opponent].rank[ladder], app->store.profiles[0].rank[ladder]);
    const PlaybackResult result = playReplayHeadless(app, std::move(replay));
    EXPECT_TRUE(result.exact);
    EXPECT_EQ(result.end, ReplayEnd::MatchOver);
    EXPECT_EQ(app->tournamentRound, 0);
}

// Watching in real time: 1x follows the clock, the watcher's taps step the speed and reach
// nothing else, the close button leaves, and the game is as it was before.
TEST_F(ReplayFixture, TheWatcherChangesTheSpeedAndLeavesButNotTheMatch) {
    toMainMenu();
    tapButton(ButtonAction::Practice);
    tapButton(ButtonAction::Next);
    playByHand();
    runFrames(600); // some ten seconds in all
    tapButton(ButtonAction::Close);
    const std::string path = newestReplay();
    const Match before = *app->resources.match;
    const RandomState random = gameRandomState();
    const Bytes playersBefore = fileBytes(home.file("players.dat"));

    ASSERT_TRUE(watchLastReplay(app));
    EXPECT_EQ(app->screen, Practice);
    EXPECT_EQ(playbackSpeed(app), 1);
    runFrames(60);
    const int64_t secondAt1x = playbackTimePlayed(app);
    EXPECT_NEAR(secondAt1x, 65536, 2 * 1092); // a second of the clock, a second of the replay
    tap(120, 100);                            // on the court: the speed, not the match
    EXPECT_EQ(playbackSpeed(app), 4);
    runFrames(60);
    // The tap's own frame ran at 4x too: 61 frames.
    EXPECT_NEAR(playbackTimePlayed(app) - secondAt1x, 4 * 61 * 65536 / 60, 4 * 1092);
    tap(10, 300);
    EXPECT_EQ(playbackSpeed(app), 16);
    tap(200, 200);
    EXPECT_EQ(playbackSpeed(app), 1);
    tapButton(ButtonAction::Close);
    EXPECT_FALSE(replayPlaying(app));
    EXPECT_EQ(app->screen, MainMenu);
    EXPECT_EQ(matchStateHash(*app->resources.match), matchStateHash(before));
    const RandomState after = gameRandomState();
    EXPECT_EQ(std::memcmp(&after, &random, sizeof random), 0);
    EXPECT_EQ(fileBytes(home.file("players.dat")), playersBefore);

    // Watched to its end at 16x with the watcher tapping all over: as recorded.
    ASSERT_TRUE(watchLastReplay(app));
    tap(120, 100);
    tap(120, 100);
    for (int i = 0; i < 2000 && replayPlaying(app); ++i) {
        runFrames(1);
        if (i % 50 == 0) { // two taps: the speed goes round to where it was
            for (int k = 0; k < 3; ++k)
                tap(30 + i % 180, 40 + i % 250);
        }
    }
    EXPECT_FALSE(replayPlaying(app));
    EXPECT_TRUE(lastPlaybackResult(app).exact);
    EXPECT_EQ(lastPlaybackResult(app).end, ReplayEnd::Closed);
}

// The statistics page's "Watch again" plays the page's own match: not a replay whose name sorts
// later (copied from another machine, or made before the clock was set back), and not the last
// one kept when this match's own was lost; then the page stays.
TEST_F(ReplayFixture, WatchAgainPlaysThePagesOwnMatchOrNothing) {
    toMainMenu();
    tapButton(ButtonAction::Practice);
    tapButton(ButtonAction::Next);
    runFrames(30);
    tapButton(ButtonAction::Close);
    std::filesystem::copy_file(newestReplay(),
                               home.file("replays/2999-12-31_23-59-59_Later_v_Drill.replay"));
    const auto playToThePage = [&](bool ownReplayLost) {
        tapButton(ButtonAction::Exhibition);
        for (int i = 0; i < 3; ++i)
            tapButton(ButtonAction::Next);
        ASSERT_EQ(app->screen, ExhibitionMatch);
        if (ownReplayLost) { // a press the recording cannot hold
            press(-3, 10);
            release(-3, 10);
        }
        handOverToTheComputerUntil(ExhibitionMatch);
        tap(120, 150); // the result picture
        ASSERT_EQ(app->screen, Statistics);
    };

    playToThePage(false);
    tapButton(ButtonAction::WatchAgain);
    EXPECT_TRUE(replayPlaying(app));
    EXPECT_EQ(app->screen, ExhibitionMatch);
    tapButton(ButtonAction::Close);
    EXPECT_EQ(app->screen, Statistics);

    tapButton(ButtonAction::Main);
    playToThePage(true);
    ASSERT_FALSE(app->recorder->lastLoss.empty());
    tapButton(ButtonAction::WatchAgain);
    EXPECT_FALSE(replayPlaying(app));
    EXPECT_EQ(app->screen, Statistics);
}

// The replay's caption stays clear of both figures where every point starts: either server,
// either court, either end.
TEST_F(ReplayFixture, TheCaptionLeavesTheFiguresAtTheServeInSight) {
    toMainMenu();
    tapButton(ButtonAction::Exhibition);
    for (int i = 0; i < 3; ++i)
        tapButton(ButtonAction::Next);
    tapButton(ButtonAction::Close);
    ASSERT_TRUE(watchLastReplay(app));
    Match* m = app->resources.match;
    const auto frame = [&] {
        gameAfterUpdate(app);
        gameRender(app);
        const uint32_t* pixels = app->resources.engine->frame.drawBuffer;
        return std::vector<uint32_t>(pixels, pixels + kScreenPixels);
    };
    const ScreenRect caption = playbackCaptionPlace(app);
    for (int server = 1; server <= 2; ++server)
        for (int side = 0; side <= 1; ++side)
            for (int ends = 0; ends <= 1; ++ends) {
                m->server = server;
                m->serveCourt = side;
                m->endsSwapped = ends;
                setUpPoint(m);
                const std::vector<uint32_t> figures = frame();
                for (MatchPlayer& p : m->players)
                    p.position.x = fxFromInt(60); // far out of the picture
                const std::vector<uint32_t> court = frame();
                int figurePixels = 0, underCaption = 0;
                for (int y = 0; y < kScreenHeight; ++y)
                    for (int x = 0; x < kScreenWidth; ++x) {
                        const int i = frameBufferIndex(x, y);
                        if (figures[i] == court[i])
                            continue;
                        ++figurePixels;
                        underCaption += x >= caption.left && x < caption.left + caption.width &&
                                        y >= caption.top && y < caption.top + caption.height;
                    }
                EXPECT_GT(figurePixels, 100);
                EXPECT_EQ(underCaption, 0) << server << side << ends;
            }
}

// Recorded once by the desktop build (tests/golden/replays.script), they end in the state their
// files hold on every build that runs this: the desktop's, without AVX2, and WebAssembly.
TEST_F(ReplayFixture, TheGoldenReplaysPlayExactlyOnThisBuild) {
    toMainMenu();
    for (const char* name : {"exhibition.replay", "practice.replay"}) {
        ReplayFile replay;
        std::string error;
        ASSERT_TRUE(readReplayFile(std::string(DROVANA_SOURCE_DIR) + "/tests/golden/" + name,
                                   replay, error))
            << error;
        // The match reads nothing of data.pak, so the files stay golden when the art changes.
        replay.archiveIdentity = gameArchiveIdentity(app);
        const ReplayOutcome recorded = replay.outcome;
        const PlaybackResult result = playReplayHeadless(app, std::move(replay));
        EXPECT_TRUE(result.exact) << name;
        EXPECT_EQ(result.end, recorded.end) << name;
        EXPECT_EQ(result.stateHash, recorded.stateHash) << name;
        EXPECT_EQ(result.soundDigest, recorded.soundDigest) << name;
    }
}

TEST_F(ReplayFixture, ReplaysThatCannotBePlayedExactlyAreRefusedAndChangeNothing) {
    toMainMenu();
    EXPECT_FALSE(watchLastReplay(app)); // none yet
    tapButton(ButtonAction::Practice);
    tapButton(ButtonAction::Next);
    runFrames(30);
    tapButton(ButtonAction::Close);
    const std::string path = newestReplay();
    Bytes bytes = fileBytes(path);
    bytes[8] ^= 1; // another data.pak's identity, the checksum made to fit
    const uint32_t sum = replayChecksum(bytes.data(), bytes.size() - 4);
    std::memcpy(bytes.data() + bytes.size() - 4, &sum, 4);
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    std::string error;
    EXPECT_FALSE(watchReplayFile(app, path, error));
    EXPECT_NE(error.find("was recorded with another data.pak"), std::string::npos) << error;
    EXPECT_EQ(error.rfind(path, 0), 0u);
    EXPECT_FALSE(watchLastReplay(app));
    EXPECT_EQ(app->screen, MainMenu);
    EXPECT_FALSE(replayPlaying(app));
}

// The replays folder cannot be written: the match goes on to its result, players.dat learns, and
// only the replay is lost (said on stderr).
TEST_F(ReplayFixture, AFailedWriteLosesOnlyTheReplay) {
    std::ofstream(home.file("replays")) << "a file where the folder should be";
    toMainMenu();
    tapButton(ButtonAction::Practice);
    tapButton(ButtonAction::Next);
    runFrames(30);
    tapButton(ButtonAction::Close);
    const std::string& said = app->recorder->lastLoss; // as stderr was told
    EXPECT_NE(said.find("the replay of this match is lost: cannot make the folder"),
              std::string::npos)
        << said;
    EXPECT_EQ(app->screen, MainMenu);
    EXPECT_TRUE(app->recorder->lastKept.empty());
    EXPECT_TRUE(std::filesystem::is_regular_file(home.file("replays")));
}

} // namespace
