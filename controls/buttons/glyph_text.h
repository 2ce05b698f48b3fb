#pragma once
// Captions of the button family go through the ANSI text output: the text is
// converted to the system's code page first.
#include <windows.h>

#include <string>

namespace lumio::buttons {

int DrawAnsiText(HDC dc, const std::wstring& text, RECT& rc, UINT flags);

}  // namespace lumio::buttons
