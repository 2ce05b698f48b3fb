#include "png/png_rows.h"

#include <cstring>
#include <type_traits>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace lumio::png_rows {

const Pass kPasses[8] = {{0, 0, 8, 8}, {0, 4, 8, 8}, {4, 0, 8, 4}, {0, 2, 4, 4},
                         {2, 0, 4, 2}, {0, 1, 2, 2}, {1, 0, 2, 1}, {0, 0, 1, 1}};

PassGeometry PassSize(const Pass &p, int32_t width, int32_t height) {
    const int32_t columns = width / p.columnStep + (p.columnStart < width % p.columnStep ? 1 : 0);
    const int32_t rows = height / p.rowStep + (p.rowStart < height % p.rowStep ? 1 : 0);
    return {columns, rows};
}

unsigned BitsPerPixel(uint8_t colorType, uint8_t depth) {
    switch (colorType) {
    case 6: return 4u * depth;
    case 4: return 2u * depth;
    case 2: return 3u * depth;
    default: return depth;
    }
}

size_t FilterStep(uint8_t colorType, uint8_t depth) {
    const size_t bytes = BitsPerPixel(colorType, depth) / 8;
    return bytes ? bytes : 1;
}

bool RowByteCount(int64_t pixels, unsigned bpp, int64_t &bytes) {
    const int64_t bits = pixels * bpp;
    if (bits >= 0x7FFFFFF9)
        return false;
    bytes = (bits + 7) / 8;
    return true;
}

