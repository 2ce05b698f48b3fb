#pragma once
// Which vector instructions the pixel loops use. Every level gives the same
// bytes; the wider ones are only faster.
#include <cstddef>
#include <cstdint>

namespace lumio::render::simd {

enum class Level { Scalar, Sse2, Avx2 };

// The widest level this processor and build offer, unless narrowed by Force.
Level Active();
bool Supported(Level level);
// Narrows the loops to a level (tests compare the levels); a level the
// processor lacks falls back to the widest it has.
void Force(Level level);

// One output column of the bilinear scaling: window columns i0 (weight w0)
// and i0 + 1 (w1). At the window's last column w1 is 0 and column i0 + 1 is
// read as a zero pixel past the window's end. at: where the vector loops find
// column i0 in their strip (see PlaceInStrips).
struct BilinearColumn {
    int32_t i0, at;
    double w0, w1;
};

// Output columns of the bilinear scaling are made in strips of this many, so
// that the weighed source bytes they read stay in the nearest cache.
constexpr int32_t kBilinearStrip = 128;

// Sets each column's at: 8 doubles (a pixel's bytes times both row weights)
// for each window pixel from its strip's first column on. Returns the doubles
// the largest strip needs.
size_t PlaceInStrips(BilinearColumn *cols, int32_t width);

// One output row of the bilinear scaling with AVX2. upper, lower: the window's
// rows iy and iy - 1 (window pixels wide), weighed by wu and wl; upper is null
// when its weight is 0, lower when there is no row below. strip: scratch of
// PlaceInStrips doubles.
void BilinearRowAvx2(const uint8_t *upper, const uint8_t *lower, double wu, double wl, const BilinearColumn *cols,
                     int32_t width, int32_t window, uint8_t *out, double *strip);

// The blend with AVX2: height rows of width pixels, s over d; each row
// starts sStep (dStep) bytes after the previous one. gray: B, G, R weights,
// or null. apart: the rows of s and d share no bytes.
void BlendRectAvx2(const uint8_t *s, ptrdiff_t sStep, uint8_t *d, ptrdiff_t dStep, int32_t width, int32_t height,
                   int32_t bpp, int32_t k, bool opaque, const float *gray, bool apart);

}  // namespace lumio::render::simd
