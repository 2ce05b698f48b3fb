// Bilinear output rows with one 4-double vector a pixel. Built with -mavx2
// (never with fused multiply-add: each product and sum rounds on its own, as
// in the per-pixel code) and entered only when the processor has AVX2.
#include <immintrin.h>

#include <cstddef>
#include <cstdint>

#include "simd_level.h"

namespace lumio::render::simd {

namespace {

inline __m256d Bytes(const uint8_t *p) {
    int32_t v;
    __builtin_memcpy(&v, p, 4);
    return _mm256_cvtepi32_pd(_mm_cvtepu8_epi32(_mm_cvtsi32_si128(v)));
}

// Window pixels s0 to s1 (the one past the window reads as zero): at 8 doubles
// each, the bytes times wu, then times wl.
template <bool kUpper, bool kLower>
void Weigh(const uint8_t *upper, const uint8_t *lower, double wu, double wl, int32_t s0, int32_t s1, int32_t window,
           double *strip) {
    const __m256d vu = _mm256_set1_pd(wu), vl = _mm256_set1_pd(wl);
    const int32_t end = s1 < window ? s1 + 1 : window;
    int32_t s = s0;
    for (; s < end; ++s, strip += 8) {
        if constexpr (kUpper) _mm256_storeu_pd(strip, _mm256_mul_pd(Bytes(upper + size_t(s) * 4), vu));
        if constexpr (kLower) _mm256_storeu_pd(strip + 4, _mm256_mul_pd(Bytes(lower + size_t(s) * 4), vl));
    }
    if (s <= s1) {
        _mm256_storeu_pd(strip, _mm256_setzero_pd());
        _mm256_storeu_pd(strip + 4, _mm256_setzero_pd());
    }
}

// The sum of one output pixel, term by term in the order of the per-pixel code. A missing row
// would add +0 to a non-negative sum, which changes nothing, so its terms are left out.
template <bool kUpper, bool kLower>
inline __m128i Pixel(const double *strip, const BilinearColumn &c) {
    const double *at = strip + c.at;
    __m256d acc;
    if (c.w1 == 0.0) {
        // On a source column (weight 1): the terms times 1 are themselves, the others +0.
        if constexpr (kUpper && kLower)
            acc = _mm256_add_pd(_mm256_loadu_pd(at), _mm256_loadu_pd(at + 4));
        else
            acc = _mm256_loadu_pd(at + (kUpper ? 0 : 4));
        return _mm256_cvttpd_epi32(acc);
    }
    const __m256d w0 = _mm256_broadcast_sd(&c.w0), w1 = _mm256_broadcast_sd(&c.w1);
    if constexpr (kUpper) {
        acc = _mm256_mul_pd(_mm256_loadu_pd(at), w0);
        acc = _mm256_add_pd(acc, _mm256_mul_pd(_mm256_loadu_pd(at + 8), w1));
        if constexpr (kLower) acc = _mm256_add_pd(acc, _mm256_mul_pd(_mm256_loadu_pd(at + 4), w0));
    } else {
        acc = _mm256_mul_pd(_mm256_loadu_pd(at + 4), w0);
    }
    if constexpr (kLower) acc = _mm256_add_pd(acc, _mm256_mul_pd(_mm256_loadu_pd(at + 12), w1));
    return _mm256_cvttpd_epi32(acc);
}

template <bool kUpper, bool kLower>
void Row(const uint8_t *upper, const uint8_t *lower, double wu, double wl, const BilinearColumn *cols, int32_t width,
         int32_t window, uint8_t *out, double *strip) {
    for (int32_t x0 = 0; x0 < width; x0 += kBilinearStrip) {
        const int32_t x1 = width - x0 < kBilinearStrip ? width : x0 + kBilinearStrip;
        const int32_t s0 = cols[x0].i0;
        Weigh<kUpper, kLower>(upper, lower, wu, wl, s0, cols[x1 - 1].i0 + 1, window, strip);
        int32_t x = x0;
        // Two pixels share the narrowing to bytes and one store.
        for (; x + 2 <= x1; x += 2) {
            const __m128i a = Pixel<kUpper, kLower>(strip, cols[x]);
            const __m128i b = Pixel<kUpper, kLower>(strip, cols[x + 1]);
            const __m128i p = _mm_packs_epi32(a, b);
            _mm_storel_epi64(reinterpret_cast<__m128i *>(out + size_t(x) * 4), _mm_packus_epi16(p, p));
        }
        if (x < x1) {
            const __m128i v = Pixel<kUpper, kLower>(strip, cols[x]);
            const int32_t b = _mm_cvtsi128_si32(_mm_packus_epi16(_mm_packs_epi32(v, v), v));
            __builtin_memcpy(out + size_t(x) * 4, &b, 4);
        }
    }
}

}  // namespace

void BilinearRowAvx2(const uint8_t *upper, const uint8_t *lower, double wu, double wl, const BilinearColumn *cols,
                     int32_t width, int32_t window, uint8_t *out, double *strip) {
    if (!upper) return Row<false, true>(upper, lower, wu, wl, cols, width, window, out, strip);
    if (!lower) return Row<true, false>(upper, lower, wu, wl, cols, width, window, out, strip);
    Row<true, true>(upper, lower, wu, wl, cols, width, window, out, strip);
}

}  // namespace lumio::render::simd
