#include "member_types.h"

#include <cstring>
#include <map>
#include <mutex>
#include <tuple>

#include "com_ptr.h"
#include "variant_convert.h"
#include "vtable_side.h"

namespace lumio {

namespace {

VARTYPE LookUp(ITypeLib* lib, const IID& iid, DISPID id, INVOKEKIND kind) {
    ComPtr<ITypeInfo> info = VtableSide(lib, iid);
    ComPtr<ITypeInfo2> info2 = info ? info.As<ITypeInfo2>() : ComPtr<ITypeInfo2>();
    UINT index = 0;
    if (!info2 || FAILED(info2->GetFuncIndexOfMemId(id, kind, &index))) return VT_EMPTY;
    FUNCDESC* fd = nullptr;
    if (FAILED(info->GetFuncDesc(index, &fd))) return VT_EMPTY;
    VARTYPE vt = VT_EMPTY;
    const TYPEDESC* result = &fd->elemdescFunc.tdesc;
    for (SHORT p = 0; p < fd->cParams; ++p)
        if (fd->lprgelemdescParam[p].paramdesc.wParamFlags & PARAMFLAG_FRETVAL) {
            const TYPEDESC& out = fd->lprgelemdescParam[p].tdesc;
            result = out.vt == VT_PTR ? out.lptdesc : nullptr;
        }
    if (result && result->vt != VT_HRESULT && result->vt != VT_VOID) vt = VariantTypeOf(info.get(), *result);
    info->ReleaseFuncDesc(fd);
    return vt == VT_VARIANT ? VARTYPE(VT_EMPTY) : vt;
}

struct Key {
    GUID iid;
    DISPID id;
    INVOKEKIND kind;
    bool operator<(const Key& o) const {
        if (int c = std::memcmp(&iid, &o.iid, sizeof iid)) return c < 0;
        return std::tie(id, kind) < std::tie(o.id, o.kind);
    }
};

}  // namespace

VARTYPE VariantTypeOf(ITypeInfo* context, const TYPEDESC& t) {
    if (t.vt == VT_PTR && t.lptdesc && t.lptdesc->vt == VT_USERDEFINED) {
        // A pointer to an interface is the interface itself in a variant.
        const VARTYPE inner = VariantTypeOf(context, *t.lptdesc);
        return inner == VT_DISPATCH || inner == VT_UNKNOWN ? inner : VARTYPE(VT_BYREF | inner);
    }
    if (t.vt != VT_USERDEFINED) return t.vt;
    ComPtr<ITypeInfo> ref;
    if (!context || FAILED(context->GetRefTypeInfo(t.hreftype, ref.put()))) return VT_EMPTY;
    TYPEATTR* attr = nullptr;
    if (FAILED(ref->GetTypeAttr(&attr))) return VT_EMPTY;
    VARTYPE vt = VT_EMPTY;
    switch (attr->typekind) {
    case TKIND_ENUM: vt = VT_I4; break;
    case TKIND_ALIAS: vt = VariantTypeOf(ref.get(), attr->tdescAlias); break;
    case TKIND_DISPATCH:
    case TKIND_COCLASS: vt = VT_DISPATCH; break;
    case TKIND_INTERFACE: vt = (attr->wTypeFlags & TYPEFLAG_FDISPATCHABLE) ? VT_DISPATCH : VT_UNKNOWN; break;
    case TKIND_RECORD: vt = VT_RECORD; break;
    default: break;
    }
    ref->ReleaseTypeAttr(attr);
    return vt;
}

VARTYPE DeclaredResultType(ITypeLib* lib, const IID& iid, DISPID id, INVOKEKIND kind) {
    static std::mutex lock;
    static std::map<Key, VARTYPE> known;
    const Key key{iid, id, kind};
    std::lock_guard<std::mutex> hold(lock);
    auto it = known.find(key);
    if (it == known.end()) it = known.emplace(key, LookUp(lib, iid, id, kind)).first;
    return it->second;
}

void ConvertToDeclared(Variant& v, VARTYPE vt) {
    if (vt == VT_EMPTY || v.vt() == vt) return;
    VARIANT& x = *v;
    if ((vt == VT_I4 && x.vt == VT_UI4) || (vt == VT_UI4 && x.vt == VT_I4)) {
        x.vt = vt;  // the same 32 bits
        return;
    }
    if ((vt == VT_DISPATCH || vt == VT_UNKNOWN) && (x.vt == VT_EMPTY || x.vt == VT_NULL)) {
        v = vt == VT_DISPATCH ? Variant::Object(nullptr) : Variant::Unknown(nullptr);
        return;
    }
    HRESULT hr = VariantChangeType(&x, &x, 0, vt);
    if (FAILED(hr)) throw ArgError{hr};
}

}  // namespace lumio
