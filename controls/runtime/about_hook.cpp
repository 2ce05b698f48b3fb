#include "about_hook.h"

namespace lumio {

namespace {
void (*g_about)() = nullptr;
}  // namespace

void SetAboutHandler(void (*handler)()) { g_about = handler; }

void ShowAbout() {
    if (g_about) g_about();
}

}  // namespace lumio
