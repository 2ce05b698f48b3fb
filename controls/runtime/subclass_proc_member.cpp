#include "subclass_proc_member.h"

#include "variant_convert.h"

namespace lumio {

namespace {

LONGLONG ArgValue(const VARIANT& v) {
    Variant x = ConvertVariant(v, VT_I8);
    return x->llVal;
}

// Back to a caller that passed the argument by reference, as any method's.
void WriteBack(const VARIANT& arg, LONGLONG value) {
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_I8;
    v.llVal = value;
    StoreThroughRef(arg, v);
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
        StoreThroughRef(*a[1], *Variant::Bool(handled));
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
