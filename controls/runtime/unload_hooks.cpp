#include "unload_hooks.h"

#include <cstddef>

namespace lumio {
namespace {

// A plain array: it must still be there while the module detaches, after
// static destructors may have run.
constexpr std::size_t kMaxHooks = 16;
void (*g_hooks[kMaxHooks])() = {};
std::size_t g_count = 0;

}  // namespace

void AtLibraryUnload(void (*fn)()) {
    for (std::size_t i = 0; i < g_count; ++i)
        if (g_hooks[i] == fn) return;
    if (fn && g_count < kMaxHooks) g_hooks[g_count++] = fn;
}

void RunLibraryUnloadHooks() {
    for (std::size_t i = g_count; i-- > 0;) g_hooks[i]();
}

void RegisterLibraryClass(const WNDCLASSEXW& wc) {
    if (!RegisterClassExW(&wc) && GetLastError() == ERROR_CLASS_ALREADY_EXISTS) {
        UnregisterClassW(wc.lpszClassName, wc.hInstance);
        RegisterClassExW(&wc);
    }
}

}  // namespace lumio
