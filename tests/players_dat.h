// players_dat.h: players.dat read from outside the game, for checks byte by byte.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

constexpr size_t kPlayersDatSize = 1276;
constexpr size_t kOptionsOffset = 4;
constexpr size_t kRecordsOffset = 28;
constexpr size_t kRecordSize = 124;

std::vector<uint8_t> readFileBytes(const std::string& path);
void writeFileBytes(const std::string& path, const std::vector<uint8_t>& bytes);
// The magic and the checksum, computed here from the file's own bytes.
bool playersDatValid(const std::vector<uint8_t>& file);
std::vector<uint8_t> recordBytes(const std::vector<uint8_t>& file, int slot);
int32_t int32At(const std::vector<uint8_t>& bytes, size_t offset);
// The record of a profile made in the editor: UTF-16 names padded with zeros, level 0, rank
// `rank` on every ladder, not built in, the eight skills in file order (run speed, forehand,
// backhand, first serve, second serve, volley, smash, lob) and the four colours.
std::vector<uint8_t> editorRecord(const std::u16string& firstName, const std::u16string& lastName,
                                  int32_t rank, const int32_t skills[8], const uint32_t colours[4]);
