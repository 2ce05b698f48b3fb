#pragma once
// clsCustomWndow: the one object through which a client gives a form the
// custom frame. It owns the frame (made with the facade, so that styles can
// be set before beginning), ties it and the client to the form's window
// through the window properties, and forwards every styling request to the
// frame or to the frame's menu bar.
#include <ocidl.h>
#include <windows.h>

#include <string>

#include "CustomWindowCalls.h"

namespace lumio {

class clsFrameControl;

class clsCustomWndow {
public:
    clsCustomWndow();
    // Ends the frame (when it still holds one) and drops it.
    ~clsCustomWndow();
    clsCustomWndow(const clsCustomWndow&) = delete;
    clsCustomWndow& operator=(const clsCustomWndow&) = delete;

    // formObject: an object whose late-bound hWnd is a top-level window; others are ignored.
    // CallBackClass may be null: the default look.
    void BeginCustomWindow(IDispatch* formObject, IUnknown* CallBackClass);
    void EndCustomWindow();
    void SetAppIcon(HICON Icon32Pixels);
    // An empty value for hWnd 0, read as False.
    VARIANT IsSubclassed(HWND hWnd) const;

    void Font_TBar(IFontDisp* newFont);
    IFontDisp* Font_TBar() const;  // a new font object (a reference the caller owns)
    void EnableTBarBtns(int32_t buttonIDs, bool isEnabled);
    bool EnableTBarBtns(int32_t buttonIDs) const;
    void BorderStyle(int32_t style);
    int32_t BorderStyle() const;
    void VerticalCaption(bool isVertical);
    bool VerticalCaption() const;
    void CenteredCaption(bool isCentered);
    bool CenteredCaption() const;
    void HideDisabledButtons(bool bHide);
    bool HideDisabledButtons() const;
    void ShowInTaskBar(bool bShow);
    bool ShowInTaskBar() const;
    void AlwaysActive(bool AllThreads, bool KeepActive);
    bool AlwaysActive(bool AllThreads) const;
    void FontColor_TBar(bool ActiveColor, OLE_COLOR newColor);
    OLE_COLOR FontColor_TBar(bool ActiveColor) const;
    void SetCaption(const std::string& newCaption, HWND hWnd);
    void Refresh();
    void AddTitleBarButton(const std::string& ID, int32_t Position, int32_t PositionType, int32_t X, int32_t Y,
                           int32_t Width, int32_t Height);
    void Font_MenuBar(IFontDisp* newFont);
    IFontDisp* Font_MenuBar() const;  // errors ignored: null after one
    void FontColor_Menubar(int32_t state, OLE_COLOR newColor);
    OLE_COLOR FontColor_Menubar(int32_t state) const;
    void MenuSelect_FlatStyle(bool isFlat);
    bool MenuSelect_FlatStyle() const;
    void SetMenuSelectColors(OLE_COLOR Color1, OLE_COLOR Color2);

    // The frame it holds (tests look at it).
    clsFrameControl* Frame() const { return frame_; }

private:
    clsFrameControl* frame_ = nullptr;  // counted
};

}  // namespace lumio
