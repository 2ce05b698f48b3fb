#pragma once
// The custom frame's free routines: the one window procedure of every framed
// window, the per-thread menu hooks, and small drawing and packing helpers.
#include <windows.h>

#include <cstdint>

#include "com_ptr.h"
#include "gdi_scope.h"
#include "frame_interfaces.h"
#include "word_helpers.h"

namespace lumio {

// Window properties holding raw addresses (no reference counted).
inline constexpr char kFrameObjectProp[] = "lvCFrame_Optr";  // the window's IFrameWindowProc
inline constexpr char kCallbackProp[] = "lvImpCB_Ptr";       // the client's _CustomWindowCalls

// Finds the frame through "lvCFrame_Optr" and hands it the message. A window
// without the property is passed to the procedure it had before
// AttachFrameWindowProc, or to DefWindowProcA when it never had one here.
LRESULT CALLBACK FrameWindowProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
WNDPROC FrameWindowProcAddress();

// Installs FrameWindowProc and keeps the previous procedure in a window
// property of our own (dropped at WM_NCDESTROY). Returns the previous
// procedure, or null when the window procedure could not be changed or
// FrameWindowProc is in the window's chain already. While it is in a chain,
// the module stays loaded.
WNDPROC AttachFrameWindowProc(HWND hWnd);
// Tests: the next AttachFrameWindowProc of this thread fails as a refused
// procedure change would.
void FailNextFrameAttach();
// Puts the previous procedure back while FrameWindowProc is still the
// window's procedure; under a later subclasser FrameWindowProc stays and
// forwards every message that finds no frame.
void DetachFrameWindowProc(HWND hWnd);
// The procedure FrameWindowProc passes to for this window; null when it is not in the chain.
WNDPROC FramePreviousProc(HWND hWnd);

// A counted reference to the object at a raw address; false for 0.
template <class T>
bool ObjectFromAddress(uintptr_t address, ComPtr<T>& object) {
    if (!address) return false;
    object = ComPtr<T>(reinterpret_cast<T*>(address));
    return true;
}

// Thread hooks for one menu bar at a time: installing for a bar removes the
// set of any other bar first. bInstall false only removes.
void HookMenuMsgFilter(bool bInstall, IMenuBarHooks* menuBar);
void HookMenuKeyboardMouse(bool bInstall, IMenuBarHooks* menuBar);
LRESULT CALLBACK MenuMsgFilterProc(int code, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK MenuKeyboardHookProc(int code, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK MenuMouseHookProc(int code, WPARAM wParam, LPARAM lParam);
// Tests stand for a system that refuses one kind of hook (WH_KEYBOARD, ...);
// 0 refuses none.
void RefuseHookForTesting(int idHook);
// Hooks of this thread's menu bars now installed (the module locks they hold).
int InstalledMenuHooks();

// Keeps a bitmap of cx by cy compatible with hDC in hBitmap, making a new
// one (bRecreated) only when the size differs. With hMemDC, the bitmap is
// selected into it and the object selected before is returned; a replaced
// bitmap is deleted only after it has left the DC, and in its place the
// DC's stock bitmap is returned. 0 without hMemDC or when no bitmap could be
// made (hBitmap is then left as it was).
HGDIOBJ EnsureCompatibleBitmap(HDC hDC, HBITMAP& hBitmap, int cx, int cy, HDC hMemDC, bool& bRecreated);
// The same for a bitmap kept in an owner.
inline HGDIOBJ EnsureCompatibleBitmap(HDC hDC, gdi::OwnedObject<HBITMAP>& bitmap, int cx, int cy, HDC hMemDC,
                                      bool& bRecreated) {
    HBITMAP h = bitmap.get();
    HGDIOBJ before = EnsureCompatibleBitmap(hDC, h, cx, cy, hMemDC, bRecreated);
    // A replaced bitmap is already deleted.
    if (bRecreated) {
        bitmap.release();
        bitmap.reset(h);
    }
    return before;
}

// A raised edge over the outer region's box, moved to the origin and clipped
// to the box minus the inner region.
void DrawClippedEdge(HDC hDC, HRGN outerRegion, HRGN innerRegion);

// A band of lines running from colour1 to colour2 (OLE colours); see
// PlanGradientLines for the meaning of the coordinates and the step.
void DrawGradientLines(uint32_t colour1, uint32_t colour2, HDC hDC, int32_t X1, int32_t Y1, int32_t X2, int32_t Y2,
                       uint8_t step);

}  // namespace lumio
