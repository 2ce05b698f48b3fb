#pragma once
// Live GDI objects of this process (GetGuiResources answers 0 under Wine):
// every handle value the system still recognises as a GDI object.
#include <windows.h>

#include <cstdint>

namespace lumio::test {

inline int32_t LiveGdiObjects() {
    int32_t n = 0;
    for (uintptr_t h = 1; h <= 0xFFFF; ++h)
        if (GetObjectType(reinterpret_cast<HGDIOBJ>(h)) != 0) ++n;
    return n;
}

}  // namespace lumio::test
