// Bilinear output rows with one 4-double vector a pixel. Built with -mavx2
// (never with fused multiply-add: each product and sum rounds on its own, as
// in the per-pixel code) and entered only when the processor has AVX2.
#include <immintrin.h>

#include <cstddef>
#include <cstdint>

#include "simd_level.h"

namespace lumio::render::simd {

namespace {

// The sum of one output pixel, term by term in the order of the per-pixel code. A missing row
// would add +0 to a non-negative sum, which changes nothing, so its terms are left out.
template <bool kUpper, bool kLower>
inline __m256d Pixel(const double *upper, const double *lower, const BilinearColumn &c) {
    const __m256d w0 = _mm256_broadcast_sd(&c.w0), w1 = _mm256_broadcast_sd(&c.w1);
    const size_t i = size_t(c.i0) * 4;
    __m256d acc;
    if constexpr (kUpper) {
        acc = _mm256_mul_pd(_mm256_loadu_pd(upper + i), w0);
        acc = _mm256_add_pd(acc, _mm256_mul_pd(_mm256_loadu_pd(upper + i + 4), w1));
        if constexpr (kLower) acc = _mm256_add_pd(acc, _mm256_mul_pd(_mm256_loadu_pd(lower + i), w0));
    } else {
        acc = _mm256_mul_pd(_mm256_loadu_pd(lower + i), w0);
    }
    if constexpr (kLower) acc = _mm256_add_pd(acc, _mm256_mul_pd(_mm256_loadu_pd(lower + i + 4), w1));
    return acc;
}

template <bool kUpper, bool kLower>
void Row(const double *upper, const double *lower, const BilinearColumn *cols, int32_t width, uint8_t *out) {
    int32_t x = 0;
    // Two pixels share the narrowing to bytes and one store.
    for (; x + 2 <= width; x += 2, out += 8) {
        const __m128i a = _mm256_cvttpd_epi32(Pixel<kUpper, kLower>(upper, lower, cols[x]));
        const __m128i b = _mm256_cvttpd_epi32(Pixel<kUpper, kLower>(upper, lower, cols[x + 1]));
        const __m128i p = _mm_packs_epi32(a, b);
        _mm_storel_epi64(reinterpret_cast<__m128i *>(out), _mm_packus_epi16(p, p));
    }
    if (x < width) {
        const __m128i v = _mm256_cvttpd_epi32(Pixel<kUpper, kLower>(upper, lower, cols[x]));
        const int32_t b = _mm_cvtsi128_si32(_mm_packus_epi16(_mm_packs_epi32(v, v), v));
        __builtin_memcpy(out, &b, 4);
    }
}

}  // namespace

void BilinearRowAvx2(const double *upper, const double *lower, const BilinearColumn *cols, int32_t width,
                     uint8_t *out) {
    if (!upper) return Row<false, true>(upper, lower, cols, width, out);
    if (!lower) return Row<true, false>(upper, lower, cols, width, out);
    Row<true, true>(upper, lower, cols, width, out);
}

void WeighRowAvx2(const uint8_t *p, double weight, double *out, int32_t pixels) {
    const __m256d w = _mm256_set1_pd(weight);
    for (int32_t i = 0; i < pixels; ++i, p += 4, out += 4) {
        int32_t v;
        __builtin_memcpy(&v, p, 4);
        const __m256d b = _mm256_cvtepi32_pd(_mm_cvtepu8_epi32(_mm_cvtsi32_si128(v)));
        _mm256_storeu_pd(out, _mm256_mul_pd(b, w));
    }
}

}  // namespace lumio::render::simd
