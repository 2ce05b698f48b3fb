#pragma once
// A host we did not write: the system's ATL control-hosting window creates
// controls of Lumiokit.dll from their ProgIDs. The library is registered in
// the test's own Wine prefix (see lumio_add_atl_host_test) for the suite.
#include <gtest/gtest.h>
#include <windows.h>
#include <ocidl.h>
#include <olectl.h>

#include "com_ptr.h"

namespace lumio::test {

// One of the library's parameterless exports (DllRegisterServer, ...).
inline HRESULT CallExport(HMODULE dll, const char* name) {
    auto fn = reinterpret_cast<HRESULT(STDAPICALLTYPE*)()>(reinterpret_cast<void*>(GetProcAddress(dll, name)));
    return fn ? fn() : E_NOTIMPL;
}

// ATL's hosting entry points.
struct AtlFunctions {
    BOOL(WINAPI* init)() = nullptr;
    HRESULT(WINAPI* create)(LPCOLESTR, HWND, IStream*, IUnknown**) = nullptr;
    HRESULT(WINAPI* get)(HWND, IUnknown**) = nullptr;

    static AtlFunctions Load() {
        AtlFunctions f;
        if (HMODULE atl = LoadLibraryW(L"atl.dll")) {
            f.init = reinterpret_cast<decltype(init)>(reinterpret_cast<void*>(GetProcAddress(atl, "AtlAxWinInit")));
            f.create =
                reinterpret_cast<decltype(create)>(reinterpret_cast<void*>(GetProcAddress(atl, "AtlAxCreateControl")));
            f.get = reinterpret_cast<decltype(get)>(reinterpret_cast<void*>(GetProcAddress(atl, "AtlAxGetControl")));
        }
        return f;
    }
    explicit operator bool() const { return init && create && get; }
};

// A property read through late binding, as a script host reads it.
inline HRESULT GetProperty(IDispatch* d, DISPID id, VARIANT* out, const VARIANT* index = nullptr) {
    VariantInit(out);
    DISPPARAMS args{const_cast<VARIANT*>(index), nullptr, index ? 1u : 0u, 0};
    return d->Invoke(id, IID_NULL, 0, DISPATCH_PROPERTYGET, &args, out, nullptr, nullptr);
}

inline HRESULT PutProperty(IDispatch* d, DISPID id, VARIANT value) {
    DISPID named = DISPID_PROPERTYPUT;
    DISPPARAMS put{&value, &named, 1, 1};
    return d->Invoke(id, IID_NULL, 0, DISPATCH_PROPERTYPUT, &put, nullptr, nullptr, nullptr);
}

// The property as a Long; `failed` when the read or the conversion fails.
inline long GetLong(IDispatch* d, DISPID id, long failed = -12345) {
    VARIANT v;
    if (FAILED(GetProperty(d, id, &v))) return failed;
    const HRESULT hr = VariantChangeType(&v, &v, 0, VT_I4);
    const long value = SUCCEEDED(hr) ? v.lVal : failed;
    VariantClear(&v);
    return value;
}

// A control's hWnd, found by name (its number differs between classes) and
// whole on either target; null where the class has none.
inline HWND GetWindowHandle(IDispatch* d) {
    DISPID id = DISPID_UNKNOWN;
    LPOLESTR name = const_cast<LPOLESTR>(L"hWnd");
    if (d->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &id) != S_OK) return nullptr;
    VARIANT v;
    if (FAILED(GetProperty(d, id, &v))) return nullptr;
    const LONG_PTR value = v.vt == VT_I8 ? static_cast<LONG_PTR>(v.llVal) : v.lVal;
    VariantClear(&v);
    return reinterpret_cast<HWND>(value);
}

inline void PumpMessages() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
}

// Registers the library once for each suite and gives every test a top-level
// window to put ATL hosting windows in.
class AtlHostTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr)));
        ole_ = true;
        library_ = LoadLibraryW(L"Lumiokit.dll");
        ASSERT_NE(library_, nullptr);
        ASSERT_EQ(CallExport(library_, "DllRegisterServer"), S_OK);
        atl_ = AtlFunctions::Load();
        ASSERT_TRUE(atl_);
        // A second AtlAxWinInit in one process finds its class there and
        // answers FALSE: only the first call tells.
        static const BOOL initialised = atl_.init();
        ASSERT_TRUE(initialised);
    }
    static void TearDownTestSuite() {
        if (library_) {
            EXPECT_EQ(CallExport(library_, "DllUnregisterServer"), S_OK);
        }
        if (ole_) OleUninitialize();
        ole_ = false;
    }
    void SetUp() override {
        ASSERT_TRUE(atl_);
        // Never shown: hiding a top-level window is slow without a window manager.
        top_ = CreateWindowExW(0, L"STATIC", L"host", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, 0, 400, 300, nullptr,
                               nullptr, nullptr, nullptr);
        ASSERT_NE(top_, nullptr);
    }
    void TearDown() override {
        if (top_) DestroyWindow(top_);
        PumpMessages();
    }

    // A new ATL hosting window in `parent` (the test's top window by default).
    HWND NewHostWindow(SIZE size = {160, 40}, HWND parent = nullptr) {
        return CreateWindowExW(0, L"AtlAxWin", L"", WS_CHILD | WS_VISIBLE, 10, 10, size.cx, size.cy,
                               parent ? parent : top_, nullptr, nullptr, nullptr);
    }

    // Creates the control by ProgID in `host` and checks its class and that
    // its window sits in the host's. The control's dispatch comes back.
    ComPtr<IDispatch> Host(HWND host, const wchar_t* progId, const CLSID& clsid) {
        ComPtr<IUnknown> container, control;
        EXPECT_EQ(atl_.create(progId, host, nullptr, container.put()), S_OK) << progId;
        if (atl_.get(host, control.put()) != S_OK || !control) {
            ADD_FAILURE() << progId << ": no control";
            return {};
        }
        CLSID got{};
        if (ComPtr<IPersist> persist = control.As<IPersist>(IID_IPersist)) persist->GetClassID(&got);
        EXPECT_TRUE(IsEqualCLSID(got, clsid)) << progId;
        ComPtr<IDispatch> disp = control.As<IDispatch>(IID_IDispatch);
        EXPECT_TRUE(disp) << progId;
        HWND child = GetWindow(host, GW_CHILD);
        EXPECT_TRUE(child && IsWindow(child)) << progId << ": its window is in the host's";
        if (HWND own = disp ? GetWindowHandle(disp.get()) : nullptr) {
            EXPECT_TRUE(IsChild(host, own)) << progId;
        }
        return disp;
    }
    ComPtr<IDispatch> Host(const wchar_t* progId, const CLSID& clsid, SIZE size = {160, 40}) {
        HWND host = NewHostWindow(size);
        EXPECT_NE(host, nullptr);
        return host ? Host(host, progId, clsid) : ComPtr<IDispatch>{};
    }

    static HMODULE Library() { return library_; }
    static const AtlFunctions& Atl() { return atl_; }
    HWND Top() const { return top_; }

private:
    static inline HMODULE library_ = nullptr;
    static inline AtlFunctions atl_{};
    static inline bool ole_ = false;
    HWND top_ = nullptr;
};

}  // namespace lumio::test
