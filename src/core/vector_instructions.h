// vector_instructions.h: whether the x86 vector instructions may be used, decided in one place.
// SSE2 is there on every x86-64 and on 32-bit x86 built for it; AVX2 paths are compiled with
// their own target attribute and chosen at run time.
#pragma once

#if defined(__x86_64__) || (defined(__i386__) && defined(__SSE2__))
#include <immintrin.h>
#define DROVANA_X86_VECTORS 1
#endif
