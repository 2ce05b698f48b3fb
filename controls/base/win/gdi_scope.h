#pragma once
// Scoped GDI handles: each undoes exactly one acquisition (a created or
// borrowed DC, a created object, a selection). The library's one set of them.
// Libraries and global memory: win_handles.h.
#include <windows.h>

#include <utility>

namespace lumio::gdi {

// CreateDC / CreateCompatibleDC .. DeleteDC.
class OwnedDC {
public:
    explicit OwnedDC(HDC dc = nullptr) noexcept : dc_(dc) {}
    ~OwnedDC() { reset(); }
    OwnedDC(OwnedDC &&o) noexcept : dc_(std::exchange(o.dc_, nullptr)) {}
    OwnedDC &operator=(OwnedDC &&o) noexcept {
        if (this != &o) reset(std::exchange(o.dc_, nullptr));
        return *this;
    }
    HDC get() const noexcept { return dc_; }
    HDC release() noexcept { return std::exchange(dc_, nullptr); }
    void reset(HDC dc = nullptr) noexcept {
        if (HDC old = std::exchange(dc_, dc)) DeleteDC(old);
    }
    explicit operator bool() const noexcept { return dc_ != nullptr; }

private:
    HDC dc_;
};

// GetDC .. ReleaseDC: a window's device context for one operation; the
// screen's without a window.
class WindowDC {
public:
    explicit WindowDC(HWND hwnd = nullptr) noexcept : hwnd_(hwnd), dc_(GetDC(hwnd)) {}
    ~WindowDC() { if (dc_) ReleaseDC(hwnd_, dc_); }
    WindowDC(const WindowDC &) = delete;
    WindowDC &operator=(const WindowDC &) = delete;
    HDC get() const noexcept { return dc_; }

private:
    HWND hwnd_;
    HDC dc_;
};

// Any object that DeleteObject frees (bitmaps, brushes, pens, palettes,
// regions, fonts).
template <typename H>
class OwnedObject {
public:
    explicit OwnedObject(H h = nullptr) noexcept : h_(h) {}
    ~OwnedObject() { reset(); }
    OwnedObject(OwnedObject &&o) noexcept : h_(std::exchange(o.h_, nullptr)) {}
    OwnedObject &operator=(OwnedObject &&o) noexcept {
        if (this != &o) reset(std::exchange(o.h_, nullptr));
        return *this;
    }
    H get() const noexcept { return h_; }
    H release() noexcept { return std::exchange(h_, nullptr); }
    void reset(H h = nullptr) noexcept {
        H old = std::exchange(h_, h);
        if (old && old != h) DeleteObject(old);
    }
    explicit operator bool() const noexcept { return h_ != nullptr; }

private:
    H h_;
};

// SelectObject .. SelectObject of what it displaced. Declare it after the
// owners of the DC and the object so that it is undone before they go.
class Selection {
public:
    Selection(HDC dc, HGDIOBJ object) noexcept : dc_(dc), old_(dc && object ? SelectObject(dc, object) : nullptr) {}
    ~Selection() { if (old_) SelectObject(dc_, old_); }
    Selection(const Selection &) = delete;
    Selection &operator=(const Selection &) = delete;
    explicit operator bool() const noexcept { return old_ != nullptr; }

private:
    HDC dc_;
    HGDIOBJ old_;
};

// SelectPalette (background) and RealizePalette .. the old palette back, realised.
class PaletteSelection {
public:
    PaletteSelection(HDC dc, HPALETTE palette) noexcept
        : dc_(dc), old_(dc && palette ? SelectPalette(dc, palette, TRUE) : nullptr) {
        if (old_) RealizePalette(dc_);
    }
    ~PaletteSelection() {
        if (old_) {
            SelectPalette(dc_, old_, TRUE);
            RealizePalette(dc_);
        }
    }
    PaletteSelection(const PaletteSelection &) = delete;
    PaletteSelection &operator=(const PaletteSelection &) = delete;

private:
    HDC dc_;
    HPALETTE old_;
};

} // namespace lumio::gdi

namespace lumio {

// The screen's device context for one operation.
using ScreenDC = gdi::WindowDC;

} // namespace lumio
