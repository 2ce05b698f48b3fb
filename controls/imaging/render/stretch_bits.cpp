#include "stretch_bits.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>
#include <vector>

#include "lightness.h"
#include "simd_level.h"
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace lumio::render {
namespace {

using simd::BilinearColumn;

struct Geometry {
    PixelView source;  // bottom-up, the rectangle inside it below
    int32_t left, bottom, width, height;
    PixelView output;
    int64_t ox, oy;
    double xRatio, yRatio;
};

// Each byte of a row of the source window times the row's weight.
void WeighRow(const uint8_t *p, double weight, double *out, size_t n, simd::Level level) {
    if (level == simd::Level::Avx2) return simd::WeighRowAvx2(p, weight, out, static_cast<int32_t>(n / 4));
    size_t i = 0;
#if defined(__SSE2__)
    if (level == simd::Level::Sse2) {
        const __m128d w = _mm_set1_pd(weight);
        for (; i + 4 <= n; i += 4) {
            int32_t v;
            std::memcpy(&v, p + i, 4);
            const __m128i b = _mm_unpacklo_epi16(_mm_unpacklo_epi8(_mm_cvtsi32_si128(v), _mm_setzero_si128()), _mm_setzero_si128());
            _mm_storeu_pd(out + i, _mm_mul_pd(_mm_cvtepi32_pd(b), w));
            _mm_storeu_pd(out + i + 2, _mm_mul_pd(_mm_cvtepi32_pd(_mm_shuffle_epi32(b, 0xEE)), w));
        }
    }
#endif
    for (; i < n; ++i) out[i] = static_cast<double>(p[i]) * weight;
}

// Output pixel x = row pixel cols[x]. Plain loads beat a vector gather here; two pixels share
// one load of their columns and one store.
void NearestRow(const uint8_t *row, const int32_t *cols, int32_t width, uint8_t *out) {
    int32_t x = 0;
    for (; x + 2 <= width; x += 2, out += 8) {
        uint64_t pair;
        std::memcpy(&pair, cols + x, 8);
        uint32_t p0, p1;
        std::memcpy(&p0, row + static_cast<size_t>(static_cast<uint32_t>(pair)) * 4, 4);
        std::memcpy(&p1, row + static_cast<size_t>(pair >> 32) * 4, 4);
        const uint64_t both = p0 | static_cast<uint64_t>(p1) << 32;
        std::memcpy(out, &both, 8);
    }
    if (x < width) std::memcpy(out, row + static_cast<size_t>(cols[x]) * 4, 4);
}

void Nearest(const Geometry &g) {
    const int32_t last = g.left + g.width - 1;
    std::vector<int32_t> col(static_cast<size_t>(g.output.width));
    for (int32_t x = 0; x < g.output.width; ++x) {
        const double cx = std::floor(static_cast<double>(x + g.ox) * g.xRatio + g.left);
        col[static_cast<size_t>(x)] = cx > last ? last : static_cast<int32_t>(cx);
    }
    const int32_t top = g.bottom + g.height - 1;
    const size_t rowBytes = static_cast<size_t>(g.output.width) * 4;
    int32_t previous = -1;
    // Rows are independent; they are made in memory order.
    for (int32_t y = 0; y < g.output.height; ++y) {
        const double ry = std::floor(static_cast<double>(y + g.oy) * g.yRatio);
        const int32_t r = ry >= g.height ? top : static_cast<int32_t>(ry) + g.bottom;
        uint8_t *d = g.output.row(y);
        // Enlarging repeats source rows: copy the row just made.
        if (r == previous) {
            std::memcpy(d, g.output.row(y - 1), rowBytes);
            continue;
        }
        previous = r;
        NearestRow(g.source.row(r), col.data(), g.output.width, d);
    }
}

#if defined(__SSE2__)
// One bilinear output row two channels at a time, as BilinearRowAvx2 (null rows add nothing).
template <bool kUpper, bool kLower>
void BilinearRowSse2(const double *upper, const double *lower, const BilinearColumn *cols, int32_t width, uint8_t *out) {
    for (int32_t x = 0; x < width; ++x, out += 4) {
        const BilinearColumn &c = cols[x];
        const __m128d w0 = _mm_set1_pd(c.w0), w1 = _mm_set1_pd(c.w1);
        const size_t i = static_cast<size_t>(c.i0) * 4;
        __m128i half[2];
        for (size_t h = 0; h < 4; h += 2) {
            __m128d acc;
            if constexpr (kUpper) {
                acc = _mm_mul_pd(_mm_loadu_pd(upper + i + h), w0);
                acc = _mm_add_pd(acc, _mm_mul_pd(_mm_loadu_pd(upper + i + 4 + h), w1));
                if constexpr (kLower) acc = _mm_add_pd(acc, _mm_mul_pd(_mm_loadu_pd(lower + i + h), w0));
            } else {
                acc = _mm_mul_pd(_mm_loadu_pd(lower + i + h), w0);
            }
            if constexpr (kLower) acc = _mm_add_pd(acc, _mm_mul_pd(_mm_loadu_pd(lower + i + 4 + h), w1));
            half[h / 2] = _mm_cvttpd_epi32(acc);
        }
        const __m128i v = _mm_unpacklo_epi64(half[0], half[1]);
        const int32_t b = _mm_cvtsi128_si32(_mm_packus_epi16(_mm_packs_epi32(v, v), v));
        std::memcpy(out, &b, 4);
    }
}
#endif

// Bilinear sums per channel, in this order: row iy (weight fy) at columns ix
// (1 - fx) and ix + 1 (fx), then row iy - 1 (1 - fy) at the same columns;
// each term is byte x row weight x column weight. The byte x row weight
// products are formed once per output row for the whole source window, and
// terms of weight 0 add nothing, so every pixel takes the same steps.
void Bilinear(const Geometry &g) {
    const int32_t last = g.left + g.width - 1;
    std::vector<BilinearColumn> cols(static_cast<size_t>(g.output.width));
    for (int32_t x = 0; x < g.output.width; ++x) {
        const double px = static_cast<double>(x + g.ox) * g.xRatio + g.left;
        const double ix = std::floor(px);
        BilinearColumn &c = cols[static_cast<size_t>(x)];
        if (ix >= last) {
            c = {last - g.left, 1.0, 0.0};
        } else {
            const double fx = px - ix;
            c = {static_cast<int32_t>(ix) - g.left, 1.0 - fx, fx};
        }
    }
    // One zero pixel past the window: the second column of the last one.
    const size_t span = static_cast<size_t>(g.width) * 4;
    std::vector<double> upper(span + 4), lower(span + 4);
    const int32_t top = g.bottom + g.height - 1;
    const simd::Level level = simd::Active();
    for (int32_t y = 0; y < g.output.height; ++y) {
        const double py = static_cast<double>(y + g.oy) * g.yRatio + g.bottom;
        const double iyf = std::floor(py);
        const int32_t iy = iyf >= top ? top : static_cast<int32_t>(iyf);
        const double fy = py - iyf;
        // The rectangle's first row has nothing below it that belongs to the picture.
        const bool single = iy <= g.bottom;
        // A row of weight 0 adds only zeros: the vector loops leave it out.
        const bool upperZero = !single && fy == 0.0 && level != simd::Level::Scalar;
        if (!upperZero) WeighRow(g.source.pixel(g.left, iy), single ? 1.0 : fy, upper.data(), span, level);
        if (single)
            std::fill(lower.begin(), lower.end(), 0.0);
        else
            WeighRow(g.source.pixel(g.left, iy - 1), 1.0 - fy, lower.data(), span, level);
        const double *u = upperZero ? nullptr : upper.data(), *l = single ? nullptr : lower.data();
        uint8_t *d = g.output.row(y);
        if (level == simd::Level::Avx2) {
            simd::BilinearRowAvx2(u, l, cols.data(), g.output.width, d);
            continue;
        }
#if defined(__SSE2__)
        if (level == simd::Level::Sse2) {
            if (!u)
                BilinearRowSse2<false, true>(u, l, cols.data(), g.output.width, d);
            else if (!l)
                BilinearRowSse2<true, false>(u, l, cols.data(), g.output.width, d);
            else
                BilinearRowSse2<true, true>(u, l, cols.data(), g.output.width, d);
            continue;
        }
#endif
        for (int32_t x = 0; x < g.output.width; ++x, d += 4) {
            const BilinearColumn &c = cols[static_cast<size_t>(x)];
            const double *u0 = &upper[static_cast<size_t>(c.i0) * 4], *u1 = u0 + 4;
            const double *l0 = &lower[static_cast<size_t>(c.i0) * 4], *l1 = l0 + 4;
            for (int k = 0; k < 4; ++k) {
                double acc = u0[k] * c.w0;
                acc = acc + u1[k] * c.w1;
                acc = acc + l0[k] * c.w0;
                acc = acc + l1[k] * c.w1;
                d[k] = static_cast<uint8_t>(static_cast<int32_t>(acc));
            }
        }
    }
}

}  // namespace

bool StretchBits(const PixelView &self, bool highQuality, PixelArray &out, PixelArray &src,
                 const PixelView *target, int32_t srcX, int32_t srcY, int32_t srcWidth, int32_t srcHeight,
                 int32_t destX, int32_t destY, int32_t &destWidth, int32_t &destHeight, float &lightness) {
    if (srcWidth == 0) srcWidth = self.width;
    if (srcHeight == 0) srcHeight = self.height;
    Geometry g;
    g.source = src.IsDimensioned() ? src.View() : self;
    if (g.source.empty() || srcWidth < 1 || srcHeight < 1 || srcX < 0 || srcY < 0 ||
        int64_t{srcX} + srcWidth > g.source.width || int64_t{srcY} + srcHeight > g.source.height)
        return false;

    int64_t w, h;
    if (target) {
        if (target->empty()) return false;
        w = target->width;
        h = target->height;
        g.ox = destX;
        g.oy = destY;
        if (g.ox < 0 || g.oy < 0) return false;
    } else {
        w = destWidth < 0 ? -int64_t{destWidth} : destWidth;
        h = destHeight < 0 ? -int64_t{destHeight} : destHeight;
        if (w < 1 || h < 1) return false;
        g.ox = g.oy = 0;
    }
    g.xRatio = static_cast<double>(srcWidth) / static_cast<double>(w);
    g.yRatio = static_cast<double>(srcHeight) / static_cast<double>(h);
    if (!target) {
        if (destX < 0) {
            w += destX;
            g.ox = -int64_t{destX};
        }
        // Rows cut at the top are the last rows of the bottom-up result.
        if (destY < 0) h += destY;
    }
    if (w < 1 || h < 1 || w > INT32_MAX || h > INT32_MAX) return false;

    if (target) {
        g.output = *target;
    } else {
        if (!out.Dimension(static_cast<int32_t>(w), static_cast<int32_t>(h))) return false;
        g.output = out.View();
    }
    g.left = srcX;
    g.width = srcWidth;
    g.height = srcHeight;
    g.bottom = g.source.height - srcHeight - srcY;

    try {
        if (highQuality)
            Bilinear(g);
        else
            Nearest(g);
    } catch (const std::bad_alloc &) {
        if (!target) out.Erase();
        return false;
    }

    if (lightness != 0.0f) {
        LightenPixels(g.output, g.output, lightness);
        lightness = 0.0f;
    }
    destWidth = static_cast<int32_t>(w);
    destHeight = static_cast<int32_t>(h);
    src.Erase();
    return true;
}

}  // namespace lumio::render
