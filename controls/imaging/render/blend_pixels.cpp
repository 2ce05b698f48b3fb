#include "blend_pixels.h"

#include <algorithm>
#include <cstring>
#include <functional>
#if defined(__SSE2__)
#include "blend_sse2.h"
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

// One loop per destination kind, grayscale and constant alpha, so that the
// per-pixel work tests none of them.
// True when the two views' memory does not meet.
bool Apart(const PixelView &a, const PixelView &b) {
    const auto end = [](const PixelView &v) { return v.bits + static_cast<ptrdiff_t>(v.height) * v.stride; };
    return std::less_equal<>()(end(a), b.bits) || std::less_equal<>()(end(b), a.bits);
}

template <int Bpp, bool kGray, bool kOpaque>
void BlendLoop(const PixelView &source, int32_t srcX, int32_t srcTop, const PixelView &dest, int32_t destX,
               int32_t destTop, int32_t width, int32_t height, int32_t k, const Gray &gw) {
    constexpr bool host = Bpp == 4;
    const simd::Level level = simd::Active();
    if (level >= simd::Level::Avx2) {
        const float weights[3] = {gw.wB, gw.wG, gw.wR};
        // Rows are independent: walk them in memory order (bottom-up).
        simd::BlendRectAvx2(source.pixel(srcX, srcTop - height), source.stride,
                            dest.pixel(destX, destTop - height + 1), dest.stride, width, height, Bpp, k, kOpaque,
                            kGray ? weights : nullptr, Apart(source, dest));
        return;
    }
#if defined(__SSE2__)
    if (level == simd::Level::Sse2) {
        const __m128i kv = _mm_set1_epi16(static_cast<short>(k));
        const sse2::GrayWeights weights{_mm_set1_ps(gw.wB), _mm_set1_ps(gw.wG), _mm_set1_ps(gw.wR)};
        const bool apart = Apart(source, dest);
        const uint8_t *s = source.pixel(srcX, srcTop - height);
        uint8_t *d = dest.pixel(destX, destTop - height + 1);
        const sse2::RowBlend<Bpp, kOpaque, kGray> row(width, kv, weights, apart);
        for (int32_t y = 0; y < height; ++y, s += source.stride, d += dest.stride) row(s, d);
        return;
    }
#endif
    for (int32_t y = height - 1; y >= 0; --y) {
        const uint8_t *s = source.pixel(srcX, srcTop - 1 - y);
        uint8_t *d = dest.row(destTop - y) + static_cast<ptrdiff_t>(destX) * Bpp;
        int32_t x = 0;
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
