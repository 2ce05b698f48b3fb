#include "render_win_fixture.h"

namespace lumio::test {

Canvas::Canvas(int32_t width, int32_t height) : w_(width), h_(height) {
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = -height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    void *bits = nullptr;
    bmp_ = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    bits_ = static_cast<uint8_t *>(bits);
    dc_ = CreateCompatibleDC(nullptr);
    old_ = SelectObject(dc_, bmp_);
}

Canvas::~Canvas() {
    SelectObject(dc_, old_);
    DeleteDC(dc_);
    DeleteObject(bmp_);
}

uint8_t *Canvas::At(int32_t x, int32_t y) const {
    GdiFlush();
    return bits_ + (size_t(y) * w_ + x) * 4;
}

Bgra Canvas::Pixel(int32_t x, int32_t y) const {
    const uint8_t *p = At(x, y);
    return {p[0], p[1], p[2], p[3]};
}

void Canvas::Fill(const std::function<Bgra(int32_t, int32_t)> &f) {
    for (int32_t y = 0; y < h_; ++y)
        for (int32_t x = 0; x < w_; ++x) {
            const Bgra v = f(x, y);
            uint8_t *p = At(x, y);
            p[0] = v.b, p[1] = v.g, p[2] = v.r, p[3] = v.a;
        }
}

std::unique_ptr<c32bppDIB> MakeSurface(int32_t width, int32_t height,
                                       const std::function<Bgra(int32_t, int32_t)> &f) {
    auto s = std::make_unique<c32bppDIB>();
    if (!s->InitializeDIB(width, height)) return nullptr;
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x) {
            const Bgra v = f(x, y);
            uint8_t *p = s->RowFromTop(y) + x * 4;
            p[0] = v.b, p[1] = v.g, p[2] = v.r, p[3] = v.a;
        }
    s->SetAlpha(true);
    return s;
}

Bgra SurfacePixel(const c32bppDIB &s, int32_t x, int32_t y) {
    const uint8_t *p = s.RowFromTop(y) + x * 4;
    return {p[0], p[1], p[2], p[3]};
}

Bgra Noise(int32_t x, int32_t y, uint32_t seed) {
    uint32_t h = uint32_t(x) * 0x9E3779B1u ^ uint32_t(y) * 0x85EBCA77u ^ seed * 0xC2B2AE3Du;
    h ^= h >> 15;
    h *= 0x2C1B3C6Du;
    h ^= h >> 13;
    const uint32_t kind = h % 10;
    const uint32_t a = kind == 0 ? 0 : kind <= 3 ? 255 : (h >> 8) & 0xFF;
    auto c = [&](int shift) { return uint8_t(((h >> shift) & 0xFF) * a / 255); };
    return {c(4), c(12), c(20), uint8_t(a)};
}

Bgra Quadrant(int32_t x, int32_t y, int32_t width, int32_t height) {
    const bool right = x >= width / 2, bottom = y >= height / 2;
    if (!right && !bottom) return {0, 0, 255, 255};
    if (right && !bottom) return {0, 255, 0, 255};
    if (!right) return {255, 0, 0, 255};
    return {255, 255, 255, 255};
}

}  // namespace lumio::test
