#pragma once
// Scoped GDI handles: each undoes exactly one acquisition (a created or
// borrowed DC, a created object, a selection). The library's one set of them.
// Libraries and global memory: win_handles.h.
#include <windows.h>

#include <utility>

namespace lumio::gdi {

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

// CreateCompatibleDC(screen) .. DeleteDC for a DC kept over time (a frame's
// or menu bar's back buffer): background mode transparent, and the stock
// bitmap and font selected back before it goes, so that what was selected
// into it can be deleted afterwards.
class MemoryDC {
public:
    MemoryDC() noexcept = default;
    ~MemoryDC() { reset(); }
    MemoryDC(const MemoryDC &) = delete;
    MemoryDC &operator=(const MemoryDC &) = delete;
    void create() noexcept {
        reset();
        dc_ = CreateCompatibleDC(nullptr);
        if (dc_) {
            SetBkMode(dc_, TRANSPARENT);
            stock_bitmap_ = GetCurrentObject(dc_, OBJ_BITMAP);
            stock_font_ = GetCurrentObject(dc_, OBJ_FONT);
        }
    }
    void reset() noexcept {
        if (!dc_) return;
        SelectObject(dc_, stock_bitmap_);
        SelectObject(dc_, stock_font_);
        DeleteDC(std::exchange(dc_, nullptr));
    }
    HDC get() const noexcept { return dc_; }
    HGDIOBJ stock_bitmap() const noexcept { return stock_bitmap_; }
    explicit operator bool() const noexcept { return dc_ != nullptr; }

private:
    HDC dc_ = nullptr;
    HGDIOBJ stock_bitmap_ = nullptr, stock_font_ = nullptr;
};

// GetWindowDC .. ReleaseDC: the whole window, frame included; its clip
// region is dropped before the DC goes back.
class WholeWindowDC {
public:
    explicit WholeWindowDC(HWND hwnd) noexcept : hwnd_(hwnd), dc_(GetWindowDC(hwnd)) {}
    ~WholeWindowDC() {
        if (dc_) {
            SelectClipRgn(dc_, nullptr);
            ReleaseDC(hwnd_, dc_);
        }
    }
    WholeWindowDC(const WholeWindowDC &) = delete;
    WholeWindowDC &operator=(const WholeWindowDC &) = delete;
    HDC get() const noexcept { return dc_; }

private:
    HWND hwnd_;
    HDC dc_;
};

// A handle that one function of the system frees; resetting to the handle
// it already owns keeps it.
template <class H, void (*Free)(H)>
class OwnedHandle {
public:
    explicit OwnedHandle(H h = nullptr) noexcept : h_(h) {}
    ~OwnedHandle() { reset(); }
    OwnedHandle(OwnedHandle &&o) noexcept : h_(std::exchange(o.h_, nullptr)) {}
    OwnedHandle &operator=(OwnedHandle &&o) noexcept {
        if (this != &o) reset(std::exchange(o.h_, nullptr));
        return *this;
    }
    H get() const noexcept { return h_; }
    H release() noexcept { return std::exchange(h_, nullptr); }
    void reset(H h = nullptr) noexcept {
        H old = std::exchange(h_, h);
        if (old && old != h) Free(old);
    }
    explicit operator bool() const noexcept { return h_ != nullptr; }

private:
    H h_;
};

namespace detail {
inline void FreeDC(HDC h) { DeleteDC(h); }
template <typename H>
void FreeObject(H h) { DeleteObject(h); }
inline void FreeIcon(HICON h) { DestroyIcon(h); }
inline void FreeEnhMetaFile(HENHMETAFILE h) { DeleteEnhMetaFile(h); }
} // namespace detail

// CreateDC / CreateCompatibleDC .. DeleteDC.
using OwnedDC = OwnedHandle<HDC, &detail::FreeDC>;
// Any object that DeleteObject frees (bitmaps, brushes, pens, palettes,
// regions, fonts).
template <typename H>
using OwnedObject = OwnedHandle<H, &detail::FreeObject<H>>;
// CreateIcon / CopyImage(IMAGE_ICON) / LoadImage(IMAGE_ICON) .. DestroyIcon.
using OwnedIcon = OwnedHandle<HICON, &detail::FreeIcon>;
// SetWinMetaFileBits / CopyEnhMetaFile .. DeleteEnhMetaFile.
using OwnedEnhMetaFile = OwnedHandle<HENHMETAFILE, &detail::FreeEnhMetaFile>;

// GetIconInfo .. the colour and mask bitmaps it made, deleted.
struct IconBitmaps {
    ICONINFO info{};
    IconBitmaps() noexcept = default;
    ~IconBitmaps() {
        if (info.hbmColor) DeleteObject(info.hbmColor);
        if (info.hbmMask) DeleteObject(info.hbmMask);
    }
    IconBitmaps(const IconBitmaps &) = delete;
    IconBitmaps &operator=(const IconBitmaps &) = delete;
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
