#include "object_compare.h"

#include "com_ptr.h"
#include "ole_types.h"
#include "variant_convert.h"

namespace lumio {

namespace {

struct FontAttributes {
    Bstr name;
    CY size{};
    BOOL bold = FALSE, italic = FALSE, underline = FALSE, strike = FALSE;
    SHORT weight = 0, charset = 0;
};

bool ReadFont(IUnknown* unk, FontAttributes& f) {
    ComPtr<IFont> font = ComPtr<IUnknown>(unk).As<IFont>();
    if (!font) return false;
    font->get_Name(f.name.put());
    font->get_Size(&f.size);
    font->get_Bold(&f.bold);
    font->get_Italic(&f.italic);
    font->get_Underline(&f.underline);
    font->get_Strikethrough(&f.strike);
    font->get_Weight(&f.weight);
    font->get_Charset(&f.charset);
    return true;
}

IUnknown* ObjectOf(const VARIANT& v) {
    const VARIANT& d = Deref(v);
    if (d.vt == VT_DISPATCH) return d.pdispVal;
    if (d.vt == VT_UNKNOWN) return d.punkVal;
    return nullptr;
}

bool IsObject(const VARIANT& v) {
    VARTYPE vt = Deref(v).vt;
    return vt == VT_DISPATCH || vt == VT_UNKNOWN;
}

}  // namespace

bool FontsEqual(IUnknown* a, IUnknown* b) {
    if (SameObject(a, b)) return true;
    if (!a || !b) return false;
    FontAttributes fa, fb;
    if (!ReadFont(a, fa) || !ReadFont(b, fb)) return false;
    return fa.name.str() == fb.name.str() && fa.size.int64 == fb.size.int64 && !fa.bold == !fb.bold &&
           !fa.italic == !fb.italic && !fa.underline == !fb.underline && !fa.strike == !fb.strike &&
           fa.weight == fb.weight && fa.charset == fb.charset;
}

bool PicturesEqual(IUnknown* a, IUnknown* b) {
    if (SameObject(a, b)) return true;
    ComPtr<IPicture> pa = ComPtr<IUnknown>(a).As<IPicture>();
    ComPtr<IPicture> pb = ComPtr<IUnknown>(b).As<IPicture>();
    // An empty picture is no picture.
    auto handle = [](IPicture* p) -> OLE_HANDLE {
        OLE_HANDLE h = 0;
        if (p) p->get_Handle(&h);
        return h;
    };
    OLE_HANDLE ha = handle(pa.get()), hb = handle(pb.get());
    if (!ha || !hb) return ha == hb;
    SHORT ta = 0, tb = 0;
    pa->get_Type(&ta);
    pb->get_Type(&tb);
    return ha == hb && ta == tb;
}

bool PersistedValuesEqual(const VARIANT& value, const VARIANT& def) {
    if (IsObject(value) || IsObject(def)) {
        IUnknown* a = ObjectOf(value);
        IUnknown* b = ObjectOf(def);
        if (!a && !b) return true;
        if (ComPtr<IUnknown>(a ? a : b).As<IFont>()) return FontsEqual(a, b);
        if (ComPtr<IUnknown>(a ? a : b).As<IPicture>()) return PicturesEqual(a, b);
        return SameObject(a, b);
    }
    const VARIANT& a = Deref(value);
    const VARIANT& b = Deref(def);
    if (a.vt == VT_EMPTY || b.vt == VT_EMPTY) return a.vt == b.vt;
    HRESULT r = VarCmp(const_cast<VARIANT*>(&a), const_cast<VARIANT*>(&b), LOCALE_USER_DEFAULT, 0);
    return r == static_cast<HRESULT>(VARCMP_EQ);
}

}  // namespace lumio
