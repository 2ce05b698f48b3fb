#pragma once
// The pixels a window shows, read back from its device context, and saved as
// a PNG screenshot to look at.
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "png_shot.h"

namespace bars {

struct Capture {
    int width = 0, height = 0;
    std::vector<uint8_t> bgra;
    COLORREF At(int x, int y) const {
        const uint8_t* p = &bgra[(static_cast<size_t>(y) * width + x) * 4];
        return RGB(p[2], p[1], p[0]);
    }
    void Save(const std::wstring& name) const { ui::SavePng(name, width, height, bgra); }
};

inline Capture CaptureWindow(HWND hwnd) {
    RECT rc;
    GetClientRect(hwnd, &rc);
    Capture c;
    c.width = rc.right;
    c.height = rc.bottom;
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi.bmiHeader.biWidth = c.width;
    bi.bmiHeader.biHeight = -c.height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC screen = GetDC(hwnd);
    HBITMAP dib = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC mem = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(mem, dib);
    BitBlt(mem, 0, 0, c.width, c.height, screen, 0, 0, SRCCOPY);
    GdiFlush();
    c.bgra.assign(static_cast<const uint8_t*>(bits), static_cast<const uint8_t*>(bits) + c.width * c.height * 4);
    SelectObject(mem, old);
    DeleteDC(mem);
    DeleteObject(dib);
    ReleaseDC(hwnd, screen);
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

}  // namespace bars
