// Our blending and scaling loops beside pixman doing the same work, each of ours at every vector
// level the machine has (AVX-512 for scaling only: blending has no wider loop than AVX2) and with
// SSE2 only; pixman takes its own best path.
//
// Blend: OVER of premultiplied a8r8g8b8 onto a surface (pixman a8r8g8b8: the alpha byte is
// computed too) and onto a 24-bit copy of a device context (pixman r8g8b8), plain and at 50%
// opacity (pixman: a solid mask of alpha 127, ours: constant alpha 127). Checked to agree
// within 1 per channel: we truncate where pixman rounds.
//
// Scaling: SRC through nearest and bilinear sampling. pixman samples pixel centres; it is set
// to our sampling by a translation, and the ratios are kept at 3/4 and 3/2, which its 16.16
// fixed point and 7-bit bilinear weights hold exactly, so the outputs are checked equal.
// ("ours-toarray" makes a fresh result array each call, as Render does.)
// "scale-bilinear-unequal" is the one comparison of unequal work: ratios 2/3 and 7/10, whose
// weights are not whole 1/128ths, so ours blends in doubles while pixman rounds them to 7
// bits; the largest difference per channel is printed, and the ratio is the speed of our
// exact path.
#include <benchmark/benchmark.h>
#include <pixman.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "bench_main.h"
#include "blend_pixels.h"
#include "simd_level.h"
#include "stretch_bits.h"