namespace {

inline uint8_t Paeth(int a, int b, int c) {
    const int p = a + b - c;
    const int pa = p > a ? p - a : a - p;
    const int pb = p > b ? p - b : b - p;
    const int pc = p > c ? p - c : c - p;
    if (pa <= pb && pa <= pc)
        return uint8_t(a);
    return uint8_t(pb <= pc ? b : c);
}

template <size_t Step>
void PaethRow(uint8_t *row, const uint8_t *prev, size_t length) {
    for (size_t i = 0; i < Step && i < length; ++i)
        row[i] = uint8_t(row[i] + prev[i]);
    for (size_t i = Step; i < length; ++i)
        row[i] = uint8_t(row[i] + Paeth(row[i - Step], prev[i], prev[i - Step]));
}

void PaethRowAny(uint8_t *row, const uint8_t *prev, size_t length, size_t step) {
    for (size_t i = 0; i < step && i < length; ++i)
        row[i] = uint8_t(row[i] + prev[i]);
    for (size_t i = step; i < length; ++i)
        row[i] = uint8_t(row[i] + Paeth(row[i - step], prev[i], prev[i - step]));
}

#if defined(__SSE2__)
// Pixels of 2 to 8 bytes: the bytes of one pixel at a time in 16-bit lanes. A pixel is read
// as a whole word (4 or 8 bytes) wherever the row has room, straight into a register; lanes
// past the pixel are never stored. Going through memory instead (a partial copy into a
// zeroed word) stalls every pixel on a store that cannot be forwarded.
template <size_t Bpp>
constexpr size_t kWord = Bpp <= 4 ? 4 : 8;

template <size_t Bpp, bool kWhole>
inline __m128i LoadPixel(const uint8_t *p) {
    __m128i v;
    if constexpr (kWhole && Bpp <= 4) {
        uint32_t w;
        std::memcpy(&w, p, 4);
        v = _mm_cvtsi32_si128(int(w));
    } else if constexpr (kWhole) {
        v = _mm_loadl_epi64(reinterpret_cast<const __m128i *>(p));
    } else {
        uint64_t w = 0;
        std::memcpy(&w, p, Bpp);
        v = _mm_loadl_epi64(reinterpret_cast<const __m128i *>(&w));
    }
    return _mm_unpacklo_epi8(v, _mm_setzero_si128());
}

template <size_t Bpp>
inline void StorePixel(uint8_t *p, __m128i lanes) {
    const __m128i bytes = _mm_packus_epi16(lanes, lanes);
    if constexpr (Bpp <= 4) {
        const uint32_t w = uint32_t(_mm_cvtsi128_si32(bytes));
        std::memcpy(p, &w, Bpp);
    } else {
        uint8_t b[8];
        _mm_storel_epi64(reinterpret_cast<__m128i *>(b), bytes);
        std::memcpy(p, b, Bpp);
    }
}

// Calls body(i, whole) for each pixel's offset i; whole: a word can be read there.
template <size_t Bpp, typename Body>
inline void EachPixel(size_t length, Body body) {
    size_t i = 0;
    for (; i + kWord<Bpp> <= length; i += Bpp)
        body(i, std::true_type{});
    for (; i + Bpp <= length; i += Bpp)
        body(i, std::false_type{});
}

inline __m128i Abs16(__m128i x) { return _mm_max_epi16(x, _mm_sub_epi16(_mm_setzero_si128(), x)); }

inline __m128i Select(__m128i mask, __m128i yes, __m128i no) {
    return _mm_or_si128(_mm_and_si128(mask, yes), _mm_andnot_si128(mask, no));
}

template <size_t Bpp>
void PaethPixels(uint8_t *row, const uint8_t *prev, size_t length) {
    __m128i a = _mm_setzero_si128(), c = _mm_setzero_si128();
    const __m128i mask = _mm_set1_epi16(0xFF);
    EachPixel<Bpp>(length, [&](size_t i, auto whole) {
        const __m128i b = LoadPixel<Bpp, whole>(prev + i);
        const __m128i x = LoadPixel<Bpp, whole>(row + i);
        const __m128i pbSigned = _mm_sub_epi16(a, c);  // p - b
        const __m128i paSigned = _mm_sub_epi16(b, c);  // p - a
        const __m128i pa = Abs16(paSigned), pb = Abs16(pbSigned), pc = Abs16(_mm_add_epi16(paSigned, pbSigned));
        const __m128i smallest = _mm_min_epi16(pc, _mm_min_epi16(pa, pb));
        const __m128i nearest =
            Select(_mm_cmpeq_epi16(smallest, pa), a, Select(_mm_cmpeq_epi16(smallest, pb), b, c));
        a = _mm_and_si128(_mm_add_epi16(x, nearest), mask);
        StorePixel<Bpp>(row + i, a);
        c = b;
    });
}

template <size_t Bpp>
void SubPixels(uint8_t *row, size_t length) {
    __m128i a = _mm_setzero_si128();
    EachPixel<Bpp>(length, [&](size_t i, auto whole) {
        a = _mm_add_epi16(a, LoadPixel<Bpp, whole>(row + i));
        StorePixel<Bpp>(row + i, a = _mm_and_si128(a, _mm_set1_epi16(0xFF)));
    });
}

template <size_t Bpp>
void AveragePixels(uint8_t *row, const uint8_t *prev, size_t length) {
    __m128i a = _mm_setzero_si128();
    EachPixel<Bpp>(length, [&](size_t i, auto whole) {
        const __m128i avg = _mm_srli_epi16(_mm_add_epi16(a, LoadPixel<Bpp, whole>(prev + i)), 1);
        a = _mm_and_si128(_mm_add_epi16(LoadPixel<Bpp, whole>(row + i), avg), _mm_set1_epi16(0xFF));
        StorePixel<Bpp>(row + i, a);
    });
}

template <size_t Bpp>
void VectorUnfilter(uint8_t filter, uint8_t *row, const uint8_t *prev, size_t length) {
    if (filter == 1)
        SubPixels<Bpp>(row, length);
    else if (filter == 3)
        AveragePixels<Bpp>(row, prev, length);
    else
        PaethPixels<Bpp>(row, prev, length);
}
#endif

}  // namespace

