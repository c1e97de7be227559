// state_json.h: what a script's `state` command prints: the game object as one JSON record.
#pragma once

#include <nlohmann/json.hpp>

struct GameApp;

// Screen, buttons, options, profiles, the tournament and practice counters, the match, the
// statistics page's rows while it shows, and the notices told at start.
// Fixed values are given raw (65536 = 1.0).
nlohmann::ordered_json gameStateJson(const GameApp& app);

struct Match;
// The match as `state` shows it, with the hash of its whole state.
nlohmann::ordered_json matchStateJson(const Match& match);
