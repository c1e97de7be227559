// key_writer.h: writes .key animation files, the keyframes the game bakes against its model.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "assets/key_animation.h"
#include "core/fixed_point.h"

// One track's key in one frame, exactly as stored: the quaternion (w, x, y, z) is written as
// given and turned into a matrix without normalising; translation is the bone's origin in its
// parent's frame (in model space for a bone without a parent).
struct KeyTrackKey {
    float rotation[4] = {1.0f, 0.0f, 0.0f, 0.0f};
    float translation[3] = {};
    float unused[3] = {};
};

struct KeyFrameRecord {
    std::vector<KeyTrackKey> keys; // one per track, in track order
    std::vector<KeyEvent> events;  // kind, and the names and value that kind carries
};

struct KeyFileRecord {
    // Names of the model transforms the tracks drive (matched ignoring case); a track named
    // "Orientador" becomes the frame the whole figure is expressed in.
    std::vector<std::string> trackNames;
    std::vector<KeyFrameRecord> frames; // 25 a second
};

// The file's bytes. Throws std::invalid_argument for a track name of 256 bytes or more, a frame
// whose key count differs from the track count, or an event kind outside 1 .. 9.
std::vector<uint8_t> buildKeyFile(const KeyFileRecord& file);

// The key of a bone turned by `rotation` (a unit quaternion w, x, y, z: the turn meant, right-
// handed about its axis) and placed at `translation` relative to its parent. The baked matrix of
// a stored quaternion turns row vectors by its conjugate, so the conjugate is what is stored.
KeyTrackKey makeTrackKey(const float rotation[4], const Vec3F& translation);
