// replay_file.h: a recorded match or drill: how it started, every time step and stylus event in
// order, how it ended; the file's layout, its writer and its reader, and the folder that keeps
// the newest ones.
#pragma once

#include "core/fixed_point.h"
#include "core/game_random.h"
#include "frontend/game_options.h"
#include "frontend/player_profile.h"
#include "frontend/replay_coder.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

constexpr uint16_t kReplayFormatVersion = 1;
// The frame loop never gives a step longer than 0.05 s (3276 raw); a file that does is damaged.
constexpr Fixed kReplayMaxStep = 3276;
// Sizes are capped before anything is allocated or decoded: a three-set match is tens of
// kilobytes and hundreds of thousands of steps.
constexpr size_t kMaxReplayFileBytes = size_t{4} << 20;
constexpr uint32_t kMaxReplaySteps = 1u << 24;
constexpr uint32_t kMaxReplayEvents = 1u << 20;
constexpr int kKeptReplays = 20;
constexpr char kReplayExtension[] = ".replay";

enum class ReplayMode : uint8_t { Exhibition = 0, Tournament = 1, Practice = 2 };
enum class ReplayEnd : uint8_t {
    MatchOver = 0, // the last point's pause ran out
    Closed = 1,    // the close button, as the last event
    GameQuit = 2,  // the game ended during play: after the last step
};

// What the match was set up from, so that the same set-up can be made again.
struct ReplayStart {
    ReplayMode mode = ReplayMode::Exhibition;
    int32_t tournamentRound = 0;
    GameOptions options;           // the players' slots are those the two records are placed in
    PlayerProfile players[2] = {}; // player 1 and player 2 as they entered the match
    RandomState random;            // the generator as the match was set up
    int64_t recordedAt = 0;        // seconds since 1970, UTC
};

enum class ReplayEventKind : uint8_t {
    StylusDown = 0, // x, y: the press
    StylusUp,       // x, y: the release; the game is told its distance from the press
    FocusLost,      // the window went to the background (the match goes on; nothing is drawn)
    FocusGained,
    Player1Computer, // from here player 1 is played by the computer (the driver's auto play)
    Player1Person,
};
constexpr int kReplayEventKinds = 6;

// Happens before the step numbered `step` (counted from 0); step == the step count is after the
// last one.
struct ReplayEvent {
    ReplayEventKind kind = ReplayEventKind::StylusDown;
    uint32_t step = 0;
    int32_t x = 0;
    int32_t y = 0;
};

struct ReplayOutcome {
    ReplayEnd end = ReplayEnd::MatchOver;
    uint64_t stateHash = 0;   // of the match when it ended (match/state_hash.h)
    uint64_t soundDigest = 0; // of every step's sounds with the step's number
    uint32_t stepCount = 0;
    uint32_t eventCount = 0;
};

// How the steps and the events are coded: each keeps what it has learnt of the stream so far.
// A step is told as "the same as the one before", or by how far it lies from the step the clock
// usually gives; a frame clock's jitter swings back, so the last distance is the context.
constexpr int kStepResidualClasses = 9;
struct StepCoding {
    Probability same[4 * kStepResidualClasses]; // by the last two repeats and the last distance
    BitTree<6> residual[kStepResidualClasses];  // 0 escapes to a whole value
    BitTree<12> whole;
    Fixed previous = 0;
    Fixed reference = 0;  // the usual step, followed slowly
    int32_t drift = 0;    // how far the steps since the reference last moved pulled it
    uint32_t repeats = 0; // the last two outcomes of `same`, one bit each
    int lastResidual = 0; // class of the last distance from the reference
    StepCoding();
};
struct EventCoding {
    Probability sameStep[kReplayEventKinds];
    Probability stepBackwards;
    NumberModel stepGap;
    BitTree<3> kind[kReplayEventKinds]; // by the kind before
    BitTree<8> x;
    BitTree<9> y;
    Probability releasedWherePressed;
    uint32_t previousStep = 0;
    ReplayEventKind previousKind = ReplayEventKind::StylusUp;
    int32_t pressX = 0, pressY = 0;
    EventCoding();
};

// The streams of a recording in progress, coded as they come so that finishing costs little.
struct ReplayWriter {
    RangeEncoder steps, events;
    StepCoding stepCoding;
    EventCoding eventCoding;
    uint32_t stepCount = 0;
    uint32_t eventCount = 0;
};

void writeReplayStep(ReplayWriter& writer, Fixed dt);
// The event comes before the next step written.
void writeReplayEvent(ReplayWriter& writer, const ReplayEvent& event);
// The size of the file finishing now would make.
size_t replayFileSize(const ReplayWriter& writer);
// The whole file; the writer is spent.
std::vector<uint8_t> finishReplayFile(ReplayWriter& writer, uint64_t archiveIdentity,
                                      const ReplayStart& start, ReplayEnd end, uint64_t stateHash,
                                      uint64_t soundDigest);

// A file that passed every check: its set-up and ending, and its coded streams.
struct ReplayFile {
    std::string name; // as given to the reader, for messages
    uint64_t archiveIdentity = 0;
    ReplayStart start;
    ReplayOutcome outcome;
    std::vector<uint8_t> bytes;
    size_t stepsOffset = 0, stepsSize = 0, eventsOffset = 0, eventsSize = 0;
};

// False with the error ("NAME: what is wrong") for anything but a whole, undamaged replay of this
// format version whose every step and event is one the game could have made. The steps and
// events are decoded once here to check them; a player decodes them again as it goes.
bool readReplayFile(const std::string& path, ReplayFile& replay, std::string& error);
bool parseReplayBytes(std::vector<uint8_t> bytes, const std::string& name, ReplayFile& replay,
                      std::string& error);
// A replay plays exactly only on the data.pak it was recorded with; false with the error when the
// identities differ.
bool replayArchiveMatches(const ReplayFile& replay, uint64_t archiveIdentity, std::string& error);

// The steps and the events of a checked file, read in order.
struct ReplayReader {
    RangeDecoder steps, events;
    StepCoding stepCoding;
    EventCoding eventCoding;
    uint32_t stepsLeft = 0;
    uint32_t eventsLeft = 0;
};
void startReplayReader(const ReplayFile& replay, ReplayReader& reader);
Fixed readReplayStep(ReplayReader& reader);
ReplayEvent readReplayEvent(ReplayReader& reader);

// The identity of an archive: a hash of all its bytes; 0 when it cannot be read.
uint64_t archiveIdentityOf(const std::string& path);
// The CRC-32 (IEEE) the file ends with, over everything before it.
uint32_t replayChecksum(const uint8_t* bytes, size_t count);

// "2025-03-01_14-05-09_First-Last_v_First-Last.replay": the local date and time the match ended
// and the two players' names, with anything a file name should not hold left out.
std::string replayFileName(const ReplayStart& start, int64_t endedAt);
// Writes the file into the folder (made when missing) under the name, or the name with _2, _3 ...
// when it is taken, through a temporary file renamed into place; its path, or empty with the
// error on failure.
std::string keepReplayFile(const std::string& folder, const std::string& name,
                           const std::vector<uint8_t>& bytes, std::string& error);
// The folder's replays, oldest first (their names begin with the date and time).
std::vector<std::string> listReplays(const std::string& folder);
// Removes all but the newest `keep`.
void pruneReplays(const std::string& folder, int keep);
