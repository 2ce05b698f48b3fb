#pragma once
// The classes this server can create and its type library. Windows builds
// only. The module's lifetime count is module_lock.h, in controls/base.
//
// The identifiers of the library (CLSIDs, IIDs, dispatch identifiers,
// enumerations) are in lumiokit_ids.h, target lumio_ids. Members typed as
// handles or message arguments (hWnd, hDC, wParam, ...) are LONG_PTR: VT_I8
// in the 64-bit library, VT_I4 in the 32-bit one. A test program that wants
// LumiokitTypeLib() from its own module links lumio_resources whole.
#include <windows.h>
#include <oaidl.h>

#include <vector>

namespace lumio {

struct ControlClass {
    const CLSID* clsid;
    const wchar_t* name;   // L"LumioButton"; the ProgID is "Lumiokit.<name>"
    DWORD misc_status;     // OLEMISC_* flags for every aspect
    int toolbox_bitmap;    // bitmap resource id in this module
    HRESULT (*create)(IUnknown* outer, REFIID iid, void** out);
};

// Each implemented class calls this while statics are initialised; the
// component libraries are linked whole, so every class is present.
void RegisterControlClass(const ControlClass& cls);
const std::vector<ControlClass>& ControlClasses();
const ControlClass* FindControlClass(REFCLSID clsid);

// The module holding this code (Lumiokit.dll, or a test executable).
HINSTANCE ModuleInstance();
// Loaded once from the module's TYPELIB resource 1; no reference is added
// for the caller. Null when the module carries none.
ITypeLib* LumiokitTypeLib();

}  // namespace lumio
