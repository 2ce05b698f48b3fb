#include "imaging/skin_bitmap.h"

#include <olectl.h>

#include "gdi_scope.h"
#include "imaging/mod_parsers_win.h"

namespace lumio {

HMODULE ControlsModule() {
    HMODULE module = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&ControlsModule), &module);
    return module;
}

void LoadBitmapSkin(pcMemDC& skin, const wchar_t* name) {
    gdi::OwnedObject<HBITMAP> bitmap(
        static_cast<HBITMAP>(LoadImageW(ControlsModule(), name, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    if (!bitmap) return;
    ComPtr<IPicture> picture = PictureFromHandle(bitmap.get(), PICTYPE_BITMAP);
    if (!picture) return;
    bitmap.release();  // the picture owns it now
    skin.CreateFromPicture(picture.get());
}

}  // namespace lumio
