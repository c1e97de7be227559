// processor_features.h: which of the optional vector instructions this processor offers, asked
// once at start.
#pragma once

namespace processor_features {
// Set while the program starts, before main; read it through cpuHasAvx2(). Read earlier (from
// another file's static initialiser) it is still false, which costs speed and nothing else.
extern const bool kHasAvx2;
} // namespace processor_features

// True where the processor has AVX2, unless DROVANA_NO_AVX2 is set (to anything): then the game
// and the tests take the paths of processors without it, so that a machine that has it can run
// and compare them too. Always false where the x86 vector instructions are not compiled in;
// true in the SIMD wasm, whose eight-lane paths are pairs of 128-bit vectors.
// Inline, since the span fills ask it for every span.
//
// The one rule for AVX2: a function whose name ends in Avx2 runs AVX2 instructions without
// asking; only the function that chooses between it and its twin for other processors asks
// this, and callers go through that one.
inline bool cpuHasAvx2() {
    return processor_features::kHasAvx2;
}
