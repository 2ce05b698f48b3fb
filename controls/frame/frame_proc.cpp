#include "client_calls.h"
#include "frame_control.h"

namespace lumio {
namespace {

constexpr UINT kSysMenuRequest = 0x313;

POINT PointOf(LPARAM lParam) {
    return {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
}

bool IsButtonMode(int32_t mode) { return mode == 8 || mode == 9 || mode == 20 || mode > kHitUserBase; }

}  // namespace

bool clsFrameControl::Command(WPARAM wParam, LPARAM lParam, LRESULT& result) {
    result = 0;
    switch (wParam) {
    case SC_MAXIMIZE:
        if (!CheckSysCommand(SC_MAXIMIZE, false)) {
            const auto style = static_cast<uint32_t>(GetWindowLongPtrA(hwnd_, GWL_STYLE));
            ChangeStyle(true, false, -2, {AdjustFrameStyle(GWL_STYLE, style, true)});
            suppressText_ = true;
            CallPrevious(WM_SYSCOMMAND, wParam, lParam);
            SyncSystemMenu(false);
            if (c_MBar) c_MBar->WindowMenu("sc_maximize");
        }
        return true;
    case SC_MINIMIZE:
    case SC_RESTORE:
        if (!CheckSysCommand(static_cast<uint32_t>(wParam), false)) {
            ChangeStyle(true, false, 0, {WS_THICKFRAME, WS_DLGFRAME});
            suppressText_ = true;
            CallPrevious(WM_SYSCOMMAND, wParam, lParam);
            SyncSystemMenu(false);
            if (c_MBar) c_MBar->WindowMenu("sc_minimize,restore");
        }
        return true;
    case SC_CLOSE:
    case SC_SIZE:
    case SC_MOVE:
        if (!CheckSysCommand(static_cast<uint32_t>(wParam), false)) {
            CallPrevious(WM_SYSCOMMAND, wParam, lParam);
            if (c_MBar) c_MBar->WindowMenu("sc_close,move,size");
        }
        return true;
    case SC_KEYMENU:
        if (lParam == ' ') {
            if (!Iconic()) {
                PostMessageA(hwnd_, kSysMenuRequest, SC_KEYMENU, 0);
            } else {
                SilentStyle(true, WS_CAPTION);
                result = CallPrevious(WM_SYSCOMMAND, wParam, lParam);
            }
            return true;
        }
        if (Iconic()) return false;
        if (lParam > 0) {
            MenuBar()->OnMenuAccelerator(static_cast<int32_t>(lParam), IconHasRegion(), true);
        } else {
            SendMessageA(hwnd_, WM_SETCURSOR, 2, 0);
            bool selectFirst = false;
            MenuBar()->TrackMenu(static_cast<int32_t>(-lParam), 0, IconHasRegion(), false, selectFirst, 0, 0, 0);
        }
        return true;
    case SC_MOUSEMENU:
    case 0xF093:
        if (!Iconic()) {
            PostMessageA(hwnd_, kSysMenuRequest, SC_KEYMENU, 0);
        } else {
            SilentStyle(true, WS_CAPTION);
            result = CallPrevious(WM_SYSCOMMAND, SC_KEYMENU, ' ');
        }
        return true;
    default: return false;
    }
}

void clsFrameControl::WindowProc(UINT& uMsg, WPARAM& wParam, LPARAM& lParam, LRESULT& result) {
    if (destroyed_ || !hwnd_) {
        result = CallPrevious(uMsg, wParam, lParam);
        return;
    }
    // Holds the frame while a message runs: a client may end the frame inside a callback.
    ComPtr<IFrameWindowProc> hold(this);
    result = 0;
    switch (uMsg) {
    case WM_DESTROY:
        geo_.disabledBits = -1;
        RemovePropA(hwnd_, kCallbackProp);
        EndDrag();
        if (c_MBar) c_MBar->WindowDestroyed();
        result = CallPrevious(uMsg, wParam, lParam);
        destroyed_ = true;
        return;
    case WM_SETTEXT:
    case WM_SETICON:
        SilentStyle(true, WS_CAPTION);
        CallPrevious(uMsg, wParam, lParam);
        SilentStyle(false, WS_CAPTION);
        if (uMsg == WM_SETICON && wParam == ICON_BIG) RefreshSmallIcon();
        PaintNonClient(drawnActive_, false, "wmseticon/wmsettext");
        return;
    case WM_GETTEXT:
    case WM_GETICON:
        if (suppressText_) return;
        break;
    case WM_ACTIVATEAPP:
        if (wParam) keepActive_ &= ~1;
        else keepActive_ |= 1, drawnActive_ = false;
        if (keepActive_ >= 2) PaintNonClient(drawnActive_, true, "wm_appactivate");
        break;
    case WM_NCCALCSIZE:
        if (!Iconic() && !cursorQuery_ && !suppressStyle_ && wParam) {
            DefWindowProcA(hwnd_, uMsg, wParam, lParam);
            NcCalcSize(reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam));
            suppressText_ = false;
            result = WVR_REDRAW;
            return;
        }
        suppressText_ = false;
        break;
    case WM_COMMAND:
    case WM_SYSCOMMAND:
        if (Command(wParam, lParam, result)) return;
        break;
    case kSysMenuRequest: {
        SilentStyle(true, WS_CAPTION);
        if (wParam == SC_KEYMENU) {
            const FrameBox icon = geo_.buttons[0].rect;
            MenuBar()->TrackSystemMenu(IconHasRegion() ? &icon : nullptr, geo_.Vertical());
        } else {
            CallPrevious(uMsg, wParam, lParam);
        }
        if (hwnd_ && IsWindow(hwnd_)) SilentStyle(false, WS_CAPTION);
        return;
    }
    case WM_CAPTURECHANGED:
        // Losing the capture to someone else ends a drag as a release would.
        if (!releasing_ && dragMode_ != 0) {
            const int32_t mode = dragMode_;
            if (mode == 2) NotifySizing(false);
            if (mode == 1 || mode == 2) SilentStyle(false, WS_DLGFRAME);
            if (IsButtonMode(mode)) {
                const int index = ButtonIndexOf(pressedHit_, true);
                if (index > 0 && index < static_cast<int>(geo_.buttons.size())) {
                    geo_.buttons[index].state = 0;
                    DrawTitleButtons(nullptr, index, 0);
                }
            }
            EndDrag();
        }
        break;
    default:
        if (Iconic()) break;
        switch (uMsg) {
        case WM_SIZE: {
            RECT wr{};
            GetWindowRect(hwnd_, &wr);
            if (ClientCalls client = ClientOf(hwnd_)) {
                LONG_PTR hRgn = 0;
                client.OnCreateRegion(hRgn, 0, 0, wr.right - wr.left, wr.bottom - wr.top);
                if (hRgn) SetWindowRgn(hwnd_, reinterpret_cast<HRGN>(hRgn), TRUE);
            }
            break;
        }
        case WM_CANCELMODE:
            if (c_MBar) c_MBar->TrackingState(false);
            break;
        case WM_SETCURSOR: {
            if (c_MBar && c_MBar->TrackingState()) {
                wParam = 2;
                lParam = 0;
                break;
            }
            const int hit = static_cast<short>(LOWORD(lParam));
            if (hit < 10 || hit > 17) break;
            const LONG_PTR style = GetWindowLongPtrA(hwnd_, GWL_STYLE);
            cursorQuery_ = true;  // each write's WM_STYLECHANGED consumes it
            SetWindowLongPtrA(hwnd_, GWL_STYLE, style & ~static_cast<LONG_PTR>(WS_VISIBLE));
            CallPrevious(uMsg, wParam, lParam);
            cursorQuery_ = true;
            SetWindowLongPtrA(hwnd_, GWL_STYLE, style | WS_VISIBLE);
            cursorQuery_ = false;
            return;
        }
        case WM_WINDOWPOSCHANGED:
            if (c_MBar) c_MBar->DrawMenuItems(memDC_.get(), nullptr, geo_.menuStrip, -2, 0);
            break;
        case WM_CONTEXTMENU:
        case WM_NCRBUTTONUP: {
            const int32_t hit = NcHitTest(PointOf(lParam));
            if (hit == HTCAPTION || hit == HTSYSMENU) PostMessageA(hwnd_, kSysMenuRequest, 0, lParam);
            return;
        }
        case WM_STYLECHANGED:
            if (suppressStyle_ || cursorQuery_) {
                suppressStyle_ = cursorQuery_ = false;
                return;
            }
            if (static_cast<int>(wParam) == GWL_STYLE) {
                const auto* ss = reinterpret_cast<const STYLESTRUCT*>(lParam);
                const uint32_t wanted = AdjustFrameStyle(GWL_STYLE, ss->styleNew, Zoomed());
                if (wanted == ss->styleNew) CallPrevious(uMsg, wParam, lParam);
                else ChangeStyle(true, false, -2, {wanted});
            } else {
                CallPrevious(uMsg, wParam, lParam);
            }
            if (c_MBar) c_MBar->WindowMenu("stylechanged");
            return;
        case WM_NCHITTEST: result = NcHitTest(PointOf(lParam)); return;
        case WM_NCPAINT: PaintNonClient(GetForegroundWindow() == hwnd_, true, "wm_ncpaint"); return;
        case WM_NCACTIVATE:
            SilentStyle(true, WS_CAPTION);
            if (wParam) {
                DefWindowProcA(hwnd_, uMsg, wParam, lParam);
            } else {
                ReleaseMoveCapture();
                result = CallPrevious(uMsg, wParam, lParam);
            }
            SilentStyle(false, WS_CAPTION);
            if (c_MBar) c_MBar->WindowMenu("wm_ncactivate");
            PaintNonClient(wParam != 0, true, "wmncactivate");
            return;
        case WM_NCMOUSEMOVE:
        case WM_MOUSEMOVE: {
            bool handled = false;
            if (dragMode_ == 1 || dragMode_ == 2) {
                handled = DragStep();
            } else if (IsButtonMode(dragMode_)) {
                POINT pt;
                GetCursorPos(&pt);
                TrackTitleButton(uMsg == WM_NCMOUSEMOVE ? static_cast<int32_t>(wParam) : NcHitTest(pt), true);
                handled = true;
            } else if (uMsg == WM_NCMOUSEMOVE) {
                if (wParam == kHitMenuItem && c_MBar)
                    c_MBar->DrawMenuItems(memDC_.get(), nullptr, geo_.menuStrip, hotMenuItem_ - 1, 0);
                handled = true;
            }
            if (wParam != kHitMenuItem && hotMenuItem_ >= 1 && c_MBar && !c_MBar->TrackingState()) {
                c_MBar->DrawMenuItems(memDC_.get(), nullptr, geo_.menuStrip, -2, -3);
                hotMenuItem_ = 0;
            }
            if (handled) return;
            break;
        }
        case WM_NCLBUTTONDOWN: {
            if (!drawnActive_) SetForegroundWindow(hwnd_);
            const int32_t r = NcLButtonDown(uMsg, static_cast<int32_t>(wParam));
            if (r == HTSYSMENU) PostMessageA(hwnd_, kSysMenuRequest, SC_KEYMENU, 0);
            else if (r >= 10 && r <= 17) SilentStyle(true, WS_DLGFRAME);
            if (r > 0) return;
            wParam = HTNOWHERE;
            break;
        }
        case WM_NCLBUTTONUP:
        case WM_LBUTTONUP: {
            if (c_MBar && c_MBar->TrackingState()) return;
            if (dragMode_ > 0) {
                const int32_t mode = dragMode_;
                if (mode == 2) NotifySizing(false);
                if (mode == 1 || mode == 2) SilentStyle(false, WS_DLGFRAME);
                if (mode >= 3) {
                    POINT pt;
                    GetCursorPos(&pt);
                    TrackTitleButton(uMsg == WM_NCLBUTTONUP ? static_cast<int32_t>(wParam) : NcHitTest(pt), false);
                    hotMenuItem_ = 0;
                }
                EndDrag();
                return;
            }
            bool handled = false;
            if (uMsg == WM_NCLBUTTONUP) {
                ReleaseMoveCapture();
                if (pressedHit_ == HTSYSMENU && iconPressed_ && GetTickCount() - iconPressTick_ < GetDoubleClickTime()) {
                    iconPressed_ = false;
                    SendMessageA(hwnd_, WM_CANCELMODE, 0, 0);
                    CheckSysCommand(SC_CLOSE, true);
                    handled = true;
                }
            }
            dragMode_ = 0;
            if (handled) return;
            break;
        }
        case WM_NCLBUTTONDBLCLK:
            if (wParam == HTCAPTION) CheckSysCommand(Zoomed() ? SC_RESTORE : SC_MAXIMIZE, true);
            else if (wParam == HTSYSMENU) CheckSysCommand(SC_CLOSE, true);
            EndDrag();
            hotMenuItem_ = 0;
            return;
        case WM_LBUTTONDOWN:
            if (!drawnActive_) PaintNonClient(true, true, "wm_nlbuttondown");
            pressedHit_ = 0;
            break;
        case WM_MENUCHAR:
            result = MenuBar()->OnMenuAccelerator(LOWORD(wParam), IconHasRegion(), false);
            return;
        case WM_MENUSELECT:
            // Sent to the window, never through the menu's message filter: the bar sees it here.
            if (c_MBar && c_MBar->TrackingState()) {
                MSG m{hwnd_, uMsg, wParam, lParam, static_cast<DWORD>(GetMessageTime()), {}};
                bool handled = false;
                c_MBar->OnMenuMsgFilter(&m, handled);
                if (handled) return;
            }
            break;
        case WM_ENTERMENULOOP:
            if (!wParam) SilentStyle(true, WS_CAPTION);
            break;
        case WM_EXITMENULOOP: SilentStyle(false, WS_CAPTION); break;
        case WM_ENTERSIZEMOVE: NotifySizing(true); break;
        case WM_EXITSIZEMOVE: NotifySizing(false); break;
        default: break;
        }
        break;
    }
    result = CallPrevious(uMsg, wParam, lParam);
}

}  // namespace lumio
