// engine3d.h: the engine object: frame buffers, render context, cameras, the player figures with
// their animations, and the JPEG decoder, made once at start-up and freed at exit.
#pragma once

#include "assets/pose.h"
#include "render/camera.h"
#include "render/frame_buffer.h"

struct JpegDecoder;
struct KeyAnimation;
struct Model;
struct PakArchive;

constexpr int kPlayerFigures = 2;

struct Engine3D {
    // drawBuffer .. frameShown; the render context in it is owned here.
    FrameBuffers frame;
    // [0] is player 1 (and the profile being made), [1] player 2. Each player has a model of its
    // own because visibility events and profile colours change the model itself.
    Model* playerModels[kPlayerFigures] = {};
    Pose* playerPoses[kPlayerFigures] = {};
    KeyAnimation** animations = nullptr; // kAnimationCount entries, baked against model 0
    CameraSetup camera = {};             // viewAngle .. projection
    JpegDecoder* jpeg = nullptr;
};

// Builds everything in a fixed order: cameras, frame buffers, render context, JPEG decoder, both
// models, the twenty animations, the two poses at animation 0, the fonts. A FileError on the way
// frees what was already made before it propagates.
Engine3D* makeEngine3D(PakArchive* archive);
// Render context, frame buffers, models, poses, animations (even while a pose still refers to
// one), then the JPEG decoder. Safe on a partly made engine and on null.
void destroyEngine3D(Engine3D* engine);

// The full archive name of animation `animId`.
WideString animationEntryName(int animId);
