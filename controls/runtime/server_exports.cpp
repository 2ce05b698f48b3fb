// The four exports of the in-process server.
#include <windows.h>
#include <objbase.h>

#include <new>

#include "class_table.h"
#include "com_object.h"
#include "module_lock.h"
#include "registration.h"
#include "control_window.h"
#include "cxx_thread_state.h"
#include "unload_hooks.h"

// The C++ runtime's own clean-up, made for leak checkers; not in its headers.
namespace __gnu_cxx {
void __freeres() noexcept;
}

namespace lumio {
namespace {

class ClassFactory final : public ComObject<ClassFactory, IClassFactory> {
public:
    explicit ClassFactory(const ControlClass& cls) : cls_(cls) { ModuleLock(); }

    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** out) override {
        if (!out) return E_POINTER;
        *out = nullptr;
        // An aggregated object can only hand its inner IUnknown to the outer one.
        if (outer && !IsEqualIID(iid, IID_IUnknown)) return CLASS_E_NOAGGREGATION;
        try {
            return cls_.create(outer, iid, out);
        } catch (const std::bad_alloc&) {
            return E_OUTOFMEMORY;
        } catch (...) {
            return E_UNEXPECTED;
        }
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override {
        if (lock) ModuleLock();
        else ModuleUnlock();
        return S_OK;
    }

private:
    ~ClassFactory() override { ModuleUnlock(); }

    ControlClass cls_;
};

HRESULT ModulePath(wchar_t (&path)[MAX_PATH + 1]) {
    DWORD n = GetModuleFileNameW(ModuleInstance(), path, MAX_PATH + 1);
    if (n == 0 || n > MAX_PATH) return E_FAIL;
    return S_OK;
}

}  // namespace
}  // namespace lumio

extern "C" {

__declspec(dllexport) HRESULT STDAPICALLTYPE DllRegisterServer() {
    try {
        wchar_t path[MAX_PATH + 1];
        if (FAILED(lumio::ModulePath(path))) return SELFREG_E_CLASS;
        return lumio::RegisterServer(path);
    } catch (...) {
        lumio::UnregisterServer();
        return E_OUTOFMEMORY;
    }
}

__declspec(dllexport) HRESULT STDAPICALLTYPE DllUnregisterServer() {
    try {
        return lumio::UnregisterServer();
    } catch (...) {
        return E_OUTOFMEMORY;
    }
}

__declspec(dllexport) HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID clsid, REFIID iid, void** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    const lumio::ControlClass* cls = lumio::FindControlClass(clsid);
    if (!cls || !cls->create) return CLASS_E_CLASSNOTAVAILABLE;
    auto* factory = new (std::nothrow) lumio::ClassFactory(*cls);
    if (!factory) return E_OUTOFMEMORY;
    HRESULT hr = factory->QueryInterface(iid, out);
    factory->Release();
    return hr;
}

// Unloaded by FreeLibrary rather than at process exit: the window classes go
// with the code they point at, so that a fresh load starts from nothing.
BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID reserved) {
    if (reason == DLL_PROCESS_DETACH && !reserved) {
        lumio::UnregisterWindowClasses();
        lumio::RunLibraryUnloadHooks();
        // The C++ runtime linked into this module keeps a reserve for
        // throwing when memory runs out (about 73 KB); nothing frees it when
        // the module goes, so each load would leave one behind.
        __gnu_cxx::__freeres();
        lumio::FreeCxxThreadState();
    }
    return TRUE;
}

__declspec(dllexport) HRESULT STDAPICALLTYPE DllCanUnloadNow() {
    return lumio::ModuleLockCount() == 0 ? S_OK : S_FALSE;
}

}  // extern "C"
