// state_hash.h: one number for the whole state of a match, the same on every build, so a replay
// can be checked against the match it recorded.
#pragma once

#include <cstddef>
#include <cstdint>
#include <type_traits>

struct Match;

// 64-bit FNV-1a: byte by byte, so the value does not depend on the machine's word order.
constexpr uint64_t kStateHashStart = 14695981039346656037ull;

uint64_t hashBytes(uint64_t hash, const uint8_t* bytes, size_t count);
// The word's four bytes, lowest first.
uint64_t hashWord(uint64_t hash, uint32_t word);

// Every field of the match, its players, ball, court planes, step sounds and tally, each by
// value: padding and the layout in memory play no part.
uint64_t matchStateHash(const Match& match);
