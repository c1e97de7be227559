// players_file.cpp: players.dat byte by byte, little-endian whatever the machine, and its checks.
#include "frontend/players_file.h"

#include "core/little_endian.h"
#include "frontend/screen_tables.h" // kLevelCount, kStadiumCount

#include <cmath>
#include <cstring>
#include <type_traits>

namespace {

constexpr uint32_t kChecksumSeed = 0x48ACEFED;
constexpr double kPi = 3.141592653589793;

// Record fields in file order, from byte 76 on: twelve 32-bit words.
constexpr int kRecordWordsOffset = offsetof(PlayerProfile, skills);
constexpr int kRecordWords = 12;
static_assert(kRecordWordsOffset + 4 * kRecordWords == kPlayersRecordSize);

template <typename Record, typename Visit> void visitRecordWords(Record& p, Visit visit) {
    visit(p.skills.runSpeed);
    visit(p.skills.forehand);
    visit(p.skills.backhand);
    visit(p.skills.firstServe);
    visit(p.skills.secondServe);
    visit(p.skills.volley);
    visit(p.skills.smash);
    visit(p.skills.lob);
    visit(p.skinColour);
    visit(p.hairColour);
    visit(p.colour3);
    visit(p.colour4);
}

// Over the option and record bytes, which lie back to back in the file.
double checksumOfBytes(const uint8_t* bytes, int count) {
    uint32_t h = kChecksumSeed;
    for (int i = 0; i < count; ++i)
        h = (bytes[i] + 165u) * h + 126u;
    return std::sqrt(static_cast<double>(h) * kPi);
}

constexpr int kChecksummedSize = kPlayersChecksumOffset - kPlayersOptionsOffset;

bool inRange(int32_t v, int32_t low, int32_t high) {
    return v >= low && v <= high;
}

bool nameTerminated(const char16_t (&name)[kProfileNameLength]) {
    for (char16_t c : name)
        if (c == 0)
            return true;
    return false;
}

// The n used profiles must hold the places 0..n-1 once each: a place of n or more would let a
// new profile's place (one below the lowest) run past the ten rows.
bool ladderIsPermutation(const PlayerProfile (&profiles)[kProfileSlots], int ladder, int used) {
    bool taken[kProfileSlots] = {};
    for (const PlayerProfile& p : profiles) {
        if (!profileUsed(p))
            continue;
        const int32_t r = p.rank[ladder];
        if (!inRange(r, 0, used - 1) || taken[r])
            return false;
        taken[r] = true;
    }
    return true;
}

} // namespace

void encodeOptionsRecord(const GameOptions& o, uint8_t* out) {
    const int32_t values[6] = {o.player1Profile, o.player2Profile, o.stadium,
                               o.setsToWin,      o.level,          o.soundOff};
    for (int i = 0; i < 6; ++i)
        putU32(out + 4 * i, static_cast<uint32_t>(values[i]));
}

GameOptions decodeOptionsRecord(const uint8_t* in) {
    auto at = [in](int i) { return static_cast<int32_t>(getU32(in + 4 * i)); };
    return {at(0), at(1), at(2), at(3), at(4), at(5)};
}

void encodeProfileRecord(const PlayerProfile& p, uint8_t* out) {
    for (int i = 0; i < kProfileNameLength; ++i) {
        putU16(out + offsetof(PlayerProfile, firstName) + 2 * i, p.firstName[i]);
        putU16(out + offsetof(PlayerProfile, lastName) + 2 * i, p.lastName[i]);
    }
    putU32(out + offsetof(PlayerProfile, level), static_cast<uint32_t>(p.level));
    for (int i = 0; i < 5; ++i)
        putU32(out + offsetof(PlayerProfile, rank) + 4 * i, static_cast<uint32_t>(p.rank[i]));
    out[offsetof(PlayerProfile, builtIn)] = p.builtIn;
    std::memcpy(out + offsetof(PlayerProfile, padding), p.padding, sizeof p.padding);
    uint8_t* word = out + kRecordWordsOffset;
    visitRecordWords(p, [&word](auto v) {
        putU32(word, static_cast<uint32_t>(v));
        word += 4;
    });
}

