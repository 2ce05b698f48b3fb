#include "module_lock.h"
#include "modSubClasser.h"

namespace lumio {
namespace {

// The procedure a window had before FrameWindowProc, for messages that find
// no frame. While a window holds it, FrameWindowProc is in its chain and
// keeps this module loaded.
constexpr char kPrevProcProp[] = "lvCFrame_PrevProc";

thread_local bool t_failNextAttach = false;

void DropPrevProc(HWND hWnd) {
    if (RemovePropA(hWnd, kPrevProcProp)) ModuleUnlock();
}

}  // namespace

LRESULT CALLBACK FrameWindowProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    const UINT received = uMsg;
    LRESULT result = 0;
    ComPtr<IFrameWindowProc> frame;
    if (ObjectFromAddress(reinterpret_cast<uintptr_t>(GetPropA(hWnd, kFrameObjectProp)), frame)) {
        try {
            frame->WindowProc(uMsg, wParam, lParam, result);
        } catch (...) {
            // Nothing may unwind into the system's message dispatch.
        }
    } else if (auto prev = reinterpret_cast<WNDPROC>(GetPropA(hWnd, kPrevProcProp))) {
        result = CallWindowProcA(prev, hWnd, uMsg, wParam, lParam);
    } else {
        result = DefWindowProcA(hWnd, uMsg, wParam, lParam);
    }
    if (received == WM_NCDESTROY) DropPrevProc(hWnd);
    return result;
}

WNDPROC FrameWindowProcAddress() { return &FrameWindowProc; }

void FailNextFrameAttach() { t_failNextAttach = true; }

WNDPROC AttachFrameWindowProc(HWND hWnd) {
    if (t_failNextAttach) {
        t_failNextAttach = false;
        return nullptr;
    }
    const auto current = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(hWnd, GWLP_WNDPROC));
    if (!current) return nullptr;
    if (GetPropA(hWnd, kPrevProcProp)) return nullptr;  // FrameWindowProc is in the chain already
    // In place before the procedure changes, so that no message goes unanswered.
    if (!SetPropA(hWnd, kPrevProcProp, reinterpret_cast<HANDLE>(current))) return nullptr;
    ModuleLock();
    SetLastError(0);
    const LONG_PTR prev = SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&FrameWindowProc));
    if (prev == 0 && GetLastError() != 0) {
        DropPrevProc(hWnd);
        return nullptr;
    }
    SetPropA(hWnd, kPrevProcProp, reinterpret_cast<HANDLE>(prev));
    return reinterpret_cast<WNDPROC>(prev);
}

WNDPROC FramePreviousProc(HWND hWnd) { return reinterpret_cast<WNDPROC>(GetPropA(hWnd, kPrevProcProp)); }

void DetachFrameWindowProc(HWND hWnd) {
    const auto prev = reinterpret_cast<WNDPROC>(GetPropA(hWnd, kPrevProcProp));
    if (!prev) return;
    if (GetWindowLongPtrA(hWnd, GWLP_WNDPROC) != reinterpret_cast<LONG_PTR>(&FrameWindowProc)) return;
    SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(prev));
    DropPrevProc(hWnd);
}

}  // namespace lumio
