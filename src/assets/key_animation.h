// key_animation.h: the .key keyframe animations and their vertex frames baked against a model.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/fixed_point.h"
#include "core/wide_string.h"

struct Model;
struct PakArchive;

constexpr int32_t kKeyFramesPerSecond = 25;
// The longest animation accepted: far beyond any movement of the game, short of a frame count
// that would ask for gigabytes of vertex frames.
constexpr int32_t kMaxKeyFrames = 4096;
// Longest track name, terminator included.
constexpr uint32_t kMaxTrackNameBytes = 256;
// A track key on disk: rotation quaternion w, x, y, z; translation x, y, z; three unused floats.
constexpr uint32_t kTrackKeyBytes = 40;

// Event kinds, numbered by their place in the event tag table.
enum KeyEventKind : int32_t {
    KeyEventVisibility = 1,   // "VIS1": name (a transform's), value (the new visible flag)
    KeyEventPartChange = 2,   // "PCHG": name, secondName
    KeyEventSmooth = 3,       // "SMOT": value
    KeyEventTargetObject = 4, // "TOBJ": name
    KeyEventDamage = 5,       // "MDAM": value
    KeyEventSound = 6,        // "SND1": name
    KeyEventSoundStop = 7,    // "SND2": nothing
    KeyEventGenerate = 8,     // "GENE": name
    KeyEventGenerateEnd = 9,  // "GEND": nothing
};

// The four-character tag of each kind, index = kind.
extern const char* const kKeyEventTags[10];

// Only visibility events are acted on; the others are kept with their frame.
struct KeyEvent {
    int32_t kind = 0;
    std::string name;
    std::string secondName;
    int32_t value = 0;
};

struct KeyAnimation {
    int32_t orientationTrack = -1; // the track named "Orientador" (any case), or -1
    int32_t frameCount = 0;        // at least 1
    int32_t trackCount = 0;
    int32_t verticesPerFrame = 0; // all vertices of the model's primary level of detail
    // frameCount x verticesPerFrame x (x, y, z): frame after frame, mesh after mesh.
    std::vector<Fixed> vertexFrames;
    std::vector<int32_t> trackMap; // per track, the first object's transform of that name, or -1
    std::vector<std::vector<KeyEvent>> eventLists; // per frame
};

// Reads the animation and bakes every frame against the model. Raises "KEY file corrupt" for a
// wrong file, info or frame tag, an unknown event tag, a track name over 256 bytes, a negative or
// absurd count, a file shorter than its counts, or an "Orientador" track that names no
// transform; "File data corrupt" for a model without an object or level of detail.
KeyAnimation* loadKeyAnimation(PakArchive* archive, const WideString& name, const Model* model);
void freeKeyAnimation(KeyAnimation* animation);
