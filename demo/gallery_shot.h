#pragma once
// The gallery's unattended run: wait until every window of the form is
// drawn, save the form as the screen shows it, and report which controls
// have a window on it.
#include <windows.h>

#include <string>

#include "host_form.h"

namespace gallery {

// Pumps the form's messages until nothing is left to paint, or the deadline passes (false).
bool WaitUntilDrawn(lumio::host::Form& form, DWORD deadline_ms);
// The whole window, frame included, as a PNG written by the library's own writer.
bool SaveWindowPng(HWND hwnd, const std::wstring& path);
// One line for the window ("window W H"), then one per control window on the
// form: class, name, visible 0/1, and its rectangle in the form's client area.
bool WriteReport(lumio::host::Form& form, const std::wstring& path);

}  // namespace gallery
