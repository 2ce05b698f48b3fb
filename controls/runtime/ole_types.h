#pragma once
// Owning wrappers of the automation value types.
#include <oaidl.h>
#include <oleauto.h>

#include <string>
#include <utility>

namespace lumio {

class Bstr {
public:
    Bstr() = default;
    explicit Bstr(const std::wstring& s) : b_(SysAllocStringLen(s.data(), static_cast<UINT>(s.size()))) {}
    explicit Bstr(const wchar_t* s) : b_(SysAllocString(s)) {}
    Bstr(const Bstr& o) : b_(o.b_ ? SysAllocStringLen(o.b_, SysStringLen(o.b_)) : nullptr) {}
    Bstr(Bstr&& o) noexcept : b_(std::exchange(o.b_, nullptr)) {}
    Bstr& operator=(Bstr o) noexcept {
        std::swap(b_, o.b_);
        return *this;
    }
    ~Bstr() { SysFreeString(b_); }
    BSTR get() const { return b_; }
    BSTR* put() {
        SysFreeString(b_);
        b_ = nullptr;
        return &b_;
    }
    BSTR detach() { return std::exchange(b_, nullptr); }
    std::wstring str() const { return b_ ? std::wstring(b_, SysStringLen(b_)) : std::wstring(); }

private:
    BSTR b_ = nullptr;
};

class Variant {
public:
    Variant() { VariantInit(&v_); }
    Variant(const VARIANT& v) {
        VariantInit(&v_);
        VariantCopy(&v_, const_cast<VARIANT*>(&v));
    }
    Variant(const Variant& o) : Variant(o.v_) {}
    Variant(Variant&& o) noexcept {
        v_ = o.v_;
        VariantInit(&o.v_);
    }
    Variant& operator=(const Variant& o) {
        if (this != &o) VariantCopy(&v_, const_cast<VARIANT*>(&o.v_));
        return *this;
    }
    Variant& operator=(Variant&& o) noexcept {
        if (this != &o) {
            VariantClear(&v_);
            v_ = o.v_;
            VariantInit(&o.v_);
        }
        return *this;
    }
    ~Variant() { VariantClear(&v_); }

    static Variant Int(short x) { Variant r; r.v_.vt = VT_I2; r.v_.iVal = x; return r; }
    static Variant Long(long x) { Variant r; r.v_.vt = VT_I4; r.v_.lVal = x; return r; }
    static Variant Single(float x) { Variant r; r.v_.vt = VT_R4; r.v_.fltVal = x; return r; }
    static Variant Double(double x) { Variant r; r.v_.vt = VT_R8; r.v_.dblVal = x; return r; }
    static Variant Bool(bool x) { Variant r; r.v_.vt = VT_BOOL; r.v_.boolVal = x ? VARIANT_TRUE : VARIANT_FALSE; return r; }
    static Variant String(const std::wstring& s) {
        Variant r;
        r.v_.vt = VT_BSTR;
        r.v_.bstrVal = SysAllocStringLen(s.data(), static_cast<UINT>(s.size()));
        return r;
    }
    // Holds a reference of its own; nullptr gives an object variant of nothing.
    static Variant Object(IDispatch* p) {
        Variant r;
        r.v_.vt = VT_DISPATCH;
        r.v_.pdispVal = p;
        if (p) p->AddRef();
        return r;
    }
    static Variant Unknown(IUnknown* p) {
        Variant r;
        r.v_.vt = VT_UNKNOWN;
        r.v_.punkVal = p;
        if (p) p->AddRef();
        return r;
    }

    VARIANT* get() { return &v_; }
    const VARIANT* get() const { return &v_; }
    VARIANT& operator*() { return v_; }
    const VARIANT& operator*() const { return v_; }
    VARIANT* operator->() { return &v_; }
    const VARIANT* operator->() const { return &v_; }
    VARTYPE vt() const { return v_.vt; }
    // Cleared for an out-parameter.
    VARIANT* put() {
        VariantClear(&v_);
        return &v_;
    }
    VARIANT detach() {
        VARIANT r = v_;
        VariantInit(&v_);
        return r;
    }

private:
    VARIANT v_;
};

}  // namespace lumio
