// A host we did not write: the system's ATL control-hosting window creates
// LumioTab from its ProgID. That host has no parent object with a Width and
// no list of contained controls; the control still starts complete.
#include <gtest/gtest.h>
#include <windows.h>
#include <ocidl.h>
#include <olectl.h>

#include <string>

#include "lumiokit_ids.h"

namespace {

namespace id = lumio::tlb::dispid::LumioTab;

using AxWinInit = BOOL(WINAPI*)();
using AxCreateControl = HRESULT(WINAPI*)(LPCOLESTR, HWND, IStream*, IUnknown**);
using AxGetControl = HRESULT(WINAPI*)(HWND, IUnknown**);

HRESULT CallExport(HMODULE dll, const char* name) {
    auto fn = reinterpret_cast<HRESULT(STDAPICALLTYPE*)()>(reinterpret_cast<void*>(GetProcAddress(dll, name)));
    return fn ? fn() : E_NOTIMPL;
}

HRESULT GetProp(IDispatch* d, DISPID which, VARIANT* out, const VARIANT* index = nullptr) {
    VariantInit(out);
    DISPPARAMS args{const_cast<VARIANT*>(index), nullptr, index ? 1u : 0u, 0};
    return d->Invoke(which, IID_NULL, 0, DISPATCH_PROPERTYGET, &args, out, nullptr, nullptr);
}

long GetLong(IDispatch* d, DISPID which) {
    VARIANT v;
    if (FAILED(GetProp(d, which, &v)) || FAILED(VariantChangeType(&v, &v, 0, VT_I4))) return -12345;
    return v.lVal;
}

HRESULT PutLong(IDispatch* d, DISPID which, long value) {
    VARIANT arg;
    VariantInit(&arg);
    arg.vt = VT_I4;
    arg.lVal = value;
    DISPID named = DISPID_PROPERTYPUT;
    DISPPARAMS put{&arg, &named, 1, 1};
    return d->Invoke(which, IID_NULL, 0, DISPATCH_PROPERTYPUT, &put, nullptr, nullptr, nullptr);
}

TEST(AtlHost, CreatesLumioTabByProgIdWithItsTabsAndPalette) {
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

    // Never shown: hiding a top-level window is slow without a window manager.
    HWND top = CreateWindowExW(0, L"STATIC", L"host", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, 0, 400, 300, nullptr,
                               nullptr, nullptr, nullptr);
    HWND host = CreateWindowExW(0, L"AtlAxWin", L"", WS_CHILD | WS_VISIBLE, 10, 10, 300, 200, top, nullptr, nullptr,
                                nullptr);
    ASSERT_NE(host, nullptr);
    IUnknown* container = nullptr;
    ASSERT_EQ(create(L"Lumiokit.LumioTab", host, nullptr, &container), S_OK);
    IUnknown* control = nullptr;
    ASSERT_EQ(get(host, &control), S_OK);
    ASSERT_NE(control, nullptr);

    IPersist* persist = nullptr;
    ASSERT_EQ(control->QueryInterface(IID_IPersist, reinterpret_cast<void**>(&persist)), S_OK);
    CLSID clsid{};
    persist->GetClassID(&clsid);
    EXPECT_TRUE(IsEqualCLSID(clsid, lumio::tlb::CLSID_LumioTab));
    persist->Release();

    IDispatch* tab = nullptr;
    ASSERT_EQ(control->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&tab)), S_OK);
    // No parent width to read: the default offset, and the set-up went on to
    // the tab records and the standard palette.
    EXPECT_EQ(GetLong(tab, id::TabOffset), 10000);
    EXPECT_EQ(GetLong(tab, id::TabCount), 3);
    EXPECT_EQ(GetLong(tab, id::ActiveTabBackStartColor), 0xFFFFFF);
    EXPECT_EQ(GetLong(tab, id::InActiveTabBackEndColor), 0xCFCFCF);
    VARIANT index, caption;
    VariantInit(&index);
    index.vt = VT_I4;
    index.lVal = 2;
    ASSERT_EQ(GetProp(tab, id::TabCaption, &caption, &index), S_OK);
    ASSERT_EQ(caption.vt, VT_BSTR);
    EXPECT_EQ(std::wstring(caption.bstrVal), L"Tab 2");
    VariantClear(&caption);
    // Switching works with no contained controls to move.
    EXPECT_EQ(PutLong(tab, id::ActiveTab, 2), S_OK);
    EXPECT_EQ(GetLong(tab, id::ActiveTab), 2);
    EXPECT_EQ(GetLong(tab, id::LastActiveTab), 0);

    HWND window = reinterpret_cast<HWND>(static_cast<LONG_PTR>(GetLong(tab, id::hWnd)));
    EXPECT_TRUE(IsWindow(window));
    EXPECT_TRUE(IsChild(host, window));
    tab->Release();
    control->Release();
    if (container) container->Release();

    DestroyWindow(top);
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    EXPECT_EQ(CallExport(lib, "DllUnregisterServer"), S_OK);
    OleUninitialize();
}

}  // namespace
