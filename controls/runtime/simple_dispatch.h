#pragma once
// A late-bound object built from a list of members: the host's extender,
// its forms and collections answer through it.
#include <oaidl.h>

#include <functional>
#include <string>
#include <vector>

#include "com_object.h"
#include "com_ptr.h"
#include "ole_types.h"

namespace lumio {

class SimpleDispatch : public ComObject<SimpleDispatch, IDispatch> {
public:
    struct Entry {
        DISPID id;
        std::wstring name;
        std::function<HRESULT(VARIANT* result)> get = {};
        std::function<HRESULT(const VARIANT& value)> put = {};
        // Arguments in call order.
        std::function<HRESULT(const std::vector<VARIANT*>& args, VARIANT* result)> call = {};
    };

    static ComPtr<SimpleDispatch> Create();
    void Add(Entry entry) { entries_.push_back(std::move(entry)); }
    // Members this object lacks are looked up on the object fallback gives.
    void SetFallback(std::function<ComPtr<IDispatch>()> fallback) { fallback_ = std::move(fallback); }

    STDMETHODIMP GetTypeInfoCount(UINT* count) override;
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo** out) override;
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override;
    STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result, EXCEPINFO* info,
                        UINT* arg_err) override;

private:
    SimpleDispatch() = default;
    ~SimpleDispatch() override = default;
    const Entry* Find(DISPID id) const;

    std::vector<Entry> entries_;
    std::function<ComPtr<IDispatch>()> fallback_;
};

// Late-bound helpers for the callers of such objects.
HRESULT GetProperty(IDispatch* obj, const wchar_t* name, Variant& value);
HRESULT PutProperty(IDispatch* obj, const wchar_t* name, const Variant& value);
HRESULT GetPropertyById(IDispatch* obj, DISPID id, Variant& value);
HRESULT PutPropertyById(IDispatch* obj, DISPID id, const Variant& value);

}  // namespace lumio
