#pragma once
// Owners of the GDI and USER handles the frame and its menu bar keep.
#include <windows.h>

#include <utility>

namespace lumio {

template <class H>
class GdiObject {
public:
    GdiObject() = default;
    explicit GdiObject(H h) : h_(h) {}
    GdiObject(const GdiObject&) = delete;
    GdiObject& operator=(const GdiObject&) = delete;
    ~GdiObject() { reset(); }
    void reset(H h = nullptr) {
        if (h_ && h_ != h) DeleteObject(h_);
        h_ = h;
    }
    H get() const { return h_; }
    // For routines that replace the handle themselves (EnsureCompatibleBitmap).
    H& ref() { return h_; }
    H release() { return std::exchange(h_, nullptr); }
    explicit operator bool() const { return h_ != nullptr; }

private:
    H h_ = nullptr;
};

class MemoryDc {
public:
    MemoryDc() = default;
    MemoryDc(const MemoryDc&) = delete;
    MemoryDc& operator=(const MemoryDc&) = delete;
    ~MemoryDc() { reset(); }
    // A DC compatible with the screen, background mode transparent.
    void create() {
        reset();
        dc_ = CreateCompatibleDC(nullptr);
        if (dc_) {
            SetBkMode(dc_, TRANSPARENT);
            stock_bitmap_ = GetCurrentObject(dc_, OBJ_BITMAP);
            stock_font_ = GetCurrentObject(dc_, OBJ_FONT);
        }
    }
    // Puts the stock objects back first, so a bitmap or font selected here can be deleted afterwards.
    void reset() {
        if (!dc_) return;
        SelectObject(dc_, stock_bitmap_);
        SelectObject(dc_, stock_font_);
        DeleteDC(dc_);
        dc_ = nullptr;
    }
    HDC get() const { return dc_; }
    HGDIOBJ stock_bitmap() const { return stock_bitmap_; }
    explicit operator bool() const { return dc_ != nullptr; }

private:
    HDC dc_ = nullptr;
    HGDIOBJ stock_bitmap_ = nullptr, stock_font_ = nullptr;
};

// The window DC of one window, released when it goes.
class WindowDc {
public:
    explicit WindowDc(HWND hWnd) : hwnd_(hWnd), dc_(GetWindowDC(hWnd)) {}
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    ~WindowDc() {
        if (dc_) {
            SelectClipRgn(dc_, nullptr);
            ReleaseDC(hwnd_, dc_);
        }
    }
    HDC get() const { return dc_; }

private:
    HWND hwnd_;
    HDC dc_;
};

// Keeps one object selected into a DC for a scope.
class Selected {
public:
    Selected(HDC dc, HGDIOBJ obj) : dc_(dc), old_(dc && obj ? SelectObject(dc, obj) : nullptr) {}
    Selected(const Selected&) = delete;
    Selected& operator=(const Selected&) = delete;
    ~Selected() {
        if (old_) SelectObject(dc_, old_);
    }

private:
    HDC dc_;
    HGDIOBJ old_;
};

class OwnedIcon {
public:
    OwnedIcon() = default;
    OwnedIcon(const OwnedIcon&) = delete;
    OwnedIcon& operator=(const OwnedIcon&) = delete;
    ~OwnedIcon() { reset(); }
    void reset(HICON h = nullptr) {
        if (h_ && h_ != h) DestroyIcon(h_);
        h_ = h;
    }
    HICON get() const { return h_; }

private:
    HICON h_ = nullptr;
};

}  // namespace lumio
