#pragma once
// The window of a control: one window class for controls that take double
// clicks and one for those that do not, and a hidden parking window that
// holds a control's window until the host gives it a parent.
#include <windows.h>

namespace lumio {

class ControlBase;

HWND CreateControlWindowFor(ControlBase* control, bool double_clicks, bool tab_stop = true);
// Cuts the link from the window to its control (before the control goes away).
void DetachControlWindow(HWND hwnd);
// Cuts the link and destroys the window (when a host has not already); the
// thread's parking window goes with its last control.
void DestroyControlWindow(HWND hwnd);
// The hidden parent of windows not yet placed by a host.
HWND ParkingWindow();
// At the library's unload, so that a fresh load registers them anew.
void UnregisterWindowClasses();

}  // namespace lumio
