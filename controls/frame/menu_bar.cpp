#include "menu_bar.h"

#include <cmath>
#include <optional>

#include "client_calls.h"
#include "menu_layout.h"
#include "ole_colour_win.h"

namespace lumio {
namespace {

constexpr char kNextPosProp[] = "nextMnuPos";
constexpr UINT kSysMenuRequest = 0x313;
constexpr int32_t kPaintAll = -1;

void PostKeyDown(HWND hWnd, WPARAM vk) { PostMessageA(hWnd, WM_KEYDOWN, vk, 0); }

RECT ToRect(const FrameBox& r) { return RECT{r.left, r.top, r.right, r.bottom}; }

}  // namespace

clsMenuBarControl::clsMenuBarControl() = default;

clsMenuBarControl::~clsMenuBarControl() { Terminate(); }

void clsMenuBarControl::Terminate() {
    TrackingState(false);
    if (hwnd_ && menu_ && IsWindow(hwnd_)) SetMenu(hwnd_, menu_);
    menu_ = nullptr;
    if (hwnd_ && IsWindow(hwnd_)) RemovePropA(hwnd_, kNextPosProp);
    memDC_.reset();
    backBmp_.reset();
    barBmp_.reset();
    font_.reset();
    items_.clear();
    cells_.clear();
    hwnd_ = nullptr;
}

void clsMenuBarControl::WindowDestroyed() {
    TrackingState(false);
    if (menu_ && hwnd_ && GetMenu(hwnd_) != menu_ && IsMenu(menu_)) DestroyMenu(menu_);
    menu_ = nullptr;
    items_.clear();
    cells_.clear();
}

void clsMenuBarControl::TrackingState(bool isTracking) {
    if (isTracking) {
        tracking_ = true;
        return;
    }
    tracking_ = false;
    HookMenuKeyboardMouse(false, this);
    HookMenuMsgFilter(false, this);
}

void clsMenuBarControl::SetFont(const MenuFontSpec* newFont) {
    if (font_) font_.reset();
    else memDC_.create();
    LOGFONTA lf{};
    if (!newFont) {
        NONCLIENTMETRICSA ncm{};
        ncm.cbSize = sizeof ncm;
        SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0);
        lf = ncm.lfMenuFont;
    } else {
        ApplyFontSpec(lf, *newFont);
    }
    lf.lfCharSet = DEFAULT_CHARSET;
    font_.reset(CreateFontIndirectA(&lf));
}

MenuFontSpec clsMenuBarControl::GetFont() const {
    if (!font_) {
        MenuFontSpec font;
        font.name = "Tahoma";
        return font;
    }
    return FontSpecOf(font_.get());
}

void clsMenuBarControl::FontColor(int32_t lState, uint32_t lColor) {
    if (lState < 0 || lState > 3) return;
    fontColor_[lState] = lColor;
    ForceMenuBarRepaint();
}

uint32_t clsMenuBarControl::FontColor(int32_t lState) const {
    return lState >= 0 && lState <= 3 ? fontColor_[lState] : 0;
}

void clsMenuBarControl::WindowMenu(const char*) {
    if (!hwnd_) return;
    if (HMENU m = GetMenu(hwnd_)) {
        menu_ = m;
        SetMenu(hwnd_, nullptr);
        DrawMenuBar(hwnd_);
    }
}

bool clsMenuBarControl::HiliteStyle(bool bSet, bool isFlat) {
    if (bSet) {
        hiliteStyle_ = isFlat ? 1 : 0;
        return false;
    }
    return hiliteStyle_ == 1;
}

void clsMenuBarControl::ForceMenuBarRepaint() {
    backState_ = -2;
    if (events_) events_->c_MBar_RefreshMenuBar();
}

void clsMenuBarControl::AttachWindow(HWND hWnd) {
    hwnd_ = hWnd;
    if (HMENU m = GetMenu(hWnd)) menu_ = m;
}

int32_t clsMenuBarControl::MenuItemCount(HMENU hSubMenu) const {
    HMENU m = hSubMenu ? hSubMenu : menu_;
    if (!m) return 0;
    const int n = GetMenuItemCount(m);
    return n > 0 ? n : 0;
}

