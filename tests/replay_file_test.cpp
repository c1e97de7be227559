// Replay files through real files in a temp folder: what is written reads back, long matches
// stay small, every kind of damage ends in an error naming the file and the fault, and the
// folder keeps the newest twenty.
#include "frontend/players_file.h"
#include "frontend/replay_file.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstring>
#include <fstream>
#include <functional>
#include <iterator>
#include <regex>
#include <sys/resource.h>
#include <unistd.h>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

constexpr uint64_t kArchive = 0x1234567890ABCDEFull;

ReplayStart sampleStart() {
    ReplayStart start;
    start.mode = ReplayMode::Tournament;
    start.tournamentRound = 3;
    start.options = {5, 2, 3, 2, 4, 1};
    start.players[0] = kDefaultRoster[1];
    start.players[1] = kDefaultRoster[2];
    std::memcpy(start.players[0].firstName, u"Zo\u00eb", 8);
    seedRandom(start.random, 99);
    start.recordedAt = 1700000000;
    return start;
}

struct Recording {
    std::vector<Fixed> steps;
    std::vector<ReplayEvent> events;
};

Bytes encode(const Recording& r, const ReplayStart& start = sampleStart()) {
    ReplayWriter writer;
    size_t next = 0;
    for (uint32_t step = 0; step <= r.steps.size(); ++step) {
        while (next < r.events.size() && r.events[next].step <= step)
            writeReplayEvent(writer, r.events[next++]);
        if (step < r.steps.size())
            writeReplayStep(writer, r.steps[step]);
    }
    while (next < r.events.size()) // what the checks must catch: events before an earlier one
        writeReplayEvent(writer, r.events[next++]);
    return finishReplayFile(writer, kArchive, start, ReplayEnd::Closed, 0xABCDull, 0x5150ull);
}

// A frame clock as a desktop's: 60 frames a second with the scheduler's jitter of a few tens of
// microseconds, and now and then a late frame split into a whole step and the rest.
std::vector<Fixed> clockSteps(size_t count, uint32_t seed) {
    std::vector<Fixed> steps;
    double previousLate = 0;
    uint32_t state = seed;
    while (steps.size() < count) {
        state = state * 1664525u + 1013904223u;
        const double late = (static_cast<int>((state >> 8) % 81) - 40) * 1e-6; // -40 .. 40 us
        double elapsed = 1.0 / 60 + late - previousLate;
        previousLate = late;
        if ((state >> 4) % 1000 == 0)
            elapsed += 0.04;
        if (elapsed > 0.05) {
            steps.push_back(kReplayMaxStep);
            elapsed -= 0.05;
        }
        steps.push_back(static_cast<Fixed>(static_cast<float>(elapsed) * 65536.0f));
    }
    return steps;
}

// Taps as a person makes them: a press, and its release a few frames later nearby.
std::vector<ReplayEvent> taps(size_t count, uint32_t steps) {
    std::vector<ReplayEvent> events;
    for (uint32_t i = 0; i < count; ++i) {
        const uint32_t step = i * (steps / static_cast<uint32_t>(count + 1));
        const int x = static_cast<int>((i * 37) % 240), y = static_cast<int>((i * 91) % 320);
        events.push_back({ReplayEventKind::StylusDown, step, x, y});
        events.push_back({ReplayEventKind::StylusUp, step + i % 7, x, i % 3 ? y : (y + 5) % 320});
    }
    return events;
}

bool parse(const Bytes& bytes, ReplayFile& replay, std::string& error) {
    return parseReplayBytes(bytes, "m.replay", replay, error);
}

std::string errorOf(const Bytes& bytes) {
    ReplayFile replay;
    std::string error;
    EXPECT_FALSE(parse(bytes, replay, error));
    return error;
}

// A header field changed as a forger would: the checksum made to fit again.
Bytes forged(Bytes bytes, size_t offset, std::initializer_list<uint8_t> values) {
    std::copy(values.begin(), values.end(), bytes.begin() + static_cast<std::ptrdiff_t>(offset));
    const uint32_t sum = replayChecksum(bytes.data(), bytes.size() - 4);
    std::memcpy(bytes.data() + bytes.size() - 4, &sum, 4); // little-endian machines only
    return bytes;
}

