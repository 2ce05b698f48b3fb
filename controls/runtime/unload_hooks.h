#pragma once
// Work to do when the library is freed (not at process exit): window classes
// go with the code they point at. Parts above the runtime (our container)
// register theirs here, so the exports need not know them.
namespace lumio {

// Registering the same function twice runs it once.
void AtLibraryUnload(void (*fn)());
void RunLibraryUnloadHooks();

}  // namespace lumio
