#include <algorithm>
#include <string>

#include "client_calls.h"
#include "frame_control.h"

namespace lumio {

int32_t clsFrameControl::NcLButtonDown(UINT, int32_t h) {
    GetCursorPos(&lastCursor_);
    int32_t mode = 0;
    const int32_t lastEntry = static_cast<int32_t>(geo_.buttons.size()) - 1;
    switch (h) {
    case HTNOWHERE:
    case HTCLIENT:
    case HTBORDER: mode = 0; break;
    case HTLEFT: case HTRIGHT: case HTTOP: case HTTOPLEFT:
    case HTTOPRIGHT: case HTBOTTOM: case HTBOTTOMLEFT: case HTBOTTOMRIGHT:
        if (IsButtonEnabled(kFrameSize)) {
            mode = 2;
            NotifySizing(true);
        } else {
            mode = -1;
        }
        break;
    case HTCAPTION: mode = Zoomed() || !IsButtonEnabled(kFrameMove) ? -1 : 1; break;
    case kHitMenuItem: {
        bool selectFirst = false;
        pressedHit_ = h;
        MenuBar()->TrackMenu(hotMenuItem_ - 1, -1, IconHasRegion(), false, selectFirst, 0, 0, 0);
        mode = 0;
        break;
    }
    case HTMINBUTTON:
    case HTMAXBUTTON:
    case HTCLOSE: {
        const int index = ButtonIndexOf(h, true);
        if (IsButtonEnabled(StandardButtonBit(index))) {
            mode = h;
            geo_.buttons[index].state = 2;
            DrawTitleButtons(nullptr, index, 2);
        } else {
            mode = -1;
            geo_.buttons[index].state = 3;
            DrawTitleButtons(nullptr, index, 3);
        }
        break;
    }
    case HTSYSMENU:
        if (IsButtonEnabled(kFrameIcon)) {
            iconPressTick_ = GetTickCount();
            iconPressed_ = true;
            mode = 0;
        } else {
            mode = -1;
        }
        break;
    default:
        // User buttons are 34 up to the table's last entry; 31 to 33 and anything beyond are refused.
        if (h >= kHitUserBase + 4 && h <= kHitUserBase + lastEntry) {
            mode = h;
            geo_.buttons[h - kHitUserBase].state = 1;
        } else {
            mode = -1;
        }
        break;
    }
    dragMode_ = mode;
    if (mode == 1 || mode == 2) {
        GetWindowRect(hwnd_, &windowRect_);
        RECT work{};
        SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
        ClipCursor(&work);
        dragClipped_ = true;
        SetCapture(hwnd_);
    } else if (mode > 2) {
        SetCapture(hwnd_);  // a release off the window still reaches the button
    }
    pressedHit_ = h;
    if (dragMode_ < 0) {
        dragMode_ = 0;
        return 0;
    }
    return h;
}

bool clsFrameControl::DragStep() {
    POINT p;
    GetCursorPos(&p);
    if (dragMode_ == 1) {
        const int32_t dx = p.x - lastCursor_.x, dy = p.y - lastCursor_.y;
        lastCursor_ = p;
        OffsetRect(&windowRect_, dx, dy);
        SetWindowPos(hwnd_, nullptr, windowRect_.left, windowRect_.top, windowRect_.right - windowRect_.left,
                     windowRect_.bottom - windowRect_.top, 0);
        return true;
    }
    if (dragMode_ != 2) return false;
    const bool vertical = geo_.Vertical();
    const int32_t minW = GetSystemMetrics(vertical ? SM_CYMINTRACK : SM_CXMINTRACK);
    const int32_t minH = GetSystemMetrics(vertical ? SM_CXMINTRACK : SM_CYMINTRACK);
    const FrameBox current{windowRect_.left, windowRect_.top, windowRect_.right, windowRect_.bottom};
    const SizeStepResult r = SizeStep(current, pressedHit_, p.x - lastCursor_.x, p.y - lastCursor_.y, minW, minH);
    if (r.acceptedX) lastCursor_.x = p.x;
    if (r.acceptedY) lastCursor_.y = p.y;
    if (!r.acceptedX && !r.acceptedY) return false;
    windowRect_ = {r.rect.left, r.rect.top, r.rect.right, r.rect.bottom};
    SetWindowPos(hwnd_, nullptr, r.rect.left, r.rect.top, r.rect.Width(), r.rect.Height(), 0);
    return true;
}

void clsFrameControl::ReleaseMoveCapture() {
    if (GetCapture() != hwnd_) return;
    releasing_ = true;
    ReleaseCapture();
    releasing_ = false;
    ClipCursor(nullptr);
    dragClipped_ = false;
}

void clsFrameControl::EndDrag() {
    ReleaseMoveCapture();
    if (dragClipped_) {
        ClipCursor(nullptr);
        dragClipped_ = false;
    }
    dragMode_ = 0;
}

void clsFrameControl::NotifySizing(bool bBegin) {
    VARIANT_BOOL redrawn = VARIANT_FALSE;
    if (ClientCalls client = ClientOf(hwnd_)) client.EnterExitSizing(bBegin, redrawn);
    if (bBegin || redrawn) return;
    dragMode_ = 0;
    if (c_MBar) c_MBar->ReleaseRefreshLock(true);
    PaintNonClient(drawnActive_, true, "updateuserresize");
}

void clsFrameControl::TrackTitleButton(int32_t h, bool bTrack) {
    const int32_t pressed = pressedHit_;
    if (!(pressed == 8 || pressed == 9 || pressed == 20 || pressed > kHitUserBase)) return;
    const bool over = pressed == h;
    const int index = ButtonIndexOf(pressed, true);
    if (index <= 0 || index >= static_cast<int>(geo_.buttons.size())) return;
    FrameButton& b = geo_.buttons[index];
    const int16_t state = over ? 2 : 0;
    if (state != b.state) {
        b.state = state;
        DrawTitleButtons(nullptr, index, state);
    }
    if (bTrack) return;
    if (over) {
        if (index > 3) {
            std::string id = b.ID;
            id.erase(0, id.find_first_not_of(' '));
            id.erase(id.find_last_not_of(' ') + 1);
            if (ClientCalls client = ClientOf(hwnd_)) client.UserButtonClick(id);
        } else if (index == 1) {
            CheckSysCommand(SC_CLOSE, true);
        } else if (index == 2) {
            CheckSysCommand(Zoomed() ? SC_RESTORE : SC_MAXIMIZE, true);
        } else {
            CheckSysCommand(SC_MINIMIZE, true);
        }
    }
    if (index < static_cast<int>(geo_.buttons.size())) {
        geo_.buttons[index].state = 0;
        DrawTitleButtons(nullptr, index, 0);
    }
}

bool clsFrameControl::CheckSysCommand(uint32_t command, bool bPost) {
    const SysCommandDecision d = lumio::CheckSysCommand(command, geo_.disabledBits, hwnd_ && Iconic());
    if (d.postClose && hwnd_) PostMessageA(hwnd_, WM_CLOSE, 0, 0);
    if (d.post && bPost && hwnd_) PostMessageA(hwnd_, WM_SYSCOMMAND, command, 0);
    return d.blocked;
}

void clsFrameControl::SyncSystemMenu(bool bRestore) {
    if (!hwnd_) return;
    HMENU sys = GetSystemMenu(hwnd_, FALSE);
    if (!sys) {
        GetSystemMenu(hwnd_, TRUE);
        sys = GetSystemMenu(hwnd_, FALSE);
    }
    if (!sys) return;
    const bool iconic = Iconic();
    for (int k = 0; k < 5; ++k) {
        const SystemMenuPair& p = kSystemMenuPairs[k];
        MENUITEMINFOA mii{};
        mii.cbSize = sizeof mii;
        mii.fMask = MIIM_STATE | MIIM_ID;
        if (bRestore) {
            if (!GetMenuItemInfoA(sys, p.substitute, FALSE, &mii)) continue;
            mii.fState = 0;
            mii.wID = p.command;
            SetMenuItemInfoA(sys, p.substitute, FALSE, &mii);
            continue;
        }
        UINT foundBy = p.substitute;
        if (!GetMenuItemInfoA(sys, foundBy, FALSE, &mii)) {
            foundBy = p.command;
            if (!GetMenuItemInfoA(sys, foundBy, FALSE, &mii)) continue;
        }
        mii.wID = SystemMenuItemId(k, geo_.disabledBits, iconic);
        mii.fState = mii.wID == p.substitute ? (MFS_GRAYED | MFS_DISABLED) : 0;
        SetMenuItemInfoA(sys, foundBy, FALSE, &mii);
    }
}

}  // namespace lumio
