// IDispatch served from the class's member table, connection points, class
// information and error information.
#include "com_errors.h"
#include "control_base.h"
#include "class_table.h"
#include "member_types.h"
#include "param_defaults.h"

namespace lumio {

STDMETHODIMP ControlBase::GetTypeInfoCount(UINT* count) {
    if (!count) return E_POINTER;
    *count = LumiokitTypeLib() ? 1 : 0;
    return S_OK;
}

STDMETHODIMP ControlBase::GetTypeInfo(UINT index, LCID, ITypeInfo** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (index != 0) return DISP_E_BADINDEX;
    ITypeLib* lib = LumiokitTypeLib();
    if (!lib) return E_NOTIMPL;
    return lib->GetTypeInfoOfGuid(*info_.dispatch_iid, out);
}

STDMETHODIMP ControlBase::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
    if (!names || !ids) return E_POINTER;
    if (count == 0) return S_OK;
    HRESULT hr = S_OK;
    const Member* m = info_.members ? info_.members->FindByName(names[0]) : nullptr;
    ids[0] = m ? m->id : DISPID_UNKNOWN;
    if (!m) hr = DISP_E_UNKNOWNNAME;
    // Named arguments are not offered.
    for (UINT i = 1; i < count; ++i) {
        ids[i] = DISPID_UNKNOWN;
        hr = DISP_E_UNKNOWNNAME;
    }
    return hr;
}

namespace {

bool IsMissing(const VARIANT& v) { return v.vt == VT_ERROR && v.scode == DISP_E_PARAMNOTFOUND; }

// The first n arguments in call order (DISPPARAMS holds them last first).
MemberArgs InCallOrder(const DISPPARAMS& p, UINT n) {
    MemberArgs args;
    for (UINT i = 0; i < n; ++i) args.push_back(&p.rgvarg[p.cArgs - 1 - i]);
    return args;
}

}  // namespace

// Fills in what the caller left out (trailing arguments or "missing" ones)
// from the type library's defaults; false when a required one is missing.
bool ControlBase::CompleteArguments(const Member& m, MemberArgs& args, std::vector<Variant>& keep) const {
    bool complete = args.size() == m.arg_count;
    for (const VARIANT* a : args) complete = complete && !IsMissing(*a);
    if (complete) return true;
    std::vector<std::optional<Variant>> defaults =
        ParamDefaults(LumiokitTypeLib(), *info_.dispatch_iid, m.id, INVOKE_FUNC);
    if (defaults.size() != m.arg_count) return false;
    keep.reserve(m.arg_count);  // the pointers below stay valid
    for (size_t i = 0; i < m.arg_count; ++i) {
        if (i < args.size() && !IsMissing(*args[i])) continue;
        if (!defaults[i]) return false;
        keep.push_back(*defaults[i]);
        if (i < args.size()) args[i] = keep.back().get();
        else args.push_back(keep.back().get());
    }
    return true;
}