TEST(ReplayFile, WhatIsWrittenReadsBackStepByStepAndEventByEvent) {
    Recording r;
    r.steps = {1092, 1092, 1092, 1093, 1091, 1092, kReplayMaxStep, 1310, 0, 1092, 2000, 1};
    r.events = {{ReplayEventKind::Player1Computer, 0, 0, 0},
                {ReplayEventKind::StylusDown, 0, 239, 319},
                {ReplayEventKind::StylusUp, 0, 239, 319},
                {ReplayEventKind::FocusLost, 4, 0, 0},
                {ReplayEventKind::StylusDown, 6, 0, 0},
                {ReplayEventKind::StylusDown, 6, 120, 160}, // a press the game refused
                {ReplayEventKind::FocusGained, 7, 0, 0},
                {ReplayEventKind::StylusUp, 9, 100, 170}, // released elsewhere
                {ReplayEventKind::Player1Person, 10, 0, 0},
                {ReplayEventKind::StylusDown, 12, 234, 5}, // the close button, after the last step
                {ReplayEventKind::StylusUp, 12, 234, 5}};
    ReplayFile replay;
    std::string error;
    ASSERT_TRUE(parse(encode(r), replay, error)) << error;
    const ReplayStart expected = sampleStart();
    EXPECT_EQ(replay.archiveIdentity, kArchive);
    EXPECT_EQ(replay.start.mode, ReplayMode::Tournament);
    EXPECT_EQ(replay.start.tournamentRound, 3);
    EXPECT_EQ(std::memcmp(&replay.start.options, &expected.options, sizeof expected.options), 0);
    EXPECT_EQ(std::memcmp(replay.start.players, expected.players, sizeof expected.players), 0);
    EXPECT_EQ(std::memcmp(&replay.start.random, &expected.random, sizeof expected.random), 0);
    EXPECT_EQ(replay.start.recordedAt, expected.recordedAt);
    EXPECT_EQ(replay.outcome.end, ReplayEnd::Closed);
    EXPECT_EQ(replay.outcome.stateHash, 0xABCDull);
    EXPECT_EQ(replay.outcome.soundDigest, 0x5150ull);
    ASSERT_EQ(replay.outcome.stepCount, r.steps.size());
    ASSERT_EQ(replay.outcome.eventCount, r.events.size());
    ReplayReader reader;
    startReplayReader(replay, reader);
    for (Fixed dt : r.steps)
        EXPECT_EQ(readReplayStep(reader), dt);
    for (const ReplayEvent& e : r.events) {
        const ReplayEvent got = readReplayEvent(reader);
        EXPECT_EQ(got.kind, e.kind);
        EXPECT_EQ(got.step, e.step);
        if (e.kind == ReplayEventKind::StylusDown || e.kind == ReplayEventKind::StylusUp) {
            EXPECT_EQ(got.x, e.x);
            EXPECT_EQ(got.y, e.y);
        }
    }
}

// A three-set match is well over an hour of play: 300,000 steps at 60 frames a second and some
// two thousand taps. The driver's clock repeats one step; a desktop's wanders by a few units.
TEST(ReplayFile, ALongMatchStaysSmall) {
    Recording steady;
    steady.steps.assign(300000, 1092);
    steady.events = taps(2000, 300000);
    const size_t steadySize = encode(steady).size();
    EXPECT_LT(steadySize, 24u * 1024);

    Recording jittery = steady;
    jittery.steps = clockSteps(300000, 7);
    const Bytes bytes = encode(jittery);
    EXPECT_LT(bytes.size(), 144u * 1024); // under four bits a step
    ReplayFile replay;
    std::string error;
    ASSERT_TRUE(parse(bytes, replay, error)) << error;
    ReplayReader reader;
    startReplayReader(replay, reader);
    bool same = true;
    for (Fixed dt : jittery.steps)
        same = same && readReplayStep(reader) == dt;
    EXPECT_TRUE(same);
    std::printf("[ replay sizes ] 300000 steps, 4000 events: steady clock %zu bytes, "
                "desktop clock %zu bytes\n",
                steadySize, bytes.size());
}

