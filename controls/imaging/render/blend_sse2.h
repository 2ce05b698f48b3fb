#pragma once
// The blend four pixels at a time with SSE2, for the SSE2 level and for the ends of rows the
// AVX2 loop leaves. Everything here has internal linkage, so each file that includes it gets
// its own copy built with its own instruction set and none leaks into the other.
//
// Channels are worked on in two halves of 16-bit lanes, blue and red in one, green and alpha
// in the other (no unpacking). A clear source pixel is zeroed first: the formulas then give
// its destination back unchanged, whatever colour bytes it held.
#include <emmintrin.h>

#include <cstdint>
#include <cstring>

namespace lumio::render::sse2 {
namespace {

// x / 255 for any 16-bit x, exact: (x * 0x8081) >> 23.
inline __m128i Div255(__m128i x) { return _mm_srli_epi16(_mm_mulhi_epu16(x, _mm_set1_epi16(short(0x8081))), 7); }

inline __m128i AlphaMask() { return _mm_set1_epi32(int(0xFF000000u)); }

// Four source pixels over four destination pixels, per channel, s + (255 - a) * d / 255,
// saturated. ia: each pixel's 255 - a in both 16-bit lanes of its 32 bits.
inline __m128i OverOpaque(__m128i s, __m128i ia, __m128i d) {
    const __m128i low = _mm_set1_epi16(0xFF);
    s = _mm_andnot_si128(_mm_cmpeq_epi16(ia, low), s);
    const __m128i br = Div255(_mm_mullo_epi16(_mm_and_si128(d, low), ia));
    const __m128i ga = Div255(_mm_mullo_epi16(_mm_srli_epi16(d, 8), ia));
    return _mm_adds_epu8(s, _mm_or_si128(br, _mm_slli_epi16(ga, 8)));
}

// The same at constant alpha k: ((255 - a * k / 255) * d + s * k) / 255 in 16-bit arithmetic,
// saturated. a: alphas in pairs as above; inv: 255 - a * k / 255 likewise.
inline __m128i OverConstant(__m128i s, __m128i a, __m128i inv, __m128i d, __m128i k) {
    const __m128i low = _mm_set1_epi16(0xFF);
    s = _mm_andnot_si128(_mm_cmpeq_epi16(a, _mm_setzero_si128()), s);
    const __m128i br = _mm_add_epi16(_mm_mullo_epi16(inv, _mm_and_si128(d, low)), _mm_mullo_epi16(_mm_and_si128(s, low), k));
    const __m128i ga = _mm_add_epi16(_mm_mullo_epi16(inv, _mm_srli_epi16(d, 8)), _mm_mullo_epi16(_mm_srli_epi16(s, 8), k));
    // Saturating pack: B, R bytes then G, A bytes; interleaved back into B, G, R, A.
    const __m128i bytes = _mm_packus_epi16(Div255(br), Div255(ga));
    return _mm_unpacklo_epi8(bytes, _mm_srli_si128(bytes, 8));
}

// Eight pixels at constant alpha k, as OverConstant: s0, d0 the first four, s1, d1 the
// others; a8: the eight alphas as 16-bit lanes; clear: where a8 is 0. A clear pixel's
// source counts with weight 0 (its inv is 255), so its destination comes back as it was.
// Both halves of each group are packed together before they are interleaved back.
inline void OverConstant8(__m128i s0, __m128i s1, __m128i a8, __m128i clear, __m128i &d0, __m128i &d1, __m128i k) {
    const __m128i low = _mm_set1_epi16(0xFF);
    const __m128i inv = _mm_sub_epi16(low, Div255(_mm_mullo_epi16(a8, k)));
    const __m128i kz = _mm_andnot_si128(clear, k);
    const __m128i inv0 = _mm_unpacklo_epi16(inv, inv), inv1 = _mm_unpackhi_epi16(inv, inv);
    const __m128i k0 = _mm_unpacklo_epi16(kz, kz), k1 = _mm_unpackhi_epi16(kz, kz);
    const auto half = [&](__m128i s, __m128i d, __m128i i, __m128i w) {
        return Div255(_mm_add_epi16(_mm_mullo_epi16(i, d), _mm_mullo_epi16(s, w)));
    };
    const __m128i br0 = half(_mm_and_si128(s0, low), _mm_and_si128(d0, low), inv0, k0);
    const __m128i br1 = half(_mm_and_si128(s1, low), _mm_and_si128(d1, low), inv1, k1);
    const __m128i ga0 = half(_mm_srli_epi16(s0, 8), _mm_srli_epi16(d0, 8), inv0, k0);
    const __m128i ga1 = half(_mm_srli_epi16(s1, 8), _mm_srli_epi16(d1, 8), inv1, k1);
    const __m128i br = _mm_packus_epi16(br0, br1), ga = _mm_packus_epi16(ga0, ga1);
    d0 = _mm_unpacklo_epi8(br, ga);
    d1 = _mm_unpackhi_epi8(br, ga);
}

// Grey replaces B, G, R by the weighted sum rounded half to even (the default rounding of
// cvtps2dq), as the per-pixel code does.
inline __m128i Gray4(__m128i s, __m128 wB, __m128 wG, __m128 wR) {
    const __m128i m = _mm_set1_epi32(0xFF);
    const __m128 b = _mm_cvtepi32_ps(_mm_and_si128(s, m));
    const __m128 g = _mm_cvtepi32_ps(_mm_and_si128(_mm_srli_epi32(s, 8), m));
    const __m128 r = _mm_cvtepi32_ps(_mm_and_si128(_mm_srli_epi32(s, 16), m));
    const __m128 sum = _mm_add_ps(_mm_add_ps(_mm_mul_ps(b, wB), _mm_mul_ps(g, wG)), _mm_mul_ps(r, wR));
    const __m128i v = _mm_and_si128(_mm_cvtps_epi32(sum), m);
    return _mm_or_si128(_mm_or_si128(v, _mm_slli_epi32(v, 8)),
                        _mm_or_si128(_mm_slli_epi32(v, 16), _mm_and_si128(s, AlphaMask())));
}

// 24-bit destinations: four B, G, R triples (the low 12 bytes of t) to four 32-bit lanes,
// whose fourth bytes are left over from the neighbours (the blend ignores them there).
inline __m128i Spread3x4(__m128i t) {
    const __m128i lo = _mm_unpacklo_epi32(t, _mm_srli_si128(t, 3));
    const __m128i hi = _mm_unpacklo_epi32(_mm_srli_si128(t, 6), _mm_srli_si128(t, 9));
    return _mm_unpacklo_epi64(lo, hi);
}

// Four lanes' B, G, R to the low 12 bytes, the rest zero.
inline __m128i Pack3x4(__m128i v) {
    const __m128i first = _mm_and_si128(v, _mm_set_epi32(0, 0xFFFFFF, 0, 0xFFFFFF));
    const __m128i second = _mm_srli_epi64(_mm_and_si128(v, _mm_set_epi32(0xFFFFFF, 0, 0xFFFFFF, 0)), 8);
    const __m128i pairs = _mm_or_si128(first, second);  // 6 bytes in each half
    return _mm_or_si128(_mm_move_epi64(pairs), _mm_slli_si128(_mm_unpackhi_epi64(pairs, _mm_setzero_si128()), 6));
}

inline __m128i Load3x4(const uint8_t *p) {
    int32_t last;
    std::memcpy(&last, p + 8, 4);
    return Spread3x4(_mm_unpacklo_epi64(_mm_loadl_epi64(reinterpret_cast<const __m128i *>(p)), _mm_cvtsi32_si128(last)));
}

inline void Store3x4(uint8_t *p, __m128i v) {
    const __m128i b = Pack3x4(v);
    _mm_storel_epi64(reinterpret_cast<__m128i *>(p), b);
    const int32_t last = _mm_cvtsi128_si32(_mm_srli_si128(b, 8));
    std::memcpy(p + 8, &last, 4);
}

// Eight triples (24 bytes) to and from two vectors of four lanes.
inline void Load3x8(const uint8_t *p, __m128i &v0, __m128i &v1) {
    const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p));
    const __m128i b = _mm_loadl_epi64(reinterpret_cast<const __m128i *>(p + 16));
    v0 = Spread3x4(a);
    v1 = Spread3x4(_mm_or_si128(_mm_srli_si128(a, 12), _mm_slli_si128(b, 4)));
}