void Unfilter(uint8_t filter, uint8_t *row, const uint8_t *prev, size_t length, size_t step) {
#if defined(__SSE2__)
    // Rows hold whole pixels; the first pixel's "left" and "upper left" are zero.
    if (step >= 2 && (filter == 1 || (prev && (filter == 3 || filter == 4)))) {
        switch (step) {
        case 2: return VectorUnfilter<2>(filter, row, prev, length);
        case 3: return VectorUnfilter<3>(filter, row, prev, length);
        case 4: return VectorUnfilter<4>(filter, row, prev, length);
        case 6: return VectorUnfilter<6>(filter, row, prev, length);
        case 8: return VectorUnfilter<8>(filter, row, prev, length);
        default: break;
        }
    }
#endif
    switch (filter) {
    case 1:
        for (size_t i = step; i < length; ++i)
            row[i] = uint8_t(row[i] + row[i - step]);
        break;
    case 2:
        if (prev)
            for (size_t i = 0; i < length; ++i)
                row[i] = uint8_t(row[i] + prev[i]);
        break;
    case 3:
        if (!prev) {
            for (size_t i = step; i < length; ++i)
                row[i] = uint8_t(row[i] + (row[i - step] >> 1));
        } else {
            for (size_t i = 0; i < step && i < length; ++i)
                row[i] = uint8_t(row[i] + (prev[i] >> 1));
            for (size_t i = step; i < length; ++i)
                row[i] = uint8_t(row[i] + ((row[i - step] + prev[i]) >> 1));
        }
        break;
    case 4:
        if (!prev) {
            for (size_t i = step; i < length; ++i)
                row[i] = uint8_t(row[i] + row[i - step]);
        } else if (step == 4) {
            PaethRow<4>(row, prev, length);
        } else if (step == 3) {
            PaethRow<3>(row, prev, length);
        } else if (step == 1) {
            PaethRow<1>(row, prev, length);
        } else {
            PaethRowAny(row, prev, length, step);
        }
        break;
    default:
        break;  // kept as stored
    }
}

namespace {

inline uint32_t Pixel(uint32_t r, uint32_t g, uint32_t b, uint32_t a) {
    if (a == 0)
        return 0;
    if (a != 255) {
        r = r * a / 255;
        g = g * a / 255;
        b = b * a / 255;
    }
    return b | g << 8 | r << 16 | a << 24;
}

inline void Store(uint8_t *dest, uint32_t pixel) {
    std::memcpy(dest, &pixel, 4);  // B, G, R, A on little-endian targets
}

}  // namespace

RowConverter::RowConverter(const Format &f) : f_(f) {
    const uint8_t t = f.colorType, d = f.depth;
    if (d == 16) {
        convert_ = &Wide16;
    } else if (t == 2 && d == 8) {
        convert_ = &Rgb8;
    } else if (t == 6 && d == 8) {
        convert_ = &Rgba8;
    } else if (t == 4 && d == 8) {
        convert_ = &GreyAlpha8;
    } else if ((t == 0 || t == 3) && d <= 8) {
        // Every sample value's pixel, computed once.
        for (unsigned s = 0; s < (1u << d); ++s) {
            if (t == 3) {
                if (3 * s + 2 >= f.palette.size())
                    continue;
                uint32_t a = 255;
                if (f.key != -1) {
                    if (s >= f.transparency.size())
                        continue;
                    a = f.transparency[s];
                }
                lut_[s] = Pixel(f.palette[3 * s], f.palette[3 * s + 1], f.palette[3 * s + 2], a);
            } else {
                if (3 * s >= f.palette.size())
                    continue;
                const uint32_t grey = f.palette[3 * s];
                lut_[s] = Pixel(grey, grey, grey, int32_t(s) == f.key ? 0 : 255);
            }
            lutValid_[s] = true;
        }
        switch (d) {
        case 1: convert_ = &Indexed<1>; break;
        case 2: convert_ = &Indexed<2>; break;
        case 4: convert_ = &Indexed<4>; break;
        case 8: convert_ = &Indexed<8>; break;
        default: break;
        }
    }
}

template <int Depth>
bool RowConverter::Indexed(const RowConverter &c, const uint8_t *src, uint8_t *dest, int32_t count, size_t step) {
    constexpr unsigned mask = (1u << Depth) - 1;
    int shift = 8 - Depth;
    for (int32_t x = 0; x < count; ++x, dest += step) {
        const unsigned s = (*src >> shift) & mask;
        shift -= Depth;
        if (shift < 0) {
            shift = 8 - Depth;
            ++src;
        }
        if (!c.lutValid_[s])
            return false;
        Store(dest, c.lut_[s]);
    }
    return true;
}

bool RowConverter::Rgb8(const RowConverter &c, const uint8_t *src, uint8_t *dest, int32_t count, size_t step) {
    if (c.f_.key == -1) {
        for (int32_t x = 0; x < count; ++x, src += 3, dest += step)
            Store(dest, src[2] | src[1] << 8 | src[0] << 16 | 0xFF000000u);
        return true;
    }
    const uint8_t kr = uint8_t(c.f_.key >> 16), kg = uint8_t(c.f_.key >> 8), kb = uint8_t(c.f_.key);
    for (int32_t x = 0; x < count; ++x, src += 3, dest += step)
        if (!(src[0] == kr && src[1] == kg && src[2] == kb))
            Store(dest, src[2] | src[1] << 8 | src[0] << 16 | 0xFF000000u);
    return true;
}

