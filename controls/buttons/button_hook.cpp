#include "button_hook.h"

namespace lumio::buttons {

int ButtonHook::EntryOf(HWND hWnd) const {
    if (!hWnd || !subclass_.Table().Exists()) return -1;
    return subclass_.pThunkSlotOf(hWnd, false);
}

bool ButtonHook::pHookWindow(HWND hWnd) {
    if (EntryOf(hWnd) >= 0) return false;
    return subclass_.pAttachThunk(hWnd) >= 0;
}

void ButtonHook::pAddHookMessage(HWND hWnd, UINT uMsg, int32_t flags) {
    const int entry = EntryOf(hWnd);
    if (entry < 0) return;
    const tSubclassEntry& e = subclass_.Table()[entry];
    auto add = [&](const MessageTable& table, int32_t phase) {
        if (uMsg != EVERY_MESSAGE && table.nCount >= kMaxMessages) return;
        subclass_.pWatchMessage(hWnd, uMsg, phase);
    };
    if (flags & kBefore) add(e.before, mpBefore);
    if (flags & kAfter) add(e.after, mpAfter);
}

void ButtonHook::pUnhookWindow(HWND hWnd) {
    if (EntryOf(hWnd) >= 0) subclass_.pDetachThunk(hWnd);
}

void ButtonHook::pUnhookAll() {
    if (subclass_.Table().Exists()) subclass_.pDetachAllThunks();
}

uintptr_t ButtonHook::pBlockOf(HWND hWnd) const {
    const int entry = EntryOf(hWnd);
    return entry < 0 ? 0 : reinterpret_cast<uintptr_t>(subclass_.Table()[entry].lpThunk);
}

bool ButtonHook::HasHooks() const {
    const SubclassWindowTable& t = subclass_.Table();
    if (!t.Exists()) return false;
    for (int i = 0; i < t.Size(); ++i)
        if (t[i].hWnd) return true;
    return false;
}

}  // namespace lumio::buttons
