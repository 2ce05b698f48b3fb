#pragma once
// Bitmap skins of the bars, from the named BITMAP resources of the module
// holding this code.
#include <windows.h>

#include "imaging/pc_mem_dc.h"

namespace lumio::lists {

// The module that holds the controls (the library, or a test program linking them).
HMODULE ControlsModule();

// Fills skin with the bitmap resource name; a missing resource leaves it empty.
void LoadBitmapSkin(pcMemDC& skin, const wchar_t* name);

}  // namespace lumio::lists
