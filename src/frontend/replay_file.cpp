// replay_file.cpp: the replay file byte by byte (little-endian), its two coded streams, the
// checks on reading, and the replays folder.
#include "frontend/replay_file.h"

#include "core/display.h"
#include "core/little_endian.h"
#include "core/wide_string.h"
#include "frontend/ladders.h"
#include "frontend/players_file.h"
#include "match/state_hash.h"
#include "platform/folder_sync.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <iterator>
#include <system_error>

namespace {

// The header, then the step stream, the event stream and the checksum of all before it.
constexpr uint8_t kMagic[4] = {'D', 'R', 'P', 'L'};
constexpr size_t kVersionOffset = 4;
constexpr size_t kModeOffset = 6;
constexpr size_t kEndOffset = 7;
constexpr size_t kArchiveOffset = 8;
constexpr size_t kRecordedAtOffset = 16;
constexpr size_t kRoundOffset = 24;
constexpr size_t kOptionsOffset = 28;
constexpr size_t kPlayersOffset = kOptionsOffset + kPlayersOptionsSize;
constexpr size_t kRandomOffset = kPlayersOffset + 2 * kPlayersRecordSize;
constexpr size_t kRandomFrontOffset = kRandomOffset + 4 * kRandomDegree;
constexpr size_t kRandomRearOffset = kRandomFrontOffset + 1;
constexpr size_t kStepCountOffset = kRandomRearOffset + 3; // two bytes kept zero before it
constexpr size_t kEventCountOffset = kStepCountOffset + 4;
constexpr size_t kStepsSizeOffset = kEventCountOffset + 4;
constexpr size_t kEventsSizeOffset = kStepsSizeOffset + 4;
constexpr size_t kStateHashOffset = kEventsSizeOffset + 4;
constexpr size_t kSoundDigestOffset = kStateHashOffset + 8;
constexpr size_t kHeaderSize = kSoundDigestOffset + 8;
constexpr size_t kChecksumSize = 4;
static_assert(kPlayersOffset == 52 && kRandomOffset == 300 && kStepCountOffset == 428);
static_assert(kHeaderSize == 460);

// Steps within this many raw units of the reference are coded small; others as a whole value.
constexpr int32_t kSmallResidual = 31;
constexpr uint32_t kResidualEscape = 0;
constexpr uint32_t kResidualZero = kSmallResidual + 1;
// The reference moves one raw unit once the steps have pulled it this far one way.
constexpr int32_t kReferencePull = 64;

void initialise(Probability* probabilities, size_t count) {
    std::fill(probabilities, probabilities + count, kProbabilityEven);
}

int residualClass(int32_t residual) {
    constexpr int32_t kEdge = kStepResidualClasses / 2;
    return std::clamp(residual, -kEdge, kEdge) + kEdge;
}

int sameContext(const StepCoding& c) {
    return static_cast<int>(c.repeats) * kStepResidualClasses + c.lastResidual;
}

// A whole step of a late frame says nothing of the clock's rate; a step far from the reference
// (a late frame's rest, another display) starts it afresh.
void followClock(StepCoding& c, Fixed dt) {
    if (dt == kReplayMaxStep)
        return;
    const int32_t residual = dt - c.reference;
    if (c.reference == 0 || residual < -kSmallResidual || residual > kSmallResidual) {
        c.reference = dt;
        c.drift = 0;
        return;
    }
    c.drift += residual;
    if (c.drift > kReferencePull || c.drift < -kReferencePull) {
        c.reference += c.drift > 0 ? 1 : -1;
        c.drift = 0;
    }
}

void advance(StepCoding& c, Fixed dt) {
    c.repeats = ((c.repeats << 1) | (dt == c.previous ? 1u : 0u)) & 3u;
    c.lastResidual = residualClass(dt - c.reference);
    c.previous = dt;
    followClock(c, dt);
}

void encodeStep(RangeEncoder& e, StepCoding& c, Fixed dt) {
    const bool same = dt == c.previous;
    encodeBit(e, c.same[sameContext(c)], same ? 0 : 1);
    if (!same) {
        const int32_t residual = dt - c.reference;
        BitTree<6>& tree = c.residual[c.lastResidual];
        if (residual >= -kSmallResidual && residual <= kSmallResidual) {
            encodeTree(e, tree, static_cast<uint32_t>(residual + kResidualZero));
        } else {
            encodeTree(e, tree, kResidualEscape);
            encodeTree(e, c.whole, static_cast<uint32_t>(dt));
        }
    }
    advance(c, dt);
}

// False for a step the frame loop could not have made.
bool decodeStep(RangeDecoder& d, StepCoding& c, Fixed& dt) {
    dt = c.previous;
    if (decodeBit(d, c.same[sameContext(c)]) != 0) {
        const uint32_t symbol = decodeTree(d, c.residual[c.lastResidual]);
        dt = symbol == kResidualEscape
                 ? static_cast<Fixed>(decodeTree(d, c.whole))
                 : c.reference + static_cast<int32_t>(symbol) - static_cast<int32_t>(kResidualZero);
    }
    if (dt < 0 || dt > kReplayMaxStep)
        return false;
    advance(c, dt);
    return true;
}

int kindIndex(ReplayEventKind kind) {
    return static_cast<int>(kind);
}

void encodeEvent(RangeEncoder& e, EventCoding& c, const ReplayEvent& event) {
    const int64_t gap = static_cast<int64_t>(event.step) - c.previousStep;
    const int before = kindIndex(c.previousKind);
    encodeBit(e, c.sameStep[before], gap != 0 ? 1 : 0);
    if (gap != 0) {
        encodeBit(e, c.stepBackwards, gap < 0 ? 1 : 0);
        encodeNumber(e, c.stepGap, static_cast<uint32_t>((gap < 0 ? -gap : gap) - 1));
    }
    encodeTree(e, c.kind[before], static_cast<uint32_t>(event.kind));
    if (event.kind == ReplayEventKind::StylusDown) {
        encodeTree(e, c.x, static_cast<uint32_t>(event.x));
        encodeTree(e, c.y, static_cast<uint32_t>(event.y));
        c.pressX = event.x;
        c.pressY = event.y;
    } else if (event.kind == ReplayEventKind::StylusUp) {
        const bool wherePressed = event.x == c.pressX && event.y == c.pressY;
        encodeBit(e, c.releasedWherePressed, wherePressed ? 0 : 1);
        if (!wherePressed) {
            encodeTree(e, c.x, static_cast<uint32_t>(event.x));
            encodeTree(e, c.y, static_cast<uint32_t>(event.y));
        }
    }
    c.previousStep = event.step;
    c.previousKind = event.kind;
}

// The event as coded; its step may lie before the previous one or far beyond the end, and its
// kind be no kind at all: the caller checks.
ReplayEvent decodeEvent(RangeDecoder& d, EventCoding& c, bool& knownKind) {
    ReplayEvent event;
    const int before = kindIndex(c.previousKind);
    int64_t step = c.previousStep;
    if (decodeBit(d, c.sameStep[before]) != 0) {
        const bool backwards = decodeBit(d, c.stepBackwards) != 0;
        const int64_t gap = static_cast<int64_t>(decodeNumber(d, c.stepGap)) + 1;
        step += backwards ? -gap : gap;
    }
    event.step = static_cast<uint32_t>(std::clamp<int64_t>(step, -1, UINT32_MAX));
    const uint32_t kind = decodeTree(d, c.kind[before]);
    knownKind = kind < kReplayEventKinds && step >= 0;
    event.kind = static_cast<ReplayEventKind>(knownKind ? kind : 0);
    if (event.kind == ReplayEventKind::StylusDown) {
        event.x = static_cast<int32_t>(decodeTree(d, c.x));
        event.y = static_cast<int32_t>(decodeTree(d, c.y));
        c.pressX = event.x;
        c.pressY = event.y;
    } else if (event.kind == ReplayEventKind::StylusUp) {
        event.x = c.pressX;
        event.y = c.pressY;
        if (decodeBit(d, c.releasedWherePressed) != 0) {
            event.x = static_cast<int32_t>(decodeTree(d, c.x));
            event.y = static_cast<int32_t>(decodeTree(d, c.y));
        }
    }
    c.previousStep = event.step;
    c.previousKind = event.kind;
    return event;
}

bool onScreen(const ReplayEvent& e) {
    return e.x >= 0 && e.x < kScreenWidth && e.y >= 0 && e.y < kScreenHeight;
}

std::string eventText(uint32_t index, const ReplayEvent& e) {
    return "event " + std::to_string(index + 1) + " (before step " + std::to_string(e.step) + ")";
}

bool fail(std::string& error, const std::string& name, const std::string& what) {
    error = name + ": " + what;
    return false;
}

bool checkSteps(const ReplayFile& r, std::string& error) {
    RangeDecoder d;
    startDecoding(d, r.bytes.data() + r.stepsOffset, r.stepsSize);
    StepCoding coding;
    for (uint32_t i = 0; i < r.outcome.stepCount; ++i) {
        Fixed dt;
        if (!decodeStep(d, coding, dt) || d.overrun)
            return fail(error, r.name,
                        "step " + std::to_string(i + 1) + " of " +
                            std::to_string(r.outcome.stepCount) +
                            (d.overrun ? " is missing: the steps are cut short"
                                       : " is not a time step the game makes (0 to 0.05 s)"));
    }
    if (!decodedExactly(d))
        return fail(error, r.name, "its steps hold more data than their count");
    return true;
}

bool checkEvents(const ReplayFile& r, std::string& error) {
    RangeDecoder d;
    startDecoding(d, r.bytes.data() + r.eventsOffset, r.eventsSize);
    EventCoding coding;
    uint32_t lastStep = 0;
    bool pressed = false;
    for (uint32_t i = 0; i < r.outcome.eventCount; ++i) {
        bool knownKind = false;
        const ReplayEvent e = decodeEvent(d, coding, knownKind);
        if (d.overrun)
            return fail(error, r.name,
                        "event " + std::to_string(i + 1) + " of " +
                            std::to_string(r.outcome.eventCount) +
                            " is missing: the events are cut short");
        if (!knownKind)
            return fail(error, r.name, "event " + std::to_string(i + 1) + " is of no known kind");
        if (e.step < lastStep)
            return fail(error, r.name,
                        eventText(i, e) + " comes before the step " + std::to_string(lastStep) +
                            " of the event before it: the events are out of order");
        if (e.step > r.outcome.stepCount)
            return fail(error, r.name,
                        eventText(i, e) + " lies beyond the last of the " +
                            std::to_string(r.outcome.stepCount) + " steps");
        const bool stylus =
            e.kind == ReplayEventKind::StylusDown || e.kind == ReplayEventKind::StylusUp;
        if (stylus && !onScreen(e))
            return fail(error, r.name,
                        eventText(i, e) + ": a stylus " +
                            (e.kind == ReplayEventKind::StylusDown ? "press" : "release") +
                            " at (" + std::to_string(e.x) + ", " + std::to_string(e.y) +
                            ") lies outside the 240 x 320 screen");
        if (e.kind == ReplayEventKind::StylusUp && !pressed)
            return fail(error, r.name, eventText(i, e) + ": a stylus release with no press");
        if (stylus)
            pressed = e.kind == ReplayEventKind::StylusDown;
        lastStep = e.step;
    }
    if (!decodedExactly(d))
        return fail(error, r.name, "its events hold more data than their count");
    return true;
}

bool playerValid(const PlayerProfile& p) {
    return profileRecordInRange(p) && profileUsed(p);
}

bool checkStart(const ReplayFile& r, std::string& error) {
    const ReplayStart& s = r.start;
    const GameOptions& o = s.options;
    if (static_cast<int>(s.mode) > static_cast<int>(ReplayMode::Practice))
        return fail(error, r.name, "its kind of play is unknown");
    if (static_cast<int>(r.outcome.end) > static_cast<int>(ReplayEnd::GameQuit))
        return fail(error, r.name, "the way its match ended is unknown");
    if (!optionsInRange(o) || o.player1Profile == o.player2Profile || s.tournamentRound < 0 ||
        s.tournamentRound >= kTournamentMatches)
        return fail(error, r.name, "its options are not ones the game can set");
    if (!playerValid(s.players[0]) || !playerValid(s.players[1]))
        return fail(error, r.name, "a player's record is damaged");
    if (!randomStateValid(s.random))
        return fail(error, r.name, "its random generator's state is damaged");
    if (r.outcome.stepCount > kMaxReplaySteps || r.outcome.eventCount > kMaxReplayEvents)
        return fail(error, r.name,
                    "it declares " + std::to_string(r.outcome.stepCount) + " steps and " +
                        std::to_string(r.outcome.eventCount) + " events, more than a replay holds");
    return true;
}

void decodeHeader(ReplayFile& r) {
    const uint8_t* b = r.bytes.data();
    r.start.mode = static_cast<ReplayMode>(b[kModeOffset]);
    r.outcome.end = static_cast<ReplayEnd>(b[kEndOffset]);
    r.archiveIdentity = getU64(b + kArchiveOffset);
    r.start.recordedAt = static_cast<int64_t>(getU64(b + kRecordedAtOffset));
    r.start.tournamentRound = static_cast<int32_t>(getU32(b + kRoundOffset));
    r.start.options = decodeOptionsRecord(b + kOptionsOffset);
    for (int i = 0; i < 2; ++i)
        r.start.players[i] = decodeProfileRecord(b + kPlayersOffset + i * kPlayersRecordSize);
    for (int i = 0; i < kRandomDegree; ++i)
        r.start.random.table[i] = getU32(b + kRandomOffset + 4 * i);
    r.start.random.front = b[kRandomFrontOffset];
    r.start.random.rear = b[kRandomRearOffset];
    r.outcome.stepCount = getU32(b + kStepCountOffset);
    r.outcome.eventCount = getU32(b + kEventCountOffset);
    r.outcome.stateHash = getU64(b + kStateHashOffset);
    r.outcome.soundDigest = getU64(b + kSoundDigestOffset);
}

std::string bytesText(size_t count) {
    return std::to_string(count) + (count == 1 ? " byte" : " bytes");
}

const std::array<uint32_t, 256>& checksumTable() {
    static const std::array<uint32_t, 256> table = [] {
        std::array<uint32_t, 256> t{};
        for (uint32_t i = 0; i < 256; ++i) {
            uint32_t c = i;
            for (int k = 0; k < 8; ++k)
                c = (c & 1u) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[i] = c;
        }
        return t;
    }();
    return table;
}

// Letters, digits and anything beyond ASCII stay; blanks become '-'; the rest is left out.
std::string nameForFile(const PlayerProfile& p) {
    std::string out;
    for (const char16_t* part : {p.firstName, p.lastName}) {
        const std::string text = toUtf8(WideString(part, std::char_traits<char16_t>::length(part)));
        if (text.empty())
            continue;
        if (!out.empty())
            out += '-';
        for (const char c : text) {
            const auto u = static_cast<unsigned char>(c);
            if (u >= 0x80 || std::isalnum(u))
                out += c;
            else if (c == ' ')
                out += '-';
        }
    }
    return out.empty() ? std::string("Player") : out;
}

bool isReplayName(const std::string& name) {
    const std::string extension = kReplayExtension;
    return name.size() > extension.size() && name[0] != '.' &&
           name.compare(name.size() - extension.size(), extension.size(), extension) == 0;
}

bool writeWholeFile(const std::string& path, const std::vector<uint8_t>& bytes, int& why) {
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) {
        why = errno;
        return false;
    }
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    why = ok ? 0 : errno;
    if (std::fclose(file) != 0 && ok) {
        why = errno;
        ok = false;
    }
    return ok;
}

} // namespace

