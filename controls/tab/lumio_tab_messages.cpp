// LumioTab at run time: the control window's and the parent window's
// messages (pointer, close boxes, wheel, hover timer, moves and sizes), and
// the tear-down.
#include "error_source.h"
#include "export_probe.h"
#include "lumio_tab.h"
#include "simple_dispatch.h"
#include "tab_input.h"

namespace lumio::tab {

namespace ev = tlb::dispid::LumioTabEvents;

void LumioTab::pRunTimeSetUp() {
    m_Thunks.m_TrackingAvailable = true;
    m_Thunks.m_User32Tracking = ExportExists("TrackMouseEvent", "User32");
    if (!m_Thunks.m_User32Tracking && !ExportExists("_TrackMouseEvent", "Comctl32"))
        m_Thunks.m_TrackingAvailable = false;
    if (!m_Thunks.m_TrackingAvailable) return;
    HWND self = hWnd();
    if (m_Thunks.pAttachThunk(self) < 0) return;
    for (UINT msg : {WM_MOUSEMOVE, WM_MOUSELEAVE, WM_MOUSEWHEEL, WM_LBUTTONDOWN, WM_LBUTTONUP})
        m_Thunks.pWatchMessage(self, msg, 1);
    m_Thunks.pWatchMessage(self, WM_TIMER, 2);
    // The parent form: activation, moves and sizes, and its end, when the
    // control tears down (a cancelled unload leaves it working).
    Variant handle;
    ComPtr<IDispatch> parent = Parent();
    if (parent && SUCCEEDED(GetProperty(parent.get(), L"hWnd", handle))) {
        try {
            HWND window = reinterpret_cast<HWND>(static_cast<LONG_PTR>(VariantValue<long>::From(*handle)));
            if (window != self && m_Thunks.pAttachThunk(window) >= 0) {
                m_ParentWnd = window;
                for (UINT msg : {WM_ACTIVATE, WM_MOVING, WM_SIZING, WM_EXITSIZEMOVE, WM_DESTROY})
                    m_Thunks.pWatchMessage(window, msg, 1);
            }
        } catch (const ArgError&) {
        }
    }
    m_Subclassed = true;
}

void LumioTab::MethodSubclassProc(bool before, Variant handled, Variant result, Variant window, Variant message,
                                  Variant wParam, Variant lParam) {
    auto num = [](const Variant& v) -> long long {
        Variant out;
        if (FAILED(VariantChangeType(out.put(), const_cast<VARIANT*>(v.get()), 0, VT_I8))) return 0;
        return out->llVal;
    };
    bool bHandled = num(handled) != 0;
    LRESULT lReturn = static_cast<LRESULT>(num(result));
    HWND h = reinterpret_cast<HWND>(static_cast<LONG_PTR>(num(window)));
    UINT msg = static_cast<UINT>(num(message));
    WPARAM wp = static_cast<WPARAM>(num(wParam));
    LPARAM lp = static_cast<LPARAM>(num(lParam));
    zSubclass_Proc(before, bHandled, lReturn, h, msg, wp, lp);
}

// Messages of both windows are told apart by number alone; nothing is
// answered in their place.
void LumioTab::zSubclass_Proc(bool, bool&, LRESULT&, HWND&, UINT& uMsg, WPARAM& wParam, LPARAM&) {
    // A host may let the control go inside an event raised here (a close
    // box's click that removes it): it lives on until the message is done.
    ComPtr<IOleObject> keep(static_cast<IOleObject*>(this));
    try {
        switch (uMsg) {
        case WM_ACTIVATE:
            model_.SetHoverIndex(model_.ActiveTab());
            Refresh();
            break;
        case WM_TIMER:
            if (wParam == kHoverTimer) TimerEvent();
            break;
        case WM_MOUSEMOVE: pPointerMoved(); break;
        case WM_LBUTTONDOWN: pBoxButton(true); break;
        case WM_LBUTTONUP: pBoxButton(false); break;
        case WM_MOUSEWHEEL: pWheel(wParam); break;
        case WM_SIZING:
            m_Moving = false;
            Status(L"Form is sizing...");
            break;
        case WM_MOVING:
            m_Moving = true;
            Status(L"Form is moving...");
            break;
        case WM_EXITSIZEMOVE: Status(m_Moving ? L"Finished Moving." : L"Finished Sizing."); break;
        case WM_MOUSELEAVE:
            m_Tracking = false;
            RaiseEvent(ev::MouseLeave);
            break;
        case WM_DESTROY: pTearDown(); break;
        default: break;
        }
    } catch (...) {
        // The facility has no one to report to.
    }
}

void LumioTab::Status(const wchar_t* text) {
    Bstr s{std::wstring(text)};
    VARIANT arg{};
    arg.vt = VT_BSTR;
    arg.bstrVal = s.get();
    RaiseEvent(ev::Status, {arg});
}

void LumioTab::pDrawBoxNow(int32_t state, int32_t index) {
    DrawControlBox(state, index);
    Invalidate();
}

void LumioTab::pPointerMoved() {
    pReadCursor();
    float x = static_cast<float>(m_Cursor.x), y = static_cast<float>(m_Cursor.y);
    if (!m_Tracking) {
        m_Tracking = true;
        m_Thunks.pRequestMouseLeave(hWnd());
        RaiseEvent(ev::MouseEnter);
        if (pLetGo()) return;
    }
    int32_t active = model_.ActiveTab(), hover = model_.HoverIndex();
    int32_t t;
    int32_t at = active;
    if (InRect(model_.AryTabs(at).tabRect, m_Cursor.x, m_Cursor.y)) {
        t = active;
    } else {
        at = hover;
        if (hover < 0 || hover >= model_.TabCount() || !InRect(model_.AryTabs(at).tabRect, m_Cursor.x, m_Cursor.y))
            return;
        t = hover;
    }
    long shown = t;  // a handler's change is not taken back
    RaiseEvent(ev::MouseHover, {ByRef(shown), ByRef(x), ByRef(y)});
    if (pLetGo() || !m_UseControlBox) return;
    int32_t at2 = t;
    const TabRecord r = model_.AryTabs(at2);
    bool inBox = InRect(r.boxRect, m_Cursor.x, m_Cursor.y);
    if (inBox && r.enabled) {
        if (!m_InBox) {
            m_InBox = true;
            RaiseEvent(ev::ControlBoxEnter);
        } else {
            RaiseEvent(ev::ControlBoxHover, {ByRef(x), ByRef(y)});
        }
        if (pLetGo()) return;
        pDrawBoxNow(1, t);
    } else if (inBox) {
        pDrawBoxNow(2, t);
    } else if (r.enabled && (t != active || WindowEnabled())) {
        if (m_InBox) {
            m_InBox = false;
            RaiseEvent(ev::ControlBoxExit);
            if (pLetGo()) return;
        }
        pDrawBoxNow(0, t);
    } else {
        pDrawBoxNow(2, t);
    }
}

// A close box removes its tab only when the left press went down in that
// same box.
void LumioTab::pBoxButton(bool down) {
    if (!m_UseControlBox) {
        m_PressedBox = -1;
        return;
    }
    pReadCursor();
    float x = static_cast<float>(m_Cursor.x), y = static_cast<float>(m_Cursor.y);
    int32_t i = BoxAt(m_Cursor.x, m_Cursor.y, model_.records());
    int32_t pressed = m_PressedBox;
    m_PressedBox = -1;
    if (i == kNoTab) return;
    if (!model_.TabEnabled(i)) {
        pDrawBoxNow(2, i);
        return;
    }
    m_InBox = true;
    if (down) {
        m_PressedBox = i;
        RaiseEvent(ev::ControlBoxMouseDown, {ByRef(x), ByRef(y)});
        if (!pLetGo()) pDrawBoxNow(2, i);
    } else if (pressed == i) {
        RaiseEvent(ev::ControlBoxMouseUp, {ByRef(x), ByRef(y)});
        if (!pLetGo()) RemoveTab(i);
    }
}

void LumioTab::pWheel(WPARAM wParam) {
    if (!model_.TabEnabled(model_.ActiveTab()) || !m_UseMouseWheelScroll) return;
    int16_t delta = WheelDelta(static_cast<uint64_t>(wParam));
    RaiseEvent(delta < 0 ? ev::MouseScrollUp : ev::MouseScrollDown);
    if (!pLetGo()) ScrollTabs(delta);
}

void LumioTab::ScrollTabs(int16_t delta) {
    WithErrorSource(L"LumioTab.ScrollTabs", [&] {
        int32_t target = WheelTarget(delta, model_.ActiveTab());
        if (target != kNoTab) put_ActiveTab(target);
    });
}

// Once, at the parent window's end or the control's, whichever comes first.
void LumioTab::pTearDown() {
    if (m_TornDown) return;
    m_TornDown = true;
    try {
        model_.SetActiveTab(0);
    } catch (...) {
    }
    pReleaseTabPictures();
    pHoverTimer(0);
    m_Thunks.pDetachAllThunks();
    m_ParentWnd = nullptr;
}

}  // namespace lumio::tab
