// Bilinear rows with AVX-512. Built without contraction into fused multiply-add:
// each product and sum rounds on its own, as in the per-pixel code. Entered only
// when the processor has AVX-512 F, BW, VL, DQ and VBMI.
#include <immintrin.h>

#include <cstddef>
#include <cstdint>

#include "simd_level.h"

namespace lumio::render::simd {

void WeighRowPairAvx512(const uint8_t *first, const uint8_t *second, double w0, double w1, double *out,
                        int32_t pixels) {
    const __m512d w = _mm512_insertf64x4(_mm512_set1_pd(w0), _mm256_set1_pd(w1), 1);
    for (int32_t i = 0; i < pixels; ++i, first += 4, second += 4, out += 8) {
        int32_t a, b;
        __builtin_memcpy(&a, first, 4);
        __builtin_memcpy(&b, second, 4);
        const __m512i v = _mm512_cvtepu8_epi64(_mm_unpacklo_epi32(_mm_cvtsi32_si128(a), _mm_cvtsi32_si128(b)));
        _mm512_storeu_pd(out, _mm512_mul_pd(_mm512_cvtepi64_pd(v), w));
    }
}

namespace {

// One output column in both rows: the first row's channels in the low half,
// the second's in the high half, term by term in the order of the per-pixel code.
inline __m512d Column(const double *upper, const double *lower, const BilinearColumn &c) {
    const __m512d w0 = _mm512_set1_pd(c.w0), w1 = _mm512_set1_pd(c.w1);
    const size_t i = size_t(c.i0) * 8;
    __m512d acc = _mm512_mul_pd(_mm512_loadu_pd(upper + i), w0);
    acc = _mm512_add_pd(acc, _mm512_mul_pd(_mm512_loadu_pd(upper + i + 8), w1));
    acc = _mm512_add_pd(acc, _mm512_mul_pd(_mm512_loadu_pd(lower + i), w0));
    return _mm512_add_pd(acc, _mm512_mul_pd(_mm512_loadu_pd(lower + i + 8), w1));
}

// Bytes of two columns' results (x and x + 1, each as 64-bit integers): the low
// byte of every lane, in the order (x, row 0) (x + 1, row 0) (x, row 1) (x + 1, row 1).
// The low byte is what the per-pixel code keeps, and a sum never exceeds 255.
inline __m128i ColumnBytes(__m512i a, __m512i b) {
    const __m512i pick = _mm512_set_epi8(0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,  //
                                         0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,  //
                                         0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,  //
                                         char(120), 112, 104, 96, 56, 48, 40, 32, 88, 80, 72, 64, 24, 16, 8, 0);
    return _mm512_castsi512_si128(_mm512_permutex2var_epi8(a, pick, b));
}

inline __m512i Truncated(__m512d v) { return _mm512_cvttpd_epi64(v); }

}  // namespace

void BilinearRowPairAvx512(const double *upper, const double *lower, const BilinearColumn *cols, int32_t width,
                           uint8_t *out0, uint8_t *out1) {
    int32_t x = 0;
    for (; x + 4 <= width; x += 4, out0 += 16, out1 += 16) {
        const __m128i p = ColumnBytes(Truncated(Column(upper, lower, cols[x])), Truncated(Column(upper, lower, cols[x + 1])));
        const __m128i q = ColumnBytes(Truncated(Column(upper, lower, cols[x + 2])), Truncated(Column(upper, lower, cols[x + 3])));
        _mm_storeu_si128(reinterpret_cast<__m128i *>(out0), _mm_unpacklo_epi64(p, q));
        _mm_storeu_si128(reinterpret_cast<__m128i *>(out1), _mm_unpackhi_epi64(p, q));
    }
    for (; x < width; ++x, out0 += 4, out1 += 4) {
        const __m128i b = ColumnBytes(Truncated(Column(upper, lower, cols[x])), _mm512_setzero_si512());
        const int32_t lo = _mm_cvtsi128_si32(b), hi = _mm_cvtsi128_si32(_mm_srli_si128(b, 8));
        __builtin_memcpy(out0, &lo, 4);
        __builtin_memcpy(out1, &hi, 4);
    }
}

}  // namespace lumio::render::simd
