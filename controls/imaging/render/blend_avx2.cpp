// The blend eight pixels at a time. Built with -mavx2 and entered only after
// the processor said it has AVX2; it includes nothing that could be inlined
// elsewhere, so no AVX2 code leaks into the rest of the program.
#include <immintrin.h>

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "blend_sse2.h"
#include "simd_level.h"

namespace lumio::render::simd {
namespace {

// x / 255 for any 16-bit x, exact.
inline __m256i Div255(__m256i x) {
    return _mm256_srli_epi16(_mm256_mulhi_epu16(x, _mm256_set1_epi16(short(0x8081))), 7);
}

template <bool kOpaque>
inline __m256i Half(__m256i s, __m256i d, __m256i k) {
    const __m256i a = _mm256_shufflehi_epi16(_mm256_shufflelo_epi16(s, 0xFF), 0xFF);
    if constexpr (kOpaque) {
        const __m256i ia = _mm256_sub_epi16(_mm256_set1_epi16(255), a);
        return _mm256_add_epi16(s, Div255(_mm256_mullo_epi16(ia, d)));
    } else {
        const __m256i inv = _mm256_sub_epi16(_mm256_set1_epi16(255), Div255(_mm256_mullo_epi16(a, k)));
        return Div255(_mm256_add_epi16(_mm256_mullo_epi16(inv, d), _mm256_mullo_epi16(s, k)));
    }
}

inline __m256i ClearMask(__m256i s) {
    return _mm256_cmpeq_epi32(_mm256_and_si256(s, _mm256_set1_epi32(int(0xFF000000u))), _mm256_setzero_si256());
}

template <bool kOpaque>
inline __m256i Over8(__m256i s, __m256i d, __m256i k, __m256i clear) {
    const __m256i zero = _mm256_setzero_si256();
    const __m256i lo = Half<kOpaque>(_mm256_unpacklo_epi8(s, zero), _mm256_unpacklo_epi8(d, zero), k);
    const __m256i hi = Half<kOpaque>(_mm256_unpackhi_epi8(s, zero), _mm256_unpackhi_epi8(d, zero), k);
    const __m256i r = _mm256_packus_epi16(lo, hi);
    return _mm256_blendv_epi8(r, d, clear);
}

inline __m256i Gray8(__m256i s, __m256 wB, __m256 wG, __m256 wR) {
    const __m256i m = _mm256_set1_epi32(0xFF);
    const __m256 b = _mm256_cvtepi32_ps(_mm256_and_si256(s, m));
    const __m256 g = _mm256_cvtepi32_ps(_mm256_and_si256(_mm256_srli_epi32(s, 8), m));
    const __m256 r = _mm256_cvtepi32_ps(_mm256_and_si256(_mm256_srli_epi32(s, 16), m));
    const __m256 sum = _mm256_add_ps(_mm256_add_ps(_mm256_mul_ps(b, wB), _mm256_mul_ps(g, wG)), _mm256_mul_ps(r, wR));
    const __m256i v = _mm256_and_si256(_mm256_cvtps_epi32(sum), m);
    return _mm256_or_si256(
        _mm256_or_si256(v, _mm256_slli_epi32(v, 8)),
        _mm256_or_si256(_mm256_slli_epi32(v, 16), _mm256_and_si256(s, _mm256_set1_epi32(int(0xFF000000u)))));
}

// Eight B, G, R triples (24 bytes) to and from eight 32-bit lanes.
inline __m256i Load3x8(const uint8_t *p) {
    const __m128i lo = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p));
    const __m128i hi = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p + 8));
    const __m256i v = _mm256_set_m128i(hi, lo);
    const __m256i idx = _mm256_setr_epi8(0, 1, 2, -1, 3, 4, 5, -1, 6, 7, 8, -1, 9, 10, 11, -1,  //
                                         4, 5, 6, -1, 7, 8, 9, -1, 10, 11, 12, -1, 13, 14, 15, -1);
    return _mm256_shuffle_epi8(v, idx);
}

inline void Store3x8(uint8_t *p, __m256i v) {
    const __m256i idx = _mm256_setr_epi8(0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, -1, -1, -1, -1,  //
                                         0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, -1, -1, -1, -1);
    const __m256i packed = _mm256_shuffle_epi8(v, idx);
    const __m128i lo = _mm256_castsi256_si128(packed), hi = _mm256_extracti128_si256(packed, 1);
    _mm_storel_epi64(reinterpret_cast<__m128i *>(p), lo);
    const int32_t l = _mm_cvtsi128_si32(_mm_srli_si128(lo, 8));
    std::memcpy(p + 8, &l, 4);
    _mm_storel_epi64(reinterpret_cast<__m128i *>(p + 12), hi);
    const int32_t h = _mm_cvtsi128_si32(_mm_srli_si128(hi, 8));
    std::memcpy(p + 20, &h, 4);
}

