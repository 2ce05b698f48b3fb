#include "control_window.h"

#include "com_ptr.h"
#include "control_base.h"
#include "class_table.h"
#include "run_time_error.h"
#include "thread_slot.h"
#include "unload_hooks.h"

namespace lumio {

namespace {

constexpr const wchar_t* kClassDbl = L"LumioControlDbl";
constexpr const wchar_t* kClassPlain = L"LumioControl";
constexpr const wchar_t* kParkingClass = L"LumioParking";

LRESULT CALLBACK ControlWndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCCREATE) {
        auto* cs = reinterpret_cast<CREATESTRUCTW*>(lp);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
    }
    auto* control = reinterpret_cast<ControlBase*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!control) return DefWindowProcW(hwnd, msg, wp, lp);
    // The control must outlive its own message, whatever the handlers release.
    ComPtr<IOleObject> keep(static_cast<IOleObject*>(control));
    try {
        return control->HandleMessage(hwnd, msg, wp, lp);
    } catch (...) {
        return DefWindowProcW(hwnd, msg, wp, lp);
    }
}

void RegisterClasses() {
    static bool done = false;
    if (done) return;
    HINSTANCE inst = ModuleInstance();
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = ControlWndProc;
    wc.hInstance = inst;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.style = CS_OWNDC | CS_DBLCLKS;
    wc.lpszClassName = kClassDbl;
    RegisterLibraryClass(wc);
    wc.style = CS_OWNDC;
    wc.lpszClassName = kClassPlain;
    RegisterLibraryClass(wc);
    WNDCLASSEXW park{};
    park.cbSize = sizeof(park);
    park.lpfnWndProc = DefWindowProcW;
    park.hInstance = inst;
    park.lpszClassName = kParkingClass;
    RegisterLibraryClass(park);
    done = true;
}

}  // namespace

namespace {

// One parking window per user-interface thread, kept while the thread has
// controls: a long-lived host that loads and frees the library leaves none.
struct ThreadParking {
    HWND window = nullptr;
    int controls = 0;
};
ThreadSlot<ThreadParking> t_parking;

void DestroyParkingWhenUnused() {
    if (t_parking->controls > 0 || !t_parking->window) return;
    if (IsWindow(t_parking->window)) DestroyWindow(t_parking->window);
    t_parking->window = nullptr;
}

}  // namespace

HWND ParkingWindow() {
    RegisterClasses();
    if (!t_parking->window || !IsWindow(t_parking->window))
        t_parking->window = CreateWindowExW(0, kParkingClass, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                           ModuleInstance(), nullptr);
    return t_parking->window;
}

HWND CreateControlWindowFor(ControlBase* control, bool double_clicks, bool tab_stop) {
    HWND parent = ParkingWindow();
    HWND h = CreateWindowExW(WS_EX_CONTROLPARENT, double_clicks ? kClassDbl : kClassPlain, L"",
                             WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | (tab_stop ? WS_TABSTOP : 0), 0, 0, 0, 0,
                             parent, nullptr, ModuleInstance(), control);
    if (!h) {
        DestroyParkingWhenUnused();
        Raise(7, L"Lumiokit", L"Out of memory");
    }
    ++t_parking->controls;
    return h;
}

void DestroyControlWindow(HWND hwnd) {
    DetachControlWindow(hwnd);
    if (IsWindow(hwnd)) DestroyWindow(hwnd);
    if (t_parking->controls > 0) --t_parking->controls;
    DestroyParkingWhenUnused();
}

void UnregisterWindowClasses() {
    HINSTANCE inst = ModuleInstance();
    for (const wchar_t* name : {kClassDbl, kClassPlain, kParkingClass}) UnregisterClassW(name, inst);
}

void DetachControlWindow(HWND hwnd) { SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0); }

}  // namespace lumio
