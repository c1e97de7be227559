// frame_buffer.h: the two ping-pong frame buffers, the backdrop, and their copy to the display.
#pragma once

#include <algorithm>
#include <cstdint>

#include "core/display.h"
#include "core/screen_rows.h"

struct RenderContext;

constexpr uint32_t kFrameBufferBytes = kScreenPixels * 4;
constexpr uint32_t kFontBitmapBytes = 128 * 96;
// bufferA, bufferB, backdrop, then the 8x16 and 6x12 font bitmaps, in one allocation.
constexpr uint32_t kFrameBlockBytes = 3 * kFrameBufferBytes + 2 * kFontBitmapBytes;
static_assert(kFrameBlockBytes == 946176, "the frame-buffer block is 0xE7000 bytes");

// Pixels are 32-bit words holding R, G, B, A in memory order; rows are stored bottom-up, so
// screen pixel (x, y) is element (319 - y) * 240 + x.
struct FrameBuffers {
    uint32_t* drawBuffer = nullptr;
    uint32_t* bufferA = nullptr;
    uint32_t* bufferB = nullptr;
    uint32_t* shownBuffer = nullptr;
    uint32_t* backdrop = nullptr;
    uint8_t* font8x16 = nullptr;
    uint8_t* font6x12 = nullptr;
    RenderContext* renderContext = nullptr; // not owned
    uint8_t frameShown = 0;
    uint8_t* block = nullptr; // owns all of the above
    // The rows of bufferA and bufferB that may differ from the backdrop: every row not in a
    // buffer's set holds the backdrop's, so the next frame restores only those in its set, and
    // the present compares only rows in either buffer's set.
    ScreenRows rowsA;
    ScreenRows rowsB;
};

constexpr int frameBufferIndex(int x, int y) {
    return (kScreenHeight - 1 - y) * kScreenWidth + x;
}

inline ScreenRows& drawnRows(FrameBuffers& buffers) {
    return buffers.drawBuffer == buffers.bufferA ? buffers.rowsA : buffers.rowsB;
}

inline const ScreenRows& drawnRows(const FrameBuffers& buffers) {
    return buffers.drawBuffer == buffers.bufferA ? buffers.rowsA : buffers.rowsB;
}

// Everything that writes drawBuffer other than through the render context says which screen
// rows it wrote (from the top); rows off the screen are left out.
inline void markRowsDrawn(FrameBuffers& buffers, int top, int rows) {
    markRows(drawnRows(buffers), std::max(top, 0), std::min(top + rows, kScreenHeight));
}

// After the backdrop is written: no buffer's rows are then known to hold it.
inline void markBackdropChanged(FrameBuffers& buffers) {
    markAllRows(buffers.rowsA);
    markAllRows(buffers.rowsB);
}

// bufferA filled with byte 0, bufferB with 1, the backdrop with 2, so the first frame differs
// from the "shown" one everywhere and is written in full.
void makeFrameBuffers(FrameBuffers& buffers);
void freeFrameBuffers(FrameBuffers& buffers);

// Swaps the buffers when the last frame reached the display, then starts the frame from the
// backdrop.
void beginFrame(FrameBuffers& buffers);

// Writes drawBuffer to display memory as RGB565: every pixel when fullCopy is 1, otherwise
// only those whose word differs from shownBuffer. `written` is set to the screen rows that
// were written, whatever the display's layout. Returns false when nothing was written, so that
// an unchanged frame need not be shown again.
bool presentFrame(FrameBuffers& buffers, uint8_t* displayMemory, const DisplayPitches& pitches,
                  uint8_t fullCopy, ScreenRows& written);

constexpr uint16_t toRgb565(uint32_t p) {
    return static_cast<uint16_t>(((p >> 3) & 0x1F) << 11 | ((p >> 10) & 0x3F) << 5 |
                                 ((p >> 19) & 0x1F));
}
