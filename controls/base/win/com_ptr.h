#pragma once
// Owning pointer to a COM interface.
#include <objbase.h>

#include <cstddef>
#include <utility>

namespace lumio {

template <class T>
class ComPtr {
public:
    ComPtr() = default;
    ComPtr(T* p) : p_(p) { if (p_) p_->AddRef(); }
    ComPtr(const ComPtr& o) : ComPtr(o.p_) {}
    ComPtr(ComPtr&& o) noexcept : p_(std::exchange(o.p_, nullptr)) {}
    ~ComPtr() { reset(); }
    ComPtr& operator=(const ComPtr& o) {
        ComPtr copy(o);
        std::swap(p_, copy.p_);
        return *this;
    }
    ComPtr& operator=(ComPtr&& o) noexcept {
        if (this != &o) {
            reset();
            p_ = std::exchange(o.p_, nullptr);
        }
        return *this;
    }
    // Takes over a reference the caller already owns.
    static ComPtr Attach(T* p) {
        ComPtr r;
        r.p_ = p;
        return r;
    }
    void reset() {
        if (T* p = std::exchange(p_, nullptr)) p->Release();
    }
    T* get() const { return p_; }
    T* operator->() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }
    friend bool operator==(const ComPtr& a, std::nullptr_t) { return a.p_ == nullptr; }
    // Out-parameter for calls that hand back a new reference.
    T** put() {
        reset();
        return &p_;
    }
    void** put_void() { return reinterpret_cast<void**>(put()); }
    T* detach() { return std::exchange(p_, nullptr); }
    // A new reference for an out-parameter.
    T* copy() const {
        if (p_) p_->AddRef();
        return p_;
    }
    template <class U>
    ComPtr<U> As() const {
        ComPtr<U> r;
        if (p_) p_->QueryInterface(__uuidof(U), r.put_void());
        return r;
    }
    template <class U>
    ComPtr<U> As(REFIID iid) const {
        ComPtr<U> r;
        if (p_) p_->QueryInterface(iid, r.put_void());
        return r;
    }

private:
    T* p_ = nullptr;
};

// Identity of two COM objects (their IUnknown).
inline bool SameObject(IUnknown* a, IUnknown* b) {
    if (a == b) return true;
    if (!a || !b) return false;
    ComPtr<IUnknown> ua = ComPtr<IUnknown>(a).As<IUnknown>();
    ComPtr<IUnknown> ub = ComPtr<IUnknown>(b).As<IUnknown>();
    return ua.get() == ub.get();
}

}  // namespace lumio