namespace {

using namespace lumio::render;

// Premultiplied noise: a tenth clear, a third opaque, the rest in between.
std::vector<uint32_t> Noise(int w, int h, unsigned seed) {
    std::mt19937 rng(seed);
    std::uniform_int_distribution<int> byte(0, 255), kind(0, 9);
    std::vector<uint32_t> px(size_t(w) * h);
    for (auto &p : px) {
        const int k = kind(rng);
        const uint32_t a = k == 0 ? 0 : k <= 3 ? 255 : byte(rng);
        auto c = [&] { return uint32_t(byte(rng)) * a / 255; };
        p = (a << 24) | (c() << 16) | (c() << 8) | c();
    }
    return px;
}

int Stride24(int w) { return (w * 3 + 3) & ~3; }

// ---- Blend ----

struct BlendCase {
    int w, h;
    int bpp;     // destination: 4 (surface) or 3 (24-bit copy)
    int k;       // 255: plain
};

// Destination bytes: noise, as 32-bit pixels or as their B, G, R.
std::vector<uint8_t> BlendDest(const BlendCase &c) {
    const auto px = Noise(c.w, c.h, 2);
    if (c.bpp == 4) return {reinterpret_cast<const uint8_t *>(px.data()), reinterpret_cast<const uint8_t *>(px.data() + px.size())};
    std::vector<uint8_t> d(size_t(Stride24(c.w)) * c.h);
    for (int y = 0; y < c.h; ++y)
        for (int x = 0; x < c.w; ++x)
            for (int i = 0; i < 3; ++i) d[size_t(y) * Stride24(c.w) + x * 3 + i] = uint8_t(px[size_t(y) * c.w + x] >> (8 * i));
    return d;
}

struct OwnBlend {
    std::vector<uint32_t> src;
    std::vector<uint8_t> dst;
    PixelView sv, dv;
    int w, h, k;
    OwnBlend(const BlendCase &c) : src(Noise(c.w, c.h, 1)), dst(BlendDest(c)), w(c.w), h(c.h), k(c.k) {
        sv = {reinterpret_cast<uint8_t *>(src.data()), w, h, ptrdiff_t(w) * 4, 4};
        dv = {dst.data(), w, h, c.bpp == 4 ? ptrdiff_t(w) * 4 : Stride24(w), c.bpp};
    }
    void Run() { BlendRows(sv, 0, h, dv, 0, h - 1, w, h, k, -1); }
};

struct PixmanBlend {
    std::vector<uint32_t> src;
    std::vector<uint8_t> dst;
    pixman_image_t *s, *d, *m = nullptr;
    int w, h;
    PixmanBlend(const BlendCase &c, pixman_format_code_t format) : src(Noise(c.w, c.h, 1)), w(c.w), h(c.h) {
        if (format == PIXMAN_x8r8g8b8) {  // the 24-bit copy's pixels with an unused fourth byte
            const auto px = Noise(c.w, c.h, 2);
            dst.assign(reinterpret_cast<const uint8_t *>(px.data()), reinterpret_cast<const uint8_t *>(px.data() + px.size()));
        } else {
            dst = BlendDest(c);
        }
        s = pixman_image_create_bits(PIXMAN_a8r8g8b8, w, h, src.data(), w * 4);
        d = pixman_image_create_bits(format, w, h, reinterpret_cast<uint32_t *>(dst.data()),
                                     format == PIXMAN_r8g8b8 ? Stride24(w) : w * 4);
        if (c.k != 255) {
            const pixman_color_t mask = {0, 0, 0, uint16_t(c.k * 257)};
            m = pixman_image_create_solid_fill(&mask);
        }
    }
    ~PixmanBlend() {
        if (m) pixman_image_unref(m);
        pixman_image_unref(s);
        pixman_image_unref(d);
    }
    void Run() { pixman_image_composite32(PIXMAN_OP_OVER, s, m, d, 0, 0, 0, 0, 0, 0, w, h); }
};

void BlendOurs(benchmark::State &state, BlendCase c, simd::Level level) {
    simd::Force(level);
    OwnBlend b(c);
    for (auto _ : state) {
        b.Run();
        benchmark::ClobberMemory();
    }
    simd::Force(simd::Level::Avx512);
    state.SetItemsProcessed(state.iterations() * c.w * c.h);
}

void BlendPixman(benchmark::State &state, BlendCase c, pixman_format_code_t format, std::string name) {
    if (bench::Differs(name)) return state.SkipWithError("output differs from ours");
    PixmanBlend b(c, format);
    for (auto _ : state) {
        b.Run();
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * c.w * c.h);
}

// Largest difference of one blend, per channel, between ours and pixman.
int BlendDifference(const BlendCase &c, pixman_format_code_t format) {
    OwnBlend ours(c);
    PixmanBlend peer(c, format);
    ours.Run();
    peer.Run();
    int most = 0;
    for (int y = 0; y < c.h; ++y)
        for (int x = 0; x < c.w; ++x)
            for (int i = 0; i < c.bpp; ++i) {
                const size_t at = c.bpp == 4 ? (size_t(y) * c.w + x) * 4 + i : size_t(y) * Stride24(c.w) + x * 3 + i;
                const size_t peerAt = format == PIXMAN_x8r8g8b8 ? (size_t(y) * c.w + x) * 4 + i : at;
                most = std::max(most, std::abs(int(ours.dst[at]) - int(peer.dst[peerAt])));
            }
    return most;
}

// ---- Scaling ----

struct ScaleCase {
    int w, h;      // destination
    int num, den;  // source = destination * num / den each way
    int sw() const { return w * num / den; }
    int sh() const { return h * num / den; }
};

void ScaleOurs(benchmark::State &state, ScaleCase c, bool hq, simd::Level level, bool toArray) {
    simd::Force(level);
    auto src = Noise(c.sw(), c.sh(), 3), dst = Noise(c.w, c.h, 4);
    PixelView sv{reinterpret_cast<uint8_t *>(src.data()), c.sw(), c.sh(), ptrdiff_t(c.sw()) * 4, 4};
    PixelView tv{reinterpret_cast<uint8_t *>(dst.data()), c.w, c.h, ptrdiff_t(c.w) * 4, 4};
    PixelArray kept;
    for (auto _ : state) {
        PixelArray fresh, none;
        int32_t dw = c.w, dh = c.h;
        float l = 0;
        StretchBits(sv, hq, toArray ? fresh : kept, none, toArray ? nullptr : &tv, 0, 0, c.sw(), c.sh(), 0, 0, dw, dh, l);
        benchmark::DoNotOptimize(fresh.View().bits);
        benchmark::ClobberMemory();
    }
    simd::Force(simd::Level::Avx512);
    state.SetItemsProcessed(state.iterations() * c.w * c.h);
}

struct PixmanScale {
    std::vector<uint32_t> src, dst;
    pixman_image_t *s, *d;
    int w, h;
    PixmanScale(const ScaleCase &c, bool hq) : src(Noise(c.sw(), c.sh(), 3)), dst(Noise(c.w, c.h, 4)), w(c.w), h(c.h) {
        s = pixman_image_create_bits(PIXMAN_a8r8g8b8, c.sw(), c.sh(), src.data(), c.sw() * 4);
        d = pixman_image_create_bits(PIXMAN_a8r8g8b8, w, h, dst.data(), w * 4);
        // pixman maps destination pixel centres (x + 1/2) to r (x + 1/2) + t. Nearest takes the
        // pixel at floor(p - e): t = e - r/2 gives ours, floor(r x). Bilinear blends the pixels
        // about p - 1/2: columns at r x (t = 1/2 - r/2), rows at r y - 1 (t = -1/2 - r/2), as
        // ours blends row iy with the row below it.
        const double r = double(c.num) / c.den;
        pixman_transform_t t;
        pixman_transform_init_identity(&t);
        t.matrix[0][0] = t.matrix[1][1] = pixman_double_to_fixed(r);
        if (hq) {
            t.matrix[0][2] = pixman_double_to_fixed(0.5 - r / 2);
            t.matrix[1][2] = pixman_double_to_fixed(-0.5 - r / 2);
        } else {
            t.matrix[0][2] = t.matrix[1][2] = pixman_double_to_fixed(-r / 2) + pixman_fixed_e;
        }
        pixman_image_set_transform(s, &t);
        pixman_image_set_filter(s, hq ? PIXMAN_FILTER_BILINEAR : PIXMAN_FILTER_NEAREST, nullptr, 0);
        pixman_image_set_repeat(s, PIXMAN_REPEAT_PAD);
    }
    ~PixmanScale() {
        pixman_image_unref(s);
        pixman_image_unref(d);
    }
    void Run() { pixman_image_composite32(PIXMAN_OP_SRC, s, nullptr, d, 0, 0, 0, 0, 0, 0, w, h); }
};

void ScalePixman(benchmark::State &state, ScaleCase c, bool hq, std::string name) {
    if (bench::Differs(name)) return state.SkipWithError("output differs from ours");
    PixmanScale p(c, hq);
    for (auto _ : state) {
        p.Run();
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * c.w * c.h);
}

// Bytes of one scaling that differ between ours and pixman, and the largest difference.
size_t ScaleDifference(const ScaleCase &c, bool hq, int *most = nullptr) {
    PixmanScale peer(c, hq);
    peer.Run();
    auto src = Noise(c.sw(), c.sh(), 3), dst = Noise(c.w, c.h, 4);
    PixelView sv{reinterpret_cast<uint8_t *>(src.data()), c.sw(), c.sh(), ptrdiff_t(c.sw()) * 4, 4};
    PixelView tv{reinterpret_cast<uint8_t *>(dst.data()), c.w, c.h, ptrdiff_t(c.w) * 4, 4};
    PixelArray out, none;
    int32_t dw = c.w, dh = c.h;
    float l = 0;
    StretchBits(sv, hq, out, none, &tv, 0, 0, c.sw(), c.sh(), 0, 0, dw, dh, l);
    size_t n = 0;
    const auto *a = reinterpret_cast<const uint8_t *>(dst.data()), *b = reinterpret_cast<const uint8_t *>(peer.dst.data());
    for (size_t i = 0; i < dst.size() * 4; ++i) {
        n += a[i] != b[i];
        if (most) *most = std::max(*most, std::abs(int(a[i]) - int(b[i])));
    }
    return n;
}

std::string Size(int w, int h) { return std::to_string(w) + "x" + std::to_string(h); }

}  // namespace

