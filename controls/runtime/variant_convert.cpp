#include "variant_convert.h"

namespace lumio {

const VARIANT& Deref(const VARIANT& v) {
    if (v.vt == (VT_VARIANT | VT_BYREF) && v.pvarVal) return Deref(*v.pvarVal);
    return v;
}

Variant ConvertVariant(const VARIANT& v, VARTYPE vt) {
    Variant r;
    HRESULT hr = VariantChangeType(r.get(), const_cast<VARIANT*>(&Deref(v)), 0, vt);
    if (FAILED(hr)) throw ArgError{hr};
    return r;
}

unsigned long VariantValue<unsigned long>::From(const VARIANT& v) {
    const VARIANT& d = Deref(v);
    if (d.vt == VT_UI4) return d.ulVal;
    // Colours above 0x7FFFFFFF (system colours) arrive as negative integers or as doubles.
    if (d.vt == VT_R8 || d.vt == VT_R4 || d.vt == VT_BSTR) {
        double x = ConvertVariant(d, VT_R8)->dblVal;
        if (x >= 2147483648.0 && x <= 4294967295.0) return static_cast<unsigned long>(x);
    }
    return static_cast<unsigned long>(ConvertVariant(d, VT_I4)->lVal);
}

Variant VariantValue<Variant>::From(const VARIANT& v) {
    const VARIANT& d = Deref(v);
    if (!(d.vt & VT_BYREF)) return Variant(d);
    Variant r;
    HRESULT hr = VariantCopyInd(r.get(), const_cast<VARIANT*>(&d));
    if (FAILED(hr)) throw ArgError{hr};
    return r;
}

}  // namespace lumio
