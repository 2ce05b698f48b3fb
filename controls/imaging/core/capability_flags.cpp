#include "imaging/capability_flags.h"

namespace lumio {

std::uint32_t CapabilityFlagsFor(const OsVersion &v) noexcept {
    if (v.platformId == 1) // Windows 95, 98, ME
        return v.minor != 0 ? kCapAlphaBlendUsable | kCapNoHalftone : kCapNeverGdiPlus;
    if (v.major > 4) return kCapAlphaBlendUsable | kCapRenderWithAlphaBlend;
    return v.servicePackMajor < 6 ? kCapNeverGdiPlus : 0u;
}

} // namespace lumio
