// LumioButton's message hook: the mouse-leave notice of its own window and
// the activation of its form, which the runtime does not pass on.
#include "form_lookup.h"
#include "lumio_button.h"

namespace lumio::buttons {

namespace {
// A button inside user controls finds its form within this many parents.
constexpr int kFormLevels = 3;
}  // namespace

void LumioButton::pHookWindows() {
    m_Hooks.pHookWindow(hWnd());
    m_Hooks.pAddHookMessage(hWnd(), WM_MOUSELEAVE, ButtonHook::kAfter);
    HWND form = FormWindow(FindForm(Parent().get(), kFormLevels).get());
    if (!form) return;
    m_Hooks.pHookWindow(form);
    // An MDI child hears of its activation only through its frame.
    const bool mdiChild = (GetWindowLongPtrW(form, GWL_EXSTYLE) & WS_EX_MDICHILD) != 0;
    m_Hooks.pAddHookMessage(form, mdiChild ? WM_NCACTIVATE : WM_ACTIVATE, ButtonHook::kAfter);
}

void LumioButton::zSubclass_Proc(bool bBefore, bool& bHandled, LRESULT& lReturn, HWND& hWnd, UINT& uMsg,
                                 WPARAM& wParam, LPARAM& lParam) {
    pHookCallback(bBefore, bHandled, lReturn, hWnd, uMsg, wParam, lParam);
}

void LumioButton::pHookCallback(bool bBefore, bool& bHandled, LRESULT& lReturn, HWND hWnd, UINT uMsg,
                                WPARAM wParam, LPARAM lParam) {
    // An event handler may drop the last reference to the button.
    ComPtr<IOleObject> keep(static_cast<IOleObject*>(this));
    pWndProc(bBefore, bHandled, lReturn, hWnd, uMsg, wParam, lParam);
}

void LumioButton::pWndProc(bool, bool&, LRESULT&, HWND, UINT uMsg, WPARAM wParam, LPARAM) {
    switch (uMsg) {
    case WM_ACTIVATE:
    case WM_NCACTIVATE: {
        // Every bit counts: a deactivation while minimised still reads as active.
        m_bFormActive = static_cast<uint32_t>(wParam) != 0;
        if (!m_bFormActive) {
            const bool focus = m_bHasFocus, wasDefault = m_bDefault, wasHover = m_bHover;
            m_bHasFocus = m_bPressed = m_bMouseDown = m_bHover = m_bSpaceDown = m_bDefault = false;
            if (m_Enabled) pRedraw(kStateNormal, focus || wasDefault || wasHover);
            m_bDefault = Ambient().DisplayAsDefault();
            m_bHasFocus = focus;
        } else if (m_Enabled && (m_bHasFocus || m_bDefault)) {
            pRedraw(kStateNormal, true);
        }
        break;
    }
    case WM_MOUSELEAVE:
        m_bHover = m_bTracking = false;
        if (m_bSpaceDown) break;
        if (m_Enabled) pRedraw(kStateNormal, m_LastButton == kLeftButton);
        RaiseEvent(tlb::dispid::LumioButtonEvents::MouseLeave);
        break;
    default:
        break;
    }
}

}  // namespace lumio::buttons