TEST(ReplayFile, DamagedFilesEndInAnErrorNamingTheFileAndTheFault) {
    Recording r;
    r.steps.assign(500, 1092);
    r.events = taps(20, 500);
    const Bytes good = encode(r);
    const auto expectError = [](const Bytes& bytes, const std::string& part) {
        const std::string error = errorOf(bytes);
        EXPECT_EQ(error.rfind("m.replay: ", 0), 0u) << error;
        EXPECT_NE(error.find(part), std::string::npos) << error;
    };
    for (size_t cut : {size_t{0}, size_t{5}, size_t{459}, size_t{470}, good.size() - 1})
        expectError(Bytes(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(cut)),
                    "cut short");
    Bytes longer = good;
    longer.push_back(0);
    expectError(longer, "1 byte beyond its end");
    expectError(forged(good, 0, {'M'}), "not a replay file");
    expectError(forged(good, 4, {2, 0}), "format version 2; this game plays version 1 only");
    Bytes flipped = good;
    flipped[good.size() / 2] ^= 0x10;
    expectError(flipped, "checksum does not match");
    expectError(forged(good, 6, {3}), "kind of play is unknown");
    expectError(forged(good, 28 + 12, {4}), "options"); // four sets to win
    expectError(forged(good, 28 + 4, {5}), "options");  // player 2 in player 1's slot
    expectError(forged(good, 52 + 48, {9}), "player's record is damaged"); // level 9
    expectError(forged(good, 424, {7}), "random generator's state is damaged");
    expectError(forged(good, 428, {0xFF, 0xFF, 0xFF, 0x7F}), "more than a replay holds");
    expectError(forged(good, 428, {0xFF, 0xFF, 0x01}), "steps are cut short"); // 131071 of 500
}

TEST(ReplayFile, StepsAndEventsTheGameCouldNotHaveMadeAreRefused) {
    const auto errorFor = [](std::vector<Fixed> steps, std::vector<ReplayEvent> events) {
        return errorOf(encode({std::move(steps), std::move(events)}));
    };
    const std::vector<Fixed> steps(10, 1092);
    using K = ReplayEventKind;
    EXPECT_NE(errorFor({1092, 4000}, {}).find("step 2 of 2 is not a time step"), std::string::npos);
    EXPECT_NE(errorFor(steps, {{K::FocusLost, 5, 0, 0}, {K::FocusGained, 3, 0, 0}})
                  .find("event 2 (before step 3) comes before the step 5 of the event before it: "
                        "the events are out of order"),
              std::string::npos);
    EXPECT_NE(errorFor(steps, {{K::FocusLost, 11, 0, 0}})
                  .find("event 1 (before step 11) lies beyond the last of the 10 steps"),
              std::string::npos);
    EXPECT_NE(errorFor(steps, {{K::StylusDown, 2, 250, 10}})
                  .find("a stylus press at (250, 10) lies outside the 240 x 320 screen"),
              std::string::npos);
    EXPECT_NE(errorFor(steps, {{K::StylusDown, 2, 10, 10}, {K::StylusUp, 2, 10, 400}})
                  .find("a stylus release at (10, 400) lies outside"),
              std::string::npos);
    EXPECT_NE(
        errorFor(steps,
                 {{K::StylusDown, 2, 10, 10}, {K::StylusUp, 2, 10, 10}, {K::StylusUp, 3, 10, 10}})
            .find("event 3 (before step 3): a stylus release with no press"),
        std::string::npos);
}

TEST(ReplayFile, OnlyTheArchiveItWasRecordedWithPlaysIt) {
    ReplayFile replay;
    std::string error;
    ASSERT_TRUE(parse(encode({{1092}, {}}), replay, error)) << error;
    EXPECT_TRUE(replayArchiveMatches(replay, kArchive, error));
    EXPECT_FALSE(replayArchiveMatches(replay, kArchive + 1, error));
    EXPECT_EQ(error, "m.replay: was recorded with another data.pak than this game's, so it would "
                     "not play as it was played");
}

