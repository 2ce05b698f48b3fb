#pragma once
// Per-thread state of the library, in place of the compiler's thread_local.
// With this toolchain thread_local keeps about 1.5 KB per load on every
// thread that touched it, freed only when the thread ends: a host that loads
// and frees the library on one thread would grow with every load. A slot
// gives its index back and frees every thread's value when it is destroyed,
// that is when the library is unloaded.
#include <windows.h>

#include <new>
#include <vector>

namespace lumio {

template <class T>
class ThreadSlot {
public:
    ThreadSlot() : index_(TlsAlloc()) { InitializeCriticalSection(&lock_); }
    ~ThreadSlot() {
        for (T* v : values_) delete v;
        if (index_ != TLS_OUT_OF_INDEXES) TlsFree(index_);
        DeleteCriticalSection(&lock_);
    }
    ThreadSlot(const ThreadSlot&) = delete;
    ThreadSlot& operator=(const ThreadSlot&) = delete;

    // This thread's value, made on first use. Throws std::bad_alloc when none
    // can be made.
    T& get() {
        if (index_ == TLS_OUT_OF_INDEXES) throw std::bad_alloc();
        if (auto* v = static_cast<T*>(TlsGetValue(index_))) return *v;
        auto* v = new T();
        EnterCriticalSection(&lock_);
        try {
            values_.push_back(v);
        } catch (...) {
            LeaveCriticalSection(&lock_);
            delete v;
            throw;
        }
        LeaveCriticalSection(&lock_);
        TlsSetValue(index_, v);
        return *v;
    }
    T* operator->() { return &get(); }

private:
    DWORD index_;
    CRITICAL_SECTION lock_;
    std::vector<T*> values_;  // every thread's, freed together
};

}  // namespace lumio
