#include "picture_handle.h"

namespace lumio {

namespace {
thread_local bool t_failPictures = false;
}  // namespace

void FailPicturesFromHandles(bool fail) { t_failPictures = fail; }

ComPtr<IPicture> PictureFromHandle(HANDLE handle, std::int32_t pictureType) {
    if (t_failPictures) return nullptr;
    PICTDESC desc{};
    desc.cbSizeofstruct = sizeof desc;
    desc.picType = static_cast<UINT>(pictureType);
    if (pictureType == PICTYPE_ICON)
        desc.icon.hicon = static_cast<HICON>(handle);
    else
        desc.bmp.hbitmap = static_cast<HBITMAP>(handle);
    ComPtr<IPicture> picture;
    if (FAILED(OleCreatePictureIndirect(&desc, IID_IPicture, TRUE, picture.put_void())))
        return nullptr;
    return picture;
}

}  // namespace lumio
