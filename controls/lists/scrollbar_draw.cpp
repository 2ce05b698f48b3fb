#include "scrollbar_draw.h"

#include <olectl.h>

#include "com_ptr.h"

namespace lumio::lists {
namespace {

HMODULE ThisModule() {
    HMODULE module = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&ThisModule), &module);
    return module;
}

}  // namespace

cScrollbarDraw::cScrollbarDraw() {
    const HMODULE module = ThisModule();
    for (int i = 0; i < kSkinCount; ++i) {
        HBITMAP bitmap = static_cast<HBITMAP>(
            LoadImageW(module, kScrollSkinNames[i], IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
        if (!bitmap) continue;
        PICTDESC desc{};
        desc.cbSizeofstruct = sizeof desc;
        desc.picType = PICTYPE_BITMAP;
        desc.bmp.hbitmap = bitmap;
        ComPtr<IPicture> picture;
        // The picture owns the bitmap from here on.
        if (FAILED(OleCreatePictureIndirect(&desc, IID_IPicture, TRUE, reinterpret_cast<void**>(picture.put())))) {
            DeleteObject(bitmap);
            continue;
        }
        skins_[i].CreateFromPicture(picture.get());
    }
}

bool cScrollbarDraw::Complete() const {
    for (const auto& s : skins_)
        if (!s.hDC()) return false;
    return true;
}

void cScrollbarDraw::Run(HDC dc, const std::vector<SkinCopy>& plan) const {
    for (const auto& c : plan) {
        const pcMemDC& skin = skins_[c.skin];
        if (c.stretch)
            skin.StretchDraw(dc, c.dx, c.dy, c.dw, c.dh, c.sx, c.sy, c.sw, c.sh);
        else
            skin.Draw(dc, c.sx, c.sy, c.sw, c.sh, c.dx, c.dy, c.masked);
    }
}

}  // namespace lumio::lists
