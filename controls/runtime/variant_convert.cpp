#include "variant_convert.h"

#include <cstring>

namespace lumio {

const VARIANT& Deref(const VARIANT& v) {
    if (v.vt == (VT_VARIANT | VT_BYREF) && v.pvarVal) return Deref(*v.pvarVal);
    return v;
}

void StoreThroughRef(const VARIANT& arg, const VARIANT& value) {
    if (!(arg.vt & VT_BYREF) || !arg.byref) return;
    if (arg.vt == (VT_VARIANT | VT_BYREF)) {
        VARIANT& var = *arg.pvarVal;
        if (var.vt & VT_BYREF) return StoreThroughRef(var, value);
        HRESULT hr = VariantCopy(&var, const_cast<VARIANT*>(&value));
        if (FAILED(hr)) throw ArgError{hr};
        return;
    }
    VARTYPE vt = static_cast<VARTYPE>(arg.vt & ~VT_BYREF);
    Variant x = ConvertVariant(value, vt);
    switch (vt) {
    case VT_BSTR:
        SysFreeString(*arg.pbstrVal);
        *arg.pbstrVal = x.detach().bstrVal;
        return;
    case VT_DISPATCH:
    case VT_UNKNOWN: {
        IUnknown*& slot = *reinterpret_cast<IUnknown**>(arg.byref);
        if (slot) slot->Release();
        slot = x.detach().punkVal;
        return;
    }
    case VT_I1: case VT_UI1: std::memcpy(arg.byref, &x->bVal, 1); return;
    case VT_I2: case VT_UI2: case VT_BOOL: std::memcpy(arg.byref, &x->iVal, 2); return;
    case VT_I4: case VT_UI4: case VT_INT: case VT_UINT: case VT_R4: case VT_ERROR:
        std::memcpy(arg.byref, &x->lVal, 4);
        return;
    case VT_I8: case VT_UI8: case VT_R8: case VT_CY: case VT_DATE: std::memcpy(arg.byref, &x->llVal, 8); return;
    case VT_DECIMAL: *arg.pdecVal = x->decVal; return;
    default: throw ArgError{DISP_E_TYPEMISMATCH};
    }
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
