// Bilinear output rows with one 4-double vector a pixel. Built with -mavx2
// (never with fused multiply-add: each product and sum rounds on its own, as
// in the per-pixel code) and entered only when the processor has AVX2.
#include <immintrin.h>

#include <cstddef>
#include <cstdint>

#include "simd_level.h"

namespace lumio::render::simd {

void BilinearRowAvx2(const double *upper, const double *lower, const BilinearColumn *cols, int32_t width,
                     uint8_t *out) {
    for (int32_t x = 0; x < width; ++x, out += 4) {
        const BilinearColumn &c = cols[x];
        const __m256d w0 = _mm256_set1_pd(c.w0), w1 = _mm256_set1_pd(c.w1);
        const size_t i0 = size_t(c.i0) * 4, i1 = size_t(c.i1) * 4;
        __m256d acc = _mm256_mul_pd(_mm256_loadu_pd(upper + i0), w0);
        acc = _mm256_add_pd(acc, _mm256_mul_pd(_mm256_loadu_pd(upper + i1), w1));
        acc = _mm256_add_pd(acc, _mm256_mul_pd(_mm256_loadu_pd(lower + i0), w0));
        acc = _mm256_add_pd(acc, _mm256_mul_pd(_mm256_loadu_pd(lower + i1), w1));
        const __m128i v = _mm256_cvttpd_epi32(acc);
        const __m128i b = _mm_packus_epi16(_mm_packs_epi32(v, v), _mm_setzero_si128());
        *reinterpret_cast<int32_t *>(out) = _mm_cvtsi128_si32(b);
    }
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
