// frame_buffer.cpp: buffer set-up, the start of each frame and the dirty copy to the display.
#include "render/frame_buffer.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

#include "core/processor_features.h"
#include "core/vector_instructions.h"
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
    markBackdropChanged(buffers); // each buffer differs from the backdrop everywhere
}

void freeFrameBuffers(FrameBuffers& buffers) {
    delete[] buffers.block;
    buffers = FrameBuffers{};
}

namespace {

// Screen rows first .. end - 1 are array rows 320 - end .. 319 - first, stored in one stretch.
size_t arrayStart(const RowRun& run) {
    return static_cast<size_t>(kScreenHeight - run.end) * kScreenWidth;
}

size_t arrayEnd(const RowRun& run) {
    return static_cast<size_t>(kScreenHeight - run.first) * kScreenWidth;
}

void restoreBackdrop(uint32_t* buffer, const uint32_t* backdrop, const ScreenRows& rows) {
    RowRun runs[kMaxRowRuns];
    const int count = markedRuns(rows, runs);
    for (int i = 0; i < count; ++i) {
        const size_t start = arrayStart(runs[i]);
        copyWords(buffer + start, backdrop + start, arrayEnd(runs[i]) - start);
    }
}

} // namespace

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
    ScreenRows& rows = drawnRows(buffers);
    if (RenderContext* rc = buffers.renderContext) {
        rcTrackColourRows(rc, &rows);
        rcClearColor(rc, kFrameClearRed, kFrameClearGreen, kFrameClearBlue, 0);
        rcClearDepth(rc, 1.0);
        // The backdrop below covers every pixel, so only the depth half of the clear is done;
        // pixels and depth come out as if both had been cleared.
        rcClear(rc, GL_DEPTH_BUFFER_BIT);
    }
    restoreBackdrop(buffers.drawBuffer, buffers.backdrop, rows);
    rows = {};
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

// Where array pixel (row r, column c) goes: a byte offset linear in each, for every pitch pair.
struct DisplayPlace {
    uint8_t* display;
    ptrdiff_t origin, rowBytes, columnBytes;
};

// c * xStep + (319 - r) * yStep in 16-bit units.
DisplayPlace generalPlace(uint8_t* display, int xStep, int yStep) {
    return {display, static_cast<ptrdiff_t>(kScreenHeight - 1) * yStep * 2,
            -2 * static_cast<ptrdiff_t>(yStep), 2 * static_cast<ptrdiff_t>(xStep)};
}

// (640, -2): c * 640 + r * 2 bytes, which is not where the general formula puts it.
DisplayPlace rotatedPlace(uint8_t* display) {
    return {display, 0, 2, 640};
}

// Sixteen changed words at a time: with 240 words to a row and blocks starting at multiples of
// 32, the sixteen never run over the end of a row.
constexpr int kRun = 16;
constexpr uint32_t kWholeRun = (1u << kRun) - 1;
static_assert(kScreenWidth % kRun == 0, "a run of changed words stays within one row");

// Where the run from array word first starts in display memory.
inline uint8_t* runStart(const DisplayPlace& place, int first) {
    const int r = first / kScreenWidth;
    return place.display +
           (place.origin + r * place.rowBytes + (first - r * kScreenWidth) * place.columnBytes);
}

// Any processor: each changed word converted and written on its own. The place is a copy, so
// that the display writes need not be assumed to change it.
void placeChangedWords(const uint32_t* src, const ChangedBlock* blocks, size_t found,
                       DisplayPlace place) {
    for (size_t b = 0; b < found; ++b)
        for (int k = 0; k < 32; k += kRun) {
            const int first = static_cast<int>(blocks[b].first) + k;
            uint8_t* run = runStart(place, first);
            for (uint32_t mask = blocks[b].mask >> k & kWholeRun; mask != 0; mask &= mask - 1) {
                const int i = __builtin_ctz(mask);
                const uint16_t pixel = toRgb565(src[first + i]);
                std::memcpy(run + i * place.columnBytes, &pixel, 2);
            }
        }
}

#if defined(DROVANA_X86_VECTORS)

// Eight words to RGB565 in their 32-bit lanes, each below 65536.
__attribute__((target("avx2"), always_inline)) inline __m256i rgb565Lanes(const uint32_t* src) {
    const __m256i p = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(src));
    const __m256i red = _mm256_and_si256(_mm256_slli_epi32(p, 8), _mm256_set1_epi32(0xF800));
    const __m256i green = _mm256_and_si256(_mm256_srli_epi32(p, 5), _mm256_set1_epi32(0x07E0));
    const __m256i blue = _mm256_and_si256(_mm256_srli_epi32(p, 19), _mm256_set1_epi32(0x001F));
    return _mm256_or_si256(_mm256_or_si256(red, green), blue);
}

// A run's sixteen words as RGB565 in order. The pack works within 128-bit halves, so the
// quarters are put back in order after it.
__attribute__((target("avx2"), always_inline)) inline __m256i rgb565Run(const uint32_t* src) {
    const __m256i packed = _mm256_packus_epi32(rgb565Lanes(src), rgb565Lanes(src + 8));
    return _mm256_permute4x64_epi64(packed, 0xD8);
}

