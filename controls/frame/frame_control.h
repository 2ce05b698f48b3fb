#pragma once
// clsFrameControl: the custom non-client frame of one top-level window. It
// takes over the window's procedure (through FrameWindowProc), answers the
// non-client messages itself, paints border, title strip, caption buttons
// and (through its menu bar) the menu strip, runs its own move and size
// loop, and calls the window's client through _CustomWindowCalls.
#include <windows.h>

#include <string>

#include "frame_geometry.h"
#include "gdi_scope.h"
#include "menu_bar.h"
#include "modSubClasser.h"

namespace lumio {

using FontSpec = MenuFontSpec;

class clsFrameControl final : public ComObject<clsFrameControl, IFrameWindowProc>, private IMenuBarEvents {
public:
    // Class_Initialize: the title font from the system caption font, default caption colours.
    clsFrameControl();
    clsFrameControl(const clsFrameControl&) = delete;
    clsFrameControl& operator=(const clsFrameControl&) = delete;

    // IUnknown only: the interface is reached by address, never asked for.
    void* Interface(REFIID iid) { return IsEqualIID(iid, IID_IUnknown) ? static_cast<IFrameWindowProc*>(this) : nullptr; }
    // IFrameWindowProc
    void WindowProc(UINT& uMsg, WPARAM& wParam, LPARAM& lParam, LRESULT& result) override;

    // Public members (bSet false reads).
    int32_t SetSizingHandle(bool bSet, uint8_t newSize);
    int32_t SetBorderStyle(bool bSet, int32_t newStyle);
    uint32_t SetFontColor(bool bSet, bool bActive, uint32_t colour);
    bool SetKeepActive(bool bSet, bool AlwaysActive, bool allThreads);

    // Friend members used by the facade.
    clsMenuBarControl* MenuBar();
    bool IsButtonEnabled(int32_t bit) const { return geo_.IsButtonEnabled(bit); }
    void EnableButtons(int32_t bits, bool isEnabled);
    bool SetHideDisabled(bool bSet, bool bHide);
    void SetTitleBarFont(const FontSpec* font);
    FontSpec GetTitleBarFont() const;
    bool SetCenteredCaption(bool bSet, bool isCentered);
    bool SetVerticalCaption(bool bSet, bool isVertical);
    bool SetShowInTaskBar(bool bSet, bool bShow);
    void SetCaptionText(const std::string& newCaption, HWND hWnd);
    void AddUserButton(const std::string& ID, int32_t Position, int32_t PositionType, int32_t X, int32_t Y,
                       int32_t Width, int32_t Height);
    void SetAppIconPixels(HICON hIcon);
    void BeginSubclass(HWND hWnd);
    void EndSubclass();

    // Read by tests.
    HWND Window() const { return hwnd_; }
    const FrameGeometry& Geometry() const { return geo_; }
    int32_t DragMode() const { return dragMode_; }
    bool DrawnActive() const { return drawnActive_; }
    HICON SmallIcon() const { return smallIcon_; }

private:
    ~clsFrameControl();

    // IMenuBarEvents
    void c_MBar_RefreshMenuBar() override;
    void c_MBar_GetWindowRegion(HRGN& lRegion) override;

    // Metrics and geometry (window coordinates).
    void InitFrameMetrics();
    void ResetTitleMetrics();
    void ComputeFrameRegions(bool bCheck);
    void LayoutTitleButtons() { geo_.LayoutTitleButtons(); }
    void NcCalcSize(NCCALCSIZE_PARAMS* params);
    int32_t NcHitTest(POINT screen);
    void KeepClientSize(bool bRestore);
    void RefreshSmallIcon();
    bool IconHasRegion() const { return geo_.buttons[0].shown; }

    // Window procedure helpers.
    // Code -1 computes; -2 writes list[0] as the style with a frame change; -3 forces a frame change; >= 0 adds or removes bits.
    uint32_t ChangeStyle(bool bSuppress, bool bRemove, int32_t code, std::initializer_list<uint32_t> list = {});
    void SilentStyle(bool bRemove, uint32_t bits) { ChangeStyle(true, bRemove, 0, {bits}); }
    LRESULT CallPrevious(UINT uMsg, WPARAM wParam, LPARAM lParam);
    bool Command(WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool Iconic() const { return IsIconic(hwnd_) != FALSE; }
    bool Zoomed() const { return IsZoomed(hwnd_) != FALSE; }

    // Painting.
    void PaintNonClient(bool bActive, bool bFull, const char* cause);
    void DrawTitleButtons(HDC hDC, int index, int state);
    HFONT CreateTitleFontCopy() const;

    // Moving, sizing and the system menu.
    int32_t NcLButtonDown(UINT uMsg, int32_t h);
    bool DragStep();
    void ReleaseMoveCapture();
    void NotifySizing(bool bBegin);
    void TrackTitleButton(int32_t h, bool bTrack);
    bool CheckSysCommand(uint32_t command, bool bPost);
    void SyncSystemMenu(bool bRestore);
    void EndDrag();

    FrameGeometry geo_;
    gdi::MemoryDC memDC_;
    gdi::OwnedObject<HBITMAP> titleBmp_;
    HICON smallIcon_ = nullptr;
    gdi::OwnedIcon ownedSmallIcon_;
    HICON prevSmallIcon_ = nullptr;
    bool prevSmallIconRemembered_ = false;
    RECT windowRect_{0, 0, -1, -1};  // screen; (0, 0, -1, -1) forces a recomputation
    POINT lastCursor_{};
    int32_t pressedHit_ = 0;
    int32_t dragMode_ = 0;
    int32_t hotMenuItem_ = 0;
    DWORD iconPressTick_ = 0;  // GetTickCount of the last press on the icon
    bool iconPressed_ = false;
    uint32_t savedStyle_ = 0;
    uint32_t savedExStyle_ = 0;  // before attach: a pending taskbar request, 1 hide, 2 show
    bool suppressStyle_ = false;
    bool suppressText_ = false;
    bool destroyed_ = false;
    bool drawnActive_ = false;
    uint32_t captionColour_[2] = {0x80000009, 0x80000013};
    HWND hwnd_ = nullptr;
    gdi::OwnedObject<HFONT> titleFont_;
    int16_t keepActive_ = 0;
    bool cursorQuery_ = false;
    bool releasing_ = false;  // inside our own ReleaseCapture
    bool dragClipped_ = false;
    clsMenuBarControl* c_MBar = nullptr;  // counted
};

}  // namespace lumio
