// A host we did not write: the system's ATL control-hosting window creates
// the scroll bar and the list box from their ProgIDs.
#include <gtest/gtest.h>
#include <windows.h>
#include <ocidl.h>
#include <olectl.h>

#include "lumiokit_ids.h"

namespace {

using AxWinInit = BOOL(WINAPI*)();
using AxCreateControl = HRESULT(WINAPI*)(LPCOLESTR, HWND, IStream*, IUnknown**);
using AxGetControl = HRESULT(WINAPI*)(HWND, IUnknown**);

HRESULT CallExport(HMODULE dll, const char* name) {
    auto fn = reinterpret_cast<HRESULT(STDAPICALLTYPE*)()>(reinterpret_cast<void*>(GetProcAddress(dll, name)));
    return fn ? fn() : E_NOTIMPL;
}

long GetLong(IDispatch* d, DISPID id) {
    DISPPARAMS none{};
    VARIANT r;
    VariantInit(&r);
    if (FAILED(d->Invoke(id, IID_NULL, 0, DISPATCH_PROPERTYGET, &none, &r, nullptr, nullptr))) return -999;
    VariantChangeType(&r, &r, 0, VT_I4);
    return r.lVal;
}

TEST(ListsAtlHost, CreatesTheScrollBarAndTheListBoxByProgId) {
    ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr)));
    HMODULE lib = LoadLibraryW(L"Lumiokit.dll");
    ASSERT_NE(lib, nullptr);
    ASSERT_EQ(CallExport(lib, "DllRegisterServer"), S_OK);
    HMODULE atl = LoadLibraryW(L"atl.dll");
    ASSERT_NE(atl, nullptr);
    auto init = reinterpret_cast<AxWinInit>(reinterpret_cast<void*>(GetProcAddress(atl, "AtlAxWinInit")));
    auto create = reinterpret_cast<AxCreateControl>(reinterpret_cast<void*>(GetProcAddress(atl, "AtlAxCreateControl")));
    auto get = reinterpret_cast<AxGetControl>(reinterpret_cast<void*>(GetProcAddress(atl, "AtlAxGetControl")));
    ASSERT_TRUE(init && create && get);
    ASSERT_TRUE(init());

    struct Case {
        const wchar_t* progId;
        const CLSID* clsid;
        DISPID member;
        long value;
    } cases[] = {
        {L"Lumiokit.LumioScrollbar", &lumio::tlb::CLSID_LumioScrollbar, lumio::tlb::dispid::LumioScrollbar::Max, 100},
        {L"Lumiokit.LumioListBox", &lumio::tlb::CLSID_LumioListBox, lumio::tlb::dispid::LumioListBox::ListIndex, -1},
    };
    // Never shown: hiding a top-level window is slow without a window manager.
    HWND top = CreateWindowExW(0, L"STATIC", L"host", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, 0, 300, 300, nullptr,
                               nullptr, nullptr, nullptr);
    for (const auto& c : cases) {
        HWND host = CreateWindowExW(0, L"AtlAxWin", L"", WS_CHILD | WS_VISIBLE, 10, 10, 120, 100, top, nullptr,
                                    nullptr, nullptr);
        ASSERT_NE(host, nullptr);
        IUnknown* container = nullptr;
        ASSERT_EQ(create(c.progId, host, nullptr, &container), S_OK) << c.progId;
        IUnknown* control = nullptr;
        ASSERT_EQ(get(host, &control), S_OK);
        ASSERT_NE(control, nullptr);
        IPersist* persist = nullptr;
        ASSERT_EQ(control->QueryInterface(IID_IPersist, reinterpret_cast<void**>(&persist)), S_OK);
        CLSID clsid{};
        persist->GetClassID(&clsid);
        EXPECT_TRUE(IsEqualCLSID(clsid, *c.clsid)) << c.progId;
        persist->Release();
        IDispatch* disp = nullptr;
        ASSERT_EQ(control->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&disp)), S_OK);
        EXPECT_EQ(GetLong(disp, c.member), c.value) << c.progId;
        disp->Release();
        control->Release();
        if (container) container->Release();
        DestroyWindow(host);
    }
    DestroyWindow(top);
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    EXPECT_EQ(CallExport(lib, "DllUnregisterServer"), S_OK);
    OleUninitialize();
}

}  // namespace
