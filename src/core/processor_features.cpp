// processor_features.cpp: which of the optional vector instructions this processor offers.
#include "core/processor_features.h"

#include <cstdlib>

#include "core/vector_instructions.h"

#if defined(DROVANA_WASM_VECTORS)
// A browser runs the SIMD wasm only where it validates, so the eight-lane paths (in pairs of
// 128-bit vectors) are always there; the environment may still ask for the others, as the unit
// tests' second run under node does.
const bool processor_features::kHasAvx2 = std::getenv("DROVANA_NO_AVX2") == nullptr;
#elif defined(DROVANA_X86_VECTORS)
const bool processor_features::kHasAvx2 =
    __builtin_cpu_supports("avx2") && std::getenv("DROVANA_NO_AVX2") == nullptr;
#else
const bool processor_features::kHasAvx2 = false;
#endif
