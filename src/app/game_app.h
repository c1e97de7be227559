// game_app.h: the game object the shell drives. For now a small stand-in that shows the frame
// loop working (a ball bouncing on a court-coloured backdrop, moved by taps), until the real
// screens arrive.
#pragma once

#include <cstdint>

#include "platform/wide_string.h"
#include "render/fixed_point.h"
#include "render/frame_buffer.h"

struct PakArchive;
struct SoundOutput;
struct SoundSet;

struct GameApp {
    PakArchive* archive = nullptr;
    SoundSet* sounds = nullptr;
    FrameBuffers frame;
    Vec3 ball{};     // screen position in Fixed pixels (z unused)
    Vec3 velocity{}; // Fixed pixels per second
    Fixed clock = 0;
};

// folder: the program's folder, where data.pak lies. output may be null (silence).
GameApp* makeGameApp(const WideString& folder, SoundOutput* output);
void destroyGameApp(GameApp* app);

void gameUpdate(GameApp* app, Fixed dt);
void gameAfterUpdate(GameApp* app);
void gameRender(GameApp* app);
void gamePresent(GameApp* app, uint8_t* displayMemory, const DisplayPitches& pitches,
                 uint8_t fullCopy);
uint8_t gameStylusDown(GameApp* app, int x, int y);
void gameStylusUp(GameApp* app, int dx, int dy);
