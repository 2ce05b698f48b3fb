#pragma once
// One counted reference to a COM-style object, released when it goes.
#include <unknwn.h>

#include <utility>

namespace lumio {

template <class T>
class ComRef {
public:
    ComRef() = default;
    explicit ComRef(T* p) : p_(p) {
        if (p_) p_->AddRef();
    }
    ComRef(const ComRef& o) : ComRef(o.p_) {}
    ComRef(ComRef&& o) noexcept : p_(std::exchange(o.p_, nullptr)) {}
    ComRef& operator=(ComRef o) noexcept {
        std::swap(p_, o.p_);
        return *this;
    }
    ~ComRef() {
        if (p_) p_->Release();
    }
    T* get() const { return p_; }
    T* operator->() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }

private:
    T* p_ = nullptr;
};

}  // namespace lumio
