#pragma once
// Owners for libraries and global memory. GDI objects and device contexts:
// gdi_scope.h.
#include <windows.h>

#include <utility>

#include "gdi_scope.h"

namespace lumio {

// LoadLibrary .. FreeLibrary.
class LoadedLibrary {
public:
    LoadedLibrary() noexcept = default;
    explicit LoadedLibrary(HMODULE m) noexcept : module_(m) {}
    ~LoadedLibrary() { reset(); }
    LoadedLibrary(LoadedLibrary &&o) noexcept : module_(std::exchange(o.module_, nullptr)) {}
    LoadedLibrary &operator=(LoadedLibrary &&o) noexcept {
        if (this != &o) { reset(); module_ = std::exchange(o.module_, nullptr); }
        return *this;
    }
    HMODULE get() const noexcept { return module_; }
    explicit operator bool() const noexcept { return module_ != nullptr; }
    FARPROC proc(const char *name) const noexcept { return module_ ? GetProcAddress(module_, name) : nullptr; }
    // The export as the function type it really has; null when missing.
    // FARPROC is a placeholder: the cast goes through the generic function
    // pointer type, which converts to any other without a warning.
    template <class F>
    F proc_as(const char *name) const noexcept {
        return reinterpret_cast<F>(reinterpret_cast<void (*)()>(proc(name)));
    }
    void reset() noexcept { if (module_) FreeLibrary(std::exchange(module_, nullptr)); }

private:
    HMODULE module_ = nullptr;
};

// CreateFile .. CloseHandle. close() says whether the system took the last
// writes: a file written and then closed with an error is not saved.
class OwnedFile {
public:
    explicit OwnedFile(HANDLE h = INVALID_HANDLE_VALUE) noexcept : h_(h ? h : INVALID_HANDLE_VALUE) {}
    ~OwnedFile() { close(); }
    OwnedFile(const OwnedFile &) = delete;
    OwnedFile &operator=(const OwnedFile &) = delete;
    HANDLE get() const noexcept { return h_; }
    explicit operator bool() const noexcept { return h_ != INVALID_HANDLE_VALUE; }
    bool close() noexcept {
        if (h_ == INVALID_HANDLE_VALUE) return true;
        return CloseHandle(std::exchange(h_, INVALID_HANDLE_VALUE)) != FALSE;
    }

private:
    HANDLE h_;
};

// GlobalAlloc .. GlobalFree, unless ownership went to a stream.
class GlobalMemory {
public:
    GlobalMemory(UINT flags, SIZE_T bytes) noexcept : h_(GlobalAlloc(flags, bytes)) {}
    ~GlobalMemory() { if (h_) GlobalFree(h_); }
    GlobalMemory(const GlobalMemory &) = delete;
    GlobalMemory &operator=(const GlobalMemory &) = delete;
    HGLOBAL get() const noexcept { return h_; }
    HGLOBAL release() noexcept { return std::exchange(h_, nullptr); }

private:
    HGLOBAL h_;
};

// GlobalLock .. GlobalUnlock.
class GlobalLockGuard {
public:
    explicit GlobalLockGuard(HGLOBAL h) noexcept : h_(h), p_(h ? GlobalLock(h) : nullptr) {}
    ~GlobalLockGuard() { if (p_) GlobalUnlock(h_); }
    GlobalLockGuard(const GlobalLockGuard &) = delete;
    GlobalLockGuard &operator=(const GlobalLockGuard &) = delete;
    void *get() const noexcept { return p_; }

private:
    HGLOBAL h_;
    void *p_;
};

} // namespace lumio
