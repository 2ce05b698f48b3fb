#include "os_version_win.h"

#include <windows.h>

namespace lumio {

std::optional<OsVersion> QueryOsVersion() noexcept {
    OsVersion v;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    OSVERSIONINFOEXA ex{};
    ex.dwOSVersionInfoSize = sizeof ex;
    if (GetVersionExA(reinterpret_cast<OSVERSIONINFOA *>(&ex))) {
        v.servicePackMajor = ex.wServicePackMajor;
    } else {
        // Older systems know only the plain record; no service-pack number then.
        ex = {};
        ex.dwOSVersionInfoSize = sizeof(OSVERSIONINFOA);
        if (!GetVersionExA(reinterpret_cast<OSVERSIONINFOA *>(&ex))) return std::nullopt;
    }
#pragma GCC diagnostic pop
    v.platformId = ex.dwPlatformId;
    v.major = ex.dwMajorVersion;
    v.minor = ex.dwMinorVersion;
    return v;
}

bool IsNtFamily() noexcept {
    const std::optional<OsVersion> v = QueryOsVersion();
    return v && v->platformId == kPlatformNt;
}

}  // namespace lumio
