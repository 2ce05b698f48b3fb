#pragma once
// The picture of the search button: a magnifying glass drawn by code.
#include <windows.h>

HBITMAP CreateSearchGlyph(HWND button, int size);
