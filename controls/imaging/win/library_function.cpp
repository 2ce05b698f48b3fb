#include "imaging/mod_parsers_win.h"
#include "win_handles.h"

namespace lumio {

bool IsDllFunctionAvailable(const char *libraryName, const char *functionName) {
    LoadedLibrary lib(LoadLibraryA(libraryName));
    return lib && lib.proc(functionName) != nullptr;
}

} // namespace lumio
