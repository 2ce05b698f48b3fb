// A host we did not write: the system's ATL control-hosting window creates
// each control from its ProgID once the library is registered.
#include <gtest/gtest.h>
#include <windows.h>
#include <ocidl.h>
#include <olectl.h>

#include <string>

#include "lumiokit_ids.h"

namespace {

using AxWinInit = BOOL(WINAPI*)();
using AxCreateControl = HRESULT(WINAPI*)(LPCOLESTR, HWND, IStream*, IUnknown**);
using AxGetControl = HRESULT(WINAPI*)(HWND, IUnknown**);

HRESULT CallExport(HMODULE dll, const char* name) {
    auto fn = reinterpret_cast<HRESULT(STDAPICALLTYPE*)()>(reinterpret_cast<void*>(GetProcAddress(dll, name)));
    return fn ? fn() : E_NOTIMPL;
}

class AtlHost : public ::testing::Test {
protected:
    // Once per process: ATL's hosting window class outlives a second initialisation.
    static void SetUpTestSuite() {
        ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr)));
        lib_ = LoadLibraryW(L"Lumiokit.dll");
        ASSERT_NE(lib_, nullptr);
        ASSERT_EQ(CallExport(lib_, "DllRegisterServer"), S_OK);
        HMODULE atl = LoadLibraryW(L"atl.dll");
        ASSERT_NE(atl, nullptr);
        auto init = reinterpret_cast<AxWinInit>(reinterpret_cast<void*>(GetProcAddress(atl, "AtlAxWinInit")));
        create_ = reinterpret_cast<AxCreateControl>(reinterpret_cast<void*>(GetProcAddress(atl, "AtlAxCreateControl")));
        get_ = reinterpret_cast<AxGetControl>(reinterpret_cast<void*>(GetProcAddress(atl, "AtlAxGetControl")));
        ASSERT_TRUE(init && create_ && get_);
        ASSERT_TRUE(init());
    }
    static void TearDownTestSuite() {
        if (lib_) {
            EXPECT_EQ(CallExport(lib_, "DllUnregisterServer"), S_OK);
        }
        OleUninitialize();
    }
    void SetUp() override {
        ASSERT_TRUE(create_ && get_);
        // Never shown: hiding a top-level window is slow without a window manager.
        top_ = CreateWindowExW(0, L"STATIC", L"host", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, 0, 300, 200, nullptr,
                               nullptr, nullptr, nullptr);
    }
    void TearDown() override {
        if (top_) DestroyWindow(top_);
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    }

    // Creates the control by ProgID in a hosting window of its own; checks its
    // class and that its window sits in the host's. The dispatch comes back.
    IDispatch* Host(const wchar_t* progId, const CLSID& clsid) {
        HWND host = CreateWindowExW(0, L"AtlAxWin", L"", WS_CHILD | WS_VISIBLE, 10, 10, 160, 30, top_, nullptr,
                                    nullptr, nullptr);
        EXPECT_NE(host, nullptr);
        IUnknown* container = nullptr;
        EXPECT_EQ(create_(progId, host, nullptr, &container), S_OK) << progId;
        if (container) container->Release();
        IUnknown* control = nullptr;
        if (get_(host, &control) != S_OK || !control) {
            ADD_FAILURE() << progId << ": no control";
            return nullptr;
        }
        IPersist* persist = nullptr;
        EXPECT_EQ(control->QueryInterface(IID_IPersist, reinterpret_cast<void**>(&persist)), S_OK);
        CLSID got{};
        if (persist) {
            persist->GetClassID(&got);
            persist->Release();
        }
        EXPECT_TRUE(IsEqualCLSID(got, clsid)) << progId;
        IDispatch* disp = nullptr;
        control->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&disp));
        control->Release();
        EXPECT_NE(disp, nullptr) << progId;
        // Its window is a child of the hosting window.
        HWND child = GetWindow(host, GW_CHILD);
        EXPECT_TRUE(child && IsWindow(child)) << progId;
        return disp;
    }

    static inline HMODULE lib_ = nullptr;
    static inline AxCreateControl create_ = nullptr;
    static inline AxGetControl get_ = nullptr;
    HWND top_ = nullptr;
};

