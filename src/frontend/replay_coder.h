// replay_coder.h: an adaptive binary range coder, which a replay's steps and events pass through.
// A step that repeats the one before costs a small fraction of a bit, and the jitter of a real
// frame clock costs about what it carries, so a long match stays small.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// The chance that the next bit is 0, out of 1 << kProbabilityBits; it follows what was coded.
using Probability = uint16_t;
constexpr int kProbabilityBits = 11;
constexpr Probability kProbabilityEven = 1 << (kProbabilityBits - 1);

struct RangeEncoder {
    uint64_t low = 0;
    uint32_t range = 0xFFFFFFFFu;
    uint8_t cache = 0;
    uint64_t pendingBytes = 1; // the cache and the 0xFF bytes a carry may still change
    std::vector<uint8_t> bytes;
};

struct RangeDecoder {
    const uint8_t* data = nullptr;
    size_t size = 0;
    size_t position = 0;
    uint32_t range = 0xFFFFFFFFu;
    uint32_t code = 0;
    bool overrun = false; // more was read than the data holds: it was cut short
};

void encodeBit(RangeEncoder& encoder, Probability& probability, int bit);
// Bits with an even chance, highest first, for values with no pattern to learn.
void encodeEvenBits(RangeEncoder& encoder, uint32_t value, int count);
// Writes out what the coder still holds; nothing may be encoded afterwards.
void finishEncoding(RangeEncoder& encoder);
// What finishEncoding would add to bytes.size().
constexpr size_t kEncoderFinishBytes = 5;

void startDecoding(RangeDecoder& decoder, const uint8_t* data, size_t size);
int decodeBit(RangeDecoder& decoder, Probability& probability);
uint32_t decodeEvenBits(RangeDecoder& decoder, int count);
// True when the decoder read its data to the last byte and not beyond: a stream read with the
// counts it was written with ends exactly there.
bool decodedExactly(const RangeDecoder& decoder);

// A value of `bits` bits coded bit by bit from the top, each bit learnt in the context of those
// above it.
template <int Bits> struct BitTree {
    Probability nodes[1 << Bits];
    BitTree() {
        for (Probability& p : nodes)
            p = kProbabilityEven;
    }
};

template <int Bits> void encodeTree(RangeEncoder& encoder, BitTree<Bits>& tree, uint32_t value) {
    uint32_t node = 1;
    for (int i = Bits - 1; i >= 0; --i) {
        const int bit = static_cast<int>((value >> i) & 1u);
        encodeBit(encoder, tree.nodes[node], bit);
        node = (node << 1) | static_cast<uint32_t>(bit);
    }
}

template <int Bits> uint32_t decodeTree(RangeDecoder& decoder, BitTree<Bits>& tree) {
    uint32_t node = 1;
    for (int i = 0; i < Bits; ++i)
        node = (node << 1) | static_cast<uint32_t>(decodeBit(decoder, tree.nodes[node]));
    return node - (1u << Bits);
}

// Any 32-bit number, small ones cheap: its length in bits learnt, the bits below the top one even.
struct NumberModel {
    BitTree<6> length; // 0 for the number 0, else 1..32
};
void encodeNumber(RangeEncoder& encoder, NumberModel& model, uint32_t value);
uint32_t decodeNumber(RangeDecoder& decoder, NumberModel& model);
