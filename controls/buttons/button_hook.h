#pragma once
// The button's hook of its own window and of its form, on the library's
// self-subclassing. It keeps the button's rules on top of it: a window is
// hooked once, a message table holds at most 32 messages, and flags say
// 1 = before the window's procedure, 2 = after it.
#include <windows.h>

#include <cstdint>

#include "cThunkSubclass.h"

namespace lumio::buttons {

class ButtonHook {
public:
    static constexpr int32_t kBefore = 1, kAfter = 2;
    static constexpr int32_t kMaxMessages = 32;

    explicit ButtonHook(ISubclassOwner& owner) : subclass_(owner) {}

    // False, with nothing changed, for a dead window, a window of another
    // thread, a window already hooked here, or when the hook cannot be made.
    bool pHookWindow(HWND hWnd);
    // Nothing for a window not hooked here; a message past the 32nd of a
    // table is ignored. uMsg 0xFFFFFFFF subscribes every message.
    void pAddHookMessage(HWND hWnd, UINT uMsg, int32_t flags);
    // The window goes back to its own procedure as soon as nothing of ours is
    // running in it.
    void pUnhookWindow(HWND hWnd);
    void pUnhookAll();
    // The window's block, 0 for a window not hooked here.
    uintptr_t pBlockOf(HWND hWnd) const;
    bool HasHooks() const;

private:
    int EntryOf(HWND hWnd) const;

    cThunkSubclass subclass_;
};

}  // namespace lumio::buttons
