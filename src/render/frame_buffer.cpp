// frame_buffer.cpp: buffer set-up, the start of each frame and the dirty copy to the display.
#include "render/frame_buffer.h"

#include <cstddef>
#include <cstring>

#include "render/bulk_memory.h"
#include "render/render_context.h"

namespace {

// The clear colour (0.5, 0.6, 0.9): bytes 127, 152, 229.
constexpr Fixed kFrameClearRed = 32768;
constexpr Fixed kFrameClearGreen = 39321;
constexpr Fixed kFrameClearBlue = 58982;

} // namespace

void makeFrameBuffers(FrameBuffers& buffers) {
    buffers.block = new uint8_t[kFrameBlockBytes];
    uint8_t* p = buffers.block;
    buffers.bufferA = reinterpret_cast<uint32_t*>(p);
    buffers.bufferB = reinterpret_cast<uint32_t*>(p + kFrameBufferBytes);
    buffers.backdrop = reinterpret_cast<uint32_t*>(p + 2 * kFrameBufferBytes);
    buffers.font8x16 = p + 3 * kFrameBufferBytes;
    buffers.font6x12 = buffers.font8x16 + kFontBitmapBytes;
    std::memset(buffers.bufferA, 0, kFrameBufferBytes);
    std::memset(buffers.bufferB, 1, kFrameBufferBytes);
    std::memset(buffers.backdrop, 2, kFrameBufferBytes);
    std::memset(buffers.font8x16, 0, 2 * kFontBitmapBytes);
    buffers.drawBuffer = buffers.bufferA;
    buffers.shownBuffer = buffers.bufferB;
    buffers.frameShown = 0;
}

void freeFrameBuffers(FrameBuffers& buffers) {
    delete[] buffers.block;
    buffers = FrameBuffers{};
}

void beginFrame(FrameBuffers& buffers) {
    if (buffers.frameShown) {
        if (buffers.drawBuffer == buffers.bufferA) {
            buffers.shownBuffer = buffers.bufferA;
            buffers.drawBuffer = buffers.bufferB;
        } else {
            buffers.drawBuffer = buffers.bufferA;
            buffers.shownBuffer = buffers.bufferB;
        }
    }
    // Bound every frame, swapped or not; the depth buffer is kept while the size is the same.
    rcBindBuffer(buffers.renderContext, buffers.drawBuffer, kScreenWidth, kScreenHeight);
    buffers.frameShown = 0;
    if (RenderContext* rc = buffers.renderContext) {
        rcClearColor(rc, kFrameClearRed, kFrameClearGreen, kFrameClearBlue, 0);
        rcClearDepth(rc, 1.0);
        // The backdrop below covers every pixel, so only the depth half of the clear is done;
        // pixels and depth come out as if both had been cleared.
        rcClear(rc, GL_DEPTH_BUFFER_BIT);
    }
    copyWords(buffers.drawBuffer, buffers.backdrop, kScreenPixels);
}

namespace {

// Every pixel: the paint path. Array row r (screen row 319 - r), column c goes to
// c * xStep + (319 - r) * yStep in 16-bit units; pitches are used as even byte counts.
void copyAllGeneral(const uint32_t* src, uint16_t* display, int xStep, int yStep) {
    for (int r = 0; r < kScreenHeight; ++r) {
        uint16_t* row = display + static_cast<ptrdiff_t>(kScreenHeight - 1 - r) * yStep;
        const uint32_t* s = src + r * kScreenWidth;
        for (int c = 0; c < kScreenWidth; ++c)
            row[static_cast<ptrdiff_t>(c) * xStep] = toRgb565(s[c]);
    }
}

// The rotated display: one counted loop, 640 bytes per pixel, back 153,598 bytes per row.
void copyAllRotated(const uint32_t* src, uint8_t* display) {
    uint8_t* out = display;
    for (int r = 0; r < kScreenHeight; ++r) {
        for (int c = 0; c < kScreenWidth; ++c, ++src, out += 640) {
            const uint16_t pixel = toRgb565(*src);
            std::memcpy(out, &pixel, 2);
        }
        out -= 153598;
    }
}

// Where array pixel (row r, column c) goes on each kind of display.
struct GeneralPlace {
    uint16_t* display;
    int xStep, yStep;
    void write(int r, int c, uint16_t pixel) const {
        display[static_cast<ptrdiff_t>(c) * xStep +
                static_cast<ptrdiff_t>(kScreenHeight - 1 - r) * yStep] = pixel;
    }
};

// (640, -2): c * 640 + r * 2 bytes, which is not where the general formula puts it.
struct RotatedPlace {
    uint8_t* display;
    void write(int r, int c, uint16_t pixel) const {
        std::memcpy(display + static_cast<ptrdiff_t>(c) * 640 + r * 2, &pixel, 2);
    }
};

// Only the pixels whose word differs from the shown buffer, found 32 at a time.
template <typename Place>
bool copyChanged(const uint32_t* src, const uint32_t* shown, const Place& place) {
    ChangedBlock blocks[kScreenPixels / 32];
    const size_t found = findChangedBlocks(src, shown, kScreenPixels, blocks);
    for (size_t b = 0; b < found; ++b) {
        for (uint32_t mask = blocks[b].mask; mask != 0; mask &= mask - 1) {
            const int i = static_cast<int>(blocks[b].first) + __builtin_ctz(mask);
            const int r = i / kScreenWidth;
            place.write(r, i - r * kScreenWidth, toRgb565(src[i]));
        }
    }
    return found != 0;
}

} // namespace

bool presentFrame(FrameBuffers& buffers, uint8_t* displayMemory, const DisplayPitches& pitches,
                  uint8_t fullCopy) {
    if (!buffers.drawBuffer)
        return false;
    buffers.frameShown = 1;
    const uint32_t* src = buffers.drawBuffer;
    const uint32_t* shown = buffers.shownBuffer;
    if (pitches.cbxPitch == 640 && pitches.cbyPitch == -2) {
        if (!fullCopy)
            return copyChanged(src, shown, RotatedPlace{displayMemory});
        copyAllRotated(src, displayMemory);
        return true;
    }
    auto* display = reinterpret_cast<uint16_t*>(displayMemory);
    const int xStep = (pitches.cbxPitch & ~1) >> 1;
    const int yStep = pitches.cbyPitch >> 1;
    if (!fullCopy)
        return copyChanged(src, shown, GeneralPlace{display, xStep, yStep});
    copyAllGeneral(src, display, xStep, yStep);
    return true;
}
