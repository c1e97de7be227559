// game_resources.h: what the game loads once and keeps until it ends (the archive, the engine
// with its figures, the sounds, the match), made and freed in one order for the game and the
// tools that draw its screens.
#pragma once

#include "core/wide_string.h"

struct Engine3D;
struct Match;
struct PakArchive;
struct SoundOutput;
struct SoundSet;

struct GameResources {
    PakArchive* pak = nullptr;
    Engine3D* engine = nullptr;
    SoundSet* sounds = nullptr;
    Match* match = nullptr;
};

// The archive and the engine (models, animations, fonts, decoder). Raises FileError; what was
// made stays in the record for closeGameResources.
void openArchiveAndEngine(GameResources& resources, const WideString& pakPath);
// The sounds (output may be null: silence) and the match.
void openSoundsAndMatch(GameResources& resources, SoundOutput* output);
// Frees in the game's teardown order: the archive, the match, the sounds, the engine. Safe on a
// partly opened record; leaves it empty.
void closeGameResources(GameResources& resources);
