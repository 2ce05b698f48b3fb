#include "frame_control.h"

#include <shellapi.h>

#include <cmath>

#include "client_calls.h"

namespace lumio {
namespace {

constexpr UINT kFrameChangeFlags = 0x227;  // no size, no move, no z-order, frame changed, no owner z-order

FrameSystemMetrics ReadMetrics() {
    FrameSystemMetrics m;
    m.cxDlgFrame = GetSystemMetrics(SM_CXDLGFRAME);
    m.cyCaption = GetSystemMetrics(SM_CYCAPTION);
    m.cySmCaption = GetSystemMetrics(SM_CYSMCAPTION);
    m.cySmIcon = GetSystemMetrics(SM_CYSMICON);
    m.cxMinTrack = GetSystemMetrics(SM_CXMINTRACK);
    m.cyMinTrack = GetSystemMetrics(SM_CYMINTRACK);
    return m;
}

}  // namespace

clsFrameControl::clsFrameControl() { SetTitleBarFont(nullptr); }

clsFrameControl::~clsFrameControl() {
    if (c_MBar) {
        c_MBar->SetEvents(nullptr);
        c_MBar->Terminate();
        c_MBar->Release();
    }
}

clsMenuBarControl* clsFrameControl::MenuBar() {
    if (!c_MBar) {
        c_MBar = new clsMenuBarControl;
        c_MBar->SetEvents(this);
    }
    return c_MBar;
}

void clsFrameControl::c_MBar_RefreshMenuBar() { PaintNonClient(drawnActive_, true, "refresh"); }

void clsFrameControl::c_MBar_GetWindowRegion(HRGN& lRegion) {
    const FrameBox in = geo_.InsideBorder();
    lRegion = CreateRectRgn(in.left, in.top, in.right, in.bottom);
}

int32_t clsFrameControl::SetSizingHandle(bool bSet, uint8_t newSize) {
    if (!bSet) return geo_.sizingHandle;
    if (newSize) geo_.sizingHandle = newSize;
    return 0;
}

int32_t clsFrameControl::SetBorderStyle(bool bSet, int32_t newStyle) {
    if (!bSet) return geo_.borderStyle;
    if (geo_.SetBorderStyle(newStyle, GetSystemMetrics(SM_CXDLGFRAME))) {
        windowRect_ = {0, 0, -1, -1};
        if (hwnd_) ChangeStyle(false, false, -3);
    }
    return 0;
}

uint32_t clsFrameControl::SetFontColor(bool bSet, bool bActive, uint32_t colour) {
    const int i = bActive ? 0 : 1;
    if (bSet) {
        captionColour_[i] = colour;
        PaintNonClient(true, false, "setfontcolor");
    }
    return captionColour_[i];
}

bool clsFrameControl::SetKeepActive(bool bSet, bool AlwaysActive, bool allThreads) {
    if (!bSet) return (keepActive_ & (allThreads ? 8 : 4)) != 0;
    keepActive_ = AlwaysActive ? (allThreads ? 10 : 6) : 0;
    if (hwnd_) PaintNonClient(drawnActive_, true, "keepactive");
    return AlwaysActive;
}

void clsFrameControl::EnableButtons(int32_t bits, bool isEnabled) {
    for (int32_t bit : {kFrameClose, kFrameMaximize, kFrameMinimize, kFrameMove, kFrameSize, kFrameIcon}) {
        if (!(bits & bit)) continue;
        if (isEnabled) geo_.disabledBits &= ~bit;
        else geo_.disabledBits |= bit;
    }
    if (!hwnd_) return;
    SyncSystemMenu(false);
    LayoutTitleButtons();
    PaintNonClient(drawnActive_, false, "sysmenuenabled");
}

bool clsFrameControl::SetHideDisabled(bool bSet, bool bHide) {
    if (!bSet) return geo_.hideDisabled;
    geo_.hideDisabled = bHide;
    if (hwnd_) {
        LayoutTitleButtons();
        PaintNonClient(drawnActive_, false, "hidedisabledbtns");
    }
    return bHide;
}

void clsFrameControl::SetTitleBarFont(const FontSpec* font) {
    titleFont_.reset();
    LOGFONTA lf{};
    if (!font) {
        NONCLIENTMETRICSA ncm{};
        ncm.cbSize = sizeof ncm;
        SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0);
        lf = ncm.lfCaptionFont;
        lf.lfCharSet = DEFAULT_CHARSET;
        if (gdi::OwnedObject<HFONT> probe(CreateFontIndirectA(&lf)); probe) {
            LOGFONTA back{};
            GetObjectA(probe.get(), sizeof back, &back);
            if (back.lfCharSet == 0) lstrcpynA(lf.lfFaceName, "Tahoma", LF_FACESIZE);
        }
    } else {
        ApplyFontSpec(lf, *font);
    }
    lf.lfCharSet = DEFAULT_CHARSET;
    if (geo_.Vertical()) lf.lfEscapement = lf.lfOrientation = 900;
    else lf.lfEscapement = lf.lfOrientation = 0;
    titleFont_.reset(CreateFontIndirectA(&lf));
    if (hwnd_) ResetTitleMetrics();
}

