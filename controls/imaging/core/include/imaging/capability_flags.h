#pragma once
// Capability flags of a surface, fixed from the operating-system version when
// the surface is made; some are switched later by its properties.
#include <cstdint>

#include "os_version.h"

namespace lumio {

enum CapabilityFlag : std::uint32_t {
    kCapRenderWithAlphaBlend = 0x01, // isAlphaBlendFriendly
    kCapGdiPlusEnabled = 0x02,       // isGDIplusEnabled, and GDI+ answered
    kCapAlphaBlendUsable = 0x08,     // the system's AlphaBlend works here
    kCapNoHalftone = 0x10,           // Windows 98/ME: no HALFTONE stretching
    kCapNeverGdiPlus = 0x20,         // GDI+ must not be tried
};


std::uint32_t CapabilityFlagsFor(const OsVersion &v) noexcept;

// isAlphaBlendFriendly write: True sets 0x01 only where AlphaBlend is usable.
constexpr std::uint32_t WithAlphaBlendFriendly(std::uint32_t flags, bool enabled) noexcept {
    if (!enabled) return flags & ~std::uint32_t{kCapRenderWithAlphaBlend};
    return (flags & kCapAlphaBlendUsable) ? flags | kCapRenderWithAlphaBlend : flags;
}

} // namespace lumio
