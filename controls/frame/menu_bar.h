#pragma once
// clsMenuBarControl: the framed window's menu, taken from the system and
// drawn by us in the frame's menu strip; its popups are tracked with
// TrackPopupMenu, and the thread hooks carry the keyboard and mouse from
// menu to menu while one is open or the bar is hot for the keyboard.
#include <windows.h>

#include <string>
#include <vector>

#include "com_object.h"
#include "frame_fonts.h"
#include "frame_geometry.h"
#include "gdi_scope.h"
#include "modSubClasser.h"

namespace lumio {

// The menu bar's two events, handled by its frame.
class IMenuBarEvents {
public:
    virtual void c_MBar_RefreshMenuBar() = 0;
    // The region (window coordinates) the bar's painting is clipped to; 0 for none. The caller deletes it.
    virtual void c_MBar_GetWindowRegion(HRGN& lRegion) = 0;

protected:
    ~IMenuBarEvents() = default;
};

// PaintItem mode that highlights the item even when it is hot already.
inline constexpr int32_t kForceHighlight = 1;

class clsMenuBarControl final : public ComObject<clsMenuBarControl, IMenuBarHooks> {
public:
    clsMenuBarControl();
    clsMenuBarControl(const clsMenuBarControl&) = delete;
    clsMenuBarControl& operator=(const clsMenuBarControl&) = delete;

    // IUnknown only: the interface is reached by address, never asked for.
    void* Interface(REFIID iid) { return IsEqualIID(iid, IID_IUnknown) ? static_cast<IMenuBarHooks*>(this) : nullptr; }

    // IMenuBarHooks
    void OnMenuMsgFilter(MSG* lpMsg, bool& handled) override;
    void OnMenuMouseHook(WPARAM wParam, LPARAM lParam, bool& handled) override;
    void OnMenuKeyboardHook(WPARAM wParam, LPARAM lParam, bool& handled) override;

    void SetEvents(IMenuBarEvents* events) { events_ = events; }

    // Public members.
    bool TrackingState() const { return tracking_; }
    void TrackingState(bool isTracking);
    // Font write: nullptr for the system's menu font.
    void SetFont(const MenuFontSpec* newFont);
    MenuFontSpec GetFont() const;
    void FontColor(int32_t lState, uint32_t lColor);
    uint32_t FontColor(int32_t lState) const;
    HMENU WindowMenu() const { return menu_; }
    void WindowMenu(const char* dbgID);
    bool MenubarStatic() const { return static_; }
    void MenubarStatic(bool isStatic) { static_ = isStatic; }
    void ReleaseRefreshLock(bool) { backState_ = -2; }
    bool HiliteStyle(bool bSet, bool isFlat);
    void HiliteColors(uint32_t Color1, uint32_t Color2) { hilite_[0] = Color1, hilite_[1] = Color2; }
    void ForceMenuBarRepaint();

    // Used by the frame.
    void AttachWindow(HWND hWnd);
    int32_t MenuItemCount(HMENU hSubMenu) const;
    // x, y: the strip's start in window coordinates.
    int32_t LayoutMenuItems(HDC hMemDC, int32_t availableWidth, int32_t x, int32_t y);
    void DrawMenuBarBackground(HDC hMemDC, HDC hDC, int32_t cx, int32_t cy, bool HasFocus);
    // barRect: the strip in window coordinates (empty: the stored origin).
    void DrawMenuItems(HDC hMemDC, HDC hWndDC, const FrameBox& barRect, int32_t index, int32_t mode);
    // 1-based item under a point in strip coordinates; 0 for none.
    int32_t MenuItemFromPoint(int32_t x, int32_t y) const;
    void TrackMenu(int32_t pos, int32_t pressed, bool hasSysIcon, bool stayHot, bool& selectFirst, int32_t x,
                   int32_t y, int32_t flags);
    // iconRect in window coordinates; null without an icon.
    void TrackSystemMenu(const FrameBox* iconRect, bool vertical);
    LRESULT OnMenuAccelerator(int32_t character, bool hasSysIcon, bool bBeep);
    // Gives the menu back and lets go of every handle.
    void Terminate();
    // The window is being destroyed with the menu taken: the menu goes with
    // it, as it would have had it stayed the window's.
    void WindowDestroyed();

    // Read by tests.
    const std::string& Mnemonics() const { return mnemonics_; }
    int32_t HotIndex() const { return hot_; }
    int32_t HighlightMode() const { return hiliteMode_; }
    const std::vector<FrameBox>& Cells() const { return cells_; }

private:
    struct Item {
        UINT ID = 0;
        FrameBox Rect;
        UINT State = 0;
    };
    ~clsMenuBarControl();

    bool GetTopItemInfo(int32_t index, UINT& state, UINT& id, std::string& text) const;
    void DrawItemHilite(HDC hDC, const RECT& cell, bool pressed) const;
    void BuildMnemonics();
    int32_t NextMenuIndex(bool bLeft, bool bWrapToSystem);
    // One item's look on the window DC (nullptr: taken here), whether tracking or not.
    void PaintItem(HDC hWndDC, int32_t index, int32_t mode);
    void DrawItemText(HDC hDC, int32_t index, COLORREF colour, int32_t shift) const;
    void RepaintCell(HDC hDC, int32_t index) const;
    POINT ScreenOrigin() const;
    int32_t ItemAtScreen(POINT pt) const;
    HMENU PopupOf(int32_t index) const;
    bool Disabled(int32_t index) const;
    void ReadItems();
    void EndHot();
    void SetNextPos(int32_t pos);
    int32_t NextPos() const;
    void OpenFromKeyboard(int32_t index, bool selectFirst);

    IMenuBarEvents* events_ = nullptr;
    HWND hwnd_ = nullptr;
    HMENU menu_ = nullptr;
    gdi::OwnedObject<HFONT> font_;
    gdi::MemoryDC memDC_;  // holds the background bitmap
    gdi::OwnedObject<HBITMAP> backBmp_;
    gdi::OwnedObject<HBITMAP> barBmp_;
    int32_t backState_ = 2;
    int32_t hot_ = -2;
    int32_t hiliteMode_ = 0;
    bool tracking_ = false;
    POINT origin_{};  // strip start, window coordinates
    POINT lastCursor_{};
    HMENU popup_ = nullptr, firstPopup_ = nullptr;
    bool selectedOpensSub_ = false, escaped_ = false, oneShot_ = false;
    int32_t escapeHot_ = -1;  // the item whose popup Escape closed
    bool pressHot_ = false;  // a press on the open item closed its popup: the item stays hot
    std::string mnemonics_;
    uint32_t fontColor_[4] = {0x80000007, 0x80000007, 0x80000011, 0x80000011};
    uint32_t hilite_[2] = {0x8000000E, 0x80000010};
    int32_t hiliteStyle_ = 0;
    bool static_ = false;
    std::vector<Item> items_;
    std::vector<FrameBox> cells_;
};

}  // namespace lumio
