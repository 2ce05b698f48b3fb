#include "subclass_proc_member.h"

#include "variant_convert.h"

namespace lumio {

namespace {

LONGLONG ArgValue(const VARIANT& v) {
    Variant x = ConvertVariant(v, VT_I8);
    return x->llVal;
}

void WriteBack(const VARIANT& v, LONGLONG value) {
    switch (v.vt) {
    case VT_BYREF | VT_BOOL: *v.pboolVal = value ? VARIANT_TRUE : VARIANT_FALSE; break;
    case VT_BYREF | VT_I2: *v.piVal = static_cast<SHORT>(value); break;
    case VT_BYREF | VT_I4: *v.plVal = static_cast<LONG>(value); break;
    case VT_BYREF | VT_I8: *v.pllVal = value; break;
    case VT_BYREF | VT_VARIANT:
        if (v.pvarVal) {
            VARTYPE vt = v.pvarVal->vt;
            VariantClear(v.pvarVal);
            v.pvarVal->vt = vt == VT_BOOL ? VT_BOOL : vt == VT_I8 ? VT_I8 : VT_I4;
            if (vt == VT_BOOL) v.pvarVal->boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
            else if (vt == VT_I8) v.pvarVal->llVal = value;
            else v.pvarVal->lVal = static_cast<LONG>(value);
        }
        break;
    default: break;  // passed by value: nothing to write back
    }
}

}  // namespace

Member SubclassProcMember(DISPID id, SubclassProcCall call) {
    Member m;
    m.id = id;
    m.name = L"zSubclass_Proc";
    m.arg_count = 7;
    m.call = [call](ControlBase& b, const MemberArgs& a) -> Variant {
        bool before = VariantValue<bool>::From(*a[0]);
        bool handled = ArgValue(*a[1]) != 0;
        LRESULT ret = static_cast<LRESULT>(ArgValue(*a[2]));
        HWND hwnd = reinterpret_cast<HWND>(static_cast<LONG_PTR>(ArgValue(*a[3])));
        UINT msg = static_cast<UINT>(ArgValue(*a[4]));
        WPARAM wp = static_cast<WPARAM>(ArgValue(*a[5]));
        LPARAM lp = static_cast<LPARAM>(ArgValue(*a[6]));
        call(b, before, handled, ret, hwnd, msg, wp, lp);
        WriteBack(*a[1], handled ? 1 : 0);
        WriteBack(*a[2], static_cast<LONGLONG>(ret));
        WriteBack(*a[3], static_cast<LONGLONG>(reinterpret_cast<LONG_PTR>(hwnd)));
        WriteBack(*a[4], static_cast<LONGLONG>(msg));
        WriteBack(*a[5], static_cast<LONGLONG>(wp));
        WriteBack(*a[6], static_cast<LONGLONG>(lp));
        return Variant();
    };
    return m;
}

}  // namespace lumio