StepCoding::StepCoding() {
    initialise(same, std::size(same));
}

EventCoding::EventCoding() {
    initialise(sameStep, std::size(sameStep));
    initialise(&stepBackwards, 1);
    initialise(&releasedWherePressed, 1);
}

void writeReplayStep(ReplayWriter& w, Fixed dt) {
    encodeStep(w.steps, w.stepCoding, dt);
    ++w.stepCount;
}

void writeReplayEvent(ReplayWriter& w, const ReplayEvent& event) {
    encodeEvent(w.events, w.eventCoding, event);
    ++w.eventCount;
}

size_t replayFileSize(const ReplayWriter& w) {
    return kHeaderSize + w.steps.bytes.size() + w.events.bytes.size() + 2 * kEncoderFinishBytes +
           kChecksumSize;
}

std::vector<uint8_t> finishReplayFile(ReplayWriter& w, uint64_t archiveIdentity,
                                      const ReplayStart& start, ReplayEnd end, uint64_t stateHash,
                                      uint64_t soundDigest) {
    finishEncoding(w.steps);
    finishEncoding(w.events);
    std::vector<uint8_t> bytes(kHeaderSize, 0);
    uint8_t* b = bytes.data();
    std::memcpy(b, kMagic, sizeof kMagic);
    b[kVersionOffset] = static_cast<uint8_t>(kReplayFormatVersion);
    b[kVersionOffset + 1] = static_cast<uint8_t>(kReplayFormatVersion >> 8);
    b[kModeOffset] = static_cast<uint8_t>(start.mode);
    b[kEndOffset] = static_cast<uint8_t>(end);
    putU64(b + kArchiveOffset, archiveIdentity);
    putU64(b + kRecordedAtOffset, static_cast<uint64_t>(start.recordedAt));
    putU32(b + kRoundOffset, static_cast<uint32_t>(start.tournamentRound));
    encodeOptionsRecord(start.options, b + kOptionsOffset);
    for (int i = 0; i < 2; ++i)
        encodeProfileRecord(start.players[i], b + kPlayersOffset + i * kPlayersRecordSize);
    for (int i = 0; i < kRandomDegree; ++i)
        putU32(b + kRandomOffset + 4 * i, start.random.table[i]);
    b[kRandomFrontOffset] = static_cast<uint8_t>(start.random.front);
    b[kRandomRearOffset] = static_cast<uint8_t>(start.random.rear);
    putU32(b + kStepCountOffset, w.stepCount);
    putU32(b + kEventCountOffset, w.eventCount);
    putU32(b + kStepsSizeOffset, static_cast<uint32_t>(w.steps.bytes.size()));
    putU32(b + kEventsSizeOffset, static_cast<uint32_t>(w.events.bytes.size()));
    putU64(b + kStateHashOffset, stateHash);
    putU64(b + kSoundDigestOffset, soundDigest);
    bytes.insert(bytes.end(), w.steps.bytes.begin(), w.steps.bytes.end());
    bytes.insert(bytes.end(), w.events.bytes.begin(), w.events.bytes.end());
    const uint32_t checksum = replayChecksum(bytes.data(), bytes.size());
    bytes.resize(bytes.size() + kChecksumSize);
    putU32(bytes.data() + bytes.size() - kChecksumSize, checksum);
    return bytes;
}

