// bulk_memory.h: whole-buffer copies, fills and comparisons in vector registers, for the passes
// that every frame makes over the full screen (backdrop copy, depth clear, changed pixels).
#pragma once

#include <cstddef>
#include <cstdint>

void copyWords(uint32_t* destination, const uint32_t* source, size_t count);
void fillHalfWords(uint16_t* destination, uint16_t value, size_t count);

// A run of 32 words with at least one difference: bit k of mask says word first + k differs.
struct ChangedBlock {
    uint32_t first;
    uint32_t mask;
};

// The changed pixels of a frame, 32 to a block, so that unchanged stretches cost one vector
// test. count is a multiple of 32 and out has room for count / 32 blocks; returns how many
// blocks were stored, in increasing order.
size_t findChangedBlocks(const uint32_t* a, const uint32_t* b, size_t count, ChangedBlock* out);
// The variant for processors without wide vectors, for tests; the one above picks the best.
size_t findChangedBlocksScalar(const uint32_t* a, const uint32_t* b, size_t count,
                               ChangedBlock* out);
