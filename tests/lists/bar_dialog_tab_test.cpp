// A host that leaves Tab to the system's dialog manager: ATL hosting windows
// in a dialog, between two edit boxes. Tab and Shift+Tab never stop on a bar.
#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

#include "atl_host.h"
#include "lumiokit_ids.h"

namespace {

using lumio::test::AtlHostTest;

class DialogTab : public AtlHostTest {};

BOOL CALLBACK CollectWindow(HWND h, LPARAM p) {
    reinterpret_cast<std::vector<HWND>*>(p)->push_back(h);
    return TRUE;
}

// Every window that belongs to the control hosted in `host`, its own and its children.
std::vector<HWND> WindowsOf(HWND host) {
    std::vector<HWND> out;
    EnumChildWindows(host, &CollectWindow, reinterpret_cast<LPARAM>(&out));
    return out;
}

TEST_F(DialogTab, TabAndShiftTabPassTheBarsBy) {
    HWND dlg = CreateWindowExW(WS_EX_CONTROLPARENT, L"#32770", L"dialog", WS_POPUP | WS_VISIBLE, 0, 0, 500, 300,
                               nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(dlg, nullptr);
    auto child = [&](const wchar_t* cls, DWORD style, int x, int w, int h, DWORD ex = 0) {
        return CreateWindowExW(ex, cls, L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | style, x, 10, w, h, dlg, nullptr,
                               nullptr, nullptr);
    };
    HWND edit1 = child(L"EDIT", WS_BORDER, 10, 60, 20);
    HWND barHost = child(L"AtlAxWin", 0, 80, 17, 150);
    HWND listHost = child(L"AtlAxWin", 0, 110, 100, 60);
    HWND edit2 = child(L"EDIT", WS_BORDER, 230, 60, 20);
    ASSERT_TRUE(edit1 && barHost && listHost && edit2);
    lumio::ComPtr<IDispatch> bar = Host(barHost, L"Lumiokit.LumioScrollbar", lumio::tlb::CLSID_LumioScrollbar);
    ASSERT_TRUE(bar);
    lumio::ComPtr<IDispatch> list = Host(listHost, L"Lumiokit.LumioListBox", lumio::tlb::CLSID_LumioListBox);
    ASSERT_TRUE(list);
    for (int i = 0; i < 20; ++i) {
        VARIANT text;
        text.vt = VT_BSTR;
        text.bstrVal = SysAllocString(L"item");
        DISPPARAMS args{&text, nullptr, 1, 0};
        EXPECT_EQ(list->Invoke(lumio::tlb::dispid::LumioListBox::AddItem, IID_NULL, 0, DISPATCH_METHOD, &args,
                               nullptr, nullptr, nullptr),
                  S_OK);
        VariantClear(&text);
    }
    lumio::test::PumpMessages();
    std::vector<HWND> bars = WindowsOf(barHost);
    HWND listWindow = GetWindow(listHost, GW_CHILD);
    HWND inner = GetWindow(listWindow, GW_CHILD);
    ASSERT_NE(inner, nullptr) << "the list's bar";
    ShowWindow(inner, SW_SHOWNA);  // whether the list shows it or not, Tab must pass it by
    bars.push_back(inner);

    SetFocus(edit1);
    std::vector<HWND> seen;
    for (bool backwards : {false, true}) {
        for (int step = 0; step < 8; ++step) {
            if (backwards) {
                BYTE keys[256]{};
                GetKeyboardState(keys);
                keys[VK_SHIFT] = 0x80;
                SetKeyboardState(keys);
            }
            MSG m{GetFocus(), WM_KEYDOWN, VK_TAB, 0, 0, {0, 0}};
            IsDialogMessageW(dlg, &m);
            lumio::test::PumpMessages();
            if (backwards) {
                BYTE keys[256]{};
                GetKeyboardState(keys);
                keys[VK_SHIFT] = 0;
                SetKeyboardState(keys);
            }
            HWND focus = GetFocus();
            seen.push_back(focus);
            for (HWND b : bars) EXPECT_NE(focus, b) << (backwards ? "Shift+Tab " : "Tab ") << step;
        }
    }
    // A host UI-activates a control whose site window takes the focus (ATL
    // does so on Windows): the bar still leaves the focus where it is.
    lumio::ComPtr<IOleObject> ole;
    ASSERT_EQ(bar->QueryInterface(IID_IOleObject, ole.put_void()), S_OK);
    IOleClientSite* site = nullptr;
    ASSERT_EQ(ole->GetClientSite(&site), S_OK);
    RECT area;
    GetClientRect(barHost, &area);
    SetFocus(edit1);
    ole->DoVerb(OLEIVERB_UIACTIVATE, nullptr, site, 0, barHost, &area);
    if (site) site->Release();
    lumio::test::PumpMessages();
    EXPECT_EQ(GetFocus(), edit1) << "UI activation";
    bool editsReached = false;
    for (HWND h : seen) editsReached = editsReached || h == edit2;
    EXPECT_TRUE(editsReached) << "Tab moves at all";
    DestroyWindow(dlg);
}

}  // namespace
