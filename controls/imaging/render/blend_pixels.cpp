#include "blend_pixels.h"

#include <algorithm>
#include <cstring>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "gray_scale.h"
#include "lightness.h"
#include "imaging/vb_math.h"
#include "simd_level.h"

namespace lumio::render {
namespace {

inline uint8_t Sat(int32_t v) { return static_cast<uint8_t>(v > 255 ? 255 : v); }

struct Gray {
    float wR, wG, wB;
    float Sum(const uint8_t *s) const {
        return static_cast<float>(s[0]) * wB + static_cast<float>(s[1]) * wG + static_cast<float>(s[2]) * wR;
    }
};

#if defined(__SSE2__)
// Four pixels at a time in 16-bit lanes. x / 255 is exact for any 16-bit x as
// (x * 0x8081) >> 23, so these give the same bytes as the per-pixel formulas.
inline __m128i Div255(__m128i x) { return _mm_srli_epi16(_mm_mulhi_epu16(x, _mm_set1_epi16(short(0x8081))), 7); }

inline __m128i AlphaLanes(__m128i px16) { return _mm_shufflehi_epi16(_mm_shufflelo_epi16(px16, 0xFF), 0xFF); }

template <bool kOpaque>
inline __m128i Half(__m128i s, __m128i d, __m128i k) {
    const __m128i a = AlphaLanes(s);
    if constexpr (kOpaque) {
        const __m128i ia = _mm_sub_epi16(_mm_set1_epi16(255), a);
        return _mm_add_epi16(s, Div255(_mm_mullo_epi16(ia, d)));
    } else {
        const __m128i inv = _mm_sub_epi16(_mm_set1_epi16(255), Div255(_mm_mullo_epi16(a, k)));
        return Div255(_mm_add_epi16(_mm_mullo_epi16(inv, d), _mm_mullo_epi16(s, k)));
    }
}

// Four source pixels over four destination pixels; destinations under a
// clear source pixel come back unchanged.
template <bool kOpaque>
inline __m128i Over4(__m128i s, __m128i d, __m128i k) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i lo = Half<kOpaque>(_mm_unpacklo_epi8(s, zero), _mm_unpacklo_epi8(d, zero), k);
    const __m128i hi = Half<kOpaque>(_mm_unpackhi_epi8(s, zero), _mm_unpackhi_epi8(d, zero), k);
    const __m128i r = _mm_packus_epi16(lo, hi);
    const __m128i clear = _mm_cmpeq_epi32(_mm_and_si128(s, _mm_set1_epi32(int(0xFF000000u))), zero);
    return _mm_or_si128(_mm_and_si128(clear, d), _mm_andnot_si128(clear, r));
}

inline bool AllClear(__m128i s) {
    const __m128i clear = _mm_cmpeq_epi32(_mm_and_si128(s, _mm_set1_epi32(int(0xFF000000u))), _mm_setzero_si128());
    return _mm_movemask_epi8(clear) == 0xFFFF;
}

// Grey replaces B, G, R by the weighted sum rounded half to even (the
// default rounding of cvtps2dq), as the per-pixel code does.
inline __m128i Gray4(__m128i s, __m128 wB, __m128 wG, __m128 wR) {
    const __m128i m = _mm_set1_epi32(0xFF);
    const __m128 b = _mm_cvtepi32_ps(_mm_and_si128(s, m));
    const __m128 g = _mm_cvtepi32_ps(_mm_and_si128(_mm_srli_epi32(s, 8), m));
    const __m128 r = _mm_cvtepi32_ps(_mm_and_si128(_mm_srli_epi32(s, 16), m));
    const __m128 sum = _mm_add_ps(_mm_add_ps(_mm_mul_ps(b, wB), _mm_mul_ps(g, wG)), _mm_mul_ps(r, wR));
    const __m128i v = _mm_and_si128(_mm_cvtps_epi32(sum), m);
    return _mm_or_si128(_mm_or_si128(v, _mm_slli_epi32(v, 8)),
                        _mm_or_si128(_mm_slli_epi32(v, 16), _mm_and_si128(s, _mm_set1_epi32(int(0xFF000000u)))));
}

// 24-bit destinations: four B, G, R triples to and from four 32-bit lanes.
inline __m128i Load3x4(const uint8_t *p) {
    uint32_t w[3];
    std::memcpy(w, p, 12);
    return _mm_set_epi32(int(w[2] >> 8), int((w[1] >> 16) | (w[2] << 16)), int((w[0] >> 24) | (w[1] << 8)),
                         int(w[0]));
}

inline void Store3x4(uint8_t *p, __m128i v) {
    uint32_t q[4];
    _mm_storeu_si128(reinterpret_cast<__m128i *>(q), v);
    const uint32_t w[3] = {(q[0] & 0xFFFFFFu) | (q[1] << 24), ((q[1] >> 8) & 0xFFFFu) | (q[2] << 16),
                           ((q[2] >> 16) & 0xFFu) | (q[3] << 8)};
    std::memcpy(p, w, 12);
}
#endif

// One loop per destination kind, grayscale and constant alpha, so that the
// per-pixel work tests none of them.
template <int Bpp, bool kGray, bool kOpaque>
void BlendLoop(const PixelView &source, int32_t srcX, int32_t srcTop, const PixelView &dest, int32_t destX,
               int32_t destTop, int32_t width, int32_t height, int32_t k, const Gray &gw) {
    constexpr bool host = Bpp == 4;
    const simd::Level level = simd::Active();
    if (level == simd::Level::Avx2) {
        const float weights[3] = {gw.wB, gw.wG, gw.wR};
        // Rows are independent: walk them in memory order (bottom-up).
        simd::BlendRectAvx2(source.pixel(srcX, srcTop - height), source.stride,
                            dest.pixel(destX, destTop - height + 1), dest.stride, width, height, Bpp, k, kOpaque,
                            kGray ? weights : nullptr);
        return;
    }
#if defined(__SSE2__)
    const __m128i kv = _mm_set1_epi16(static_cast<short>(k));
    const __m128 wB = _mm_set1_ps(gw.wB), wG = _mm_set1_ps(gw.wG), wR = _mm_set1_ps(gw.wR);
#endif
    for (int32_t y = height - 1; y >= 0; --y) {
        const uint8_t *s = source.pixel(srcX, srcTop - 1 - y);
        uint8_t *d = dest.row(destTop - y) + static_cast<ptrdiff_t>(destX) * Bpp;
        int32_t x = 0;
#if defined(__SSE2__)
        if (level == simd::Level::Sse2) {
            for (; x + 4 <= width; x += 4, s += 16, d += 4 * Bpp) {
                __m128i sv = _mm_loadu_si128(reinterpret_cast<const __m128i *>(s));
                if (AllClear(sv)) continue;
                if constexpr (kGray) sv = Gray4(sv, wB, wG, wR);
                if constexpr (host) {
                    const __m128i dv = _mm_loadu_si128(reinterpret_cast<const __m128i *>(d));
                    _mm_storeu_si128(reinterpret_cast<__m128i *>(d), Over4<kOpaque>(sv, dv, kv));
                } else {
                    Store3x4(d, Over4<kOpaque>(sv, Load3x4(d), kv));
                }
            }
        }
#endif
        for (; x < width; ++x, s += 4, d += Bpp) {
            const int32_t a = s[3];
            if (a == 0) continue;
            if constexpr (!kGray) {
                if constexpr (kOpaque) {
                    if (a == 255) {
                        d[0] = s[0];
                        d[1] = s[1];
                        d[2] = s[2];
                        if constexpr (host) d[3] = 255;
                    } else {
                        const int32_t ia = 255 - a;
                        for (int c = 0; c < 3; ++c) d[c] = Sat(s[c] + ia * d[c] / 255);
                        if constexpr (host) d[3] = Sat(a + ia * d[3] / 255);
                    }
                } else {
                    const int32_t inv = 255 - a * k / 255;
                    for (int c = 0; c < 3; ++c) d[c] = Sat((inv * d[c] + s[c] * k) / 255);
                    if constexpr (host) d[3] = Sat((inv * d[3] + a * k) / 255);
                }
            } else {
                const float sum = gw.Sum(s);
                if constexpr (kOpaque) {
                    if (a == 255) {
                        const double r = vb::RoundHalfEven(sum);
                        const uint8_t g1 = static_cast<uint8_t>(r > 255.0 ? 255 : static_cast<int32_t>(r));
                        d[0] = d[1] = d[2] = g1;
                        if constexpr (host) d[3] = 255;
                    } else {
                        const int32_t g2 = static_cast<int32_t>(vb::RoundHalfEven(sum)) & 0xFF;
                        const int32_t ia = 255 - a;
                        for (int c = 0; c < 3; ++c) d[c] = Sat(g2 + ia * d[c] / 255);
                        if constexpr (host) d[3] = Sat(a + ia * d[3] / 255);
                    }
                } else {
                    const int32_t g2 = static_cast<int32_t>(vb::RoundHalfEven(sum)) & 0xFF;
                    const int32_t inv = 255 - a * k / 255;
                    for (int c = 0; c < 3; ++c) d[c] = Sat((inv * d[c] + g2 * k) / 255);
                    if constexpr (host) d[3] = Sat((inv * d[3] + a * k) / 255);
                }
            }
        }
    }
}

template <int Bpp>
void BlendDispatch(const PixelView &source, int32_t srcX, int32_t srcTop, const PixelView &dest, int32_t destX,
                   int32_t destTop, int32_t width, int32_t height, int32_t k, int32_t code) {
    Gray gw{};
    const bool gray = code != kGrayNone;
    if (gray) GrayScaleWeights(code, gw.wR, gw.wG, gw.wB);
    if (gray) {
        if (k == 255)
            BlendLoop<Bpp, true, true>(source, srcX, srcTop, dest, destX, destTop, width, height, k, gw);
        else
            BlendLoop<Bpp, true, false>(source, srcX, srcTop, dest, destX, destTop, width, height, k, gw);
    } else {
        if (k == 255)
            BlendLoop<Bpp, false, true>(source, srcX, srcTop, dest, destX, destTop, width, height, k, gw);
        else
            BlendLoop<Bpp, false, false>(source, srcX, srcTop, dest, destX, destTop, width, height, k, gw);
    }
}

}  // namespace

