#pragma once
// Registry entries of the server: one set per class in ControlClasses(),
// plus the type library.
#include <windows.h>
#include <olectl.h>

namespace lumio {

// Registers every class and the type library, for the module at
// module_path. On failure nothing is left behind.
HRESULT RegisterServer(const wchar_t* module_path);
// Removes every key RegisterServer writes; succeeds when nothing is there.
HRESULT UnregisterServer();

}  // namespace lumio
