#pragma once
// The vtable side of the library's dual interfaces. Each generated class
// (lumiokit_dual.h) derives from DualTearOff and turns every slot into a call
// of the control's own IDispatch::Invoke, so both ways into a control run the
// same code and report errors alike. A tear-off holds the control; its
// identity (QueryInterface for anything else) is the control's.
#include <windows.h>
#include <oaidl.h>
#include <ocidl.h>
#include <olectl.h>

#include <cstring>
#include <iterator>
#include <new>
#include <type_traits>

namespace lumio::tlb::dual {

#ifdef _WIN64
inline constexpr VARTYPE VT_LPTR = VT_I8;
#else
inline constexpr VARTYPE VT_LPTR = VT_I4;
#endif

// One slot of a dual interface after IDispatch: what the type library must
// say about it. Parameter types are leaf VARTYPE + 0x1000 per pointer level.
struct Slot {
    const wchar_t* name;
    DISPID id;
    INVOKEKIND kind;
    const unsigned short* params;
    int param_count;
};
struct Interface {
    const IID* iid;
    const wchar_t* name;
    const Slot* slots;
    int slot_count;
};

// A value argument: the bits of x in a variant of type VT, nothing owned.
template <VARTYPE VT, class T>
VARIANT In(T x) {
    static_assert(sizeof(T) <= sizeof(LONGLONG) && std::is_trivially_copyable_v<T>);
    VARIANT v{};
    V_VT(&v) = VT;
    std::memcpy(&V_I8(&v), &x, sizeof x);
    return v;
}
inline VARIANT In(const VARIANT& x) { return x; }

// A by-reference argument: the callee writes straight into the caller's variable.
template <VARTYPE VT, class T>
VARIANT Ref(T* p) {
    VARIANT v{};
    V_VT(&v) = VT | VT_BYREF;
    V_BYREF(&v) = p;
    return v;
}

inline HRESULT QueryAs(IDispatch* d, IDispatch** out) {
    *out = d;
    if (d) d->AddRef();
    return S_OK;
}
inline HRESULT QueryAs(IDispatch* d, IFontDisp** out) {
    return d ? d->QueryInterface(IID_IFontDisp, reinterpret_cast<void**>(out)) : S_OK;
}
inline HRESULT QueryAs(IDispatch* d, IPictureDisp** out) {
    return d ? d->QueryInterface(IID_IPictureDisp, reinterpret_cast<void**>(out)) : S_OK;
}

// Moves a result into *out as the slot's type; r is consumed.
template <VARTYPE VT, class T>
HRESULT Unpack(VARIANT& r, T* out) {
    if constexpr (VT == VT_VARIANT) {
        *out = r;
        return S_OK;
    } else if constexpr (VT == VT_DISPATCH) {
        *out = nullptr;
        HRESULT hr = V_VT(&r) == VT_EMPTY ? S_OK : VariantChangeType(&r, &r, 0, VT_DISPATCH);
        if (SUCCEEDED(hr) && V_VT(&r) == VT_DISPATCH) hr = QueryAs(V_DISPATCH(&r), out);
        VariantClear(&r);
        return hr;
    } else {
        // Colours come back as signed or unsigned 32-bit values; the bits are the colour.
        HRESULT hr = VT == VT_I4 && V_VT(&r) == VT_UI4 ? S_OK : VariantChangeType(&r, &r, 0, VT);
        if (FAILED(hr)) {
            VariantClear(&r);
            return hr;
        }
        std::memcpy(out, &V_I8(&r), sizeof(T));  // a string's ownership passes to the caller
        return S_OK;
    }
}

template <class Self>
class DualTearOff : public IDispatch {
public:
    explicit DualTearOff(IDispatch* control) : control_(control) { control_->AddRef(); }
    DualTearOff(const DualTearOff&) = delete;
    DualTearOff& operator=(const DualTearOff&) = delete;

    static HRESULT Create(IDispatch* control, void** out) {
        auto* self = new (std::nothrow) Self(control);
        *out = static_cast<IDispatch*>(self);
        return self ? S_OK : E_OUTOFMEMORY;
    }

    STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
        if (!out) return E_POINTER;
        if (iid == Self::Iid()) {
            *out = static_cast<IDispatch*>(this);
            AddRef();
            return S_OK;
        }
        return control_->QueryInterface(iid, out);
    }
    STDMETHODIMP_(ULONG) AddRef() override { return InterlockedIncrement(&refs_); }
    STDMETHODIMP_(ULONG) Release() override {
        LONG r = InterlockedDecrement(&refs_);
        if (r == 0) {
            control_->Release();
            delete static_cast<Self*>(this);
        }
        return r;
    }
    STDMETHODIMP GetTypeInfoCount(UINT* n) override { return control_->GetTypeInfoCount(n); }
    STDMETHODIMP GetTypeInfo(UINT i, LCID lcid, ITypeInfo** out) override {
        return control_->GetTypeInfo(i, lcid, out);
    }
    STDMETHODIMP GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT n, LCID lcid, DISPID* ids) override {
        return control_->GetIDsOfNames(iid, names, n, lcid, ids);
    }
    STDMETHODIMP Invoke(DISPID id, REFIID iid, LCID lcid, WORD flags, DISPPARAMS* p, VARIANT* r, EXCEPINFO* e,
                        UINT* a) override {
        return control_->Invoke(id, iid, lcid, flags, p, r, e, a);
    }

protected:
    ~DualTearOff() = default;

    // Arguments in declaration order; a property write's value last.
    template <class... V>
    HRESULT Call(DISPID id, WORD flags, VARIANT* result, V... args) {
        constexpr UINT n = sizeof...(V);
        VARIANT given[n + 1] = {args...};
        VARIANT rg[n + 1];
        for (UINT i = 0; i < n; ++i) rg[i] = given[n - 1 - i];
        DISPID put = DISPID_PROPERTYPUT;
        bool is_put = flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF);
        DISPPARAMS dp{n ? rg : nullptr, is_put ? &put : nullptr, n, is_put ? 1u : 0u};
        EXCEPINFO info{};
        HRESULT hr = control_->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &dp, result, &info, nullptr);
        if (hr == DISP_E_EXCEPTION) {
            // The error object is already set; the slot returns the error's own code.
            if (info.pfnDeferredFillIn) info.pfnDeferredFillIn(&info);
            hr = info.scode ? info.scode : MAKE_HRESULT(SEVERITY_ERROR, FACILITY_CONTROL, info.wCode);
            SysFreeString(info.bstrSource);
            SysFreeString(info.bstrDescription);
            SysFreeString(info.bstrHelpFile);
        }
        return hr;
    }
    template <VARTYPE VT, class T, class... V>
    HRESULT Get(DISPID id, WORD flags, T* out, V... args) {
        if (!out) return E_POINTER;
        *out = T{};  // nothing for the caller to free on failure
        VARIANT r;
        VariantInit(&r);
        HRESULT hr = Call(id, flags, &r, args...);
        if (FAILED(hr)) {
            VariantClear(&r);
            return hr;
        }
        return Unpack<VT>(r, out);
    }

private:
    IDispatch* control_;
    LONG refs_ = 1;
};

}  // namespace lumio::tlb::dual