TEST_F(AtlHost, CreatesLumioButtonByProgId) {
    IDispatch* disp = Host(L"Lumiokit.LumioButton", lumio::tlb::CLSID_LumioButton);
    ASSERT_NE(disp, nullptr);
    VARIANT arg;
    VariantInit(&arg);
    arg.vt = VT_BSTR;
    arg.bstrVal = SysAllocString(L"确定");
    DISPID named = DISPID_PROPERTYPUT;
    DISPPARAMS put{&arg, &named, 1, 1};
    EXPECT_EQ(disp->Invoke(DISPID_CAPTION, IID_NULL, 0, DISPATCH_PROPERTYPUT, &put, nullptr, nullptr, nullptr), S_OK);
    VariantClear(&arg);
    DISPPARAMS none{};
    VARIANT result;
    VariantInit(&result);
    ASSERT_EQ(disp->Invoke(DISPID_CAPTION, IID_NULL, 0, DISPATCH_PROPERTYGET, &none, &result, nullptr, nullptr), S_OK);
    ASSERT_EQ(result.vt, VT_BSTR);
    EXPECT_EQ(std::wstring(result.bstrVal), L"确定");
    VariantClear(&result);
    disp->Release();
}

TEST_F(AtlHost, CreatesTheBarsByProgId) {
    struct Case {
        const wchar_t* progId;
        const CLSID* clsid;
        DISPID member;  // a property that reads back a number
    } cases[] = {
        {L"Lumiokit.LumioProgressBar", &lumio::tlb::CLSID_LumioProgressBar, lumio::tlb::dispid::LumioProgressBar::Max},
        {L"Lumiokit.LumioStatusBar", &lumio::tlb::CLSID_LumioStatusBar, lumio::tlb::dispid::LumioStatusBar::Style},
        {L"Lumiokit.LumioTextBox", &lumio::tlb::CLSID_LumioTextBox, lumio::tlb::dispid::LumioTextBox::BorderStyle},
    };
    for (const auto& c : cases) {
        IDispatch* disp = Host(c.progId, *c.clsid);
        ASSERT_NE(disp, nullptr);
        DISPPARAMS none{};
        VARIANT result;
        VariantInit(&result);
        EXPECT_EQ(disp->Invoke(c.member, IID_NULL, 0, DISPATCH_PROPERTYGET, &none, &result, nullptr, nullptr), S_OK)
            << c.progId;
        VariantClear(&result);
        disp->Release();
    }
}

// The frame control has no properties to read back: it answers its default
// and callback interfaces and names its dialogs, and being invisible at run
// time it does not need the frame it would skin.
TEST_F(AtlHost, CreatesLumioBasicFormByProgId) {
    HWND host = CreateWindowExW(0, L"AtlAxWin", L"", WS_CHILD | WS_VISIBLE, 10, 10, 160, 30, top_, nullptr, nullptr,
                                nullptr);
    ASSERT_NE(host, nullptr);
    IUnknown* container = nullptr;
    ASSERT_EQ(create_(L"Lumiokit.LumioBasicForm", host, nullptr, &container), S_OK);
    if (container) container->Release();
    IUnknown* control = nullptr;
    ASSERT_EQ(get_(host, &control), S_OK);
    ASSERT_NE(control, nullptr);
    IPersist* persist = nullptr;
    ASSERT_EQ(control->QueryInterface(IID_IPersist, reinterpret_cast<void**>(&persist)), S_OK);
    CLSID got{};
    persist->GetClassID(&got);
    persist->Release();
    EXPECT_TRUE(IsEqualCLSID(got, lumio::tlb::CLSID_LumioBasicForm));
    IUnknown* calls = nullptr;
    EXPECT_EQ(control->QueryInterface(lumio::tlb::IID_CustomWindowCalls, reinterpret_cast<void**>(&calls)), S_OK);
    if (calls) calls->Release();
    IDispatch* disp = nullptr;
    ASSERT_EQ(control->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&disp)), S_OK);
    for (const wchar_t* name : {L"ShowMsgBox", L"ShowInputBox"}) {
        DISPID id = 0;
        LPOLESTR n = const_cast<LPOLESTR>(name);
        EXPECT_EQ(disp->GetIDsOfNames(IID_NULL, &n, 1, LOCALE_USER_DEFAULT, &id), S_OK) << name;
    }
    disp->Release();
    control->Release();
    DestroyWindow(host);
}

