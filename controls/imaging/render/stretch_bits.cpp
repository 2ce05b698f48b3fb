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

// floor(v) for v >= 0, without a call where v fits in 31 bits (SSE2 has no rounding instruction).
inline double FloorNonNegative(double v) {
    return v < 2147483648.0 ? static_cast<double>(static_cast<int32_t>(v)) : std::floor(v);
}

// A per-call table: up to N entries on the stack, more on the heap. Entries start undefined.
template <typename T, size_t N>
class Table {
public:
    explicit Table(size_t n) : n_(n) {
        if (n > N) heap_.resize(n);
    }
    T *data() { return n_ > N ? heap_.data() : local_; }
    T &operator[](size_t i) { return data()[i]; }

private:
    size_t n_;
    T local_[N];
    std::vector<T> heap_;
};

struct Geometry {
    PixelView source;  // bottom-up, the rectangle inside it below
    int32_t left, bottom, width, height;
    PixelView output;
    int64_t ox, oy;
    double xRatio, yRatio;
};

// Each byte of a row of the source window times the row's weight.
void WeighRow(const uint8_t *p, double weight, double *out, size_t n, simd::Level level) {
    if (level >= simd::Level::Avx2) return simd::WeighRowAvx2(p, weight, out, static_cast<int32_t>(n / 4));
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

// Output pixel x = row pixel cols[x]. Plain loads beat a vector gather here. When shrinking,
// ahead (non-zero) is the distance to the next output row's source row, which is fetched into
// the cache while this one is read: its rows are too far apart for the processor to guess.
void NearestRow(const uint8_t *row, const int32_t *cols, int32_t width, uint8_t *out, ptrdiff_t ahead) {
    int32_t x = 0;
#if defined(__SSE2__)
    const auto at = [&](int32_t i) {
        int32_t p;
        std::memcpy(&p, row + static_cast<size_t>(cols[i]) * 4, 4);
        return _mm_cvtsi32_si128(p);
    };
    for (; x + 4 <= width; x += 4, out += 16) {
        if (ahead != 0 && (x & 7) == 0) _mm_prefetch(reinterpret_cast<const char *>(row + static_cast<size_t>(cols[x]) * 4 + ahead), _MM_HINT_T0);
        const __m128i lo = _mm_unpacklo_epi32(at(x), at(x + 1)), hi = _mm_unpacklo_epi32(at(x + 2), at(x + 3));
        _mm_storeu_si128(reinterpret_cast<__m128i *>(out), _mm_unpacklo_epi64(lo, hi));
    }
#else
    (void)ahead;
#endif
    for (; x < width; ++x, out += 4) std::memcpy(out, row + static_cast<size_t>(cols[x]) * 4, 4);
}

void Nearest(const Geometry &g) {
    const int32_t last = g.left + g.width - 1;
    Table<int32_t, 256> col(static_cast<size_t>(g.output.width));
    for (int32_t x = 0; x < g.output.width; ++x) {
        const double cx = FloorNonNegative(static_cast<double>(x + g.ox) * g.xRatio + g.left);
        col[static_cast<size_t>(x)] = cx > last ? last : static_cast<int32_t>(cx);
    }
    const int32_t top = g.bottom + g.height - 1;
    const auto sourceRow = [&](int32_t y) {
        const double ry = FloorNonNegative(static_cast<double>(y + g.oy) * g.yRatio);
        return ry >= g.height ? top : static_cast<int32_t>(ry) + g.bottom;
    };
    const size_t rowBytes = static_cast<size_t>(g.output.width) * 4;
    const bool shrinking = g.yRatio > 1.0;
    int32_t previous = -1;
    // Rows are independent; they are made in memory order.
    for (int32_t y = 0; y < g.output.height; ++y) {
        const int32_t r = sourceRow(y);
        uint8_t *d = g.output.row(y);
        // Enlarging repeats source rows: copy the row just made.
        if (r == previous) {
            std::memcpy(d, g.output.row(y - 1), rowBytes);
            continue;
        }
        previous = r;
        const ptrdiff_t ahead = shrinking && y + 1 < g.output.height ? (sourceRow(y + 1) - r) * g.source.stride : 0;
        NearestRow(g.source.row(r), col.data(), g.output.width, d, ahead);
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

// Weights that are whole multiples of 1/128 make every product and sum of the
// double-precision blend exact (at most 22 significant bits), so the blend in
// integers, with the weights as 7-bit units, gives the same bytes.
constexpr int kUnitBits = 7;
constexpr int32_t kUnit = 1 << kUnitBits;

bool InUnits(double w, int32_t &units) {
    const double scaled = w * kUnit;  // a power of two: exact; w is 0..1
    units = static_cast<int32_t>(scaled);
    return units == scaled;
}

// One output column in units: window columns i0 (weight w0) and i0 + 1 (w1),
// packed as w0 | w1 << 16 for the multiply-add of 16-bit pairs.
struct UnitColumn {
    int32_t i0;
    uint32_t weights;
};

// Each byte of the window's two rows blended down the column, in units:
// upper x wu + lower x (kUnit - wu), at most 255 x 128. next: the rows the
// next output row reads, fetched ahead when shrinking (else null).
void BlendRowsDown(const uint8_t *upper, const uint8_t *lower, int32_t wu, uint16_t *out, size_t n, bool vector,
                   const uint8_t *const next[2]) {
    size_t i = 0;
    const int32_t wl = kUnit - wu;
#if defined(__SSE2__)
    if (vector) {
        const __m128i zero = _mm_setzero_si128(), vu = _mm_set1_epi16(short(wu)), vl = _mm_set1_epi16(short(wl));
        for (; i + 16 <= n; i += 16) {
            if (next && (i & 63) == 0) {
                _mm_prefetch(reinterpret_cast<const char *>(next[0] + i), _MM_HINT_T0);
                _mm_prefetch(reinterpret_cast<const char *>(next[1] + i), _MM_HINT_T0);
            }
            const __m128i u = _mm_loadu_si128(reinterpret_cast<const __m128i *>(upper + i));
            const __m128i l = _mm_loadu_si128(reinterpret_cast<const __m128i *>(lower + i));
            const __m128i lo = _mm_add_epi16(_mm_mullo_epi16(_mm_unpacklo_epi8(u, zero), vu), _mm_mullo_epi16(_mm_unpacklo_epi8(l, zero), vl));
            const __m128i hi = _mm_add_epi16(_mm_mullo_epi16(_mm_unpackhi_epi8(u, zero), vu), _mm_mullo_epi16(_mm_unpackhi_epi8(l, zero), vl));
            _mm_storeu_si128(reinterpret_cast<__m128i *>(out + i), lo);
            _mm_storeu_si128(reinterpret_cast<__m128i *>(out + i + 8), hi);
        }
    }
#else
    (void)vector;
    (void)next;
#endif
    for (; i < n; ++i) out[i] = static_cast<uint16_t>(upper[i] * wu + lower[i] * wl);
}

// Output pixels from the blended-down row: each channel is the two columns'
// values times their weights, over kUnit squared.
void BlendAcross(const uint16_t *down, const UnitColumn *cols, int32_t width, uint8_t *out, bool vector) {
    int32_t x = 0;
#if defined(__SSE2__)
    if (vector) {
        // Channel pairs (c of i0, c of i0 + 1) side by side, then one multiply-add.
        auto pixel = [&](int32_t at) {
            const UnitColumn &c = cols[at];
            const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i *>(down + static_cast<size_t>(c.i0) * 4));
            const __m128i pairs = _mm_unpacklo_epi16(v, _mm_srli_si128(v, 8));
            return _mm_srli_epi32(_mm_madd_epi16(pairs, _mm_set1_epi32(static_cast<int32_t>(c.weights))), 2 * kUnitBits);
        };
        for (; x + 4 <= width; x += 4, out += 16) {
            const __m128i lo = _mm_packs_epi32(pixel(x), pixel(x + 1));
            const __m128i hi = _mm_packs_epi32(pixel(x + 2), pixel(x + 3));
            _mm_storeu_si128(reinterpret_cast<__m128i *>(out), _mm_packus_epi16(lo, hi));
        }
        for (; x < width; ++x, out += 4) {
            const __m128i p = _mm_packs_epi32(pixel(x), _mm_setzero_si128());
            const int32_t b = _mm_cvtsi128_si32(_mm_packus_epi16(p, p));
            std::memcpy(out, &b, 4);
        }
        return;
    }
#else
    (void)vector;
#endif
    for (; x < width; ++x, out += 4) {
        const UnitColumn &c = cols[x];
        const uint16_t *p = down + static_cast<size_t>(c.i0) * 4;
        const uint32_t w0 = c.weights & 0xFFFF, w1 = c.weights >> 16;
        for (int k = 0; k < 4; ++k) out[k] = static_cast<uint8_t>((p[k] * w0 + p[k + 4] * w1) >> (2 * kUnitBits));
    }
}

// Output columns made per strip of a row pair: their weighed pixels stay in the first-level cache.
constexpr int32_t kPairStrip = 128;

// The window's two source rows weighed for two output rows, 8 doubles a pixel,
// with the zero pixel after them. Aligned to 64 bytes: every pixel is one cache line.
struct PairRows {
    std::vector<double> storage;
    double *upper = nullptr, *lower = nullptr;
    PairRows() = default;
    explicit PairRows(size_t pixels) : storage((pixels + 1) * 16 + 8, 0.0) {
        const auto at = reinterpret_cast<uintptr_t>(storage.data());
        upper = storage.data() + ((64 - at % 64) % 64) / sizeof(double);
        lower = upper + (pixels + 1) * 8;
    }
    // The pointers point into storage: a move keeps them valid, a copy would not.
    PairRows(PairRows &&) = default;
    PairRows &operator=(PairRows &&) = default;
    PairRows(const PairRows &) = delete;
    PairRows &operator=(const PairRows &) = delete;
};

// Bilinear sums per channel, in this order: row iy (weight fy) at columns ix
// (1 - fx) and ix + 1 (fx), then row iy - 1 (1 - fy) at the same columns;
// each term is byte x row weight x column weight. The byte x row weight
// products are formed once per output row for the whole source window, and
// terms of weight 0 add nothing, so every pixel takes the same steps.
void Bilinear(const Geometry &g) {
    const int32_t last = g.left + g.width - 1;
    const size_t width = static_cast<size_t>(g.output.width);
    Table<BilinearColumn, 64> cols(width);
    Table<UnitColumn, 64> unitCols(width);
    bool columnsInUnits = true;
    for (size_t x = 0; x < width; ++x) {
        const double px = static_cast<double>(static_cast<int64_t>(x) + g.ox) * g.xRatio + g.left;
        const double ix = FloorNonNegative(px);
        BilinearColumn &c = cols[x];
        if (ix >= last) {
            c = {last - g.left, 1.0, 0.0};
        } else {
            const double fx = px - ix;
            c = {static_cast<int32_t>(ix) - g.left, 1.0 - fx, fx};
        }
        int32_t w0 = 0, w1 = 0;
        columnsInUnits = columnsInUnits && InUnits(c.w0, w0) && InUnits(c.w1, w1);
        unitCols[x] = {c.i0, static_cast<uint32_t>(w0) | static_cast<uint32_t>(w1) << 16};
    }
    // One zero pixel past the window: the second column of the last one.
    const size_t span = static_cast<size_t>(g.width) * 4;
    std::vector<double> upper, lower;
    PairRows pair;
    Table<uint16_t, 64 * 4 + 4> down(columnsInUnits ? span + 4 : 0);
    if (columnsInUnits) std::fill(down.data() + span, down.data() + span + 4, uint16_t{0});
    const int32_t top = g.bottom + g.height - 1;
    const simd::Level level = simd::Active();
    const bool vector = level != simd::Level::Scalar;
    struct RowAt {
        int32_t iy;
        double fy;
        bool single;  // the rectangle's first row has nothing below it that belongs to the picture
    };
    const auto rowAt = [&](int32_t y) {
        const double py = static_cast<double>(y + g.oy) * g.yRatio + g.bottom;
        const double iyf = FloorNonNegative(py);
        const int32_t iy = iyf >= top ? top : static_cast<int32_t>(iyf);
        return RowAt{iy, py - iyf, iy <= g.bottom};
    };
    const bool shrinking = g.yRatio > 1.0;
    for (int32_t y = 0; y < g.output.height; ++y) {
        const auto [iy, fy, single] = rowAt(y);
        int32_t wu = 0;
        if (columnsInUnits && InUnits(single ? 1.0 : fy, wu)) {
            const uint8_t *u = g.source.pixel(g.left, iy);
            const uint8_t *next[2] = {};
            if (shrinking && y + 1 < g.output.height) {
                const RowAt n = rowAt(y + 1);
                next[0] = g.source.pixel(g.left, n.iy);
                next[1] = n.single ? next[0] : g.source.pixel(g.left, n.iy - 1);
            }
            BlendRowsDown(u, single ? u : g.source.pixel(g.left, iy - 1), wu, down.data(), span, vector,
                          next[0] ? next : nullptr);
            BlendAcross(down.data(), unitCols.data(), g.output.width, g.output.row(y), vector);
            continue;
        }
        // AVX-512 makes two output rows at once, one in each half of a vector.
        if (level == simd::Level::Avx512 && !columnsInUnits && y + 1 < g.output.height) {
            const RowAt second = rowAt(y + 1);
            if (!pair.upper) pair = PairRows(span / 4);
            // A row with nothing below it weighs its own row by 0 in place of the missing one.
            const auto below = [&](const RowAt &r) { return g.source.pixel(g.left, r.single ? r.iy : r.iy - 1); };
            const uint8_t *u0 = g.source.pixel(g.left, iy), *u1 = g.source.pixel(g.left, second.iy);
            const uint8_t *l0 = below({iy, fy, single}), *l1 = below(second);
            const double wu0 = single ? 1.0 : fy, wu1 = second.single ? 1.0 : second.fy;
            const double wl0 = single ? 0.0 : 1.0 - fy, wl1 = second.single ? 0.0 : 1.0 - second.fy;
            // In strips of columns, so that the weighed pixels are read back from the nearest cache.
            for (int32_t xs = 0; xs < g.output.width; xs += kPairStrip) {
                const int32_t xe = std::min(g.output.width, xs + kPairStrip);
                const int32_t from = cols[static_cast<size_t>(xs)].i0;
                const int32_t to = std::min(cols[static_cast<size_t>(xe - 1)].i0 + 2, g.width);
                const size_t at = static_cast<size_t>(from) * 4;
                simd::WeighRowPairAvx512(u0 + at, u1 + at, wu0, wu1, pair.upper + at * 2, to - from);
                simd::WeighRowPairAvx512(l0 + at, l1 + at, wl0, wl1, pair.lower + at * 2, to - from);
                simd::BilinearRowPairAvx512(pair.upper, pair.lower, cols.data() + xs, xe - xs,
                                            g.output.row(y) + static_cast<size_t>(xs) * 4,
                                            g.output.row(y + 1) + static_cast<size_t>(xs) * 4);
            }
            ++y;
            continue;
        }
        if (upper.empty()) {
            upper.assign(span + 4, 0.0);
            lower.assign(span + 4, 0.0);
        }
        // A row of weight 0 adds only zeros: the vector loops leave it out.
        const bool upperZero = !single && fy == 0.0 && level != simd::Level::Scalar;
        if (!upperZero) WeighRow(g.source.pixel(g.left, iy), single ? 1.0 : fy, upper.data(), span, level);
        if (single)
            std::fill(lower.begin(), lower.end(), 0.0);
        else
            WeighRow(g.source.pixel(g.left, iy - 1), 1.0 - fy, lower.data(), span, level);
        const double *u = upperZero ? nullptr : upper.data(), *l = single ? nullptr : lower.data();
        uint8_t *d = g.output.row(y);
        if (level >= simd::Level::Avx2) {
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
        if (!out.Dimension(static_cast<int32_t>(w), static_cast<int32_t>(h), PixelArray::Content::Overwritten)) return false;
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
