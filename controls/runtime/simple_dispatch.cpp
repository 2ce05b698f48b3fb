#include "simple_dispatch.h"

namespace lumio {

ComPtr<SimpleDispatch> SimpleDispatch::Create() { return ComPtr<SimpleDispatch>::Attach(new SimpleDispatch()); }

STDMETHODIMP SimpleDispatch::GetTypeInfoCount(UINT* count) {
    if (!count) return E_POINTER;
    *count = 0;
    return S_OK;
}

STDMETHODIMP SimpleDispatch::GetTypeInfo(UINT, LCID, ITypeInfo** out) {
    if (out) *out = nullptr;
    return E_NOTIMPL;
}

const SimpleDispatch::Entry* SimpleDispatch::Find(DISPID id) const {
    for (auto& e : entries_)
        if (e.id == id) return &e;
    return nullptr;
}

STDMETHODIMP SimpleDispatch::GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID lcid, DISPID* ids) {
    if (!names || !ids) return E_POINTER;
    if (!count) return S_OK;
    for (auto& e : entries_)
        if (CompareStringOrdinal(e.name.c_str(), -1, names[0], -1, TRUE) == CSTR_EQUAL) {
            ids[0] = e.id;
            for (UINT i = 1; i < count; ++i) ids[i] = DISPID_UNKNOWN;
            return count == 1 ? S_OK : DISP_E_UNKNOWNNAME;
        }
    if (fallback_)
        if (ComPtr<IDispatch> other = fallback_()) return other->GetIDsOfNames(riid, names, count, lcid, ids);
    for (UINT i = 0; i < count; ++i) ids[i] = DISPID_UNKNOWN;
    return DISP_E_UNKNOWNNAME;
}

STDMETHODIMP SimpleDispatch::Invoke(DISPID id, REFIID riid, LCID lcid, WORD flags, DISPPARAMS* params,
                                    VARIANT* result, EXCEPINFO* info, UINT* arg_err) {
    const Entry* e = Find(id);
    if (!e) {
        if (fallback_)
            if (ComPtr<IDispatch> other = fallback_())
                return other->Invoke(id, riid, lcid, flags, params, result, info, arg_err);
        return DISP_E_MEMBERNOTFOUND;
    }
    DISPPARAMS none{};
    if (!params) params = &none;
    ComPtr<IDispatch> keep(this);
    try {
        if (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) {
            if (!e->put) return DISP_E_MEMBERNOTFOUND;
            if (params->cArgs != 1) return DISP_E_BADPARAMCOUNT;
            return e->put(params->rgvarg[0]);
        }
        Variant tmp;
        if (!result) result = tmp.get();
        if (e->call && (flags & DISPATCH_METHOD || params->cArgs > 0)) {
            std::vector<VARIANT*> args;
            for (UINT i = params->cArgs; i > 0; --i) args.push_back(&params->rgvarg[i - 1]);
            return e->call(args, result);
        }
        if (e->get) {
            if (params->cArgs) return DISP_E_BADPARAMCOUNT;
            return e->get(result);
        }
        return DISP_E_MEMBERNOTFOUND;
    } catch (...) {
        return E_UNEXPECTED;
    }
}

namespace {
HRESULT IdOf(IDispatch* obj, const wchar_t* name, DISPID& id) {
    if (!obj) return E_POINTER;
    LPOLESTR n = const_cast<LPOLESTR>(name);
    return obj->GetIDsOfNames(IID_NULL, &n, 1, LOCALE_USER_DEFAULT, &id);
}
}  // namespace

HRESULT GetPropertyById(IDispatch* obj, DISPID id, Variant& value) {
    if (!obj) return E_POINTER;
    DISPPARAMS none{};
    return obj->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET | DISPATCH_METHOD, &none, value.put(),
                       nullptr, nullptr);
}

HRESULT PutPropertyById(IDispatch* obj, DISPID id, const Variant& value) {
    if (!obj) return E_POINTER;
    DISPID named = DISPID_PROPERTYPUT;
    VARIANT arg = *value;
    WORD flags = (arg.vt == VT_DISPATCH || arg.vt == VT_UNKNOWN) ? DISPATCH_PROPERTYPUTREF : DISPATCH_PROPERTYPUT;
    DISPPARAMS params{&arg, &named, 1, 1};
    return obj->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, nullptr, nullptr, nullptr);
}

HRESULT GetProperty(IDispatch* obj, const wchar_t* name, Variant& value) {
    DISPID id;
    HRESULT hr = IdOf(obj, name, id);
    return FAILED(hr) ? hr : GetPropertyById(obj, id, value);
}

HRESULT PutProperty(IDispatch* obj, const wchar_t* name, const Variant& value) {
    DISPID id;
    HRESULT hr = IdOf(obj, name, id);
    return FAILED(hr) ? hr : PutPropertyById(obj, id, value);
}

}  // namespace lumio