struct ReplayFolder : ::testing::Test {
    TempDir home;
    std::string folder = home.file("replays");
    Bytes bytes = encode({{1092, 1092}, {}});
};

TEST_F(ReplayFolder, FilesAreNamedByTimeAndPlayersAndReadFromDisk) {
    ReplayStart start = sampleStart();
    std::memcpy(start.players[1].firstName, u"A/b c.", 14);
    const std::string name = replayFileName(start, 1700000000);
    // The local date and time, then the players; '/' and '.' left out, blanks made '-'.
    EXPECT_TRUE(std::regex_match(name, std::regex("2023-11-1[45]_\\d\\d-\\d\\d-\\d\\d_"
                                                  "Zo\u00eb-.+_v_Ab-c-.+\\.replay")))
        << name;

    std::string error;
    const std::string first = keepReplayFile(folder, name, bytes, error);
    const std::string second = keepReplayFile(folder, name, bytes, error);
    ASSERT_FALSE(first.empty()) << error;
    EXPECT_EQ(second.substr(second.size() - 9), "_2.replay"); // the same second kept apart
    EXPECT_EQ(listReplays(folder), (std::vector<std::string>{first, second}));
    ReplayFile replay;
    EXPECT_TRUE(readReplayFile(first, replay, error)) << error;
    EXPECT_FALSE(readReplayFile(folder + "/none.replay", replay, error));
    EXPECT_NE(error.find("none.replay: cannot be read"), std::string::npos) << error;
}

TEST_F(ReplayFolder, OnlyTheNewestTwentyAreKeptAndOtherFilesAreLeftAlone) {
    std::string error;
    for (int i = 0; i < 25; ++i) {
        const std::string name = "2025-01-01_10-00-" + std::string(i < 10 ? "0" : "") +
                                 std::to_string(i) + "_A_v_B.replay";
        ASSERT_FALSE(keepReplayFile(folder, name, bytes, error).empty()) << error;
    }
    std::ofstream(folder + "/notes.txt") << "mine";
    pruneReplays(folder, kKeptReplays);
    const std::vector<std::string> kept = listReplays(folder);
    ASSERT_EQ(kept.size(), 20u);
    EXPECT_NE(kept.front().find("10-00-05_"), std::string::npos);
    EXPECT_NE(kept.back().find("10-00-24_"), std::string::npos);
    EXPECT_TRUE(std::filesystem::exists(folder + "/notes.txt"));
}

TEST_F(ReplayFolder, AFileTooLargeIsRefusedBeforeItIsRead) {
    std::filesystem::create_directories(folder);
    const std::string path = folder + "/huge.replay";
    std::ofstream(path) << "DRPL";
    std::filesystem::resize_file(path, kMaxReplayFileBytes + 1); // sparse: no disk used
    ReplayFile replay;
    std::string error;
    EXPECT_FALSE(readReplayFile(path, replay, error));
    EXPECT_NE(error.find("huge.replay: is 4194305 bytes, more than any replay"), std::string::npos)
        << error;
}

// A folder that cannot be made: ReplayFixture.AFailedWriteLosesOnlyTheReplay, in the game.
TEST_F(ReplayFolder, AFailedWriteLosesTheReplayOnlyAndLeavesNoPartBehind) {
    std::string error;
    rlimit saved;
    getrlimit(RLIMIT_FSIZE, &saved);
    auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 100; // a full disk, as far as this process can tell
    setrlimit(RLIMIT_FSIZE, &small);
    const std::string written = keepReplayFile(folder, "x.replay", bytes, error);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);
    EXPECT_TRUE(written.empty());
    EXPECT_NE(error.find("cannot write"), std::string::npos) << error;
    EXPECT_TRUE(std::filesystem::is_empty(folder));
}

} // namespace
