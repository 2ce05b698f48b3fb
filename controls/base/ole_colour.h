#pragma once
// OLE colours: a value with the high bit set names a system colour; any
// other value is an RGB value already. The system's own
// translation is win/ole_colour_win.h.
#include <cstdint>

namespace lumio {

// The bits of a system-colour value that name the colour: the low byte (the
// frame's rule) or every bit below the high one (the list box's).
inline constexpr uint32_t kSysColorLowByte = 0xFFu;
inline constexpr uint32_t kSysColorAllBits = 0x7FFFFFFFu;

// With the system colour lookup passed in.
template <class GetSysColorFn>
uint32_t TranslateSysColorWith(uint32_t oleColour, GetSysColorFn getSysColor, uint32_t indexBits = kSysColorLowByte) {
    if (oleColour & 0x80000000u) return static_cast<uint32_t>(getSysColor(static_cast<int>(oleColour & indexBits)));
    return oleColour;
}

}  // namespace lumio