bool parseReplayBytes(std::vector<uint8_t> bytes, const std::string& name, ReplayFile& replay,
                      std::string& error) {
    const size_t size = bytes.size();
    if (size < kVersionOffset + 2)
        return fail(error, name, "is cut short: " + bytesText(size) + " is not even a header");
    if (std::memcmp(bytes.data(), kMagic, sizeof kMagic) != 0)
        return fail(error, name, "is not a replay file");
    const unsigned version = bytes[kVersionOffset] | bytes[kVersionOffset + 1] << 8;
    if (version != kReplayFormatVersion)
        return fail(error, name,
                    "is a replay of format version " + std::to_string(version) +
                        "; this game plays version " + std::to_string(kReplayFormatVersion) +
                        " only");
    if (size > kMaxReplayFileBytes)
        return fail(error, name,
                    "is " + bytesText(size) + ", more than any replay (at most " +
                        bytesText(kMaxReplayFileBytes) + ")");
    if (size < kHeaderSize + kChecksumSize)
        return fail(error, name, "is cut short: " + bytesText(size) + " is not even a header");
    const size_t stepsSize = getU32(bytes.data() + kStepsSizeOffset);
    const size_t eventsSize = getU32(bytes.data() + kEventsSizeOffset);
    const size_t expected = kHeaderSize + stepsSize + eventsSize + kChecksumSize;
    if (size < expected)
        return fail(error, name,
                    "is cut short: " + bytesText(size) + " of the " + bytesText(expected) +
                        " it declares");
    if (size > expected)
        return fail(error, name, "has " + bytesText(size - expected) + " beyond its end");
    if (replayChecksum(bytes.data(), size - kChecksumSize) !=
        getU32(bytes.data() + size - kChecksumSize))
        return fail(error, name, "is damaged: its checksum does not match its contents");
    ReplayFile r;
    r.name = name;
    r.bytes = std::move(bytes);
    r.stepsOffset = kHeaderSize;
    r.stepsSize = stepsSize;
    r.eventsOffset = kHeaderSize + stepsSize;
    r.eventsSize = eventsSize;
    decodeHeader(r);
    if (!checkStart(r, error) || !checkSteps(r, error) || !checkEvents(r, error))
        return false;
    replay = std::move(r);
    return true;
}

