#pragma once
// The one question to the system about its version.
#include <optional>

#include "os_version.h"

namespace lumio {

// The extended version record where the system has it, else the plain one;
// nothing when the system answers neither.
std::optional<OsVersion> QueryOsVersion() noexcept;

// True when the system answers and is of the NT family.
bool IsNtFamily() noexcept;

}  // namespace lumio