bool clsMenuBarControl::GetTopItemInfo(int32_t index, UINT& state, UINT& id, std::string& text) const {
    char buffer[129] = {};
    MENUITEMINFOA mii{};
    mii.cbSize = sizeof mii;
    mii.fMask = MIIM_STATE | MIIM_ID | MIIM_TYPE;
    mii.dwTypeData = buffer;
    mii.cch = sizeof buffer;  // the whole buffer, terminator included
    if (!menu_ || !GetMenuItemInfoA(menu_, static_cast<UINT>(index), TRUE, &mii)) return false;
    state = mii.fState;
    id = mii.wID;
    text.assign(buffer, strnlen(buffer, mii.cch < sizeof buffer ? mii.cch : sizeof buffer - 1));
    return true;
}

void clsMenuBarControl::ReadItems() {
    const int32_t n = MenuItemCount(nullptr);
    items_.resize(static_cast<size_t>(n));
    for (int32_t i = 0; i < n; ++i) {
        std::string text;
        GetTopItemInfo(i, items_[i].State, items_[i].ID, text);
    }
}

int32_t clsMenuBarControl::LayoutMenuItems(HDC hMemDC, int32_t availableWidth, int32_t x, int32_t y) {
    origin_ = {x, y};
    if (!hMemDC) return 0;
    mnemonics_.clear();
    const int32_t n = MenuItemCount(nullptr);
    if (n == 0) {
        items_.clear();
        cells_.clear();
        return 0;
    }
    if (!font_) SetFont(nullptr);
    if (!static_) {
        std::vector<std::pair<int32_t, int32_t>> sizes;
        items_.resize(static_cast<size_t>(n));
        gdi::Selection font(memDC_.get(), font_.get());
        for (int32_t i = 0; i < n; ++i) {
            std::string text;
            GetTopItemInfo(i, items_[i].State, items_[i].ID, text);
            RECT r{0, 0, 0, 0};
            DrawTextA(memDC_.get(), text.c_str(), static_cast<int>(text.size()), &r, DT_CALCRECT | DT_SINGLELINE);
            sizes.push_back({r.right - r.left, r.bottom - r.top});
        }
        LayoutMenuCells(sizes, availableWidth, cells_);
        for (int32_t i = 0; i < n; ++i) items_[i].Rect = cells_[i];
    }
    return cells_.empty() ? 0 : cells_.back().bottom;
}

void clsMenuBarControl::DrawMenuBarBackground(HDC, HDC hDC, int32_t cx, int32_t cy, bool HasFocus) {
    if (cx <= 0 || cy <= 0) return;
    if (!memDC_) memDC_.create();
    bool recreated = false;
    EnsureCompatibleBitmap(hDC, backBmp_, cx, cy, memDC_.get(), recreated);
    const int32_t focus = HasFocus ? -1 : 0;
    if (focus == backState_ && !recreated) return;
    backState_ = focus;
    // The client draws into the bar's own memory DC, which keeps the background.
    VARIANT_BOOL modified = VARIANT_FALSE;
    if (ClientCalls client = ClientOf(hwnd_))
        client.UserDrawnMenuBar(reinterpret_cast<LONG_PTR>(memDC_.get()), cx, cy, HasFocus, modified);
    if (!modified) {
        RECT r{0, 0, cx, cy};
        FillRect(memDC_.get(), &r, GetSysColorBrush(COLOR_BTNFACE));
    }
}

POINT clsMenuBarControl::ScreenOrigin() const {
    RECT wr{};
    GetWindowRect(hwnd_, &wr);
    return {wr.left + origin_.x, wr.top + origin_.y};
}

bool clsMenuBarControl::Disabled(int32_t index) const {
    return index >= 0 && index < static_cast<int32_t>(items_.size()) && (items_[index].State & MFS_DISABLED) != 0;
}

