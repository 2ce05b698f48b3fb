#include "class_table.h"

#include <oleauto.h>

namespace lumio {
namespace {

std::vector<ControlClass>& Table() {
    // Built on first use: registrations run from other translation units'
    // static initialisers, in no defined order.
    static std::vector<ControlClass> table;
    return table;
}

}  // namespace

void RegisterControlClass(const ControlClass& cls) { Table().push_back(cls); }

const std::vector<ControlClass>& ControlClasses() { return Table(); }

const ControlClass* FindControlClass(REFCLSID clsid) {
    for (const ControlClass& c : Table())
        if (c.clsid && IsEqualCLSID(*c.clsid, clsid)) return &c;
    return nullptr;
}

HINSTANCE ModuleInstance() {
    static const HINSTANCE self = [] {
        HMODULE m = nullptr;
        GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                               GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                           reinterpret_cast<LPCWSTR>(&ModuleInstance), &m);
        return m;
    }();
    return self;
}

ITypeLib* LumiokitTypeLib() {
    // Kept for the life of the process: releasing it while the module
    // detaches could call into an already unloaded oleaut32.
    static ITypeLib* const lib = []() -> ITypeLib* {
        wchar_t path[MAX_PATH + 1];
        DWORD n = GetModuleFileNameW(ModuleInstance(), path, MAX_PATH + 1);
        if (n == 0 || n > MAX_PATH) return nullptr;
        ITypeLib* tl = nullptr;
        if (FAILED(LoadTypeLibEx(path, REGKIND_NONE, &tl))) return nullptr;
        return tl;
    }();
    return lib;
}

}  // namespace lumio