STDMETHODIMP ControlBase::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                                 EXCEPINFO* info, UINT* arg_err) {
    const Member* m = info_.members ? info_.members->Find(id) : nullptr;
    if (!m) return DISP_E_MEMBERNOTFOUND;
    DISPPARAMS none{};
    if (!params) params = &none;
    // Keep the control alive through whatever the member calls.
    ComPtr<IOleObject> keep(static_cast<IOleObject*>(this));
    try {
        if (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) {
            auto& setter = (flags & DISPATCH_PROPERTYPUTREF) && m->putref ? m->putref : m->put;
            if (!setter) return DISP_E_MEMBERNOTFOUND;
            if (params->cArgs != m->index_count + 1) return DISP_E_BADPARAMCOUNT;
            if (params->cNamedArgs != 1 || params->rgdispidNamedArgs[0] != DISPID_PROPERTYPUT) return DISP_E_PARAMNOTOPTIONAL;
            // The value is rgvarg[0]; the index arguments come before it in call order.
            MemberArgs index;
            for (UINT i = params->cArgs; i > 1; --i) index.push_back(&params->rgvarg[i - 1]);
            setter(*this, index, params->rgvarg[0]);
            return S_OK;
        }
        if (params->cNamedArgs) return DISP_E_NONAMEDARGS;
        if ((flags & DISPATCH_PROPERTYGET) && m->get) {
            if (params->cArgs != m->index_count) return DISP_E_BADPARAMCOUNT;
            Variant v = m->get(*this, InCallOrder(*params, params->cArgs));
            ConvertToDeclared(v, DeclaredResultType(LumiokitTypeLib(), *info_.dispatch_iid, m->id, INVOKE_PROPERTYGET));
            if (result) *result = v.detach();
            return S_OK;
        }
        if ((flags & DISPATCH_METHOD) && m->call) {
            if (params->cArgs > m->arg_count) return DISP_E_BADPARAMCOUNT;
            MemberArgs args = InCallOrder(*params, params->cArgs);
            std::vector<Variant> defaults;
            if (!CompleteArguments(*m, args, defaults))
                return params->cArgs < m->arg_count ? DISP_E_BADPARAMCOUNT : DISP_E_PARAMNOTOPTIONAL;
            Variant v = m->call(*this, args);
            ConvertToDeclared(v, DeclaredResultType(LumiokitTypeLib(), *info_.dispatch_iid, m->id, INVOKE_FUNC));
            if (result) *result = v.detach();
            return S_OK;
        }
        if ((flags & DISPATCH_METHOD) && m->get && params->cArgs == m->index_count) {
            Variant v = m->get(*this, InCallOrder(*params, params->cArgs));
            ConvertToDeclared(v, DeclaredResultType(LumiokitTypeLib(), *info_.dispatch_iid, m->id, INVOKE_PROPERTYGET));
            if (result) *result = v.detach();
            return S_OK;
        }
        return DISP_E_MEMBERNOTFOUND;
    } catch (const ArgError& e) {
        if (arg_err) *arg_err = 0;
        return e.hr;
    } catch (const RunTimeError&) {
        CurrentExceptionResult(*info_.dispatch_iid, info);
        return DISP_E_EXCEPTION;
    } catch (...) {
        return CurrentExceptionResult(*info_.dispatch_iid, info);
    }
}

STDMETHODIMP ControlBase::EnumConnectionPoints(IEnumConnectionPoints** out) {
    std::vector<IConnectionPoint*> points;
    if (info_.events_iid) points.push_back(events_cp_.get());
    points.push_back(notify_cp_.get());
    return CreateConnectionPointEnum(points, out);
}

STDMETHODIMP ControlBase::FindConnectionPoint(REFIID iid, IConnectionPoint** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    ConnectionPoint* cp = nullptr;
    if (info_.events_iid && iid == *info_.events_iid) cp = events_cp_.get();
    else if (iid == IID_IPropertyNotifySink) cp = notify_cp_.get();
    if (!cp) return CONNECT_E_NOCONNECTION;
    *out = cp;
    cp->AddRef();
    return S_OK;
}

STDMETHODIMP ControlBase::GetClassInfo(ITypeInfo** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    ITypeLib* lib = LumiokitTypeLib();
    if (!lib) return E_NOTIMPL;
    return lib->GetTypeInfoOfGuid(*info_.clsid, out);
}

STDMETHODIMP ControlBase::GetGUID(DWORD kind, GUID* guid) {
    if (!guid) return E_POINTER;
    if (kind != GUIDKIND_DEFAULT_SOURCE_DISP_IID || !info_.events_iid) {
        *guid = GUID_NULL;
        return E_INVALIDARG;
    }
    *guid = *info_.events_iid;
    return S_OK;
}

STDMETHODIMP ControlBase::InterfaceSupportsErrorInfo(REFIID iid) {
    return iid == *info_.dispatch_iid || iid == IID_IDispatch ? S_OK : S_FALSE;
}

}  // namespace lumio
