#pragma once
// OLE colour to RGB through the system. Two rules, kept apart because their
// callers differ on values that are no valid OLE colour.
#include <windows.h>

#include <cstdint>

#include "ole_colour.h"

namespace lumio {

// OleTranslateColor without a palette; 0 when the translation fails. The
// controls' colours and the image engine's.
uint32_t TranslateOleColor(uint32_t oleColour);
// OleTranslateColor with a palette (or none); false, and rgb untouched, when
// the translation fails.
bool TryTranslateOleColor(uint32_t oleColour, HPALETTE palette, uint32_t &rgb);

// The high bit set: GetSysColor(the index bits); other values unchanged. The
// custom frame's colours and the list box's.
uint32_t TranslateSysColor(uint32_t oleColour, uint32_t indexBits = kSysColorLowByte);

}  // namespace lumio