bool RowConverter::Rgba8(const RowConverter &, const uint8_t *src, uint8_t *dest, int32_t count, size_t step) {
    int32_t x = 0;
#if defined(__SSE2__)
    if (step == 4) {
        // Four pixels at a time. c * a / 255 == (c * a + 1 + ((c * a) >> 8)) >> 8 for every
        // c, a in 0..255, so alpha 0 and 255 need no special case.
        const __m128i zero = _mm_setzero_si128();
        const __m128i alphaLanes = _mm_set_epi16(-1, 0, 0, 0, -1, 0, 0, 0);
        const __m128i one = _mm_set1_epi16(1);
        auto premultiply = [&](__m128i p) {  // two pixels in 16-bit lanes
            const __m128i a = _mm_shufflehi_epi16(_mm_shufflelo_epi16(p, 0xFF), 0xFF);
            __m128i m = _mm_mullo_epi16(p, a);
            m = _mm_srli_epi16(_mm_add_epi16(_mm_add_epi16(m, one), _mm_srli_epi16(m, 8)), 8);
            return _mm_or_si128(_mm_and_si128(alphaLanes, p), _mm_andnot_si128(alphaLanes, m));
        };
        const __m128i greenAlpha = _mm_set1_epi32(int(0xFF00FF00u));
        const __m128i low = _mm_set1_epi32(0xFF);
        for (; x + 4 <= count; x += 4, src += 16, dest += 16) {
            const __m128i p = _mm_loadu_si128(reinterpret_cast<const __m128i *>(src));
            __m128i q = _mm_packus_epi16(premultiply(_mm_unpacklo_epi8(p, zero)), premultiply(_mm_unpackhi_epi8(p, zero)));
            // R, G, B, A to B, G, R, A
            q = _mm_or_si128(_mm_and_si128(q, greenAlpha),
                             _mm_or_si128(_mm_slli_epi32(_mm_and_si128(q, low), 16), _mm_and_si128(_mm_srli_epi32(q, 16), low)));
            _mm_storeu_si128(reinterpret_cast<__m128i *>(dest), q);
        }
    }
#endif
    for (; x < count; ++x, src += 4, dest += step) {
        const uint32_t a = src[3];
        if (a == 255)
            Store(dest, src[2] | src[1] << 8 | src[0] << 16 | 0xFF000000u);
        else if (a)
            Store(dest, Pixel(src[0], src[1], src[2], a));
    }
    return true;
}

bool RowConverter::GreyAlpha8(const RowConverter &, const uint8_t *src, uint8_t *dest, int32_t count, size_t step) {
    for (int32_t x = 0; x < count; ++x, src += 2, dest += step)
        Store(dest, Pixel(src[0], src[0], src[0], src[1]));
    return true;
}

// 16-bit samples: only the high byte counts, also for the transparency key.
bool RowConverter::Wide16(const RowConverter &c, const uint8_t *src, uint8_t *dest, int32_t count, size_t step) {
    const Format &f = c.f_;
    const bool keyed = f.key != -1;
    const std::vector<uint8_t> &t = f.transparency;
    switch (f.colorType) {
    case 6:
        for (int32_t x = 0; x < count; ++x, src += 8, dest += step)
            Store(dest, Pixel(src[0], src[2], src[4], src[6]));
        return true;
    case 4:
        for (int32_t x = 0; x < count; ++x, src += 4, dest += step)
            Store(dest, Pixel(src[0], src[0], src[0], src[2]));
        return true;
    case 2:
        if (keyed && t.size() < 5)
            return count == 0;
        for (int32_t x = 0; x < count; ++x, src += 6, dest += step) {
            const bool clear = keyed && src[0] == t[0] && src[2] == t[2] && src[4] == t[4];
            Store(dest, Pixel(src[0], src[2], src[4], clear ? 0 : 255));
        }
        return true;
    case 0:
        if (keyed && t.empty())
            return count == 0;
        for (int32_t x = 0; x < count; ++x, src += 2, dest += step) {
            const bool clear = keyed && src[0] == t[0];
            Store(dest, Pixel(src[0], src[0], src[0], clear ? 0 : 255));
        }
        return true;
    default:
        return false;
    }
}

}  // namespace lumio::png_rows
