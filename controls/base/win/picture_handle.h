#pragma once
// A picture object made around a GDI bitmap or icon.
#include <windows.h>
#include <ocidl.h>
#include <olectl.h>

#include <cstdint>

#include "com_ptr.h"

namespace lumio {

// A picture object that owns `handle` (PICTYPE_BITMAP 1, PICTYPE_ICON 3) and
// destroys it on release. On failure (null) the handle stays the caller's.
ComPtr<IPicture> PictureFromHandle(HANDLE handle, std::int32_t pictureType);

// Tests: while set, every PictureFromHandle of this thread fails as a refused
// picture would.
void FailPicturesFromHandles(bool fail);

}  // namespace lumio
