#pragma once
// Typed values in and out of variants, as the dispatch tables and the
// property bags need them. A value that will not convert throws ArgError.
#include <ocidl.h>
#include <olectl.h>

#include <string>
#include <type_traits>

#include "com_ptr.h"
#include "ole_types.h"

namespace lumio {

struct ArgError {
    HRESULT hr;
};

template <class T, class = void>
struct VariantValue;

// Converts v to type vt, throwing ArgError when it will not.
Variant ConvertVariant(const VARIANT& v, VARTYPE vt);
// Follows VT_BYREF and VT_VARIANT|VT_BYREF to the value itself.
const VARIANT& Deref(const VARIANT& v);
// Writes value into the caller's variable when arg came by reference
// (converted to the variable's type; a variant variable takes it as it is);
// does nothing for an argument passed by value.
void StoreThroughRef(const VARIANT& arg, const VARIANT& value);

template <>
struct VariantValue<bool> {
    static bool From(const VARIANT& v) { return ConvertVariant(v, VT_BOOL)->boolVal != VARIANT_FALSE; }
    static Variant To(bool x) { return Variant::Bool(x); }
};
template <>
struct VariantValue<short> {
    static short From(const VARIANT& v) { return ConvertVariant(v, VT_I2)->iVal; }
    static Variant To(short x) { return Variant::Int(x); }
};
template <>
struct VariantValue<int> {
    static int From(const VARIANT& v) { return ConvertVariant(v, VT_I4)->lVal; }
    static Variant To(int x) { return Variant::Long(x); }
};
template <>
struct VariantValue<long> {
    static long From(const VARIANT& v) { return ConvertVariant(v, VT_I4)->lVal; }
    static Variant To(long x) { return Variant::Long(x); }
};
// OLE colours travel as 32-bit signed integers.
template <>
struct VariantValue<unsigned long> {
    static unsigned long From(const VARIANT& v);
    static Variant To(unsigned long x) { return Variant::Long(static_cast<long>(x)); }
};
template <>
struct VariantValue<float> {
    static float From(const VARIANT& v) { return ConvertVariant(v, VT_R4)->fltVal; }
    static Variant To(float x) { return Variant::Single(x); }
};
template <>
struct VariantValue<double> {
    static double From(const VARIANT& v) { return ConvertVariant(v, VT_R8)->dblVal; }
    static Variant To(double x) { return Variant::Double(x); }
};
template <>
struct VariantValue<std::wstring> {
    static std::wstring From(const VARIANT& v) {
        Variant s = ConvertVariant(v, VT_BSTR);
        return s->bstrVal ? std::wstring(s->bstrVal, SysStringLen(s->bstrVal)) : std::wstring();
    }
    static Variant To(const std::wstring& x) { return Variant::String(x); }
};
template <class E>
struct VariantValue<E, std::enable_if_t<std::is_enum_v<E>>> {
    static E From(const VARIANT& v) { return static_cast<E>(ConvertVariant(v, VT_I4)->lVal); }
    static Variant To(E x) { return Variant::Long(static_cast<long>(x)); }
};
// Objects: nothing (a null object) converts from VT_EMPTY, a null pointer or
// VT_ERROR; anything else must offer the interface.
template <class I>
struct VariantValue<ComPtr<I>> {
    static ComPtr<I> From(const VARIANT& v) {
        const VARIANT& d = Deref(v);
        IUnknown* unk = nullptr;
        if (d.vt == VT_DISPATCH) unk = d.pdispVal;
        else if (d.vt == VT_UNKNOWN) unk = d.punkVal;
        else if (d.vt == (VT_DISPATCH | VT_BYREF)) unk = d.ppdispVal ? *d.ppdispVal : nullptr;
        else if (d.vt == (VT_UNKNOWN | VT_BYREF)) unk = d.ppunkVal ? *d.ppunkVal : nullptr;
        else if (d.vt == VT_EMPTY || d.vt == VT_NULL) return {};
        else throw ArgError{DISP_E_TYPEMISMATCH};
        if (!unk) return {};
        ComPtr<I> r = ComPtr<IUnknown>(unk).As<I>();
        if (!r) throw ArgError{DISP_E_TYPEMISMATCH};
        return r;
    }
    static Variant To(const ComPtr<I>& x) {
        if constexpr (std::is_base_of_v<IDispatch, I>) return Variant::Object(x.get());
        else return Variant::Unknown(x.get());
    }
};
// A value taken by reference (a script's Set argument, VT_DISPATCH | VT_BYREF)
// arrives as the value itself.
template <>
struct VariantValue<Variant> {
    static Variant From(const VARIANT& v);
    static Variant To(const Variant& x) { return x; }
};

}  // namespace lumio
