// processor_features.cpp: which of the optional vector instructions this processor offers.
#include "core/processor_features.h"

#include <cstdlib>

#include "core/vector_instructions.h"

#if defined(DROVANA_X86_VECTORS)
const bool processor_features::kHasAvx2 =
    __builtin_cpu_supports("avx2") && std::getenv("DROVANA_NO_AVX2") == nullptr;
#else
const bool processor_features::kHasAvx2 = false;
#endif