FontSpec clsFrameControl::GetTitleBarFont() const { return FontSpecOf(titleFont_.get()); }

bool clsFrameControl::SetCenteredCaption(bool bSet, bool isCentered) {
    if (bSet) {
        if (isCentered) geo_.captionFlags |= kCaptionCentered;
        else geo_.captionFlags &= ~kCaptionCentered;
        if (hwnd_) PaintNonClient(drawnActive_, false, "titlecentered");
    }
    return (geo_.captionFlags & kCaptionCentered) != 0;
}

bool clsFrameControl::SetVerticalCaption(bool bSet, bool isVertical) {
    if (bSet) {
        if (isVertical) geo_.captionFlags |= kCaptionVertical;
        else geo_.captionFlags &= ~kCaptionVertical;
        // The font turns with the caption; the frame change it would cause waits for the one below.
        suppressStyle_ = true;
        const FontSpec font = GetTitleBarFont();
        SetTitleBarFont(&font);
        suppressStyle_ = false;
        if (hwnd_) {
            windowRect_ = {0, 0, -1, -1};
            KeepClientSize(false);
        }
    }
    return geo_.Vertical();
}

bool clsFrameControl::SetShowInTaskBar(bool bSet, bool bShow) {
    if (!bSet) return hwnd_ && (GetWindowLongPtrA(hwnd_, GWL_EXSTYLE) & WS_EX_APPWINDOW) != 0;
    if (!hwnd_) {
        savedExStyle_ = bShow ? 2 : 1;
        return bShow;
    }
    const LONG_PTR ex = GetWindowLongPtrA(hwnd_, GWL_EXSTYLE);
    const bool has = (ex & WS_EX_APPWINDOW) != 0;
    if (has == bShow) {
        if (bShow) RefreshSmallIcon();
        return bShow;
    }
    const bool visible = IsWindowVisible(hwnd_) != FALSE;
    if (visible) ShowWindow(hwnd_, SW_HIDE);
    SetWindowLongPtrA(hwnd_, GWL_EXSTYLE, bShow ? (ex | WS_EX_APPWINDOW) : (ex & ~WS_EX_APPWINDOW));
    if (visible) SetWindowPos(hwnd_, nullptr, 0, 0, 0, 0, 0x267);
    if (bShow) RefreshSmallIcon();
    return bShow;
}

void clsFrameControl::SetCaptionText(const std::string& newCaption, HWND hWnd) {
    HWND target = hwnd_ ? hwnd_ : hWnd;
    if (target) SendMessageA(target, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(newCaption.c_str()));
}

void clsFrameControl::AddUserButton(const std::string& ID, int32_t Position, int32_t PositionType, int32_t X,
                                    int32_t Y, int32_t Width, int32_t Height) {
    if (!geo_.AddUserButton(ID, Position, PositionType, X, Y, Width, Height)) return;
    if (hwnd_) PaintNonClient(drawnActive_, false, "addtoolbarbutton");
}

void clsFrameControl::SetAppIconPixels(HICON hIcon) {
    HWND top = hwnd_;
    if (!top) return;
    while (HWND owner = reinterpret_cast<HWND>(GetWindowLongPtrA(top, GWLP_HWNDPARENT))) top = owner;
    PostMessageA(top, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(hIcon));
}

