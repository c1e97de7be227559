// depth_tested_fill.h: the flat-colour, depth-tested span fill in vector registers, the loop
// that a full-screen fill spends its time in.
#pragma once

#include <cstdint>

// Fills pixels of a span from its start, eight at a time, exactly as the scalar loop would:
// where the stored depth is greater than d = z >> 11, write word and store d; z grows by dz per
// pixel. Every depth of the span must lie in 0..32767. Returns how many pixels were done, a
// multiple of eight; the caller finishes the rest.
int32_t fillDepthTestedVector(uint32_t* colour, uint16_t* depth, int32_t count, uint32_t z,
                              uint32_t dz, uint32_t word);

// The two variants it chooses between, for tests: SSE2 (any x86-64) and AVX2 (only where
// cpuHasAvx2()). Where the x86 vector instructions are not compiled in, both do nothing and
// return 0.
int32_t fillDepthTestedSse2(uint32_t* colour, uint16_t* depth, int32_t count, uint32_t z,
                            uint32_t dz, uint32_t word);
int32_t fillDepthTestedAvx2(uint32_t* colour, uint16_t* depth, int32_t count, uint32_t z,
                            uint32_t dz, uint32_t word);