PlayerProfile decodeProfileRecord(const uint8_t* in) {
    PlayerProfile p{};
    for (int i = 0; i < kProfileNameLength; ++i) {
        p.firstName[i] = getU16(in + offsetof(PlayerProfile, firstName) + 2 * i);
        p.lastName[i] = getU16(in + offsetof(PlayerProfile, lastName) + 2 * i);
    }
    p.level = static_cast<int32_t>(getU32(in + offsetof(PlayerProfile, level)));
    for (int i = 0; i < 5; ++i)
        p.rank[i] = static_cast<int32_t>(getU32(in + offsetof(PlayerProfile, rank) + 4 * i));
    p.builtIn = in[offsetof(PlayerProfile, builtIn)];
    std::memcpy(p.padding, in + offsetof(PlayerProfile, padding), sizeof p.padding);
    const uint8_t* word = in + kRecordWordsOffset;
    visitRecordWords(p, [&word](auto& v) {
        v = static_cast<std::remove_reference_t<decltype(v)>>(getU32(word));
        word += 4;
    });
    return p;
}

bool optionsInRange(const GameOptions& o) {
    return inRange(o.player1Profile, 0, kProfileSlots - 1) &&
           inRange(o.player2Profile, 0, kProfileSlots - 1) &&
           inRange(o.stadium, 0, kStadiumCount - 1) && inRange(o.setsToWin, 1, kMaxSetsToWin) &&
           inRange(o.level, 0, kLevelCount - 1) && inRange(o.soundOff, 0, 1);
}

bool profileRecordInRange(const PlayerProfile& p) {
    return inRange(p.level, -1, kLevelCount - 1) && p.builtIn <= 1 && nameTerminated(p.firstName) &&
           nameTerminated(p.lastName);
}

void encodePlayersFile(const GameOptions& options, const PlayerProfile (&profiles)[kProfileSlots],
                       PlayersFileBytes& bytes) {
    putU32(bytes + kPlayersMagicOffset, kPlayersFileMagic);
    encodeOptionsRecord(options, bytes + kPlayersOptionsOffset);
    for (int i = 0; i < kProfileSlots; ++i)
        encodeProfileRecord(profiles[i], bytes + kPlayersRecordsOffset + i * kPlayersRecordSize);
    const double checksum = checksumOfBytes(bytes + kPlayersOptionsOffset, kChecksummedSize);
    uint64_t checksumBits;
    std::memcpy(&checksumBits, &checksum, 8);
    putU64(bytes + kPlayersChecksumOffset, checksumBits);
}

bool decodePlayersFile(const PlayersFileBytes& bytes, GameOptions& options,
                       PlayerProfile (&profiles)[kProfileSlots]) {
    if (getU32(bytes + kPlayersMagicOffset) != kPlayersFileMagic)
        return false;
    const uint64_t storedBits = getU64(bytes + kPlayersChecksumOffset);
    double stored;
    std::memcpy(&stored, &storedBits, 8);
    if (stored != checksumOfBytes(bytes + kPlayersOptionsOffset, kChecksummedSize))
        return false;
    options = decodeOptionsRecord(bytes + kPlayersOptionsOffset);
    for (int i = 0; i < kProfileSlots; ++i)
        profiles[i] = decodeProfileRecord(bytes + kPlayersRecordsOffset + i * kPlayersRecordSize);
    return true;
}

double profileChecksum(const GameOptions& options, const PlayerProfile (&profiles)[kProfileSlots]) {
    PlayersFileBytes bytes;
    encodePlayersFile(options, profiles, bytes);
    return checksumOfBytes(bytes + kPlayersOptionsOffset, kChecksummedSize);
}

bool profileUsed(const PlayerProfile& profile) {
    return profile.level != -1;
}

bool profilesValid(const GameOptions& options, const PlayerProfile (&profiles)[kProfileSlots]) {
    if (!optionsInRange(options))
        return false;
    int used = 0;
    for (const PlayerProfile& p : profiles) {
        if (!profileRecordInRange(p))
            return false;
        used += profileUsed(p) ? 1 : 0;
    }
    // With fewer than two, the opponent's search for a second used slot could never end.
    if (used < 2)
        return false;
    for (int ladder = 0; ladder < kLevelCount; ++ladder)
        if (!ladderIsPermutation(profiles, ladder, used))
            return false;
    return true;
}