void clsFrameControl::InitFrameMetrics() {
    if (savedStyle_ != 0) return;
    const uint32_t ex = static_cast<uint32_t>(GetWindowLongPtrA(hwnd_, GWL_EXSTYLE));
    const uint32_t style = static_cast<uint32_t>(GetWindowLongPtrA(hwnd_, GWL_STYLE));
    savedStyle_ = style & ~(WS_MAXIMIZE | WS_MINIMIZE);
    const uint32_t pending = savedExStyle_;
    savedExStyle_ = ex;
    geo_.InitFrameMetrics(style, ex, ReadMetrics());
    if (pending) SetShowInTaskBar(true, pending == 2);
    // Not yet in the window's chain: the frame change reaches the old procedure only.
    SetWindowLongPtrA(hwnd_, GWL_STYLE, static_cast<LONG_PTR>(AdjustFrameStyle(GWL_STYLE, style, Zoomed())));
    SetWindowPos(hwnd_, nullptr, 0, 0, 0, 0, kFrameChangeFlags);
    const FontSpec font = GetTitleBarFont();
    SetTitleBarFont(&font);
    memDC_.create();
    KeepClientSize(false);
    if (!smallIcon_) RefreshSmallIcon();
}

void clsFrameControl::ResetTitleMetrics() {
    geo_.ResetTitleMetrics();
    ChangeStyle(false, false, -3);
}

void clsFrameControl::ComputeFrameRegions(bool bCheck) {
    if (suppressStyle_ || !hwnd_) return;
    if (bCheck) {
        RECT r{};
        GetWindowRect(hwnd_, &r);
        if (EqualRect(&r, &windowRect_)) return;
        windowRect_ = r;
    }
    clsMenuBarControl* bar = MenuBar();
    geo_.ComputeFrameRegions(windowRect_.right - windowRect_.left, windowRect_.bottom - windowRect_.top,
                             [&](int32_t x, int32_t y, int32_t width) {
                                 return bar->LayoutMenuItems(memDC_.get(), width, x, y);
                             });
}

void clsFrameControl::NcCalcSize(NCCALCSIZE_PARAMS* params) {
    if (params->lppos) {
        const WINDOWPOS& wp = *params->lppos;
        windowRect_ = {wp.x, wp.y, wp.x + wp.cx, wp.y + wp.cy};
    }
    ComputeFrameRegions(false);
    RECT client{geo_.client.left + windowRect_.left, geo_.client.top + windowRect_.top,
                geo_.client.right + windowRect_.left, geo_.client.bottom + windowRect_.top};
    params->rgrc[0] = client;
    params->rgrc[1] = client;
}

int32_t clsFrameControl::NcHitTest(POINT screen) {
    RECT wr{};
    GetWindowRect(hwnd_, &wr);
    clsMenuBarControl* bar = c_MBar;
    return geo_.NcHitTest(
        screen.x - wr.left, screen.y - wr.top, Zoomed(),
        [bar](int32_t x, int32_t y) { return bar ? bar->MenuItemFromPoint(x, y) : 0; }, hotMenuItem_);
}

void clsFrameControl::KeepClientSize(bool bRestore) {
    if (!hwnd_ || Zoomed() || Iconic()) return;
    RECT cr{};
    int32_t dx, dy;
    if (!bRestore) {
        geo_.disabledBits |= kFrameMeasuring;
        GetClientRect(hwnd_, &cr);
        ComputeFrameRegions(true);
        geo_.disabledBits &= ~kFrameMeasuring;
        dx = (cr.right - cr.left) - geo_.client.Width();
        dy = (cr.bottom - cr.top) - geo_.client.Height();
        MenuBar()->WindowMenu("adjustImplementSize");
    } else {
        GetClientRect(hwnd_, &cr);
        dx = geo_.client.Width() - (cr.right - cr.left);
        dy = geo_.client.Height() - (cr.bottom - cr.top);
    }
    RECT wr{};
    GetWindowRect(hwnd_, &wr);
    SetWindowPos(hwnd_, nullptr, 0, 0, wr.right - wr.left + dx, wr.bottom - wr.top + dy, 0x226);
}

