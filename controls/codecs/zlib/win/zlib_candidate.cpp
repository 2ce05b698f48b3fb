#include "zlib/win/zlib_candidate.h"

namespace lumio {
HMODULE OpenZlibCandidate(const char *libraryName) { return LoadLibraryA(libraryName); }
} // namespace lumio