void BlendRows(const PixelView &source, int32_t srcX, int32_t srcTop, const PixelView &dest, int32_t destX,
               int32_t destTop, int32_t width, int32_t height, int32_t constantAlpha, int32_t grayCode) {
    const int32_t k = std::clamp(constantAlpha, 0, 255);
    if (dest.bytesPerPixel == 4)
        BlendDispatch<4>(source, srcX, srcTop, dest, destX, destTop, width, height, k, grayCode);
    else
        BlendDispatch<3>(source, srcX, srcTop, dest, destX, destTop, width, height, k, grayCode);
}

bool PlanBlend(const PixelView &self, BlendSource kind, PixelArray &src, int32_t srcX, int32_t srcY,
               int32_t destX, int32_t destY, int32_t destWidth, int32_t destHeight, const PixelView *host,
               float lightness, BlendPlan &plan) {
    int64_t sx = srcX, sy = srcY, dx = destX, dy = destY, w = destWidth, h = destHeight, top;
    PixelView source;
    if (kind == BlendSource::Scaled) {
        if (!src.IsDimensioned()) return false;
        source = src.View();
        dx = std::max<int64_t>(dx, 0);
        dy = std::max<int64_t>(dy, 0);
        sx = 0;
        top = h;
    } else {
        if (kind == BlendSource::Mirrored) {
            if (!src.IsDimensioned()) return false;
            source = src.View();
            sx = sy = 0;
        } else if (lightness != 0.0f) {
            if (!AdjustLightness(&self, lightness, src)) return false;
            source = src.View();
        } else {
            source = self;
        }
        if (dx < 0) {
            sx -= dx;
            w += dx;
            dx = 0;
        }
        if (dy < 0) {
            sy -= dy;
            h += dy;
            dy = 0;
        }
        top = source.height - sy;
    }
    if (host) {
        w = std::min<int64_t>(w, host->width);
        h = std::min<int64_t>(h, host->height);
    }
    if (w < 1 || h < 1) return false;
    if (source.empty() || sx < 0 || sx + w > source.width || top > source.height || top - h < 0) return false;
    plan.source = source;
    plan.srcX = static_cast<int32_t>(sx);
    plan.srcTop = static_cast<int32_t>(top);
    plan.destX = static_cast<int32_t>(dx);
    plan.destY = static_cast<int32_t>(dy);
    plan.width = static_cast<int32_t>(w);
    plan.height = static_cast<int32_t>(h);
    return true;
}

bool BlendToSurface(const PixelView &self, BlendSource kind, PixelArray &src, int32_t srcX, int32_t srcY,
                    int32_t destX, int32_t destY, int32_t destWidth, int32_t destHeight, int32_t constantAlpha,
                    const PixelView &host, int32_t grayCode, float lightness) {
    if (host.empty()) return false;
    BlendPlan p;
    if (!PlanBlend(self, kind, src, srcX, srcY, destX, destY, destWidth, destHeight, &host, lightness, p))
        return false;
    // Only the part that lies inside the host is written.
    const int32_t w = static_cast<int32_t>(std::min<int64_t>(p.width, int64_t{host.width} - p.destX));
    const int32_t h = static_cast<int32_t>(std::min<int64_t>(p.height, int64_t{host.height} - p.destY));
    if (w > 0 && h > 0)
        BlendRows(p.source, p.srcX, p.srcTop, host, p.destX, host.height - 1 - p.destY, w, h, constantAlpha,
                  grayCode);
    return true;
}

}  // namespace lumio::render