void clsFrameControl::RefreshSmallIcon() {
    if (!hwnd_) return;
    if (!prevSmallIconRemembered_) {
        prevSmallIcon_ = reinterpret_cast<HICON>(SendMessageA(hwnd_, WM_GETICON, ICON_SMALL, 0));
        prevSmallIconRemembered_ = true;
    }
    HICON big = reinterpret_cast<HICON>(SendMessageA(hwnd_, WM_GETICON, ICON_BIG, 0));
    if (big) {
        if (HICON copy = static_cast<HICON>(CopyImage(big, IMAGE_ICON, 16, 16, LR_COPYFROMRESOURCE))) {
            // Sent, so that the window has let go of the old icon before it is destroyed.
            smallIcon_ = copy;
            SendMessageA(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(copy));
            ownedSmallIcon_.reset(copy);
            return;
        }
        HICON own = reinterpret_cast<HICON>(SendMessageA(hwnd_, WM_GETICON, ICON_SMALL, 0));
        smallIcon_ = own ? own : big;
        return;
    }
    HICON found = nullptr;
    ExtractIconExA("user.exe", 0, nullptr, &found, 1);
    if (found) {
        smallIcon_ = found;
        SendMessageA(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(found));
    } else {
        smallIcon_ = nullptr;
    }
    ownedSmallIcon_.reset(found);
}

uint32_t clsFrameControl::ChangeStyle(bool bSuppress, bool bRemove, int32_t code,
                                      std::initializer_list<uint32_t> list) {
    if (suppressStyle_) {  // one-shot: a change made while it was set is dropped
        suppressStyle_ = false;
        return 0;
    }
    if (!hwnd_) return 0;
    const uint32_t style = static_cast<uint32_t>(GetWindowLongPtrA(hwnd_, GWL_STYLE));
    if (code == -2) {
        suppressStyle_ = bSuppress;  // consumed by the WM_STYLECHANGED the write sends
        SetWindowLongPtrA(hwnd_, GWL_STYLE, static_cast<LONG_PTR>(list.size() ? *list.begin() : style));
        suppressStyle_ = false;
        SetWindowPos(hwnd_, nullptr, 0, 0, 0, 0, kFrameChangeFlags);
        return style;
    }
    if (code == -3) {
        SetWindowPos(hwnd_, nullptr, 0, 0, 0, 0, kFrameChangeFlags);
        return style;
    }
    const uint32_t changed = ApplyStyleBits(style, bRemove, std::vector<uint32_t>(list));
    if (code == -1) return changed;
    if (changed != style || code != 0) {
        suppressStyle_ = bSuppress;
        SetWindowLongPtrA(hwnd_, GWL_STYLE, static_cast<LONG_PTR>(changed));
        suppressStyle_ = false;
        if (!bSuppress) SetWindowPos(hwnd_, nullptr, 0, 0, 0, 0, 0x62F);
    }
    return changed;
}

LRESULT clsFrameControl::CallPrevious(UINT uMsg, WPARAM wParam, LPARAM lParam) {
    WNDPROC prev = FramePreviousProc(hwnd_);
    return prev ? CallWindowProcA(prev, hwnd_, uMsg, wParam, lParam) : DefWindowProcA(hwnd_, uMsg, wParam, lParam);
}