// A run is converted whole: written straight out when all of it changed and the display holds
// it in a row, otherwise only its changed pixels are picked from the converted ones.
__attribute__((target("avx2"))) void placeChangedRunsAvx2(const uint32_t* src,
                                                          const ChangedBlock* blocks, size_t found,
                                                          DisplayPlace place) {
    const bool inARow = place.columnBytes == 2;
    for (size_t b = 0; b < found; ++b)
        for (int k = 0; k < 32; k += kRun) {
            uint32_t mask = blocks[b].mask >> k & kWholeRun;
            if (mask == 0)
                continue;
            const int first = static_cast<int>(blocks[b].first) + k;
            uint8_t* run = runStart(place, first);
            const __m256i pixels = rgb565Run(src + first);
            if (inARow && mask == kWholeRun) {
                _mm256_storeu_si256(reinterpret_cast<__m256i*>(run), pixels);
                continue;
            }
            alignas(32) uint16_t converted[kRun];
            _mm256_store_si256(reinterpret_cast<__m256i*>(converted), pixels);
            for (; mask != 0; mask &= mask - 1) {
                const int i = __builtin_ctz(mask);
                std::memcpy(run + i * place.columnBytes, &converted[i], 2);
            }
        }
}

#endif

// The screen rows of a block's first and last changed words (a block may cross a row's end).
void markChangedRows(const ChangedBlock* blocks, size_t found, ScreenRows& written) {
    for (size_t b = 0; b < found; ++b) {
        const uint32_t first = blocks[b].first + __builtin_ctz(blocks[b].mask);
        const uint32_t last = blocks[b].first + 31 - __builtin_clz(blocks[b].mask);
        markRow(written, kScreenHeight - 1 - static_cast<int>(first / kScreenWidth));
        markRow(written, kScreenHeight - 1 - static_cast<int>(last / kScreenWidth));
    }
}

constexpr size_t kBlockWords = 32;

// The changed blocks within the rows, in increasing order. A run of rows is widened to whole
// blocks (a block may start in the row before and end in the row after) and starts where the
// run before it left off, so that no block is found twice; the words it takes in from rows
// outside the set are equal in both buffers and change nothing.
size_t findChangedBlocksInRows(const uint32_t* src, const uint32_t* shown, const ScreenRows& rows,
                               ChangedBlock* out) {
    RowRun runs[kMaxRowRuns];
    const int count = markedRuns(rows, runs);
    size_t found = 0;
    size_t scannedTo = 0;
    // From the bottom of the screen up, which is array order.
    for (int i = count - 1; i >= 0; --i) {
        const size_t start = std::max(arrayStart(runs[i]) / kBlockWords * kBlockWords, scannedTo);
        const size_t end = (arrayEnd(runs[i]) + kBlockWords - 1) / kBlockWords * kBlockWords;
        if (start >= end)
            continue;
        const size_t more = findChangedBlocks(src + start, shown + start, end - start, out + found);
        for (size_t b = found; b < found + more; ++b)
            out[b].first += static_cast<uint32_t>(start);
        found += more;
        scannedTo = end;
    }
    return found;
}

// Only the pixels whose word differs from the shown buffer, found 32 at a time among the rows
// either buffer may have drawn: every other row holds the backdrop in both.
bool copyChanged(const uint32_t* src, const uint32_t* shown, const ScreenRows& rows,
                 const DisplayPlace& place, ScreenRows& written) {
    ChangedBlock blocks[kScreenPixels / kBlockWords];
    const size_t found = findChangedBlocksInRows(src, shown, rows, blocks);
    markChangedRows(blocks, found, written);
#if defined(DROVANA_X86_VECTORS)
    if (cpuHasAvx2()) {
        placeChangedRunsAvx2(src, blocks, found, place);
        return found != 0;
    }
#endif
    placeChangedWords(src, blocks, found, place);
    return found != 0;
}

} // namespace

bool presentFrame(FrameBuffers& buffers, uint8_t* displayMemory, const DisplayPitches& pitches,
                  uint8_t fullCopy, ScreenRows& written) {
    clearRows(written);
    if (!buffers.drawBuffer)
        return false;
    buffers.frameShown = 1;
    if (fullCopy)
        markAllRows(written);
    const uint32_t* src = buffers.drawBuffer;
    const uint32_t* shown = buffers.shownBuffer;
    const ScreenRows rows = rowsOfEither(buffers.rowsA, buffers.rowsB);
    if (pitches.cbxPitch == 640 && pitches.cbyPitch == -2) {
        if (!fullCopy)
            return copyChanged(src, shown, rows, rotatedPlace(displayMemory), written);
        copyAllRotated(src, displayMemory);
        return true;
    }
    auto* display = reinterpret_cast<uint16_t*>(displayMemory);
    const int xStep = (pitches.cbxPitch & ~1) >> 1;
    const int yStep = pitches.cbyPitch >> 1;
    if (!fullCopy)
        return copyChanged(src, shown, rows, generalPlace(displayMemory, xStep, yStep), written);
    copyAllGeneral(src, display, xStep, yStep);
    return true;
}
