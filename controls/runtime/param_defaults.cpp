#include "param_defaults.h"

#include "com_ptr.h"
#include "vtable_side.h"

namespace lumio {

std::vector<std::optional<Variant>> ParamDefaults(ITypeLib* lib, const IID& iid, DISPID id, INVOKEKIND kind) {
    std::vector<std::optional<Variant>> out;
    ComPtr<ITypeInfo> info = VtableSide(lib, iid);
    if (!info) return out;
    UINT index = 0;
    if (ComPtr<ITypeInfo2> info2 = info.As<ITypeInfo2>()) {
        if (FAILED(info2->GetFuncIndexOfMemId(id, kind, &index))) return out;
    } else {
        return out;
    }
    FUNCDESC* fd = nullptr;
    if (FAILED(info->GetFuncDesc(index, &fd))) return out;
    for (SHORT p = 0; p < fd->cParams; ++p) {
        const PARAMDESC& pd = fd->lprgelemdescParam[p].paramdesc;
        if (pd.wParamFlags & PARAMFLAG_FRETVAL) break;
        if ((pd.wParamFlags & PARAMFLAG_FHASDEFAULT) && pd.pparamdescex) {
            out.emplace_back(Variant(pd.pparamdescex->varDefaultValue));
        } else if (pd.wParamFlags & PARAMFLAG_FOPT) {
            Variant missing;
            missing->vt = VT_ERROR;
            missing->scode = DISP_E_PARAMNOTFOUND;
            out.emplace_back(std::move(missing));
        } else {
            out.emplace_back(std::nullopt);
        }
    }
    info->ReleaseFuncDesc(fd);
    return out;
}

}  // namespace lumio
