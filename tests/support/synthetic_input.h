#pragma once
// Input as a user's hand makes it: SendInput reaches thread hooks and the
// mouse-leave tracking, which posted messages do not.
#include <windows.h>

namespace lumio::test {

// A mouse event; with MOUSEEVENTF_ABSOLUTE, (x, y) is a screen point.
inline void SendMouse(DWORD flags, int x = 0, int y = 0) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = flags;
    if (flags & MOUSEEVENTF_ABSOLUTE) {
        // +1: the normalised scale rounds down onto the pixel before.
        in.mi.dx = MulDiv(x, 65536, GetSystemMetrics(SM_CXSCREEN)) + 1;
        in.mi.dy = MulDiv(y, 65536, GetSystemMetrics(SM_CYSCREEN)) + 1;
    }
    SendInput(1, &in, sizeof in);
}

inline void MoveMouseTo(int x, int y) { SendMouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, x, y); }

inline void SendKey(WORD vk, bool up) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    SendInput(1, &in, sizeof in);
}

}  // namespace lumio::test
