#pragma once
// A framed top-level form for the custom frame's tests: our container's form,
// a recording client of the callback interface, a recorder of the messages
// that reach the form's own procedure, real input and waits with deadlines.
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "CustomWindowCalls.h"
#include "clsCustomWndow.h"
#include "frame_control.h"
#include "host_form.h"
#include "wait_for.h"

namespace frametest {

using Log = std::vector<std::string>;

// Records each callback by name with what matters of its arguments.
class RecordingClient : public lumio::_CustomWindowCalls {
public:
    Log calls;
    bool modifyTitle = false;
    bool makeRegion = false;
    int regions = 0;
    std::string captionOverride;
    bool overrideCaption = false;
    std::vector<std::string> clicks;
    LONG refs = 1;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (iid == IID_IUnknown || iid == IID_IDispatch || iid == lumio::IID__CustomWindowCalls) {
            *out = this;
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ULONG(++refs); }
    ULONG STDMETHODCALLTYPE Release() override { return ULONG(--refs); }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* n) override {
        *n = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
        return E_NOTIMPL;
    }

    HRESULT STDMETHODCALLTYPE UserDrawnTitleBar(LONG_PTR dc, LONG cx, LONG cy, VARIANT_BOOL, VARIANT_BOOL* m) override {
        titleBarDcType = GetObjectType(reinterpret_cast<HGDIOBJ>(dc));
        calls.push_back("TitleBar " + std::to_string(cx) + "x" + std::to_string(cy));
        if (modifyTitle) *m = VARIANT_TRUE;
        return S_OK;
    }
    DWORD menuBarDcType = 0, titleBarDcType = 0, borderDcType = 0;  // GetObjectType of the DC each got
    HRESULT STDMETHODCALLTYPE UserDrawnMenuBar(LONG_PTR dc, LONG cx, LONG cy, VARIANT_BOOL, VARIANT_BOOL*) override {
        menuBarDcType = GetObjectType(reinterpret_cast<HGDIOBJ>(dc));
        calls.push_back("MenuBar " + std::to_string(cx) + "x" + std::to_string(cy));
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE UserDrawnButton(BSTR id, SHORT state, LONG_PTR, LONG, LONG, LONG, LONG, VARIANT_BOOL,
                                              VARIANT_BOOL*) override {
        calls.push_back("Button " + Narrow(id) + " " + std::to_string(state));
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE UserButtonClick(BSTR id) override {
        clicks.push_back(Narrow(id));
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE UserDrawnBorder(LONG_PTR dc, LONG, LONG, LONG cx, LONG cy, VARIANT_BOOL,
                                              VARIANT_BOOL*) override {
        borderDcType = GetObjectType(reinterpret_cast<HGDIOBJ>(dc));
        calls.push_back("Border " + std::to_string(cx) + "x" + std::to_string(cy));
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE BeforeDrawCaption(LONG_PTR, BSTR* caption, LONG, LONG) override {
        calls.push_back("Caption " + Narrow(*caption));
        if (overrideCaption) {
            SysFreeString(*caption);
            *caption = SysAllocString(std::wstring(captionOverride.begin(), captionOverride.end()).c_str());
        }
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE OnCreateRegion(LONG_PTR* hRgn, LONG, LONG, LONG cx, LONG cy) override {
        calls.push_back("Region " + std::to_string(cx) + "x" + std::to_string(cy));
        if (makeRegion) {
            *hRgn = reinterpret_cast<LONG_PTR>(CreateRoundRectRgn(0, 0, cx + 1, cy + 1, 12, 12));
            ++regions;
        }
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE EnterExitSizing(VARIANT_BOOL begin, VARIANT_BOOL*) override {
        calls.push_back(begin ? "Sizing begin" : "Sizing end");
        return S_OK;
    }

    static std::string Narrow(BSTR b) {
        std::string s;
        for (UINT i = 0; b && i < SysStringLen(b); ++i) s.push_back(static_cast<char>(b[i]));
        return s;
    }
    // The calls of one name prefix, in order.
    Log Only(const std::string& prefix) const {
        Log out;
        for (const auto& c : calls)
            if (c.rfind(prefix, 0) == 0) out.push_back(c);
        return out;
    }
};

// Handles what the thread has queued (input included) until the queue is at rest.
inline void Settle() { EXPECT_TRUE(lumio::test::Settle()) << "the message queue did not come to rest"; }

inline void MouseTo(int x, int y) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dx = (x * 65535 + (GetSystemMetrics(SM_CXSCREEN) - 1) / 2) / (GetSystemMetrics(SM_CXSCREEN) - 1);
    in.mi.dy = (y * 65535 + (GetSystemMetrics(SM_CYSCREEN) - 1) / 2) / (GetSystemMetrics(SM_CYSCREEN) - 1);
    in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &in, sizeof(INPUT));
}
inline void Button(bool down) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
    SendInput(1, &in, sizeof(INPUT));
}
inline void Key(WORD vk, bool alt = false) {
    std::vector<INPUT> in;
    auto add = [&](WORD k, bool up) {
        INPUT i{};
        i.type = INPUT_KEYBOARD;
        i.ki.wVk = k;
        i.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
        in.push_back(i);
    };
    if (alt) add(VK_MENU, false);
    add(vk, false);
    add(vk, true);
    if (alt) add(VK_MENU, true);
    SendInput(static_cast<UINT>(in.size()), in.data(), sizeof(INPUT));
}

// GDI objects of the process (handle values 1 to 0xFFFF that name one).
inline int CountGdiObjects() {
    int n = 0;
    for (uintptr_t h = 1; h <= 0xFFFF; ++h)
        if (GetObjectType(reinterpret_cast<HGDIOBJ>(h))) ++n;
    return n;
}

// Menus and icons of the process, and its top-level windows.
inline int CountUserObjects() {
    int n = 0;
    for (uintptr_t h = 0x20; h <= 0xFFF0; h += 2) {
        if (IsMenu(reinterpret_cast<HMENU>(h))) ++n;
        ICONINFO ii{};
        if (GetIconInfo(reinterpret_cast<HICON>(h), &ii)) {
            ++n;
            if (ii.hbmColor) DeleteObject(ii.hbmColor);
            if (ii.hbmMask) DeleteObject(ii.hbmMask);
        }
    }
    EnumWindows(
        [](HWND w, LPARAM p) CALLBACK -> BOOL {
            DWORD pid = 0;
            GetWindowThreadProcessId(w, &pid);
            if (pid == GetCurrentProcessId()) ++*reinterpret_cast<int*>(p);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&n));
    return n;
}

}  // namespace frametest
