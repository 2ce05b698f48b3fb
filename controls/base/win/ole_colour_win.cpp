#include "ole_colour_win.h"

#include <windows.h>
#include <ole2.h>
#include <olectl.h>

namespace lumio {

bool TryTranslateOleColor(uint32_t oleColour, HPALETTE palette, uint32_t &rgb) {
    COLORREF translated = 0;
    if (FAILED(OleTranslateColor(static_cast<OLE_COLOR>(oleColour), palette, &translated))) return false;
    rgb = translated;
    return true;
}

uint32_t TranslateOleColor(uint32_t oleColour) {
    uint32_t rgb = 0;
    return TryTranslateOleColor(oleColour, nullptr, rgb) ? rgb : 0;
}

uint32_t TranslateSysColor(uint32_t oleColour, uint32_t indexBits) {
    return TranslateSysColorWith(oleColour, [](int index) { return GetSysColor(index); }, indexBits);
}

}  // namespace lumio
