#include "pixel_fixture.h"

#include <cstring>

namespace lumio::render::test {

Bgra Picture::At(int32_t x, int32_t y) const {
    const uint8_t *p = &bytes_[(size_t(h_ - 1 - y) * w_ + x) * 4];
    return {p[0], p[1], p[2], p[3]};
}

void Picture::Set(int32_t x, int32_t y, Bgra p) {
    uint8_t *q = &bytes_[(size_t(h_ - 1 - y) * w_ + x) * 4];
    q[0] = p.b;
    q[1] = p.g;
    q[2] = p.r;
    q[3] = p.a;
}

void Picture::Randomize(std::mt19937 &rng) {
    std::uniform_int_distribution<int> byte(0, 255), kind(0, 9);
    for (int32_t y = 0; y < h_; ++y)
        for (int32_t x = 0; x < w_; ++x) {
            const int k = kind(rng);
            const int a = k == 0 ? 0 : k <= 3 ? 255 : byte(rng);
            auto c = [&] { return uint8_t(a == 0 ? 0 : byte(rng) * a / 255); };
            Set(x, y, {c(), c(), c(), uint8_t(a)});
        }
}

void Picture::Coordinates() {
    for (int32_t y = 0; y < h_; ++y)
        for (int32_t x = 0; x < w_; ++x) Set(x, y, {uint8_t(x), uint8_t(y), 0, 255});
}

Bgra PixelAt(const PixelView &v, int32_t x, int32_t y) {
    const uint8_t *p = v.pixel(x, v.height - 1 - y);
    return {p[0], p[1], p[2], v.bytesPerPixel == 4 ? p[3] : uint8_t(0)};
}

}  // namespace lumio::render::test
