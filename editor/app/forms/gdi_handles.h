#pragma once
// Owners for GDI objects and device contexts: each releases its handle once.
#include <windows.h>

#include <utility>

namespace forms {

template <class H>
class GdiObject {
public:
    GdiObject() = default;
    explicit GdiObject(H h) : h_(h) {}
    GdiObject(const GdiObject &) = delete;
    GdiObject &operator=(const GdiObject &) = delete;
    GdiObject(GdiObject &&o) noexcept : h_(std::exchange(o.h_, nullptr)) {}
    GdiObject &operator=(GdiObject &&o) noexcept {
        if (this != &o) reset(std::exchange(o.h_, nullptr));
        return *this;
    }
    ~GdiObject() { reset(); }
    void reset(H h = nullptr) {
        if (h_) DeleteObject(h_);
        h_ = h;
    }
    H get() const { return h_; }
    explicit operator bool() const { return h_ != nullptr; }

private:
    H h_ = nullptr;
};

// A window's (or the screen's, for nullptr) DC, released on scope exit.
class WindowDC {
public:
    explicit WindowDC(HWND w) : w_(w), dc_(GetDC(w)) {}
    WindowDC(const WindowDC &) = delete;
    WindowDC &operator=(const WindowDC &) = delete;
    ~WindowDC() {
        if (dc_) ReleaseDC(w_, dc_);
    }
    HDC get() const { return dc_; }

private:
    HWND w_;
    HDC dc_;
};

class MemoryDC {
public:
    explicit MemoryDC(HDC compatible) : dc_(CreateCompatibleDC(compatible)) {}
    MemoryDC(const MemoryDC &) = delete;
    MemoryDC &operator=(const MemoryDC &) = delete;
    ~MemoryDC() {
        if (dc_) DeleteDC(dc_);
    }
    HDC get() const { return dc_; }

private:
    HDC dc_;
};

// Selects an object into a DC and puts the previous one back on scope exit.
class Selection {
public:
    Selection(HDC dc, HGDIOBJ obj) : dc_(dc), old_(SelectObject(dc, obj)) {}
    Selection(const Selection &) = delete;
    Selection &operator=(const Selection &) = delete;
    ~Selection() {
        if (old_) SelectObject(dc_, old_);
    }

private:
    HDC dc_;
    HGDIOBJ old_;
};

} // namespace forms
