#pragma once
// Finds an installed zlib by name and guesses its calling convention.
#include <cstdint>
#include <string>

#include "zlib/zlib_library.h"

namespace lumio {

// Looks for "zlib1.dll", then "zlib.dll", exporting crc32. Reports the name,
// the library number (ZlibLibrary), whether it is cdecl and whether it
// exports compress2; the library is not kept loaded. testOnly stops at the
// first library with crc32 and leaves isCdecl alone. isCdecl and
// hasCompress2 are not written when no library loads at all.
bool FindZlibDll(std::string &libraryName, std::int32_t &libraryIndex, bool &isCdecl, bool &hasCompress2,
                 bool testOnly);

// FindZlibDll in test-only mode: whether "zlib1.dll" or "zlib.dll" loads and exports crc32.
bool ZlibDllPresent();

} // namespace lumio
