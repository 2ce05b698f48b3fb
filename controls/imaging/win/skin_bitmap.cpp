#include "imaging/skin_bitmap.h"

#include <olectl.h>

#include "com_ptr.h"

namespace lumio {

HMODULE ControlsModule() {
    HMODULE module = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&ControlsModule), &module);
    return module;
}

void LoadBitmapSkin(pcMemDC& skin, const wchar_t* name) {
    HBITMAP bitmap =
        static_cast<HBITMAP>(LoadImageW(ControlsModule(), name, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    if (!bitmap) return;
    PICTDESC desc{};
    desc.cbSizeofstruct = sizeof desc;
    desc.picType = PICTYPE_BITMAP;
    desc.bmp.hbitmap = bitmap;
    ComPtr<IPicture> picture;
    // The picture owns the bitmap from here on.
    if (FAILED(OleCreatePictureIndirect(&desc, IID_IPicture, TRUE, reinterpret_cast<void**>(picture.put())))) {
        DeleteObject(bitmap);
        return;
    }
    skin.CreateFromPicture(picture.get());
}

}  // namespace lumio
