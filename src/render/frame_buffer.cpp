// frame_buffer.cpp: buffer set-up, the start of each frame and the dirty copy to the display.
#include "render/frame_buffer.h"

#include <cstddef>
#include <cstring>

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
        buffers.frameShown = 0;
    }
    // The backdrop covers every pixel, so the colour clear would always be overwritten.
    std::memcpy(buffers.drawBuffer, buffers.backdrop, kFrameBufferBytes);
}

namespace {

// Array row r (screen row 319 - r), column c goes to c * xStep + (319 - r) * yStep in
// 16-bit units; pitches are used as even byte counts.
template <bool kFull>
void copyGeneral(const uint32_t* src, const uint32_t* shown, uint16_t* display, int xStep,
                 int yStep) {
    for (int r = 0; r < kScreenHeight; ++r) {
        uint16_t* row = display + static_cast<ptrdiff_t>(kScreenHeight - 1 - r) * yStep;
        const uint32_t* s = src + r * kScreenWidth;
        const uint32_t* old = shown + r * kScreenWidth;
        for (int c = 0; c < kScreenWidth; ++c)
            if (kFull || s[c] != old[c])
                row[static_cast<ptrdiff_t>(c) * xStep] = toRgb565(s[c]);
    }
}

// Rows laid out left to right (the usual desktop and portrait displays): unchanged runs of
// four pixels are skipped with one test, so a mostly static frame costs little more than
// reading the two buffers.
template <bool kFull>
void copyContiguousRows(const uint32_t* src, const uint32_t* shown, uint16_t* display, int yStep) {
    for (int r = 0; r < kScreenHeight; ++r) {
        uint16_t* row = display + static_cast<ptrdiff_t>(kScreenHeight - 1 - r) * yStep;
        const uint32_t* s = src + r * kScreenWidth;
        const uint32_t* old = shown + r * kScreenWidth;
        if (kFull) {
            for (int c = 0; c < kScreenWidth; ++c)
                row[c] = toRgb565(s[c]);
            continue;
        }
        for (int c = 0; c < kScreenWidth; c += 4) {
            const uint32_t differs = (s[c] ^ old[c]) | (s[c + 1] ^ old[c + 1]) |
                                     (s[c + 2] ^ old[c + 2]) | (s[c + 3] ^ old[c + 3]);
            if (differs == 0)
                continue;
            for (int k = c; k < c + 4; ++k)
                if (s[k] != old[k])
                    row[k] = toRgb565(s[k]);
        }
    }
}

// The rotated display: one counted loop, 640 bytes per pixel, back 153,598 bytes per row.
template <bool kFull>
void copyRotated(const uint32_t* src, const uint32_t* shown, uint8_t* display) {
    uint8_t* out = display;
    for (int r = 0; r < kScreenHeight; ++r) {
        for (int c = 0; c < kScreenWidth; ++c, ++src, ++shown, out += 640)
            if (kFull || *src != *shown) {
                const uint16_t pixel = toRgb565(*src);
                std::memcpy(out, &pixel, 2);
            }
        out -= 153598;
    }
}

} // namespace

void presentFrame(FrameBuffers& buffers, uint8_t* displayMemory, const DisplayPitches& pitches,
                  uint8_t fullCopy) {
    if (!buffers.drawBuffer)
        return;
    buffers.frameShown = 1;
    const uint32_t* src = buffers.drawBuffer;
    const uint32_t* shown = buffers.shownBuffer;
    if (pitches.cbxPitch == 640 && pitches.cbyPitch == -2) {
        if (fullCopy)
            copyRotated<true>(src, shown, displayMemory);
        else
            copyRotated<false>(src, shown, displayMemory);
        return;
    }
    auto* display = reinterpret_cast<uint16_t*>(displayMemory);
    const int xStep = (pitches.cbxPitch & ~1) >> 1;
    const int yStep = pitches.cbyPitch >> 1;
    if (xStep == 1) {
        if (fullCopy)
            copyContiguousRows<true>(src, shown, display, yStep);
        else
            copyContiguousRows<false>(src, shown, display, yStep);
        return;
    }
    if (fullCopy)
        copyGeneral<true>(src, shown, display, xStep, yStep);
    else
        copyGeneral<false>(src, shown, display, xStep, yStep);
}
