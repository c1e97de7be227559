// wide_format.h: the few printf-style conversions the HUD texts need, written into WideStrings.
#pragma once

#include <cstdint>

#include "core/wide_string.h"

// A decimal number right-aligned in at least `width` characters: "%2d" is (value, 2, ' '),
// "%03d" is (value, 3, '0'), "%d" is (value, 0, ' '). With zeros the sign comes before them.
WideString wideDecimal(int32_t value, int width = 0, char16_t pad = u' ');
