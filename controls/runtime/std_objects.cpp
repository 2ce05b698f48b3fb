#include "std_objects.h"

#include <cmath>

#include "ole_types.h"

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

namespace {
ComPtr<IPictureDisp> FromDesc(PICTDESC& desc) {
    ComPtr<IPictureDisp> pic;
    OleCreatePictureIndirect(&desc, IID_IPictureDisp, TRUE, pic.put_void());
    return pic;
}
}  // namespace

ComPtr<IPictureDisp> PictureFromBitmap(HBITMAP bitmap) {
    PICTDESC desc{};
    desc.cbSizeofstruct = sizeof(PICTDESC);
    desc.picType = PICTYPE_BITMAP;
    desc.bmp.hbitmap = bitmap;
    return FromDesc(desc);
}

ComPtr<IPictureDisp> PictureFromIcon(HICON icon) {
    PICTDESC desc{};
    desc.cbSizeofstruct = sizeof(PICTDESC);
    desc.picType = PICTYPE_ICON;
    desc.icon.hicon = icon;
    return FromDesc(desc);
}

}  // namespace lumio
