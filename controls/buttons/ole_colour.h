#pragma once
// The image routines' OLE colour translation (their header also brings a
// second ComPtr into this namespace, so only the function is declared here).
#include <cstdint>

namespace lumio {
// OLE colour to RGB; system colours become their current RGB; 0 on failure.
std::uint32_t TranslateOleColor(std::uint32_t oleColor);
}  // namespace lumio
