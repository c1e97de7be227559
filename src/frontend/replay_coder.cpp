// replay_coder.cpp: the range coder's arithmetic: 32-bit range, 11-bit probabilities that move a
// thirty-second of the way toward each bit coded, bytes out as the range narrows.
#include "frontend/replay_coder.h"

namespace {

constexpr uint32_t kProbabilityOne = 1u << kProbabilityBits;
constexpr int kAdaptShift = 5;
constexpr uint32_t kRangeTop = 1u << 24; // below this the range takes in another byte

// The byte leaving the top of low may still receive a carry, so it waits in cache with any
// 0xFF bytes after it until a byte arrives that no carry can pass.
void shiftLow(RangeEncoder& e) {
    if (static_cast<uint32_t>(e.low) < 0xFF000000u || (e.low >> 32) != 0) {
        const uint8_t carry = static_cast<uint8_t>(e.low >> 32);
        uint8_t out = e.cache;
        do {
            e.bytes.push_back(static_cast<uint8_t>(out + carry));
            out = 0xFF;
        } while (--e.pendingBytes != 0);
        e.cache = static_cast<uint8_t>(e.low >> 24);
    }
    ++e.pendingBytes;
    e.low = (e.low & 0x00FFFFFFu) << 8;
}

void normaliseEncoder(RangeEncoder& e) {
    while (e.range < kRangeTop) {
        e.range <<= 8;
        shiftLow(e);
    }
}

uint8_t nextByte(RangeDecoder& d) {
    if (d.position < d.size)
        return d.data[d.position++];
    d.overrun = true;
    return 0;
}

void normaliseDecoder(RangeDecoder& d) {
    while (d.range < kRangeTop) {
        d.range <<= 8;
        d.code = (d.code << 8) | nextByte(d);
    }
}

int bitLength(uint32_t value) {
    int length = 0;
    while (value != 0) {
        ++length;
        value >>= 1;
    }
    return length;
}

} // namespace

void encodeBit(RangeEncoder& e, Probability& p, int bit) {
    const uint32_t bound = (e.range >> kProbabilityBits) * p;
    if (bit == 0) {
        e.range = bound;
        p = static_cast<Probability>(p + ((kProbabilityOne - p) >> kAdaptShift));
    } else {
        e.low += bound;
        e.range -= bound;
        p = static_cast<Probability>(p - (p >> kAdaptShift));
    }
    normaliseEncoder(e);
}

void encodeEvenBits(RangeEncoder& e, uint32_t value, int count) {
    for (int i = count - 1; i >= 0; --i) {
        e.range >>= 1;
        if ((value >> i) & 1u)
            e.low += e.range;
        normaliseEncoder(e);
    }
}

void finishEncoding(RangeEncoder& e) {
    for (size_t i = 0; i < kEncoderFinishBytes; ++i)
        shiftLow(e);
}

void startDecoding(RangeDecoder& d, const uint8_t* data, size_t size) {
    d = RangeDecoder{};
    d.data = data;
    d.size = size;
    for (size_t i = 0; i < kEncoderFinishBytes; ++i)
        d.code = (d.code << 8) | nextByte(d);
}

int decodeBit(RangeDecoder& d, Probability& p) {
    const uint32_t bound = (d.range >> kProbabilityBits) * p;
    int bit;
    if (d.code < bound) {
        d.range = bound;
        p = static_cast<Probability>(p + ((kProbabilityOne - p) >> kAdaptShift));
        bit = 0;
    } else {
        d.code -= bound;
        d.range -= bound;
        p = static_cast<Probability>(p - (p >> kAdaptShift));
        bit = 1;
    }
    normaliseDecoder(d);
    return bit;
}

uint32_t decodeEvenBits(RangeDecoder& d, int count) {
    uint32_t value = 0;
    for (int i = 0; i < count; ++i) {
        d.range >>= 1;
        // Damaged data can leave code above the range; the bit is then 1 and the value wrong,
        // which the checks after the coder catch.
        const uint32_t bit = d.code >= d.range ? 1u : 0u;
        if (bit)
            d.code -= d.range;
        value = (value << 1) | bit;
        normaliseDecoder(d);
    }
    return value;
}

bool decodedExactly(const RangeDecoder& d) {
    return !d.overrun && d.position == d.size;
}

void encodeNumber(RangeEncoder& e, NumberModel& model, uint32_t value) {
    const int length = bitLength(value);
    encodeTree(e, model.length, static_cast<uint32_t>(length));
    if (length > 1)
        encodeEvenBits(e, value, length - 1); // the top bit is known from the length
}

uint32_t decodeNumber(RangeDecoder& d, NumberModel& model) {
    const uint32_t length = decodeTree(d, model.length);
    if (length == 0)
        return 0;
    if (length > 32)
        return 0xFFFFFFFFu; // no number is that long: the caller's range check refuses it
    if (length == 1)
        return 1;
    const int rest = static_cast<int>(length) - 1;
    return (1u << rest) | decodeEvenBits(d, rest);
}
