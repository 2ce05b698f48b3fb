// The control's window messages: painting, sizing, visibility, and the input
// rules every control shares (capture while a button is held, focus before
// MouseDown, Click after MouseUp, DblClick in place of the second MouseDown,
// key codes read back from the handlers).
#include <windowsx.h>

#include "control_base.h"
#include "run_time_error.h"

namespace lumio {

namespace {

// An error raised inside an event handler has no caller to go to.
template <class F>
void Safely(F&& f) {
    try {
        f();
    } catch (const RunTimeError& e) {
        OutputDebugStringW((L"Lumiokit: unhandled error in an event handler: " + e.description() + L"\n").c_str());
    } catch (...) {
        OutputDebugStringW(L"Lumiokit: unhandled exception in an event handler\n");
    }
}

short ButtonOf(UINT msg) {
    switch (msg) {
    case WM_LBUTTONDOWN: case WM_LBUTTONUP: case WM_LBUTTONDBLCLK: return kLeftButton;
    case WM_RBUTTONDOWN: case WM_RBUTTONUP: case WM_RBUTTONDBLCLK: return kRightButton;
    case WM_MBUTTONDOWN: case WM_MBUTTONUP: case WM_MBUTTONDBLCLK: return kMiddleButton;
    default: return 0;
    }
}

short ButtonsHeld(WPARAM wp) {
    short b = 0;
    if (wp & MK_LBUTTON) b |= kLeftButton;
    if (wp & MK_RBUTTON) b |= kRightButton;
    if (wp & MK_MBUTTON) b |= kMiddleButton;
    return b;
}

// Characters travel to the handlers as codes of the ANSI code page: a
// double-byte character as lead byte * 256 + trail byte.
short AnsiCodeOf(wchar_t c) {
    char buf[4] = {};
    int n = WideCharToMultiByte(CP_ACP, 0, &c, 1, buf, sizeof buf, nullptr, nullptr);
    if (n == 1) return static_cast<unsigned char>(buf[0]);
    if (n == 2) return static_cast<short>((static_cast<unsigned char>(buf[0]) << 8) | static_cast<unsigned char>(buf[1]));
    return static_cast<short>(c);
}

wchar_t CharOfAnsiCode(short code) {
    char buf[2];
    int len = 1;
    unsigned short u = static_cast<unsigned short>(code);
    if (u > 0xFF) {
        buf[0] = static_cast<char>(u >> 8);
        buf[1] = static_cast<char>(u & 0xFF);
        len = 2;
    } else {
        buf[0] = static_cast<char>(u);
    }
    wchar_t w = 0;
    if (MultiByteToWideChar(CP_ACP, 0, buf, len, &w, 1) != 1) return static_cast<wchar_t>(u);
    return w;
}

}  // namespace

short ControlBase::ShiftState() const {
    short s = 0;
    if (GetKeyState(VK_SHIFT) < 0) s |= kShiftMask;
    if (GetKeyState(VK_CONTROL) < 0) s |= kCtrlMask;
    if (GetKeyState(VK_MENU) < 0) s |= kAltMask;
    return s;
}

LRESULT ControlBase::HandleMessage(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (!hwnd_) hwnd_ = hwnd;  // messages of the window's creation come first
    LRESULT own = 0;
    bool handled = false;
    Safely([&] { handled = OnWindowMessage(msg, wp, lp, own); });
    if (handled) return own;
    switch (msg) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd_, &ps);
        if (image_dc_) BitBlt(dc, 0, 0, image_size_.cx, image_size_.cy, image_dc_.get(), 0, 0, SRCCOPY);
        else Safely([&] { OnPaint(); });
        EndPaint(hwnd_, &ps);
        return 0;
    }
    case WM_ERASEBKGND:
        return 1;
    case WM_SIZE:
        if (image_dc_) ResizeImage();
        // A control that resizes itself in Resize comes back here; a few
        // rounds settle any sane rule, more would be a loop.
        // Resize belongs to a control whose properties are set.
        if (initialized_ && resize_depth_ < 4) {
            resized_since_init_ = true;
            ++resize_depth_;
            Safely([&] { OnResize(); });
            --resize_depth_;
        }
        return 0;
    case WM_SHOWWINDOW:
        if (wp) Safely([&] { OnShow(); });
        else Safely([&] { OnHide(); });
        break;
    case WM_MOUSEMOVE: case WM_LBUTTONDOWN: case WM_LBUTTONUP: case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN: case WM_RBUTTONUP: case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN: case WM_MBUTTONUP: case WM_MBUTTONDBLCLK:
        return HandleMouse(msg, wp, lp);
    case WM_CAPTURECHANGED:
        if (reinterpret_cast<HWND>(lp) != hwnd_) buttons_down_ = 0;
        return 0;
    case WM_KEYDOWN: case WM_SYSKEYDOWN: case WM_KEYUP: case WM_SYSKEYUP: case WM_CHAR:
        return HandleKey(msg, wp, lp);
    case WM_SETFOCUS:
        HandleFocus(true, reinterpret_cast<HWND>(wp));
        return 0;
    case WM_KILLFOCUS:
        HandleFocus(false, reinterpret_cast<HWND>(wp));
        return 0;
    case WM_SETCURSOR:
        if (reinterpret_cast<HWND>(wp) == hwnd_ && LOWORD(lp) == HTCLIENT && HandleSetCursor()) return TRUE;
        break;
    case WM_GETDLGCODE:
        return DLGC_WANTARROWS | DLGC_WANTCHARS;
    default:
        break;
    }
    return DefWindowProcW(hwnd_, msg, wp, lp);
}

