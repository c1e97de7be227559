// button_drawing.h: drawing an ImageButton: its label, its fill colour, or its face blended in.
#pragma once

#include <cstddef>
#include <cstdint>

#include "render/frame_buffer.h"

struct ImageButton;

// The label alone when set; otherwise the current face with per-pixel alpha, or the face's fill
// colour when it has no image and the colour's alpha byte is non-zero.
void drawButton(FrameBuffers& fb, const ImageButton& button);
// The first count buttons in array order, later ones over earlier ones; null entries skipped.
void drawButtons(FrameBuffers& fb, ImageButton* const* buttons, int count);

// A face pixel over the frame: alpha 255 copies the word, 0 keeps the frame, otherwise each of
// R, G, B is min(255, (dest * (255 - A) + src * (A + 1)) >> 8) and the frame's alpha stays.
uint32_t blendFacePixel(uint32_t destination, uint32_t source);
// blendFacePixel over rows runs of count pixels, several at a time: face row k, from
// face + k * faceStride, onto the frame from frame + k * frameStride.
void blendFaceRows(uint32_t* frame, ptrdiff_t frameStride, const uint32_t* face,
                   ptrdiff_t faceStride, int32_t count, int32_t rows);
