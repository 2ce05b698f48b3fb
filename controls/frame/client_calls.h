#pragma once
// The client of a framed window: the _CustomWindowCalls implementation whose
// address the window property "lvImpCB_Ptr" holds. Each lookup takes a
// counted reference for the length of the call; failures of the client are
// ignored and out-arguments are read back as the client left them.
#include <windows.h>

#include <string>

#include "CustomWindowCalls.h"
#include "modSubClasser.h"

namespace lumio {

class ClientCalls {
public:
    ClientCalls() = default;
    explicit ClientCalls(ComPtr<_CustomWindowCalls> p) : p_(std::move(p)) {}
    explicit operator bool() const { return static_cast<bool>(p_); }

    void UserDrawnTitleBar(LONG_PTR hDC, LONG cx, LONG cy, bool hasFocus, VARIANT_BOOL& modified) const;
    void UserDrawnMenuBar(LONG_PTR hDC, LONG cx, LONG cy, bool hasFocus, VARIANT_BOOL& modified) const;
    void UserDrawnButton(const std::string& id, SHORT state, LONG_PTR hDC, LONG x, LONG y, LONG cx, LONG cy,
                         bool hasFocus, VARIANT_BOOL& modified) const;
    void UserButtonClick(const std::string& id) const;
    void UserDrawnBorder(LONG_PTR hDC, LONG x, LONG y, LONG cx, LONG cy, bool hasFocus,
                         VARIANT_BOOL& modified) const;
    // caption in and out, in the ANSI code page.
    void BeforeDrawCaption(LONG_PTR hDC, std::string& caption, LONG x, LONG y) const;
    void OnCreateRegion(LONG_PTR& hRgn, LONG x, LONG y, LONG cx, LONG cy) const;
    void EnterExitSizing(bool begin, VARIANT_BOOL& userRedrawn) const;

private:
    ComPtr<_CustomWindowCalls> p_;
};

// The window's client, or an empty one when the property is missing or the
// object does not implement the interface.
ClientCalls ClientOf(HWND hWnd);

}  // namespace lumio
