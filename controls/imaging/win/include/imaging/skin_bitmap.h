#pragma once
// Bitmap skins of the controls, from the named BITMAP resources of the module
// holding this code (the library, or a test program linking the controls).
#include <windows.h>

#include "imaging/pc_mem_dc.h"

namespace lumio {

HMODULE ControlsModule();

// Fills skin with the bitmap resource name; a missing resource leaves it empty.
void LoadBitmapSkin(pcMemDC& skin, const wchar_t* name);

}  // namespace lumio
