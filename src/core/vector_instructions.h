// vector_instructions.h: whether the x86 vector instructions may be used, decided in one place.
// SSE2 is there on every x86-64 and on 32-bit x86 built for it; AVX2 paths are compiled with
// their own target attribute and chosen at run time.
// WebAssembly with 128-bit SIMD (the browser build's SIMD wasm) compiles the same paths:
// Emscripten translates the SSE operations (up to SSE4.2, asked for by the build), and
// core/wide_vectors_wasm.h builds the 256-bit ones from pairs of them. The scalar wasm, built
// without SIMD, takes the scalar paths.
#pragma once

#if defined(__x86_64__) || (defined(__i386__) && defined(__SSE2__))
#include <immintrin.h>
#define DROVANA_X86_VECTORS 1
#elif defined(__wasm_simd128__) && defined(__SSE4_2__)
#include <immintrin.h>

#include "core/wide_vectors_wasm.h"
#define DROVANA_X86_VECTORS 1
#define DROVANA_WASM_VECTORS 1
#endif
