// blended_fill.h: the alpha-blended span, with and without the depth test, in vector registers;
// the shadows and the net spend their time there.
#pragma once

#include <cstdint>

// The blend's constant terms: per channel c' = ((c x keep) >> 8) + add, alpha kept.
struct BlendTerms {
    uint32_t keep;             // 255 - alpha
    uint32_t addR, addG, addB; // (source x (alpha + 1)) >> 8
};

// Blends pixels of a span from its start, four at a time, exactly as the scalar loop would.
// Returns how many pixels were done, a multiple of four; the caller finishes the rest.
int32_t blendSpanVector(uint32_t* colour, int32_t count, const BlendTerms& terms);

// The same behind the strict depth test: where the stored depth is greater than d = z >> 11,
// blend and store d; z grows by dz per pixel. Every depth of the span must lie in 0..32767.
int32_t blendDepthTestedVector(uint32_t* colour, uint16_t* depth, int32_t count, uint32_t z,
                               uint32_t dz, const BlendTerms& terms);