void clsFrameControl::BeginSubclass(HWND hWnd) {
    if (!hWnd || !IsWindow(hWnd)) return;
    // A window of another thread or process would take no procedure of
    // ours: refused before anything changes.
    if (GetWindowThreadProcessId(hWnd, nullptr) != GetCurrentThreadId()) return;
    if (hwnd_) {
        // Beginning again ends the earlier frame, which takes the window
        // properties with it: they are put back for this one.
        HANDLE client = GetPropA(hWnd, kCallbackProp);
        HANDLE self = GetPropA(hWnd, kFrameObjectProp);
        EndSubclass();
        const FontSpec* none = nullptr;
        SetTitleBarFont(none);
        if (client) SetPropA(hWnd, kCallbackProp, client);
        if (self) SetPropA(hWnd, kFrameObjectProp, self);
    }
    const LONG_PTR style0 = GetWindowLongPtrA(hWnd, GWL_STYLE), exStyle0 = GetWindowLongPtrA(hWnd, GWL_EXSTYLE);
    RECT rect0{};
    GetWindowRect(hWnd, &rect0);
    if (HWND parent = GetAncestor(hWnd, GA_PARENT); parent && parent != GetDesktopWindow())
        MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect0), 2);
    const HMENU menu0 = GetMenu(hWnd);
    hwnd_ = hWnd;
    RefreshSmallIcon();
    drawnActive_ = GetForegroundWindow() == hWnd;
    MenuBar()->AttachWindow(hWnd);
    geo_.ResetStandardButtons();
    windowRect_ = {0, 0, -1, -1};
    InitFrameMetrics();
    destroyed_ = false;
    if (!AttachFrameWindowProc(hWnd) && !FramePreviousProc(hWnd)) {
        // The procedure could not be changed: nothing is framed, and the
        // window gets back its styles, place, size and menu.
        EndSubclass();
        SetWindowLongPtrA(hWnd, GWL_EXSTYLE, exStyle0);
        SetWindowLongPtrA(hWnd, GWL_STYLE, style0);
        if (GetMenu(hWnd) != menu0) SetMenu(hWnd, menu0);
        SetWindowPos(hWnd, nullptr, rect0.left, rect0.top, rect0.right - rect0.left, rect0.bottom - rect0.top,
                     SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
        return;
    }
    SyncSystemMenu(false);
    MenuBar()->WindowMenu("beginclass");
    ChangeStyle(false, false, -3);
}

void clsFrameControl::EndSubclass() {
    if (hwnd_ && IsWindow(hwnd_)) {
        HWND h = hwnd_;
        EndDrag();
        RemovePropA(h, kCallbackProp);
        DetachFrameWindowProc(h);
        RemovePropA(h, kFrameObjectProp);
        if (c_MBar) {
            c_MBar->SetEvents(nullptr);
            c_MBar->Terminate();
            c_MBar->Release();
            c_MBar = nullptr;
        }
        uint32_t style = savedStyle_;
        if (IsZoomed(h)) style |= WS_MAXIMIZE;
        else if (IsIconic(h)) style |= WS_MINIMIZE;
        // The window stays as visible as it is now, whatever it was at attach.
        const bool visible = IsWindowVisible(h) != FALSE;
        style = visible ? (style | WS_VISIBLE) : (style & ~WS_VISIBLE);
        bool hidden = false;
        if (visible && static_cast<uint32_t>(GetWindowLongPtrA(h, GWL_EXSTYLE)) != savedExStyle_) {
            ShowWindow(h, SW_HIDE);
            hidden = true;
            style &= ~WS_VISIBLE;
        }
        SetWindowLongPtrA(h, GWL_EXSTYLE, static_cast<LONG_PTR>(savedExStyle_));
        SetWindowLongPtrA(h, GWL_STYLE, static_cast<LONG_PTR>(style));
        SetWindowPos(h, nullptr, 0, 0, 0, 0, kFrameChangeFlags);
        if (hidden) ShowWindow(h, SW_SHOWNA);
        if (prevSmallIconRemembered_) SendMessageA(h, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(prevSmallIcon_));
        DrawMenuBar(h);
        KeepClientSize(true);
        SyncSystemMenu(true);
    } else if (c_MBar) {
        c_MBar->SetEvents(nullptr);
        c_MBar->Terminate();
        c_MBar->Release();
        c_MBar = nullptr;
    }
    ownedSmallIcon_.reset();
    smallIcon_ = nullptr;
    prevSmallIcon_ = nullptr;
    prevSmallIconRemembered_ = false;
    memDC_.reset();
    titleBmp_.reset();
    titleFont_.reset();
    keepActive_ = 0;
    savedStyle_ = savedExStyle_ = 0;
    hwnd_ = nullptr;
    geo_.disabledBits = 0;
    geo_.menuStrip = {};
    geo_.buttons.clear();
    geo_.ResetStandardButtons();
    captionColour_[0] = 0x80000009;
    captionColour_[1] = 0x80000013;
    dragMode_ = 0;
    hotMenuItem_ = 0;
    iconPressed_ = false;
}

}  // namespace lumio
