#pragma once
// Colour arithmetic of the tab's painters. Colours are 0x00BBGGRR values,
// red in the low byte; system colours are translated by the caller.
#include <cstdint>

namespace lumio::tab {

int32_t pGetRValue(int32_t colour);
int32_t pGetGValue(int32_t colour);
int32_t pGetBValue(int32_t colour);

// Adds offset to each channel, each kept within 0..255.
int32_t OffsetColor(int32_t rgb, int32_t offset);

// Per channel (1 - a/255) * c2 + (a/255) * c1, rounded half to even: a = 255
// gives c1, a = 0 gives c2. Any failure gives c1.
int32_t pAlphaBlendColor(int32_t c1, int32_t c2, uint8_t alpha);

}  // namespace lumio::tab
