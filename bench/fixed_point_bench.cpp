// Per-call cost of the fixed-point operations.
#include "core/fixed_point.h"

#include <benchmark/benchmark.h>

#include <random>
#include <vector>

namespace {

std::vector<Fixed> randomOperands(size_t n, int shift) {
    std::mt19937 rng(7);
    std::vector<Fixed> v(n);
    for (auto& x : v)
        x = static_cast<Fixed>(rng()) >> shift;
    return v;
}

template <typename Op> void runBinary(benchmark::State& state, Op op) {
    const auto a = randomOperands(4096, 4), b = randomOperands(4096, 8);
    size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(op(a[i], b[i]));
        i = (i + 1) & 4095;
    }
}

void BM_fxMul(benchmark::State& s) {
    runBinary(s, [](Fixed a, Fixed b) { return fxMul(a, b); });
}
void BM_fxDiv(benchmark::State& s) {
    runBinary(s, [](Fixed a, Fixed b) { return fxDiv(a, b); });
}
void BM_fxSqrt(benchmark::State& s) {
    runBinary(s, [](Fixed a, Fixed) { return fxSqrt(a & 0x7FFFFFFF); });
}
void BM_fxSin(benchmark::State& s) {
    runBinary(s, [](Fixed a, Fixed) { return fxSin(a); });
}

BENCHMARK(BM_fxMul);
BENCHMARK(BM_fxDiv);
BENCHMARK(BM_fxSqrt);
BENCHMARK(BM_fxSin);

} // namespace
