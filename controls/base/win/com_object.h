#pragma once
// QueryInterface, AddRef and Release for a heap object implementing the
// listed interfaces. It starts with one reference, the creator's, and deletes
// itself on the last Release. A class answering more identifiers than those
// of the listed interfaces (an interface's bases, an identifier known only at
// run time) defines its own `void* Interface(REFIID)` and passes the rest on
// to ComInterfaces::Interface. A part counted through the object that owns it
// takes ComInterfaces alone and forwards AddRef and Release.
#include <objbase.h>

namespace lumio {

template <class Derived, class Primary, class... Others>
class ComInterfaces : public Primary, public Others... {
public:
    ComInterfaces() = default;
    ComInterfaces(const ComInterfaces&) = delete;
    ComInterfaces& operator=(const ComInterfaces&) = delete;

    STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
        if (!out) return E_POINTER;
        *out = static_cast<Derived*>(this)->Interface(iid);
        if (!*out) return E_NOINTERFACE;
        static_cast<Primary*>(this)->AddRef();
        return S_OK;
    }

    // IUnknown and each listed interface by its own identifier.
    void* Interface(REFIID iid) {
        if (IsEqualIID(iid, IID_IUnknown)) return static_cast<Primary*>(this);
        void* p = Match<Primary>(iid);
        ((p = p ? p : Match<Others>(iid)), ...);
        return p;
    }

protected:
    ~ComInterfaces() = default;

private:
    template <class I>
    void* Match(REFIID iid) {
        return IsEqualIID(iid, __uuidof(I)) ? static_cast<I*>(this) : nullptr;
    }
};

template <class Derived, class Primary, class... Others>
class ComObject : public ComInterfaces<Derived, Primary, Others...> {
public:
    STDMETHODIMP_(ULONG) AddRef() override { return InterlockedIncrement(&refs_); }
    STDMETHODIMP_(ULONG) Release() override {
        const LONG r = InterlockedDecrement(&refs_);
        if (!r) delete this;
        return r;
    }

protected:
    virtual ~ComObject() = default;

private:
    LONG refs_ = 1;
};

}  // namespace lumio