template <int Bpp, bool kOpaque, bool kGray>
void Rect(const uint8_t *s, ptrdiff_t sStep, uint8_t *d, ptrdiff_t dStep, int32_t width, int32_t height, int32_t k,
          const float *w, bool apart) {
    const __m256i kv = _mm256_set1_epi16(short(k));
    __m256 wB{}, wG{}, wR{};
    if constexpr (kGray) {
        wB = _mm256_set1_ps(w[0]);
        wG = _mm256_set1_ps(w[1]);
        wR = _mm256_set1_ps(w[2]);
    }
    auto blend = [&](__m256i sv, __m256i dv, __m256i clear) {
        if constexpr (kGray) sv = Gray8(sv, wB, wG, wR);
        return Over8<kOpaque>(sv, dv, kv, clear);
    };
    const __m128i kv4 = _mm_set1_epi16(short(k));
    const sse2::GrayWeights w4 = {_mm256_castps256_ps128(wB), _mm256_castps256_ps128(wG), _mm256_castps256_ps128(wR)};
    auto load = [](const uint8_t *p) {
        if constexpr (Bpp == 4) return _mm256_loadu_si256(reinterpret_cast<const __m256i *>(p));
        else return Load3x8(p);
    };
    // Eight pixels at sp onto dv, the destination at dp.
    auto blendOnto = [&](const uint8_t *sp, uint8_t *dp, __m256i dv) {
        const __m256i sv = _mm256_loadu_si256(reinterpret_cast<const __m256i *>(sp));
        const __m256i clear = ClearMask(sv);
        if (_mm256_movemask_epi8(clear) == -1) return;
        if constexpr (Bpp == 4)
            _mm256_storeu_si256(reinterpret_cast<__m256i *>(dp), blend(sv, dv, clear));
        else
            Store3x8(dp, blend(sv, dv, clear));
    };
    const int32_t whole = width & ~7;
    // A ragged end after at least one group is one more group that ends at the row's end, onto
    // the destination as it was (see sse2::BlendRow).
    const bool overlapEnd = apart && whole != 0 && whole < width;
    const int32_t lastAt = width - 8;
    for (int32_t y = 0; y < height; ++y, s += sStep, d += dStep) {
        __m256i before{};
        if (overlapEnd) before = load(d + lastAt * Bpp);
        const uint8_t *sp = s;
        uint8_t *dp = d;
        for (int32_t x = 0; x < whole; x += 8, sp += 32, dp += 8 * Bpp) blendOnto(sp, dp, load(dp));
        if (overlapEnd)
            blendOnto(s + lastAt * 4, d + lastAt * Bpp, before);
        else if (whole < width)  // no masked stores: the SSE2 loop
            sse2::BlendRow<Bpp, kOpaque, kGray>(sp, dp, width - whole, kv4, w4, apart);
    }
}

template <int Bpp>
void RectFor(const uint8_t *s, ptrdiff_t sStep, uint8_t *d, ptrdiff_t dStep, int32_t width, int32_t height,
             int32_t k, bool opaque, const float *gray, bool apart) {
    if (gray) {
        if (opaque) return Rect<Bpp, true, true>(s, sStep, d, dStep, width, height, k, gray, apart);
        return Rect<Bpp, false, true>(s, sStep, d, dStep, width, height, k, gray, apart);
    }
    if (opaque) return Rect<Bpp, true, false>(s, sStep, d, dStep, width, height, k, gray, apart);
    return Rect<Bpp, false, false>(s, sStep, d, dStep, width, height, k, gray, apart);
}

}  // namespace

void BlendRectAvx2(const uint8_t *s, ptrdiff_t sStep, uint8_t *d, ptrdiff_t dStep, int32_t width, int32_t height,
                   int32_t bpp, int32_t k, bool opaque, const float *gray, bool apart) {
    if (bpp == 4) return RectFor<4>(s, sStep, d, dStep, width, height, k, opaque, gray, apart);
    RectFor<3>(s, sStep, d, dStep, width, height, k, opaque, gray, apart);
}

}  // namespace lumio::render::simd
