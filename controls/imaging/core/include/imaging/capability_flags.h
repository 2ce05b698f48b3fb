#pragma once
// Capability flags of a surface, fixed from the operating-system version when
// the surface is made; some are switched later by its properties.
#include <cstdint>

namespace lumio {

enum CapabilityFlag : std::uint32_t {
    kCapRenderWithAlphaBlend = 0x01, // isAlphaBlendFriendly
    kCapGdiPlusEnabled = 0x02,       // isGDIplusEnabled, and GDI+ answered
    kCapAlphaBlendUsable = 0x08,     // the system's AlphaBlend works here
    kCapNoHalftone = 0x10,           // Windows 98/ME: no HALFTONE stretching
    kCapNeverGdiPlus = 0x20,         // GDI+ must not be tried
};

struct OsVersion {
    std::uint32_t platformId = 2; // 1 = Windows 95 family
    std::uint32_t major = 0;
    std::uint32_t minor = 0;
    std::uint32_t servicePackMajor = 0; // 0 when the system could not tell
};

std::uint32_t CapabilityFlagsFor(const OsVersion &v) noexcept;

// isAlphaBlendFriendly write: True sets 0x01 only where AlphaBlend is usable.
constexpr std::uint32_t WithAlphaBlendFriendly(std::uint32_t flags, bool enabled) noexcept {
    if (!enabled) return flags & ~std::uint32_t{kCapRenderWithAlphaBlend};
    return (flags & kCapAlphaBlendUsable) ? flags | kCapRenderWithAlphaBlend : flags;
}

} // namespace lumio
