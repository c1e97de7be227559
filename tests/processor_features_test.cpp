// The processor check decides which paths every other test takes: it must find AVX2 where the
// processor has it, or the AVX2 tests would skip unseen, and give it up under DROVANA_NO_AVX2,
// or the suite's second run would test the AVX2 paths twice and the others never.
#include "core/processor_features.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "core/vector_instructions.h"

namespace {

TEST(ProcessorFeatures, Avx2WhereTheProcessorHasItUnlessTheEnvironmentSaysNo) {
    if (std::getenv("DROVANA_NO_AVX2") != nullptr) {
        EXPECT_FALSE(cpuHasAvx2());
        return;
    }
#if defined(DROVANA_WASM_VECTORS)
    EXPECT_TRUE(cpuHasAvx2());
#elif defined(DROVANA_X86_VECTORS)
    EXPECT_EQ(cpuHasAvx2(), __builtin_cpu_supports("avx2") != 0);
#else
    EXPECT_FALSE(cpuHasAvx2());
#endif
}

} // namespace
