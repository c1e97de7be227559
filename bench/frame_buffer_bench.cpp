// Cost of presenting a frame: the full copy, and a frame with 5% of its pixels changed.
#include "render/frame_buffer.h"

#include <benchmark/benchmark.h>

#include <random>
#include <vector>

namespace {

enum class Changes { Scattered, Clustered };

// Scattered: 5% of the pixels anywhere (a worst case for branch prediction). Clustered: the
// same number of pixels in 16 blocks of 16 x 15, as moving figures change a real frame.
std::vector<int> changedPixels(Changes kind, int percent, std::mt19937& rng) {
    std::vector<int> changed;
    const int count = kScreenPixels * percent / 100;
    if (kind == Changes::Scattered) {
        for (int i = 0; i < count; ++i)
            changed.push_back(static_cast<int>(rng() % kScreenPixels));
        return changed;
    }
    for (int block = 0; block < 16 && count > 0; ++block) {
        const int x0 = static_cast<int>(rng() % (kScreenWidth - 16));
        const int y0 = static_cast<int>(rng() % (kScreenHeight - 15));
        for (int y = 0; y < 15; ++y)
            for (int x = 0; x < 16; ++x)
                changed.push_back(frameBufferIndex(x0 + x, y0 + y));
    }
    return changed;
}

void presentLoop(benchmark::State& state, uint8_t fullCopy, int changedPercent,
                 bool measureBegin = false, Changes kind = Changes::Scattered) {
    FrameBuffers fb;
    ScreenRows written;
    makeFrameBuffers(fb);
    std::vector<uint16_t> display(kScreenPixels);
    auto* memory = reinterpret_cast<uint8_t*>(display.data());
    std::mt19937 rng(9);
    for (int i = 0; i < kScreenPixels; ++i)
        fb.backdrop[i] = rng();
    beginFrame(fb);
    presentFrame(fb, memory, {2, 480}, 1, written);
    beginFrame(fb);
    presentFrame(fb, memory, {2, 480}, 1, written);
    const std::vector<int> changed = changedPixels(kind, changedPercent, rng);
    uint32_t tick = 0;
    for (auto _ : state) {
        state.PauseTiming();
        beginFrame(fb);
        ++tick;
        for (int i : changed) {
            fb.drawBuffer[i] ^= tick;
            markRowsDrawn(fb, kScreenHeight - 1 - i / kScreenWidth, 1);
        }
        state.ResumeTiming();
        if (measureBegin)
            beginFrame(fb);
        else
            presentFrame(fb, memory, {2, 480}, fullCopy, written);
        benchmark::ClobberMemory();
    }
    freeFrameBuffers(fb);
}

void BM_presentFull(benchmark::State& s) {
    presentLoop(s, 1, 0);
}
void BM_presentFivePercentScattered(benchmark::State& s) {
    presentLoop(s, 0, 5);
}
void BM_presentFivePercentClustered(benchmark::State& s) {
    presentLoop(s, 0, 5, false, Changes::Clustered);
}
// beginFrame alone (the backdrop copy) for comparison.
void BM_beginFrame(benchmark::State& s) {
    presentLoop(s, 0, 0, true);
}

BENCHMARK(BM_presentFull)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_presentFivePercentScattered)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_presentFivePercentClustered)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_beginFrame)->Unit(benchmark::kMicrosecond);

} // namespace
