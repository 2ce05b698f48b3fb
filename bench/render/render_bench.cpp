// Our blending and scaling loops beside pixman doing the same work:
// OVER of premultiplied a8r8g8b8 onto x8r8g8b8 (with and without a constant
// mask, i.e. our opacity) and SRC through nearest and bilinear scaling.
#include <benchmark/benchmark.h>
#include <pixman.h>

#include <cstdint>
#include <random>
#include <vector>

#include "blend_pixels.h"
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

PixelView ViewOf(std::vector<uint32_t> &px, int w, int h) {
    return {reinterpret_cast<uint8_t *>(px.data()), w, h, ptrdiff_t(w) * 4, 4};
}

// Size arguments: width, height (the destination's for scaling).
void Sizes(benchmark::internal::Benchmark *b) {
    b->Args({13, 13})->Args({300, 200})->Args({1920, 1080});
}

void OwnOver(benchmark::State &state, int k, int bpp) {
    const int w = int(state.range(0)), h = int(state.range(1));
    auto src = Noise(w, h, 1), dst = Noise(w, h, 2);
    PixelView sv = ViewOf(src, w, h);
    std::vector<uint8_t> rgb(size_t((w * 3 + 3) & ~3) * h, 90);
    PixelView dv = bpp == 4 ? ViewOf(dst, w, h) : PixelView{rgb.data(), w, h, (w * 3 + 3) & ~3, 3};
    for (auto _ : state) {
        BlendRows(sv, 0, h, dv, 0, h - 1, w, h, k, -1);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * w * h);
}

void PixmanOver(benchmark::State &state, bool masked) {
    const int w = int(state.range(0)), h = int(state.range(1));
    auto src = Noise(w, h, 1), dst = Noise(w, h, 2);
    pixman_image_t *s = pixman_image_create_bits(PIXMAN_a8r8g8b8, w, h, src.data(), w * 4);
    pixman_image_t *d = pixman_image_create_bits(PIXMAN_x8r8g8b8, w, h, dst.data(), w * 4);
    pixman_color_t half = {0, 0, 0, 0x7f7f};
    pixman_image_t *m = masked ? pixman_image_create_solid_fill(&half) : nullptr;
    for (auto _ : state) {
        pixman_image_composite32(PIXMAN_OP_OVER, s, m, d, 0, 0, 0, 0, 0, 0, w, h);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * w * h);
    if (m) pixman_image_unref(m);
    pixman_image_unref(s);
    pixman_image_unref(d);
}

// Scaling: a source two thirds of the destination's size each way.
void OwnScale(benchmark::State &state, bool hq) {
    const int w = int(state.range(0)), h = int(state.range(1));
    const int sw = w * 2 / 3 + 1, sh = h * 2 / 3 + 1;
    auto src = Noise(sw, sh, 3), dst = Noise(w, h, 4);
    PixelView sv = ViewOf(src, sw, sh), tv = ViewOf(dst, w, h);
    PixelArray out, none;
    for (auto _ : state) {
        int32_t dw = w, dh = h;
        float l = 0;
        StretchBits(sv, hq, out, none, &tv, 0, 0, sw, sh, 0, 0, dw, dh, l);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * w * h);
}

// The same through Render's own route: a fresh result array every call.
void OwnScaleToArray(benchmark::State &state, bool hq) {
    const int w = int(state.range(0)), h = int(state.range(1));
    const int sw = w * 2 / 3 + 1, sh = h * 2 / 3 + 1;
    auto src = Noise(sw, sh, 3);
    PixelView sv = ViewOf(src, sw, sh);
    for (auto _ : state) {
        PixelArray out, none;
        int32_t dw = w, dh = h;
        float l = 0;
        StretchBits(sv, hq, out, none, nullptr, 0, 0, sw, sh, 0, 0, dw, dh, l);
        benchmark::DoNotOptimize(out.View().bits);
    }
    state.SetItemsProcessed(state.iterations() * w * h);
}

void PixmanScale(benchmark::State &state, bool hq) {
    const int w = int(state.range(0)), h = int(state.range(1));
    const int sw = w * 2 / 3 + 1, sh = h * 2 / 3 + 1;
    auto src = Noise(sw, sh, 3), dst = Noise(w, h, 4);
    pixman_image_t *s = pixman_image_create_bits(PIXMAN_a8r8g8b8, sw, sh, src.data(), sw * 4);
    pixman_image_t *d = pixman_image_create_bits(PIXMAN_a8r8g8b8, w, h, dst.data(), w * 4);
    pixman_transform_t t;
    pixman_transform_init_scale(&t, pixman_double_to_fixed(double(sw) / w), pixman_double_to_fixed(double(sh) / h));
    pixman_image_set_transform(s, &t);
    pixman_image_set_filter(s, hq ? PIXMAN_FILTER_BILINEAR : PIXMAN_FILTER_NEAREST, nullptr, 0);
    pixman_image_set_repeat(s, PIXMAN_REPEAT_PAD);
    for (auto _ : state) {
        pixman_image_composite32(PIXMAN_OP_SRC, s, nullptr, d, 0, 0, 0, 0, 0, 0, w, h);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * w * h);
    pixman_image_unref(s);
    pixman_image_unref(d);
}

BENCHMARK_CAPTURE(OwnOver, host32, 255, 4)->Apply(Sizes);
BENCHMARK_CAPTURE(OwnOver, copy24, 255, 3)->Apply(Sizes);
BENCHMARK_CAPTURE(PixmanOver, plain, false)->Apply(Sizes);
BENCHMARK_CAPTURE(OwnOver, host32_opacity50, 127, 4)->Apply(Sizes);
BENCHMARK_CAPTURE(OwnOver, copy24_opacity50, 127, 3)->Apply(Sizes);
BENCHMARK_CAPTURE(PixmanOver, solid_mask50, true)->Apply(Sizes);
BENCHMARK_CAPTURE(OwnScale, nearest, false)->Apply(Sizes);
BENCHMARK_CAPTURE(OwnScaleToArray, nearest, false)->Apply(Sizes);
BENCHMARK_CAPTURE(PixmanScale, nearest, false)->Apply(Sizes);
BENCHMARK_CAPTURE(OwnScale, bilinear, true)->Apply(Sizes);
BENCHMARK_CAPTURE(OwnScaleToArray, bilinear, true)->Apply(Sizes);
BENCHMARK_CAPTURE(PixmanScale, bilinear, true)->Apply(Sizes);

}  // namespace