inline void Store3x8(uint8_t *p, __m128i v0, __m128i v1) {
    const __m128i a = Pack3x4(v0), b = Pack3x4(v1);
    _mm_storeu_si128(reinterpret_cast<__m128i *>(p), _mm_or_si128(a, _mm_slli_si128(b, 12)));
    _mm_storel_epi64(reinterpret_cast<__m128i *>(p + 16), _mm_srli_si128(b, 4));
}

// The first n (1..3) pixels of p in the low lanes; the others read as clear pixels.
inline __m128i LoadPixels(const uint8_t *p, int n, int bpp) {
    if (bpp == 4) {
        uint32_t last = 0;
        if (n != 2) std::memcpy(&last, p + (n - 1) * 4, 4);
        if (n == 1) return _mm_cvtsi32_si128(int(last));
        const __m128i two = _mm_loadl_epi64(reinterpret_cast<const __m128i *>(p));
        return n == 2 ? two : _mm_unpacklo_epi64(two, _mm_cvtsi32_si128(int(last)));
    }
    uint32_t lanes[4] = {};
    for (int i = 0; i < n; ++i, p += 3) lanes[i] = uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16;
    return _mm_loadu_si128(reinterpret_cast<const __m128i *>(lanes));
}

inline void StorePixels(uint8_t *p, __m128i v, int n, int bpp) {
    if (bpp == 4) {
        if (n >= 2) _mm_storel_epi64(reinterpret_cast<__m128i *>(p), v);
        if (n != 2) {
            const uint32_t last = uint32_t(_mm_cvtsi128_si32(n == 1 ? v : _mm_srli_si128(v, 8)));
            std::memcpy(p + (n - 1) * 4, &last, 4);
        }
        return;
    }
    uint32_t lanes[4];
    _mm_storeu_si128(reinterpret_cast<__m128i *>(lanes), v);
    for (int i = 0; i < n; ++i, p += 3) {
        p[0] = uint8_t(lanes[i]);
        p[1] = uint8_t(lanes[i] >> 8);
        p[2] = uint8_t(lanes[i] >> 16);
    }
}

