// LumioListBox's mouse, keys, wheel and drag-scroll timer.
#include "lumio_list_box.h"

namespace lumio::lists {

namespace {
namespace ev = tlb::dispid::LumioListBoxEvents;
}  // namespace

void LumioListBox::pRaiseMouse(DISPID id, short button, short shift, float x, float y) {
    RaiseEvent(id, {ByRef(button), ByRef(shift), ByRef(x), ByRef(y)});
}

void LumioListBox::OnMouseDown(short button, short shift, float x, float y) {
    model_.MouseDown(button, y);
    pRaiseMouse(ev::MouseDown, button, shift, x, y);
}

void LumioListBox::OnMouseMove(short button, short shift, float x, float y) {
    model_.MouseMove(button, y, ScaleHeight());
    pRaiseMouse(ev::MouseMove, button, shift, x, y);
}

void LumioListBox::OnMouseUp(short button, short shift, float x, float y) {
    model_.MouseUp();
    pRaiseMouse(ev::MouseUp, button, shift, x, y);
}

void LumioListBox::OnClick() {
    if (model_.ListIndex() >= 0) RaiseEvent(ev::Click);
}

void LumioListBox::OnDblClick() {
    if (model_.ListIndex() >= 0) RaiseEvent(ev::DblClick);
}

void LumioListBox::KeyDown(short& keyCode, short& shift) {
    model_.KeyDown(keyCode);
    RaiseEvent(ev::KeyDown, {ByRef(keyCode), ByRef(shift)});
}

void LumioListBox::OnKeyPress(short& keyAscii) { RaiseEvent(ev::KeyPress, {ByRef(keyAscii)}); }

void LumioListBox::OnKeyUp(short& keyCode, short shift) {
    RaiseEvent(ev::KeyUp, {ByRef(keyCode), ByRef(shift)});
}

void LumioListBox::zSubclass_Proc(bool, bool&, LRESULT&, HWND& lng_hWnd, UINT& uMsg, WPARAM& wParam, LPARAM&) {
    if (!hWnd() || lng_hWnd != hWnd() || uMsg != WM_MOUSEWHEEL) return;
    model_.Wheel(static_cast<uint32_t>(wParam & 0xFFFFFFFFu));
}

bool LumioListBox::OnWindowMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    switch (msg) {
    case WM_TIMER:
        if (wp != kDragTimer) return false;
        model_.DragTimer();
        result = 0;
        return true;
    case WM_CAPTURECHANGED:
        // The press is over for the list too when another window takes the mouse.
        if (reinterpret_cast<HWND>(lp) != hWnd() && model_.MouseIsDown()) model_.CaptureLost();
        return false;
    case WM_MOUSEWHEEL: {
        if (!attached_) return false;
        // After the window's own handling, which leaves the answer.
        result = DefWindowProcW(hWnd(), msg, wp, lp);
        bool handled = false;
        HWND h = hWnd();
        UINT m = msg;
        zSubclass_Proc(false, handled, result, h, m, wp, lp);
        return true;
    }
    default:
        return false;
    }
}

}  // namespace lumio::lists
