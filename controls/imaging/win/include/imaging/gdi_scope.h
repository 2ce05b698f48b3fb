#pragma once
// Scoped GDI handles for the drawing routines of the image engine: each
// undoes exactly one acquisition (a selection, a created DC or object).
#include <windows.h>

#include <utility>

namespace lumio::gdi {

// CreateDC / CreateCompatibleDC .. DeleteDC.
class OwnedDC {
public:
    explicit OwnedDC(HDC dc = nullptr) noexcept : dc_(dc) {}
    ~OwnedDC() { if (dc_) DeleteDC(dc_); }
    OwnedDC(const OwnedDC &) = delete;
    OwnedDC &operator=(const OwnedDC &) = delete;
    HDC get() const noexcept { return dc_; }
    explicit operator bool() const noexcept { return dc_ != nullptr; }

private:
    HDC dc_;
};

// Any object that DeleteObject frees (bitmaps, brushes, palettes, regions).
template <typename H>
class OwnedObject {
public:
    explicit OwnedObject(H h = nullptr) noexcept : h_(h) {}
    ~OwnedObject() { if (h_) DeleteObject(h_); }
    OwnedObject(const OwnedObject &) = delete;
    OwnedObject &operator=(const OwnedObject &) = delete;
    H get() const noexcept { return h_; }
    H release() noexcept { return std::exchange(h_, nullptr); }
    void reset(H h = nullptr) noexcept {
        if (h_ && h_ != h) DeleteObject(h_);
        h_ = h;
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
