// wide_format.cpp: decimal conversion without the C library's locale-dependent formatting.
#include "core/wide_format.h"

WideString wideDecimal(int32_t value, int width, char16_t pad) {
    // Magnitude in 64 bits, so the most negative value has one too.
    int64_t magnitude = value;
    const bool negative = magnitude < 0;
    if (negative)
        magnitude = -magnitude;
    WideString digits;
    do {
        digits.insert(digits.begin(), static_cast<char16_t>(u'0' + magnitude % 10));
        magnitude /= 10;
    } while (magnitude > 0);
    const int used = static_cast<int>(digits.size()) + (negative ? 1 : 0);
    const WideString padding(used < width ? static_cast<size_t>(width - used) : 0, pad);
    const WideString sign = negative ? u"-" : u"";
    return pad == u'0' ? sign + padding + digits : padding + sign + digits;
}
