#pragma once
// The callback interface of the custom frame. A client implements
// _CustomWindowCalls; the frame calls it early-bound, in slot order, for each
// piece it is about to draw and around sizing. The coclass is published in
// the type library but cannot be created.
//
// Handles (hDC, hRgn) are pointer-sized; coordinates and sizes are 32-bit;
// Booleans are VARIANT_BOOL (True = -1). Out-arguments arrive False, 0 or
// holding the current text and are read back after the call.
#include <windows.h>
#include <oaidl.h>

namespace lumio {

inline constexpr CLSID CLSID_CustomWindowCalls = {
    0x5B90BAC6, 0x3744, 0x4C66, {0x8E, 0x09, 0xBA, 0x94, 0x26, 0x5B, 0xDE, 0xC8}};
inline constexpr IID IID__CustomWindowCalls = {
    0xA95DCB48, 0x6DC4, 0x47EC, {0xB9, 0x41, 0x43, 0x7B, 0xFE, 0x2A, 0xE1, 0x0A}};

enum CustomWindowCallsDispid : DISPID {
    DISPID_UserDrawnTitleBar = 0x60030000,
    DISPID_UserDrawnMenuBar = 0x60030001,
    DISPID_UserDrawnButton = 0x60030002,
    DISPID_UserButtonClick = 0x60030003,
    DISPID_UserDrawnBorder = 0x60030004,
    DISPID_BeforeDrawCaption = 0x60030005,
    DISPID_OnCreateRegion = 0x60030006,
    DISPID_EnterExitSizing = 0x60030007,
};

// The members in slot order, as the type library lists them.
struct CustomWindowCallsMember {
    const wchar_t* name;
    DISPID dispid;
    int paramCount;
};
inline constexpr CustomWindowCallsMember kCustomWindowCallsMembers[] = {
    {L"UserDrawnTitleBar", DISPID_UserDrawnTitleBar, 5}, {L"UserDrawnMenuBar", DISPID_UserDrawnMenuBar, 5},
    {L"UserDrawnButton", DISPID_UserDrawnButton, 9},     {L"UserButtonClick", DISPID_UserButtonClick, 1},
    {L"UserDrawnBorder", DISPID_UserDrawnBorder, 7},     {L"BeforeDrawCaption", DISPID_BeforeDrawCaption, 4},
    {L"OnCreateRegion", DISPID_OnCreateRegion, 5},       {L"EnterExitSizing", DISPID_EnterExitSizing, 2},
};

class _CustomWindowCalls : public IDispatch {
public:
    // Modified True: the frame skips its default drawing of that piece.
    virtual HRESULT STDMETHODCALLTYPE UserDrawnTitleBar(LONG_PTR hDC, LONG CX, LONG CY, VARIANT_BOOL HasFocus,
                                                        VARIANT_BOOL* Modified) = 0;
    virtual HRESULT STDMETHODCALLTYPE UserDrawnMenuBar(LONG_PTR hDC, LONG CX, LONG CY, VARIANT_BOOL HasFocus,
                                                       VARIANT_BOOL* Modified) = 0;
    // ID "1" close, "2" maximise/restore, "3" minimise; State 0 normal, 1 hot, 2 pressed, 3 disabled.
    virtual HRESULT STDMETHODCALLTYPE UserDrawnButton(BSTR ID, SHORT State, LONG_PTR hDC, LONG X, LONG Y, LONG CX,
                                                      LONG CY, VARIANT_BOOL HasFocus, VARIANT_BOOL* Modified) = 0;
    virtual HRESULT STDMETHODCALLTYPE UserButtonClick(BSTR ID) = 0;
    virtual HRESULT STDMETHODCALLTYPE UserDrawnBorder(LONG_PTR hDC, LONG X, LONG Y, LONG CX, LONG CY,
                                                      VARIANT_BOOL HasFocus, VARIANT_BOOL* Modified) = 0;
    // Caption in and out: the text that is then drawn.
    virtual HRESULT STDMETHODCALLTYPE BeforeDrawCaption(LONG_PTR hDC, BSTR* Caption, LONG X, LONG Y) = 0;
    // A non-zero hRgn becomes the window region and belongs to the system.
    virtual HRESULT STDMETHODCALLTYPE OnCreateRegion(LONG_PTR* hRgn, LONG X, LONG Y, LONG CX, LONG CY) = 0;
    // At the end, UserRedrawn True skips the frame's own full repaint.
    virtual HRESULT STDMETHODCALLTYPE EnterExitSizing(VARIANT_BOOL BeginSizing, VARIANT_BOOL* UserRedrawn) = 0;
};

}  // namespace lumio

#ifdef __CRT_UUID_DECL
__CRT_UUID_DECL(lumio::_CustomWindowCalls, 0xA95DCB48, 0x6DC4, 0x47EC, 0xB9, 0x41, 0x43, 0x7B, 0xFE, 0x2A, 0xE1, 0x0A)
#endif
