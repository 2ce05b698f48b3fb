#pragma once
// The pixels a window shows, read back from its device context, and saved as
// a PNG screenshot to look at.
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "png_shot.h"

namespace shots {

struct Capture {
    int width = 0, height = 0;
    std::vector<uint8_t> bgra;  // top-down
    COLORREF At(int x, int y) const {
        const uint8_t* p = &bgra[(static_cast<size_t>(y) * width + x) * 4];
        return RGB(p[2], p[1], p[0]);
    }
    void Save(const std::wstring& name) const { ui::SavePng(name, width, height, bgra); }
};

// width x height pixels of dc from (x, y).
inline Capture CaptureDC(HDC dc, int width, int height, int x = 0, int y = 0) {
    Capture c;
    c.width = width;
    c.height = height;
    BITMAPINFO bi{};
    bi.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP dib = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC mem = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(mem, dib);
    BitBlt(mem, 0, 0, width, height, dc, x, y, SRCCOPY);
    GdiFlush();
    c.bgra.assign(static_cast<const uint8_t*>(bits), static_cast<const uint8_t*>(bits) + size_t(width) * height * 4);
    SelectObject(mem, old);
    DeleteDC(mem);
    DeleteObject(dib);
    return c;
}

// The client area.
inline Capture CaptureWindow(HWND hwnd) {
    RECT rc;
    GetClientRect(hwnd, &rc);
    HDC dc = GetDC(hwnd);
    Capture c = CaptureDC(dc, rc.right, rc.bottom);
    ReleaseDC(hwnd, dc);
    return c;
}

// The whole window, frame included.
inline Capture CaptureWholeWindow(HWND hwnd) {
    RECT rc;
    GetWindowRect(hwnd, &rc);
    HDC dc = GetWindowDC(hwnd);
    Capture c = CaptureDC(dc, rc.right - rc.left, rc.bottom - rc.top);
    ReleaseDC(hwnd, dc);
    return c;
}

// The window's rectangle as the screen shows it, whatever lies over it.
inline Capture CaptureFromScreen(HWND hwnd) {
    RECT rc;
    GetWindowRect(hwnd, &rc);
    HDC screen = GetDC(nullptr);
    Capture c = CaptureDC(screen, rc.right - rc.left, rc.bottom - rc.top, rc.left, rc.top);
    ReleaseDC(nullptr, screen);
    return c;
}

// One pixel of the window's client area as it shows now.
inline COLORREF WindowPixel(HWND hwnd, int x, int y) {
    HDC dc = GetDC(hwnd);
    const COLORREF c = GetPixel(dc, x, y);
    ReleaseDC(hwnd, dc);
    return c;
}

// A pixel of one of the module's bitmap resources.
inline COLORREF SkinPixel(const wchar_t* name, int x, int y) {
    HBITMAP bmp = static_cast<HBITMAP>(LoadImageW(GetModuleHandleW(nullptr), name, IMAGE_BITMAP, 0, 0, 0));
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, bmp);
    const COLORREF c = GetPixel(dc, x, y);
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(bmp);
    return c;
}

}  // namespace shots
