#pragma once
// Which vector instructions the pixel loops use. Every level gives the same
// bytes; the wider ones are only faster.
#include <cstddef>
#include <cstdint>

namespace lumio::render::simd {

enum class Level { Scalar, Sse2, Avx2, Avx512 };

// The widest level this processor and build offer, unless narrowed by Force.
Level Active();
bool Supported(Level level);
// Narrows the loops to a level (tests compare the levels); a level the
// processor lacks falls back to the widest it has.
void Force(Level level);

// One output column of the bilinear scaling: window columns i0 (weight w0)
// and i0 + 1 (w1). At the window's last column w1 is 0 and column i0 + 1 is
// a zero pixel kept past the window's end.
struct BilinearColumn {
    int32_t i0;
    double w0, w1;
};

// One output row of the bilinear scaling with AVX: upper and lower hold the
// window's bytes times the row weights (4 doubles a pixel, and the zero pixel
// after them). Either may be null when its row weight is 0: its terms would
// add only zeros.
void BilinearRowAvx2(const double *upper, const double *lower, const BilinearColumn *cols, int32_t width,
                     uint8_t *out);

// Bytes of `pixels` pixels times a weight, as doubles.
void WeighRowAvx2(const uint8_t *p, double weight, double *out, int32_t pixels);

// Two output rows at once, with AVX-512: each pixel of the first row's source
// row times its weight, then the same pixel of the second's (8 doubles a pixel;
// a zero pixel follows them).
void WeighRowPairAvx512(const uint8_t *first, const uint8_t *second, double w0, double w1, double *out,
                        int32_t pixels);
// Both output rows from rows weighed so: out0 from the low halves, out1 from
// the high ones. Neither input may be null; a row of weight 0 holds zeros.
void BilinearRowPairAvx512(const double *upper, const double *lower, const BilinearColumn *cols, int32_t width,
                           uint8_t *out0, uint8_t *out1);

// The blend with AVX2: height rows of width pixels, s over d; each row
// starts sStep (dStep) bytes after the previous one. gray: B, G, R weights,
// or null. apart: the rows of s and d share no bytes.
void BlendRectAvx2(const uint8_t *s, ptrdiff_t sStep, uint8_t *d, ptrdiff_t dStep, int32_t width, int32_t height,
                   int32_t bpp, int32_t k, bool opaque, const float *gray, bool apart);

}  // namespace lumio::render::simd
