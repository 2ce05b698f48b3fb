#pragma once
// How the zlib probe loads a candidate library by name. Kept in an object
// file of its own so that a test can link its own definition in its place
// (Wine keeps a zlib1.dll of its own loaded in every process that uses user32).
#include <windows.h>

namespace lumio {
HMODULE OpenZlibCandidate(const char *libraryName);
}
