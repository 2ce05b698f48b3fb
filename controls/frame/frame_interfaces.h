#pragma once
// How the form-level window procedure and the thread hooks reach the custom
// frame and its menu bar. Both are reached through raw addresses (a window
// property, the hook slots); each call holds a counted reference for its
// length, so an object may drop its own last outside reference inside it.
#include <windows.h>
#include <unknwn.h>

namespace lumio {

class IFrameWindowProc : public IUnknown {
public:
    // One message of the framed window. Either answers it in result, or
    // passes it (as it stands after any change) to the previous procedure
    // and stores that answer in result.
    virtual void WindowProc(UINT& uMsg, WPARAM& wParam, LPARAM& lParam, LRESULT& result) = 0;
};

class IMenuBarHooks : public IUnknown {
public:
    // Each sets handled to swallow the event.
    // A message inside a menu's modal loop (MSGF_MENU); the record may be changed.
    virtual void OnMenuMsgFilter(MSG* lpMsg, bool& handled) = 0;
    // wParam: the mouse message; lParam: its MOUSEHOOKSTRUCT.
    virtual void OnMenuMouseHook(WPARAM wParam, LPARAM lParam, bool& handled) = 0;
    // wParam: the virtual key; lParam: repeat count, scan code and flags. A
    // key release has bit 31 set: test the sign of the low 32 bits, since a
    // 64-bit LPARAM holding it is still positive.
    virtual void OnMenuKeyboardHook(WPARAM wParam, LPARAM lParam, bool& handled) = 0;
};

}  // namespace lumio
