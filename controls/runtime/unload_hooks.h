#pragma once
// Work to do when the library is freed (not at process exit): window classes
// go with the code they point at. Parts above the runtime (our container)
// register theirs here, so the exports need not know them.
#include <windows.h>

namespace lumio {

// Registering the same function twice runs it once.
void AtLibraryUnload(void (*fn)());
void RunLibraryUnloadHooks();

// RegisterClassExW for a class of this library. A class left registered by an
// earlier load of it points at code that is gone: it is replaced.
void RegisterLibraryClass(const WNDCLASSEXW& wc);

}  // namespace lumio