struct GrayWeights {
    __m128 b, g, r;
};

// n pixels (8, 4 or 1..3) of Bpp bytes as 32-bit lanes of v0 (the first four) and v1;
// lanes past n read as clear pixels.
template <int Bpp>
inline void Load(const uint8_t *p, int n, __m128i &v0, __m128i &v1) {
    v1 = _mm_setzero_si128();
    if (n < 4) {
        v0 = LoadPixels(p, n, Bpp);
    } else if constexpr (Bpp == 4) {
        v0 = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p));
        if (n == 8) v1 = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p + 16));
    } else if (n == 8) {
        Load3x8(p, v0, v1);
    } else {
        v0 = Load3x4(p);
    }
}

template <int Bpp>
inline void Store(uint8_t *p, int n, __m128i v0, __m128i v1) {
    if (n < 4) {
        StorePixels(p, v0, n, Bpp);
    } else if constexpr (Bpp == 4) {
        _mm_storeu_si128(reinterpret_cast<__m128i *>(p), v0);
        if (n == 8) _mm_storeu_si128(reinterpret_cast<__m128i *>(p + 16), v1);
    } else if (n == 8) {
        Store3x8(p, v0, v1);
    } else {
        Store3x4(p, v0);
    }
}

// Rows of width pixels of s over d, d holding Bpp bytes a pixel; what depends only on the
// width is settled once, before the first row. Eight pixels a turn: the alphas of both groups
// of four are handled in one vector. With `apart` (s and d share no bytes) a ragged end is one
// more full group that ends at the row's end, blended onto the destination as it was before
// the row began: the pixels it shares with the previous group get the same bytes again.
template <int Bpp, bool kOpaque, bool kGray>
class RowBlend {
public:
    RowBlend(int32_t width, __m128i k, const GrayWeights &w, bool apart)
        : k_(k), w_(w), width_(width), whole8_(width & ~7), overlapEnd_(apart && width >= 4 && width % (width >= 8 ? 8 : 4) != 0) {}

