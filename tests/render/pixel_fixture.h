#pragma once
// Small pictures for the pixel tests, addressed top-down like the picture itself.
#include <cstdint>
#include <iterator>
#include <random>
#include <vector>

#include "pixel_array.h"
#include "simd_level.h"

namespace lumio::render::test {

struct Bgra {
    uint8_t b, g, r, a;
    bool operator==(const Bgra &) const = default;
};

class Picture {
public:
    Picture(int32_t width, int32_t height) : w_(width), h_(height), bytes_(size_t(width) * height * 4) {}
    PixelView View() { return {bytes_.data(), w_, h_, ptrdiff_t(w_) * 4, 4}; }
    int32_t Width() const { return w_; }
    int32_t Height() const { return h_; }
    // (x, y) from the top-left of the picture.
    Bgra At(int32_t x, int32_t y) const;
    void Set(int32_t x, int32_t y, Bgra p);
    // Premultiplied noise; about a third of the pixels opaque, a tenth clear.
    void Randomize(std::mt19937 &rng);
    // Each pixel encodes its own position: b = x, g = y, a = 255.
    void Coordinates();
    std::vector<uint8_t> &Bytes() { return bytes_; }

private:
    int32_t w_, h_;
    std::vector<uint8_t> bytes_;
};

// Pixel (x, y) from the top of a bottom-up view.
Bgra PixelAt(const PixelView &v, int32_t x, int32_t y);

// Every vector level of the pixel loops, narrowest first; callers skip those the machine lacks.
inline constexpr simd::Level kEveryLevel[] = {simd::Level::Scalar, simd::Level::Sse2, simd::Level::Avx2,
                                              simd::Level::Avx512};

// fn's result with the pixel loops narrowed to `level`; afterwards they use the widest again.
template <typename Fn>
auto AtLevel(simd::Level level, Fn &&fn) {
    struct Widest {
        ~Widest() { simd::Force(kEveryLevel[std::size(kEveryLevel) - 1]); }
    } restore;
    simd::Force(level);
    return fn();
}

}  // namespace lumio::render::test
