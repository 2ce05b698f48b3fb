// LumioButton's reaction to the mouse, the keyboard, the focus, access keys
// and the host's default-button display.
#include "lumio_button.h"

#include <commctrl.h>

namespace lumio::buttons {

void LumioButton::pClick() {
    if (m_bPressed || m_LastButton != 1) return;
    m_bMouseDown = m_bSpaceDown = false;
    if (m_CheckBoxMode) m_Value = !m_Value;
    if (m_bHover) pRedraw(kStateHot, m_CheckBoxMode);
    else pRedraw(kStateNormal, true);
    RaiseEvent(tlb::dispid::LumioButtonEvents::Click);
    if (!m_CheckBoxMode) m_Value = false;
}

void LumioButton::pRequestMouseLeave() {
    TRACKMOUSEEVENT tme{sizeof(TRACKMOUSEEVENT), TME_LEAVE, hWnd(), 0};
    if (m_bUserTrack) TrackMouseEvent(&tme);
    else _TrackMouseEvent(&tme);
}

// Loaded when first needed: HandPointer may be set after the properties were read.
void LumioButton::pShowHand() {
    if (!m_hHandCursor) m_hHandCursor = LoadCursorW(nullptr, IDC_HAND);
    if (m_hHandCursor) SetCursor(m_hHandCursor);
    else SetMousePointer(MousePointer());
}

void LumioButton::OnMouseDown(short button, short shift, float x, float y) {
    if (m_HandPointer) pShowHand();
    m_LastButton = button;
    if (button == kLeftButton) {
        m_bHasFocus = m_bPressed = m_bMouseDown = true;
        if (!m_bSpaceDown) {
            pRedraw(kStatePressed, false);
        } else if (!m_bHover) {
            m_bMouseDown = false;
            pRedraw(kStateNormal, false);
            m_bMouseDown = true;
        }
    }
    RaiseEvent(tlb::dispid::LumioButtonEvents::MouseDown, {ByRef(button), ByRef(shift), ByRef(x), ByRef(y)});
}

void LumioButton::OnMouseMove(short button, short shift, float x, float y) {
    if (m_HandPointer) pShowHand();
    else SetMousePointer(MousePointer());
    POINT pt{};
    GetCursorPos(&pt);
    if (WindowFromPoint(pt) == hWnd()) {
        m_bHover = true;
        if (!m_bSpaceDown) pRedraw(m_bPressed ? kStatePressed : kStateHot, false);
        else if (m_bMouseDown) pRedraw(kStatePressed, false);
        if (m_bTracking) {
            RaiseEvent(tlb::dispid::LumioButtonEvents::MouseMove, {ByRef(button), ByRef(shift), ByRef(x), ByRef(y)});
        } else {
            m_bTracking = true;
            pRequestMouseLeave();
            RaiseEvent(tlb::dispid::LumioButtonEvents::MouseEnter);
        }
    } else if (m_bHover) {
        m_bHover = false;
        if (!m_bSpaceDown && !m_bMouseDown) pRedraw(kStateNormal, false);
        RaiseEvent(tlb::dispid::LumioButtonEvents::MouseLeave);
    } else if (m_bMouseDown) {
        pRedraw(kStateHot, false);
    }
}

void LumioButton::OnMouseUp(short button, short shift, float x, float y) {
    if (m_HandPointer && m_bHover) pShowHand();
    if (button != kLeftButton) return;
    m_bMouseDown = false;
    m_bPressed = m_bSpaceDown;
    if (m_bPressed && !m_bHover) pRedraw(kStatePressed, false);
    else if (m_LastButton == 8) pRedraw(m_bHover ? kStateHot : kStateNormal, false);
    ReleaseMouse();
    RaiseEvent(tlb::dispid::LumioButtonEvents::MouseUp, {ByRef(button), ByRef(shift), ByRef(x), ByRef(y)});
}

void LumioButton::OnDblClick() {
    if (m_HandPointer) pShowHand();
    if (m_LastButton != 1) return;
    m_bPressed = m_bMouseDown = true;
    pRedraw(kStatePressed, false);
    m_LastButton = 8;
    CaptureMouse();
    RaiseEvent(tlb::dispid::LumioButtonEvents::DblClick);
}

void LumioButton::OnKeyDown(short& code, short shift) {
    if (code == VK_SPACE) {
        if (shift != kAltMask) {
            m_bPressed = m_bSpaceDown = true;
            CaptureMouse();
            if (!m_bMouseDown) pRedraw(kStatePressed, false);
        }
    } else if (code >= VK_LEFT && code <= VK_DOWN) {
        // Arrows move the focus like Tab; no KeyDown for them.
        if (shift == 0) SendTabKeys(code == VK_LEFT || code == VK_UP);
        if (m_bSpaceDown) {
            ReleaseMouse();
            ProcessPendingMessages();
            m_LastButton = 1;
            pClick();
        }
        return;
    } else if (m_bSpaceDown) {
        m_bPressed = m_bSpaceDown = false;
        ReleaseMouse();
        pRedraw(m_bHover ? kStateHot : kStateNormal, false);
    }
    RaiseEvent(tlb::dispid::LumioButtonEvents::KeyDown, {ByRef(code), ByRef(shift)});
}

void LumioButton::OnKeyPress(short& ascii) { RaiseEvent(tlb::dispid::LumioButtonEvents::KeyPress, {ByRef(ascii)}); }

void LumioButton::OnKeyUp(short& code, short shift) {
    if (code == VK_SPACE) {
        m_bPressed = m_bMouseDown;
        if (m_bSpaceDown) {
            m_bSpaceDown = false;
            m_LastButton = 1;
            pClick();
        }
        if (m_bPressed) CaptureMouse();
        else ReleaseMouse();
    }
    RaiseEvent(tlb::dispid::LumioButtonEvents::KeyUp, {ByRef(code), ByRef(shift)});
}

void LumioButton::OnGotFocus() {
    m_bHasFocus = true;
    if (!m_bPressed) pRedraw(kStateNormal, false);
}

void LumioButton::OnLostFocus() {
    m_bHasFocus = m_bPressed = m_bMouseDown = m_bSpaceDown = false;
    if (m_Enabled && m_bFormActive) pRedraw(kStateNormal, true);
}

void LumioButton::OnAccessKeyPress(short key) {
    if (!m_Enabled) return;
    if (m_bSpaceDown && HasCapture()) ReleaseMouse();
    if (m_CheckBoxMode && (key == 27 || key == 13)) return;
    m_bPressed = false;
    m_LastButton = 1;
    pClick();
}

void LumioButton::OnAmbientChanged(const std::wstring& name) {
    m_bDefault = Ambient().DisplayAsDefault();
    if (name == L"DisplayAsDefault") {
        m_bPressed = m_bMouseDown = m_bSpaceDown = false;
        if (m_Enabled && !m_bHover && !m_bHasFocus) pRedraw(-1, true);
    }
}

}  // namespace lumio::buttons
