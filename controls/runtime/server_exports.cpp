#include <windows.h>
#include <objbase.h>

// Nothing is registered until the control runtime exists.
extern "C" {
__declspec(dllexport) HRESULT STDAPICALLTYPE DllRegisterServer() { return E_NOTIMPL; }
__declspec(dllexport) HRESULT STDAPICALLTYPE DllUnregisterServer() { return E_NOTIMPL; }
__declspec(dllexport) HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID, REFIID, void **ppv) {
    if (ppv) *ppv = nullptr;
    return CLASS_E_CLASSNOTAVAILABLE;
}
__declspec(dllexport) HRESULT STDAPICALLTYPE DllCanUnloadNow() { return S_OK; }
}
