#pragma once
// Destinations and pictures for the Render tests under Wine.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>

#include "imaging/c32bpp_dib.h"

namespace lumio::test {

struct Bgra {
    uint8_t b, g, r, a;
};

// A memory DC holding a 32-bit top-down DIB section.
class Canvas {
public:
    Canvas(int32_t width, int32_t height);
    ~Canvas();
    Canvas(const Canvas &) = delete;
    Canvas &operator=(const Canvas &) = delete;
    HDC dc() const { return dc_; }
    int32_t Width() const { return w_; }
    int32_t Height() const { return h_; }
    uint8_t *At(int32_t x, int32_t y) const;
    Bgra Pixel(int32_t x, int32_t y) const;
    void Fill(const std::function<Bgra(int32_t, int32_t)> &f);

private:
    int32_t w_, h_;
    HDC dc_ = nullptr;
    HBITMAP bmp_ = nullptr;
    HGDIOBJ old_ = nullptr;
    uint8_t *bits_ = nullptr;
};

// A surface whose pixel (x, y) from the top-left is f(x, y), premultiplied.
std::unique_ptr<c32bppDIB> MakeSurface(int32_t width, int32_t height, const std::function<Bgra(int32_t, int32_t)> &f);
Bgra SurfacePixel(const c32bppDIB &s, int32_t x, int32_t y);

// Premultiplied noise that depends only on (x, y, seed).
Bgra Noise(int32_t x, int32_t y, uint32_t seed);

// Four opaque quadrants: red top-left, green top-right, blue bottom-left, white bottom-right.
Bgra Quadrant(int32_t x, int32_t y, int32_t width, int32_t height);

}  // namespace lumio::test
