#pragma once
// OLE colours: a value with the high bit set names a system colour by its
// low byte; any other value is an RGB value already. The system's own
// translation is win/ole_colour_win.h.
#include <cstdint>

namespace lumio {

// The frame's rule, with the system colour lookup passed in.
template <class GetSysColorFn>
uint32_t TranslateSysColorWith(uint32_t oleColour, GetSysColorFn getSysColor) {
    if (oleColour & 0x80000000u) return static_cast<uint32_t>(getSysColor(static_cast<int>(oleColour & 0xFFu)));
    return oleColour;
}

}  // namespace lumio