int main(int argc, char **argv) {
    const std::pair<const char *, simd::Level> levels[] = {{"ours-avx512", simd::Level::Avx512}, {"ours-avx2", simd::Level::Avx2}, {"ours-sse2", simd::Level::Sse2}};
    const int sizes[][2] = {{13, 13}, {300, 200}, {1920, 1080}};
    for (int bpp : {4, 3})
        for (int k : {255, 127}) {
            const std::string group = std::string(bpp == 4 ? "over-surface" : "over-copy24") + (k == 255 ? "" : "-opacity50");
            for (const auto &s : sizes) {
                const BlendCase c{s[0], s[1], bpp, k};
                const std::string prefix = group + "/" + Size(s[0], s[1]) + "/";
                for (const auto &[variant, level] : levels)
                    if (simd::Supported(level) && level != simd::Level::Avx512)
                        benchmark::RegisterBenchmark((prefix + variant).c_str(), BlendOurs, c, level);
                std::vector<std::pair<std::string, pixman_format_code_t>> peers = {{"pixman", bpp == 4 ? PIXMAN_a8r8g8b8 : PIXMAN_r8g8b8}};
                if (bpp == 3) peers.push_back({"pixman-x8r8g8b8", PIXMAN_x8r8g8b8});
                for (const auto &[peer, format] : peers) {
                    const std::string name = prefix + peer;
                    if (const int d = BlendDifference(c, format); d > 1)
                        bench::OutputDiffers(name, "a channel differs by " + std::to_string(d));
                    benchmark::RegisterBenchmark(name.c_str(), BlendPixman, c, format, name);
                }
            }
        }
    const ScaleCase scales[] = {{16, 16, 3, 4}, {300, 200, 3, 4}, {1920, 1080, 3, 4}, {1920, 1080, 3, 2}};
    for (bool hq : {false, true})
        for (const ScaleCase &c : scales) {
            const std::string prefix = std::string(hq ? "scale-bilinear/" : "scale-nearest/") + Size(c.sw(), c.sh()) + "-to-" + Size(c.w, c.h) + "/";
            for (const auto &[variant, level] : levels)
                if (simd::Supported(level)) benchmark::RegisterBenchmark((prefix + variant).c_str(), ScaleOurs, c, hq, level, false);
            benchmark::RegisterBenchmark((prefix + "ours-toarray").c_str(), ScaleOurs, c, hq, simd::Level::Avx512, true);
            const std::string name = prefix + "pixman";
            if (const size_t n = ScaleDifference(c, hq))
                bench::OutputDiffers(name, std::to_string(n) + " bytes differ");
            benchmark::RegisterBenchmark(name.c_str(), ScalePixman, c, hq, name);
        }
    // 2/3 puts a source column under every third result column; 7/10 under every tenth.
    for (const ScaleCase &c : {ScaleCase{1920, 1080, 2, 3}, ScaleCase{1920, 1080, 7, 10}}) {
        const std::string prefix = "scale-bilinear-unequal/" + Size(c.sw(), c.sh()) + "-to-" + Size(c.w, c.h) + "/";
        for (const auto &[variant, level] : levels)
            if (simd::Supported(level)) benchmark::RegisterBenchmark((prefix + variant).c_str(), ScaleOurs, c, true, level, false);
        int most = 0;
        const size_t n = ScaleDifference(c, true, &most);
        std::fprintf(stderr, "NOTE: %spixman: unequal work (pixman's 7-bit weights), %zu bytes differ, by up to %d\n",
                     prefix.c_str(), n, most);
        benchmark::RegisterBenchmark((prefix + "pixman").c_str(), ScalePixman, c, true, prefix + "pixman");
    }
    return bench::RunComparisons(argc, argv);
}
