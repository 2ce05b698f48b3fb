#include "std_objects.h"

#include <cmath>

#include "ole_types.h"
#include "picture_handle.h"

namespace lumio {

ComPtr<IFontDisp> CreateStdFont(const std::wstring& name, double points, bool bold) {
    Bstr face(name);
    FONTDESC desc{};
    desc.cbSizeofstruct = sizeof(desc);
    desc.lpstrName = face.get();
    desc.cySize.int64 = std::llround(points * 10000.0);
    desc.sWeight = bold ? FW_BOLD : FW_NORMAL;
    desc.sCharset = DEFAULT_CHARSET;
    ComPtr<IFontDisp> font;
    OleCreateFontIndirect(&desc, IID_IFontDisp, font.put_void());
    return font;
}

ComPtr<IFontDisp> CloneFont(IUnknown* font) {
    ComPtr<IFont> f = ComPtr<IUnknown>(font).As<IFont>();
    if (!f) return {};
    ComPtr<IFont> copy;
    if (FAILED(f->Clone(copy.put()))) return {};
    return copy.As<IFontDisp>();
}

ComPtr<IPictureDisp> PictureFromBitmap(HBITMAP bitmap) {
    ComPtr<IPicture> picture = PictureFromHandle(bitmap, PICTYPE_BITMAP);
    if (!picture && bitmap) DeleteObject(bitmap);
    return picture.As<IPictureDisp>();
}

ComPtr<IPictureDisp> PictureFromIcon(HICON icon) {
    ComPtr<IPicture> picture = PictureFromHandle(icon, PICTYPE_ICON);
    if (!picture && icon) DestroyIcon(icon);
    return picture.As<IPictureDisp>();
}

}  // namespace lumio