LRESULT ControlBase::HandleMouse(UINT msg, WPARAM wp, LPARAM lp) {
    float x = static_cast<float>(GET_X_LPARAM(lp));
    float y = static_cast<float>(GET_Y_LPARAM(lp));
    short shift = 0;
    if (wp & MK_SHIFT) shift |= kShiftMask;
    if (wp & MK_CONTROL) shift |= kCtrlMask;
    if (GetKeyState(VK_MENU) < 0) shift |= kAltMask;
    short button = ButtonOf(msg);
    switch (msg) {
    case WM_MOUSEMOVE:
        Safely([&] { OnMouseMove(ButtonsHeld(wp), shift, x, y); });
        return 0;
    case WM_LBUTTONDOWN: case WM_RBUTTONDOWN: case WM_MBUTTONDOWN:
    case WM_LBUTTONDBLCLK: case WM_RBUTTONDBLCLK: case WM_MBUTTONDBLCLK:
        if (info_.takes_focus && !HasFocus() && IsWindowEnabled(hwnd_)) SetFocus(hwnd_);
        CaptureMouse();
        buttons_down_ |= button;
        if (msg == WM_LBUTTONDBLCLK) {
            click_pending_ = false;
            Safely([&] { OnDblClick(); });
        } else {
            if (button == kLeftButton) click_pending_ = true;
            Safely([&] { OnMouseDown(button, shift, x, y); });
        }
        return 0;
    default: {  // button up
        buttons_down_ &= static_cast<short>(~button);
        if (!buttons_down_) ReleaseMouse();
        Safely([&] { OnMouseUp(button, shift, x, y); });
        if (button == kLeftButton && click_pending_) {
            click_pending_ = false;
            RECT rc;
            GetClientRect(hwnd_, &rc);
            POINT pt{static_cast<LONG>(x), static_cast<LONG>(y)};
            if (PtInRect(&rc, pt)) Safely([&] { OnClick(); });
        }
        return 0;
    }
    }
}

LRESULT ControlBase::HandleKey(UINT msg, WPARAM wp, LPARAM lp) {
    bool sys = msg == WM_SYSKEYDOWN || msg == WM_SYSKEYUP;
    if (msg == WM_CHAR) {
        short code = AnsiCodeOf(static_cast<wchar_t>(wp));
        Safely([&] { OnKeyPress(code); });
        if (code == 0) return 0;
        return DefWindowProcW(hwnd_, msg, CharOfAnsiCode(code), lp);
    }
    short code = static_cast<short>(wp);
    short shift = ShiftState();
    if (msg == WM_KEYDOWN || msg == WM_SYSKEYDOWN) Safely([&] { OnKeyDown(code, shift); });
    else Safely([&] { OnKeyUp(code, shift); });
    if (code == 0) return 0;
    return sys ? DefWindowProcW(hwnd_, msg, static_cast<WPARAM>(code), lp) : 0;
}

void ControlBase::HandleFocus(bool gained, HWND other) {
    ComPtr<IOleControlSite> cs = site_.As<IOleControlSite>();
    if (gained) {
        if (!ui_active_ && inplace_active_) UIActivate();
        if (cs) cs->OnFocus(TRUE);
        Safely([&] { OnEnterFocus(); });
        Safely([&] { OnGotFocus(); });
    } else {
        Safely([&] { OnLostFocus(); });
        if (!other || (other != hwnd_ && !IsChild(hwnd_, other))) Safely([&] { OnExitFocus(); });
        if (cs) cs->OnFocus(FALSE);
    }
}

bool ControlBase::HandleSetCursor() {
    if (mouse_pointer_ == 0) return false;
    if (mouse_pointer_ == kCustomMousePointer) {
        ComPtr<IPicture> pic = mouse_icon_.As<IPicture>();
        OLE_HANDLE h = 0;
        SHORT type = 0;
        if (!pic || FAILED(pic->get_Handle(&h)) || !h) return false;
        pic->get_Type(&type);
        if (type != PICTYPE_ICON) return false;
        SetCursor(reinterpret_cast<HCURSOR>(static_cast<UINT_PTR>(h)));
        return true;
    }
    static const LPCWSTR kCursors[] = {nullptr, IDC_ARROW, IDC_CROSS, IDC_IBEAM, IDC_ICON, IDC_SIZE, IDC_SIZENESW,
                                       IDC_SIZENS, IDC_SIZENWSE, IDC_SIZEWE, IDC_UPARROW, IDC_WAIT, IDC_NO,
                                       IDC_APPSTARTING, IDC_HELP, IDC_SIZEALL};
    if (mouse_pointer_ < 0 || mouse_pointer_ >= static_cast<short>(std::size(kCursors))) return false;
    SetCursor(LoadCursorW(nullptr, kCursors[mouse_pointer_]));
    return true;
}

}  // namespace lumio