    void operator()(const uint8_t *s, uint8_t *d) const {
        if (overlapEnd_) {
            if (width_ >= 8) return Overlapped<8>(s, d);
            return Overlapped<4>(s, d);
        }
        int32_t x = 0;
        for (; x < whole8_; x += 8) Group<8>(s + x * 4, d + x * Bpp, 8);
        if (x + 4 <= width_) {
            Group<4>(s + x * 4, d + x * Bpp, 4);
            x += 4;
        }
        if (x < width_) Group<0>(s + x * 4, d + x * Bpp, width_ - x);
    }

private:
    template <int N>
    void Overlapped(const uint8_t *s, uint8_t *d) const {
        const int32_t lastAt = width_ - N;
        __m128i t0, t1;
        Load<Bpp>(d + lastAt * Bpp, N, t0, t1);
        for (int32_t x = 0; x + N <= width_; x += N) Group<N>(s + x * 4, d + x * Bpp, N);
        Onto<N>(s + lastAt * 4, d + lastAt * Bpp, N, t0, t1);
    }

    // N pixels (8 or 4; 0: n of 1..3) at s onto d.
    template <int N>
    void Group(const uint8_t *sp, uint8_t *dp, int n) const {
        __m128i d0, d1;
        Load<Bpp>(dp, N ? N : n, d0, d1);
        Onto<N>(sp, dp, n, d0, d1);
    }

    // The same onto d0, d1 (the destination at dp), stored at dp.
    template <int N>
    void Onto(const uint8_t *sp, uint8_t *dp, int n, __m128i d0, __m128i d1) const {
        if constexpr (N != 0) n = N;
        const __m128i zero = _mm_setzero_si128(), low = _mm_set1_epi16(0xFF);
        __m128i s0, s1;
        Load<4>(sp, n, s0, s1);
        const __m128i a8 = _mm_packs_epi32(_mm_srli_epi32(s0, 24), _mm_srli_epi32(s1, 24));
        const __m128i clear = _mm_cmpeq_epi16(a8, zero);
        if (_mm_movemask_epi8(clear) == 0xFFFF) return;
        if constexpr (kOpaque && !kGray && N == 8) {
            // Opaque pixels replace the destination.
            if (_mm_movemask_epi8(_mm_cmpeq_epi16(a8, low)) == 0xFFFF) return Store<Bpp>(dp, n, s0, s1);
        }
        if constexpr (kGray) {
            s0 = Gray4(s0, w_.b, w_.g, w_.r);
            if constexpr (N == 8) s1 = Gray4(s1, w_.b, w_.g, w_.r);
        }
        if constexpr (kOpaque) {
            const __m128i ia = _mm_xor_si128(a8, low);
            d0 = OverOpaque(s0, _mm_unpacklo_epi16(ia, ia), d0);
            if constexpr (N == 8) d1 = OverOpaque(s1, _mm_unpackhi_epi16(ia, ia), d1);
        } else if constexpr (N == 8) {
            OverConstant8(s0, s1, a8, clear, d0, d1, k_);
        } else {
            const __m128i inv = _mm_sub_epi16(low, Div255(_mm_mullo_epi16(a8, k_)));
            d0 = OverConstant(s0, _mm_unpacklo_epi16(a8, a8), _mm_unpacklo_epi16(inv, inv), d0, k_);
            if constexpr (N == 8) d1 = OverConstant(s1, _mm_unpackhi_epi16(a8, a8), _mm_unpackhi_epi16(inv, inv), d1, k_);
        }
        Store<Bpp>(dp, n, d0, d1);
    }

    __m128i k_;
    GrayWeights w_;
    int32_t width_, whole8_;
    bool overlapEnd_;
};

template <int Bpp, bool kOpaque, bool kGray>
inline void BlendRow(const uint8_t *s, uint8_t *d, int32_t width, __m128i k, const GrayWeights &w, bool apart) {
    RowBlend<Bpp, kOpaque, kGray>(width, k, w, apart)(s, d);
}

}  // namespace
}  // namespace lumio::render::sse2
