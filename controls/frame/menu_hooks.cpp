#include "module_lock.h"
#include "modSubClasser.h"
#include "thread_slot.h"

namespace lumio {
namespace {

// One set per user-interface thread; the bars are raw addresses.
struct MenuHookSlots {
    IMenuBarHooks* filterBar = nullptr;
    HHOOK filterHook = nullptr;
    IMenuBarHooks* keyMouseBar = nullptr;
    HHOOK keyboardHook = nullptr;
    HHOOK mouseHook = nullptr;
};
ThreadSlot<MenuHookSlots> t_hooks;
int g_refusedHook = 0;

// An installed hook calls into this module: it keeps the module loaded.
HHOOK Hook(int idHook, HOOKPROC proc) {
    if (idHook == g_refusedHook) return nullptr;
    HHOOK hook = SetWindowsHookExA(idHook, proc, nullptr, GetCurrentThreadId());
    if (hook) ModuleLock();
    return hook;
}

void Unhook(HHOOK& hook) {
    if (!hook) return;
    UnhookWindowsHookEx(hook);
    ModuleUnlock();
    hook = nullptr;
}

// Asks the bar with a counted reference held for the call; false when the
// bar leaves the event alone.
template <class Call>
bool AskBar(IMenuBarHooks* bar, Call call) {
    ComPtr<IMenuBarHooks> hold;
    if (!ObjectFromAddress(reinterpret_cast<uintptr_t>(bar), hold)) return false;
    bool handled = false;
    try {
        call(hold.get(), handled);
    } catch (...) {
        // Nothing may unwind into the system's hook chain.
    }
    return handled;
}

}  // namespace

void HookMenuMsgFilter(bool bInstall, IMenuBarHooks* menuBar) {
    MenuHookSlots& t = t_hooks.get();
    Unhook(t.filterHook);
    t.filterBar = nullptr;
    if (!bInstall || !menuBar) return;
    t.filterBar = menuBar;
    t.filterHook = Hook(WH_MSGFILTER, &MenuMsgFilterProc);
}

void RefuseHookForTesting(int idHook) { g_refusedHook = idHook; }

int InstalledMenuHooks() {
    const MenuHookSlots& t = t_hooks.get();
    return (t.filterHook != nullptr) + (t.keyboardHook != nullptr) + (t.mouseHook != nullptr);
}

void HookMenuKeyboardMouse(bool bInstall, IMenuBarHooks* menuBar) {
    MenuHookSlots& t = t_hooks.get();
    // Each hook goes on its own: a mouse hook may be there without a
    // keyboard hook when the system refused the one but not the other.
    Unhook(t.keyboardHook);
    Unhook(t.mouseHook);
    t.keyMouseBar = nullptr;
    if (!bInstall || !menuBar) return;
    t.keyMouseBar = menuBar;
    t.keyboardHook = Hook(WH_KEYBOARD, &MenuKeyboardHookProc);
    t.mouseHook = Hook(WH_MOUSE, &MenuMouseHookProc);
}

LRESULT CALLBACK MenuMsgFilterProc(int code, WPARAM wParam, LPARAM lParam) {
    if (code == MSGF_MENU &&
        AskBar(t_hooks->filterBar, [&](IMenuBarHooks* bar, bool& handled) {
            bar->OnMenuMsgFilter(reinterpret_cast<MSG*>(lParam), handled);
        }))
        return 1;
    return CallNextHookEx(t_hooks->filterHook, code, wParam, lParam);
}

LRESULT CALLBACK MenuKeyboardHookProc(int code, WPARAM wParam, LPARAM lParam) {
    if (code >= 0 && AskBar(t_hooks->keyMouseBar, [&](IMenuBarHooks* bar, bool& handled) {
            bar->OnMenuKeyboardHook(wParam, lParam, handled);
        }))
        return 1;
    return CallNextHookEx(t_hooks->keyboardHook, code, wParam, lParam);
}

LRESULT CALLBACK MenuMouseHookProc(int code, WPARAM wParam, LPARAM lParam) {
    if (code >= 0 && AskBar(t_hooks->keyMouseBar, [&](IMenuBarHooks* bar, bool& handled) {
            bar->OnMenuMouseHook(wParam, lParam, handled);
        }))
        return 1;
    return CallNextHookEx(t_hooks->mouseHook, code, wParam, lParam);
}

}  // namespace lumio