bool readReplayFile(const std::string& path, ReplayFile& replay, std::string& error) {
    std::error_code ec;
    const uintmax_t size = std::filesystem::file_size(path, ec);
    if (ec)
        return fail(error, path, "cannot be read: " + ec.message());
    if (size > kMaxReplayFileBytes)
        return fail(error, path,
                    "is " + bytesText(size) + ", more than any replay (at most " +
                        bytesText(kMaxReplayFileBytes) + ")");
    FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
        return fail(error, path, std::string("cannot be read: ") + std::strerror(errno));
    std::vector<uint8_t> bytes(static_cast<size_t>(size));
    const size_t read = std::fread(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
    if (read != bytes.size())
        return fail(error, path, "cannot be read to its end");
    return parseReplayBytes(std::move(bytes), path, replay, error);
}

bool replayArchiveMatches(const ReplayFile& replay, uint64_t archiveIdentity, std::string& error) {
    if (replay.archiveIdentity == archiveIdentity)
        return true;
    return fail(error, replay.name,
                "was recorded with another data.pak than this game's, so it would not play as "
                "it was played");
}

void startReplayReader(const ReplayFile& replay, ReplayReader& reader) {
    reader = ReplayReader{};
    startDecoding(reader.steps, replay.bytes.data() + replay.stepsOffset, replay.stepsSize);
    startDecoding(reader.events, replay.bytes.data() + replay.eventsOffset, replay.eventsSize);
    reader.stepsLeft = replay.outcome.stepCount;
    reader.eventsLeft = replay.outcome.eventCount;
}

Fixed readReplayStep(ReplayReader& reader) {
    Fixed dt = 0;
    if (reader.stepsLeft > 0) {
        --reader.stepsLeft;
        decodeStep(reader.steps, reader.stepCoding, dt);
    }
    return dt;
}

ReplayEvent readReplayEvent(ReplayReader& reader) {
    if (reader.eventsLeft == 0)
        return {};
    --reader.eventsLeft;
    bool knownKind = false;
    return decodeEvent(reader.events, reader.eventCoding, knownKind);
}

uint64_t archiveIdentityOf(const std::string& path) {
    FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
        return 0;
    uint64_t hash = kStateHashStart;
    std::vector<uint8_t> buffer(size_t{1} << 16);
    size_t n;
    while ((n = std::fread(buffer.data(), 1, buffer.size(), file)) > 0)
        hash = hashBytes(hash, buffer.data(), n);
    const bool ok = !std::ferror(file);
    std::fclose(file);
    return ok ? hash : 0;
}

uint32_t replayChecksum(const uint8_t* bytes, size_t count) {
    const std::array<uint32_t, 256>& table = checksumTable();
    uint32_t c = 0xFFFFFFFFu;
    for (size_t i = 0; i < count; ++i)
        c = table[(c ^ bytes[i]) & 0xFFu] ^ (c >> 8);
    return c ^ 0xFFFFFFFFu;
}

std::string replayFileName(const ReplayStart& start, int64_t endedAt) {
    const std::time_t when = static_cast<std::time_t>(endedAt);
    std::tm local{};
    localtime_r(&when, &local);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y-%m-%d_%H-%M-%S", &local);
    return std::string(stamp) + "_" + nameForFile(start.players[0]) + "_v_" +
           nameForFile(start.players[1]) + kReplayExtension;
}

std::string keepReplayFile(const std::string& folder, const std::string& name,
                           const std::vector<uint8_t>& bytes, std::string& error) {
    namespace fs = std::filesystem;
    std::error_code ec;
    fs::create_directories(folder, ec);
    if (ec) {
        error = "cannot make the folder " + folder + ": " + ec.message();
        return {};
    }
    const std::string stem = name.substr(0, name.size() - std::strlen(kReplayExtension));
    std::string chosen = name;
    for (int n = 2; fs::exists(fs::path(folder) / chosen, ec) && n < 100; ++n)
        chosen = stem + "_" + std::to_string(n) + kReplayExtension;
    const std::string path = (fs::path(folder) / chosen).string();
    const std::string temporary = (fs::path(folder) / ("." + chosen + ".part")).string();
    int why = 0;
    bool written = writeWholeFile(temporary, bytes, why);
    if (written && std::rename(temporary.c_str(), path.c_str()) != 0) {
        why = errno;
        written = false;
    }
    if (!written) {
        std::remove(temporary.c_str());
        error = "cannot write " + path + ": " + std::strerror(why);
        return {};
    }
    keepFolderSoon(path);
    return path;
}

std::vector<std::string> listReplays(const std::string& folder) {
    std::vector<std::string> names;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(folder, ec)) {
        const std::string name = entry.path().filename().string();
        if (isReplayName(name) && entry.is_regular_file(ec))
            names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    std::vector<std::string> paths;
    for (const std::string& name : names)
        paths.push_back((std::filesystem::path(folder) / name).string());
    return paths;
}

void pruneReplays(const std::string& folder, int keep) {
    const std::vector<std::string> replays = listReplays(folder);
    const size_t kept = static_cast<size_t>(std::max(keep, 0));
    for (size_t i = 0; i + kept < replays.size(); ++i)
        std::remove(replays[i].c_str());
}
