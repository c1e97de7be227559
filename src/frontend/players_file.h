// players_file.h: the byte layout of players.dat, its checksum and the checks on what it holds.
#pragma once

#include "frontend/game_options.h"
#include "frontend/player_profile.h"

#include <cstdint>

// Little-endian: magic, the six options, the ten records, the checksum as an IEEE 754 double.
constexpr uint32_t kPlayersFileMagic = 0xDEFECA84;
constexpr int kPlayersMagicOffset = 0;
constexpr int kPlayersOptionsOffset = 4;
constexpr int kPlayersOptionsSize = 24;
constexpr int kPlayersRecordsOffset = 28;
constexpr int kPlayersRecordSize = 124;
constexpr int kPlayersChecksumOffset = 1268;
constexpr int kPlayersFileSize = 1276;

static_assert(kPlayersOptionsOffset == kPlayersMagicOffset + 4);
static_assert(kPlayersOptionsSize == sizeof(GameOptions));
static_assert(kPlayersRecordsOffset == kPlayersOptionsOffset + kPlayersOptionsSize);
static_assert(kPlayersRecordSize == sizeof(PlayerProfile));
static_assert(kPlayersChecksumOffset == kPlayersRecordsOffset + kProfileSlots * kPlayersRecordSize);
static_assert(kPlayersFileSize == kPlayersChecksumOffset + 8);

using PlayersFileBytes = uint8_t[kPlayersFileSize];

// The six options (24 bytes) and one profile record (124 bytes) as the file lays them out; a
// replay keeps the options and the two players of its match in the same layout.
void encodeOptionsRecord(const GameOptions& options, uint8_t* out);
GameOptions decodeOptionsRecord(const uint8_t* in);
void encodeProfileRecord(const PlayerProfile& profile, uint8_t* out);
PlayerProfile decodeProfileRecord(const uint8_t* in);

// The whole file, checksum included.
void encodePlayersFile(const GameOptions& options, const PlayerProfile (&profiles)[kProfileSlots],
                       PlayersFileBytes& bytes);
// False when the magic or the checksum is wrong; the outputs are written only on success.
bool decodePlayersFile(const PlayersFileBytes& bytes, GameOptions& options,
                       PlayerProfile (&profiles)[kProfileSlots]);

// Over the 24 option bytes and the 1240 record bytes as the file holds them. Weak: every odd
// byte multiplies by an even factor, so a change followed by 32 odd bytes is not seen; the
// checks of profilesValid are what keep a bad file out.
double profileChecksum(const GameOptions& options, const PlayerProfile (&profiles)[kProfileSlots]);

bool profileUsed(const PlayerProfile& profile);

// The checksum is public, so a file that passes it may still hold values that would index out
// of bounds or never end a loop; such a file counts as damaged.
bool profilesValid(const GameOptions& options, const PlayerProfile (&profiles)[kProfileSlots]);
// The parts of that check for the options and for one record on its own.
bool optionsInRange(const GameOptions& options);
bool profileRecordInRange(const PlayerProfile& profile);