// A dialog closing under ATL destroys its windows before it lets the
// control go: the button's hooks must let go of windows already gone, and
// the library must be free to unload afterwards.
TEST(AtlHostOnItsOwn, ButtonOutlivesItsHostWindows) {
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
    init();  // registered already by the test before
    MSG msg;
    for (int round = 0; round < 3; ++round) {
        HWND top = CreateWindowExW(0, L"STATIC", L"host", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, 0, 300, 200,
                                   nullptr, nullptr, nullptr, nullptr);
        HWND host = CreateWindowExW(0, L"AtlAxWin", L"", WS_CHILD | WS_VISIBLE, 10, 10, 120, 30, top, nullptr,
                                    nullptr, nullptr);
        ASSERT_NE(host, nullptr);
        IUnknown* container = nullptr;
        ASSERT_EQ(create(L"Lumiokit.LumioButton", host, nullptr, &container), S_OK);
        IUnknown* control = nullptr;
        ASSERT_EQ(get(host, &control), S_OK);
        ASSERT_NE(control, nullptr);
        // The messages the button listens for reach a live button.
        SendMessageW(top, WM_ACTIVATE, WA_ACTIVE, 0);
        HWND button = GetWindow(host, GW_CHILD);
        ASSERT_NE(button, nullptr);
        PostMessageW(button, WM_MOUSELEAVE, 0, 0);
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);

        DestroyWindow(top);
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
        control->Release();
        if (container) container->Release();
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    }
    CoFreeUnusedLibraries();
    EXPECT_EQ(CallExport(lib, "DllCanUnloadNow"), S_OK) << "a hook or object of the button is left";
    EXPECT_EQ(CallExport(lib, "DllUnregisterServer"), S_OK);
    OleUninitialize();
}

// The check box, option button and group box load in the same host; the
// option button, focused where there is no Controls collection to search,
// still selects itself.
TEST(AtlHostOnItsOwn, CreatesTheGlyphControlsAndTheGroupBox) {
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
    // A second call in the process finds the window class there and answers false.
    init();
    struct Case {
        const wchar_t* progId;
        const CLSID* clsid;
    } cases[] = {{L"Lumiokit.LumioCheckBox", &lumio::tlb::CLSID_LumioCheckBox},
                 {L"Lumiokit.LumioOptionButton", &lumio::tlb::CLSID_LumioOptionButton},
                 {L"Lumiokit.LumioGroupBox", &lumio::tlb::CLSID_LumioGroupBox}};
    HWND top = CreateWindowExW(0, L"STATIC", L"host", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, 0, 300, 200, nullptr,
                               nullptr, nullptr, nullptr);
    for (const auto& c : cases) {
        HWND host = CreateWindowExW(0, L"AtlAxWin", L"", WS_CHILD | WS_VISIBLE, 10, 10, 160, 40, top, nullptr, nullptr,
                                    nullptr);
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
        EXPECT_TRUE(IsEqualCLSID(clsid, *c.clsid));
        persist->Release();
        IDispatch* disp = nullptr;
        ASSERT_EQ(control->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&disp)), S_OK);
        DISPPARAMS none{};
        VARIANT result;
        VariantInit(&result);
        ASSERT_EQ(disp->Invoke(DISPID_HWND, IID_NULL, 0, DISPATCH_PROPERTYGET, &none, &result, nullptr, nullptr), S_OK);
        HWND window = reinterpret_cast<HWND>(static_cast<LONG_PTR>(result.vt == VT_I8 ? result.llVal : result.lVal));
        EXPECT_TRUE(IsChild(host, window)) << c.progId;
        if (*c.clsid == lumio::tlb::CLSID_LumioOptionButton) {
            SetFocus(window);
            MSG msg;
            while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
            VariantInit(&result);
            ASSERT_EQ(disp->Invoke(0x68030000, IID_NULL, 0, DISPATCH_PROPERTYGET, &none, &result, nullptr, nullptr), S_OK);
            EXPECT_EQ(result.vt, VT_BOOL);
            EXPECT_EQ(result.boolVal, VARIANT_TRUE);
        }
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
