#pragma once
// The operating system's version as the library asks for it: the platform
// family, the version number and the service pack.
#include <cstdint>

namespace lumio {

inline constexpr std::uint32_t kPlatformNt = 2;

struct OsVersion {
    std::uint32_t platformId = kPlatformNt;  // 1 = Windows 95 family
    std::uint32_t major = 0;
    std::uint32_t minor = 0;
    std::uint32_t servicePackMajor = 0;  // 0 when the system could not tell
};

}  // namespace lumio