void clsMenuBarControl::DrawItemText(HDC hDC, int32_t index, COLORREF colour, int32_t shift) const {
    std::string text;
    UINT state = 0, id = 0;
    if (!GetTopItemInfo(index, state, id, text)) return;
    RECT r = ToRect(items_[index].Rect);
    OffsetRect(&r, shift, shift);
    SetTextColor(hDC, colour);
    SetBkMode(hDC, TRANSPARENT);
    DrawTextA(hDC, text.c_str(), static_cast<int>(text.size()), &r, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
}

void clsMenuBarControl::RepaintCell(HDC hDC, int32_t index) const {
    const FrameBox& c = items_[index].Rect;
    BitBlt(hDC, c.left, c.top, c.Width(), c.Height(), memDC_.get(), c.left, c.top, SRCCOPY);
}

void clsMenuBarControl::DrawItemHilite(HDC hDC, const RECT& cell, bool pressed) const {
    const COLORREF c1 = TranslateSysColor(hilite_[0]), c2 = TranslateSysColor(hilite_[1]);
    if (hiliteStyle_ == 1) {
        gdi::OwnedObject<HBRUSH> fill(CreateSolidBrush(c2)), frame(CreateSolidBrush(c1));
        FillRect(hDC, &cell, fill.get());
        ::FrameRect(hDC, &cell, frame.get());
        return;
    }
    const COLORREF lt = pressed ? c2 : c1, rb = pressed ? c1 : c2;
    gdi::OwnedObject<HPEN> penLT(CreatePen(PS_SOLID, 1, lt)), penRB(CreatePen(PS_SOLID, 1, rb));
    gdi::Selection pen(hDC, penLT.get());
    MoveToEx(hDC, cell.left, cell.bottom - 1, nullptr);
    LineTo(hDC, cell.left, cell.top);
    LineTo(hDC, cell.right - 1, cell.top);
    SelectObject(hDC, penRB.get());
    LineTo(hDC, cell.right - 1, cell.bottom - 1);
    LineTo(hDC, cell.left - 1, cell.bottom - 1);
}

void clsMenuBarControl::DrawMenuItems(HDC hMemDC, HDC hWndDC, const FrameBox& barRect, int32_t index,
                                      int32_t mode) {
    if (!hMemDC || !font_ || items_.empty() || !memDC_ || !backBmp_) return;
    if (!barRect.IsEmpty()) origin_ = {barRect.left, barRect.top};
    if (index != kPaintAll) {
        if (!tracking_) PaintItem(hWndDC, index, mode);
        return;
    }
    const bool active = backState_ == -1;
    const COLORREF normal = TranslateSysColor(fontColor_[active ? 0 : 3]);
    const COLORREF grey = TranslateSysColor(fontColor_[2]);
    hot_ = -2;
    BITMAP bm{};
    GetObjectA(backBmp_.get(), sizeof bm, &bm);
    bool recreated = false;
    HGDIOBJ before =
        EnsureCompatibleBitmap(hWndDC ? hWndDC : memDC_.get(), barBmp_, bm.bmWidth, bm.bmHeight, hMemDC, recreated);
    BitBlt(hMemDC, 0, 0, bm.bmWidth, bm.bmHeight, memDC_.get(), 0, 0, SRCCOPY);
    {
        gdi::Selection font(hMemDC, font_.get());
        for (int32_t i = 0; i < static_cast<int32_t>(items_.size()); ++i)
            DrawItemText(hMemDC, i, Disabled(i) && active ? grey : normal, 0);
    }
    if (hWndDC) BitBlt(hWndDC, origin_.x, origin_.y, bm.bmWidth, bm.bmHeight, hMemDC, 0, 0, SRCCOPY);
    if (before) SelectObject(hMemDC, before);
    hiliteMode_ = 0;
    tracking_ = false;
}

void clsMenuBarControl::PaintItem(HDC hWndDC, int32_t index, int32_t mode) {
    if (!font_ || items_.empty() || !memDC_ || !backBmp_ || !hwnd_) return;
    if (mode == -3 || mode == -200) {
        POINT pt;
        GetCursorPos(&pt);
        index = ItemAtScreen(pt) - 1;
        mode = -3;
    }
    if (index == -2 && hot_ < 0) return;
    const bool change = index != hot_ || mode != 0;
    if (!change) return;
    std::optional<gdi::WholeWindowDC> own;
    HDC dc = hWndDC ? hWndDC : own.emplace(hwnd_).get();
    if (!dc) return;
    HRGN region = nullptr;
    if (events_) events_->c_MBar_GetWindowRegion(region);
    if (gdi::OwnedObject<HRGN> clip(region); clip) SelectClipRgn(dc, clip.get());
    const bool active = backState_ == -1;
    const COLORREF normal = TranslateSysColor(fontColor_[active ? 0 : 3]);
    const COLORREF grey = TranslateSysColor(fontColor_[2]);
    // The cached background is in strip coordinates; the window DC paints at the strip's place.
    POINT oldOrg;
    SetViewportOrgEx(dc, origin_.x, origin_.y, &oldOrg);
    {
        gdi::Selection font(dc, font_.get());
        const int32_t count = static_cast<int32_t>(items_.size());
        if (hot_ >= 0 && hot_ < count) {
            RepaintCell(dc, hot_);
            DrawItemText(dc, hot_, Disabled(hot_) ? grey : normal, 0);
        }
        if (mode == 0) hot_ = -2;
        if (mode == -3) hot_ = index;
        if (index >= 0 && index < count) {
            hot_ = index;
            RepaintCell(dc, index);
            RECT cell = ToRect(items_[index].Rect);
            InflateRect(&cell, -1, -1);
            const bool pressed = (hiliteMode_ & 2) != 0;
            if (!Disabled(index)) DrawItemHilite(dc, cell, pressed);
            const COLORREF colour = Disabled(index) ? grey : TranslateSysColor(fontColor_[active ? 1 : 3]);
            DrawItemText(dc, index, colour, hiliteStyle_ == 0 && pressed ? 1 : 0);
        }
    }
    SetViewportOrgEx(dc, oldOrg.x, oldOrg.y, nullptr);
    SelectClipRgn(dc, nullptr);
}

int32_t clsMenuBarControl::MenuItemFromPoint(int32_t x, int32_t y) const { return MenuCellFromPoint(cells_, x, y); }

int32_t clsMenuBarControl::ItemAtScreen(POINT pt) const {
    const POINT o = ScreenOrigin();
    return MenuItemFromPoint(pt.x - o.x, pt.y - o.y);
}

void clsMenuBarControl::BuildMnemonics() {
    std::vector<std::string> texts;
    std::vector<bool> disabled;
    for (int32_t i = 0; i < MenuItemCount(nullptr); ++i) {
        std::string text;
        UINT state = 0, id = 0;
        GetTopItemInfo(i, state, id, text);
        texts.push_back(text);
        disabled.push_back((state & MFS_DISABLED) != 0);
    }
    mnemonics_ = lumio::BuildMnemonics(texts, disabled);
}

int32_t clsMenuBarControl::NextMenuIndex(bool bLeft, bool bWrapToSystem) {
    return lumio::NextMenuIndex(hot_, static_cast<int32_t>(items_.size()), bLeft, bWrapToSystem, oneShot_);
}

HMENU clsMenuBarControl::PopupOf(int32_t index) const {
    return menu_ && index >= 0 ? GetSubMenu(menu_, index) : nullptr;
}

void clsMenuBarControl::SetNextPos(int32_t pos) {
    SetPropA(hwnd_, kNextPosProp, reinterpret_cast<HANDLE>(static_cast<intptr_t>(pos)));
}

int32_t clsMenuBarControl::NextPos() const {
    return static_cast<int32_t>(reinterpret_cast<intptr_t>(GetPropA(hwnd_, kNextPosProp)));
}

void clsMenuBarControl::EndHot() {
    TrackingState(false);
    hiliteMode_ &= 4;
    PaintItem(nullptr, -2, 0);
}

void clsMenuBarControl::TrackMenu(int32_t pos, int32_t pressed, bool hasSysIcon, bool stayHot, bool& selectFirst,
                                  int32_t x, int32_t y, int32_t flags) {
    if (!hwnd_) return;
    // Without items there is nothing to be hot or to open (the system menu still is).
    if (pos >= 0 && pos >= static_cast<int32_t>(items_.size())) return;
    ComPtr<IMenuBarHooks> hold(this);  // the frame may let go of the bar while a popup is open
    if (pressed == 0 && (flags == -2 || flags == -3 || flags == -200)) {
        PaintItem(nullptr, pos, flags);
        if (flags == -200) {
            TrackingState(false);
            PostMessageA(hwnd_, WM_SYSCOMMAND, SC_KEYMENU, -static_cast<LPARAM>(pos));
        }
        return;
    }
    if (pressed == -1 && !stayHot && pos >= 0 && !PopupOf(pos)) {
        EndHot();
        if (pos < static_cast<int32_t>(items_.size()) && !Disabled(pos))
            PostMessageA(hwnd_, WM_COMMAND, items_[pos].ID, 0);
        return;
    }
    if (mnemonics_.empty()) BuildMnemonics();
    hiliteMode_ = (1 - pressed) | (hasSysIcon ? 4 : 0);
    for (;;) {
        const bool hotOnly = (hiliteMode_ & 1) != 0;
        HMENU popup = PopupOf(pos);
        PaintItem(nullptr, pos >= 0 ? pos : -2, pos >= 0 ? kForceHighlight : 0);
        tracking_ = true;
        SetNextPos(-1);
        HookMenuKeyboardMouse(false, this);
        GetCursorPos(&lastCursor_);
        popup_ = firstPopup_ = nullptr;
        escaped_ = false;
        escapeHot_ = -1;
        pressHot_ = false;
        if ((hotOnly || !popup) && pos != kSystemMenuTracked) {
            if (pos == kSystemMenuFromItem) PostMessageA(hwnd_, kSysMenuRequest, SC_KEYMENU, 0);
            else HookMenuKeyboardMouse(true, this);  // hot for the keyboard
            return;
        }
        HookMenuMsgFilter(true, this);
        if (pos == kSystemMenuTracked) {
            PostKeyDown(hwnd_, VK_DOWN);
            TrackPopupMenu(GetSystemMenu(hwnd_, FALSE), static_cast<UINT>(flags < 0 ? 0 : flags), x, y, 0, hwnd_,
                           nullptr);
        } else {
            if (selectFirst) {
                PostKeyDown(hwnd_, VK_DOWN);
                selectFirst = false;
            }
            const POINT o = ScreenOrigin();
            const FrameBox& cell = items_[pos].Rect;
            TrackPopupMenu(popup, static_cast<UINT>(flags < 0 ? 0 : flags), o.x + cell.left, o.y + cell.bottom, 0,
                           hwnd_, nullptr);
        }
        HookMenuMsgFilter(false, this);
        tracking_ = false;
        if (!hwnd_) return;
        const int32_t next = NextPos();
        if (escapeHot_ >= 0) {
            // Escape closed the popup: the bar stays hot for the keyboard on that item.
            const int32_t item = escapeHot_;
            escapeHot_ = -1;
            hiliteMode_ &= 4;
            PaintItem(nullptr, -2, 0);
            PostMessageA(hwnd_, WM_SYSCOMMAND, SC_KEYMENU, -static_cast<LPARAM>(item));
            return;
        }
        if (next == -1 && pressHot_) {
            // Closed by a press on its own item: that item stays hot, not pressed.
            pressHot_ = false;
            hiliteMode_ = 1 | (hiliteMode_ & 4);
            PaintItem(nullptr, pos, kForceHighlight);
            return;
        }
        if (next == -1) break;
        hiliteMode_ = 2 | (hiliteMode_ & 4);
        if (next < 0) {
            // To the system menu: the request comes back through the frame, which knows the icon.
            tracking_ = true;
            PaintItem(nullptr, -2, 0);
            PostMessageA(hwnd_, kSysMenuRequest, SC_KEYMENU, 0);
            return;
        }
        pos = next;
    }
    hiliteMode_ &= 4;
    PaintItem(nullptr, -2, 0);
}

void clsMenuBarControl::TrackSystemMenu(const FrameBox* iconRect, bool vertical) {
    if (!hwnd_) return;
    POINT pt;
    UINT flags = 0;
    if (iconRect) {
        RECT wr{};
        GetWindowRect(hwnd_, &wr);
        if (vertical) {
            pt = {wr.left + iconRect->right + 2, wr.top + iconRect->bottom};
            flags = TPM_BOTTOMALIGN;
        } else {
            pt = {wr.left + iconRect->left, wr.top + iconRect->bottom + 2};
        }
    } else {
        GetCursorPos(&pt);
    }
    if (tracking_) {
        bool selectFirst = false;
        TrackMenu(kSystemMenuTracked, -1, (hiliteMode_ & 4) != 0, false, selectFirst, pt.x, pt.y,
                  static_cast<int32_t>(flags));
        return;
    }
    ComPtr<IMenuBarHooks> hold(this);
    TrackPopupMenu(GetSystemMenu(hwnd_, FALSE), flags, pt.x, pt.y, 0, hwnd_, nullptr);
}

void clsMenuBarControl::OnMenuMsgFilter(MSG* lpMsg, bool& handled) {
    if (!tracking_ || !lpMsg) return;
    MSG& m = *lpMsg;
    switch (m.message) {
    case WM_KEYDOWN:
        switch (m.wParam) {
        case VK_RETURN:
            if (!popup_ || oneShot_) {
                oneShot_ = false;
                handled = true;
            }
            break;
        case VK_ESCAPE: escaped_ = true; break;
        case VK_LEFT:
        case VK_RIGHT: {
            if (oneShot_) {
                oneShot_ = false;
                break;
            }
            const bool left = m.wParam == VK_LEFT;
            if (left && popup_ && firstPopup_ && popup_ != firstPopup_) break;  // out of a submenu first
            if (!left && selectedOpensSub_) break;                               // into the submenu
            SetNextPos(NextMenuIndex(left, true));
            PostMessageA(hwnd_, WM_CANCELMODE, 0, 0);
            handled = true;
            break;
        }
        default: break;
        }
        break;
    case WM_MENUSELECT: {
        const UINT flags = HIWORD(m.wParam);
        const HMENU menu = reinterpret_cast<HMENU>(m.lParam);
        if (flags != 0xFFFF || menu) {
            popup_ = menu;
            if (!firstPopup_) firstPopup_ = menu;
            selectedOpensSub_ = (flags & MF_POPUP) != 0;
            break;
        }
        if (escaped_) {  // the menu closes by Escape
            escaped_ = false;
            escapeHot_ = hot_ >= 0 ? hot_ : 0;
            handled = true;
        }
        break;
    }
    case WM_MOUSEMOVE: {
        POINT pt;
        GetCursorPos(&pt);
        if (pt.x == lastCursor_.x && pt.y == lastCursor_.y) break;
        lastCursor_ = pt;
        const int32_t item = ItemAtScreen(pt) - 1;
        if (item >= 0 && item != hot_ && WindowFromPoint(pt) == hwnd_) {
            SetNextPos(item);
            PostMessageA(hwnd_, WM_CANCELMODE, 0, 0);
        }
        break;
    }
    case WM_LBUTTONDOWN: {
        POINT pt;
        GetCursorPos(&pt);
        const int32_t item = ItemAtScreen(pt) - 1;
        if (item >= 0 && item == hot_) {
            // A press on the open item closes its popup; the item stays hot.
            SetNextPos(-1);
            pressHot_ = true;
            PostMessageA(hwnd_, WM_CANCELMODE, 0, 0);
            handled = true;
        }
        break;
    }
    default: break;
    }
}

void clsMenuBarControl::OnMenuMouseHook(WPARAM wParam, LPARAM lParam, bool& handled) {
    if (!tracking_) return;
    const auto* mh = reinterpret_cast<const MOUSEHOOKSTRUCT*>(lParam);
    if (!mh) return;
    const int32_t item = mh->hwnd == hwnd_ ? ItemAtScreen(mh->pt) - 1 : -1;
    switch (wParam) {
    case WM_NCLBUTTONDOWN:
    case WM_NCRBUTTONDOWN:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_XBUTTONDOWN: EndHot(); return;
    case WM_NCLBUTTONUP:
    case WM_LBUTTONUP: {
        handled = true;
        if (item < 0) {
            EndHot();
            return;
        }
        TrackingState(false);
        bool selectFirst = false;
        TrackMenu(item, -1, (hiliteMode_ & 4) != 0, false, selectFirst, 0, 0, 0);
        return;
    }
    default: break;
    }
    if (mh->hwnd != hwnd_ || mh->wHitTestCode != kHitMenuItem) return;
    handled = true;
    if (wParam != WM_NCMOUSEMOVE || item < 0 || item == hot_) return;
    if (hiliteMode_ & 2) {
        TrackingState(false);
        bool selectFirst = false;
        TrackMenu(item, -1, (hiliteMode_ & 4) != 0, false, selectFirst, 0, 0, 0);
    } else {
        PaintItem(nullptr, item, kForceHighlight);
    }
}

void clsMenuBarControl::OpenFromKeyboard(int32_t index, bool selectFirst) {
    TrackingState(false);
    oneShot_ = selectFirst;  // the Return that opened it
    TrackMenu(index, -1, (hiliteMode_ & 4) != 0, false, selectFirst, 0, 0, 0);
}

void clsMenuBarControl::OnMenuKeyboardHook(WPARAM wParam, LPARAM lParam, bool& handled) {
    handled = true;
    if (!tracking_) {
        TrackingState(false);
        return;
    }
    if (static_cast<int32_t>(lParam) < 0) return;  // a release
    const int32_t count = static_cast<int32_t>(items_.size());
    switch (wParam) {
    case VK_RETURN:
    case VK_UP:
    case VK_DOWN:
        if (hot_ >= 0 && hot_ < count) {
            if (wParam == VK_RETURN && !PopupOf(hot_)) {
                const int32_t item = hot_;
                EndHot();
                if (!Disabled(item)) PostMessageA(hwnd_, WM_COMMAND, items_[item].ID, 0);
                return;
            }
            OpenFromKeyboard(hot_, wParam == VK_RETURN);
        }
        return;
    case VK_MENU:
    case VK_F10:
    case VK_ESCAPE: EndHot(); return;
    case VK_SPACE:
        if (hiliteMode_ & 4) {
            TrackingState(false);
            bool selectFirst = false;
            TrackMenu(kSystemMenuFromItem, 0, true, false, selectFirst, 0, 0, 0);
        }
        return;
    case VK_LEFT:
    case VK_RIGHT: {
        const int32_t next = NextMenuIndex(wParam == VK_LEFT, false);
        if (next >= 0) PaintItem(nullptr, next, kForceHighlight);
        return;
    }
    default: break;
    }
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    WORD chars[2] = {};
    const int got = ToAscii(static_cast<UINT>(wParam), static_cast<UINT>((lParam >> 16) & 0xFF), keys, chars, 0);
    const char ch = LowerAscii(static_cast<char>(got == 1 ? chars[0] : wParam));
    if (mnemonics_.empty()) BuildMnemonics();
    const int32_t found = FindMnemonic(mnemonics_, ch, hot_);
    if (found < 0) {
        EndHot();
        if (wParam != VK_TAB) MessageBeep(0);
        return;
    }
    const int32_t first = FindMnemonic(mnemonics_, ch, -1);
    if (FindMnemonic(mnemonics_, ch, first) != first) {
        PaintItem(nullptr, found, kForceHighlight);  // shared key: move to the next such item
        return;
    }
    OpenFromKeyboard(found, true);
}

LRESULT clsMenuBarControl::OnMenuAccelerator(int32_t character, bool hasSysIcon, bool bBeep) {
    if (mnemonics_.empty()) BuildMnemonics();
    const char ch = LowerAscii(static_cast<char>(character & 0xFF));
    const int32_t found = FindMnemonic(mnemonics_, ch, -1);
    if (found < 0) {
        if (bBeep) {
            MessageBeep(0);
            return 0x2FFFF;
        }
        return 0;
    }
    if (tracking_ && !bBeep) return 0x2FFFF;
    const LRESULT result = MAKELONG(found, 1);
    bool selectFirst = bBeep;
    if (FindMnemonic(mnemonics_, ch, found) != found) {
        // Shared by several items: only the first is highlighted, hot for the keyboard.
        TrackMenu(found, 0, hasSysIcon, false, selectFirst, 0, 0, 0);
    } else if (!PopupOf(found)) {
        TrackMenu(found, -1, hasSysIcon, false, selectFirst, 0, 0, 0);
    } else if (bBeep) {
        TrackMenu(found, -1, hasSysIcon, false, selectFirst, 0, 0, 0);
    } else {
        PostMessageA(hwnd_, WM_SYSCOMMAND, SC_KEYMENU, character);
    }
    return result;
}

}  // namespace lumio
