#pragma once
// Complete bytes put in a file's place, so that a failure leaves the file the user had.
#include <windows.h>

#include <cstdint>
#include <span>
#include <string>

namespace lumio {

// Writes bytes as the file at path, creating it when absent. Through a symbolic link the
// file it names is written and the link stays. The bytes go to a new file beside the target,
// which then replaces it with ReplaceFileW (keeping the replaced file's attributes, security
// and streams), or is renamed into place when there is nothing to replace or the file system
// cannot replace. When no file can be made beside an existing target, the bytes are written
// into the target itself. A folder, a read-only file or a file held open is refused before
// anything is written.
bool ReplaceFileWith(const std::wstring &path, std::span<const std::uint8_t> bytes);

}  // namespace lumio
