#include <gtest/gtest.h>

#include <cmath>

#include "lightness.h"
#include "pixel_fixture.h"

namespace lumio::render::test {
namespace {

Bgra Lighten(Bgra p, float l) {
    Picture pic(1, 1);
    pic.Set(0, 0, p);
    PixelView v = pic.View();
    LightenPixels(v, v, l);
    return pic.At(0, 0);
}

TEST(AdjustLightness, WorkedExamples) {
    struct Case {
        Bgra in;
        float l;
        Bgra want;
    } cases[] = {
        {{10, 20, 250, 255}, 50, {137, 147, 255, 255}},
        {{10, 20, 250, 255}, -100, {0, 0, 0, 255}},
        {{0, 64, 100, 128}, 100, {128, 128, 128, 128}},
        {{0, 64, 100, 128}, -50, {0, 0, 36, 128}},
        {{0, 0, 0, 0}, 100, {0, 0, 0, 0}},
        {{5, 6, 7, 255}, 0, {5, 6, 7, 255}},
    };
    for (const auto &c : cases) EXPECT_EQ(Lighten(c.in, c.l), c.want) << c.l;
}

TEST(AdjustLightness, MatchesReferenceOnNoise) {
    std::mt19937 rng(3);
    Picture pic(23, 9);
    for (float l : {1.0f, 12.5f, 33.3f, 99.9f, -0.5f, -42.0f, -77.7f}) {
        pic.Randomize(rng);
        Picture want = pic;
        const float d = l / 100.0f * 255.0f;
        for (int y = 0; y < 9; ++y)
            for (int x = 0; x < 23; ++x) {
                Bgra p = want.At(x, y);
                if (p.a == 0) continue;
                const int m = int(std::nearbyint(d * float(p.a))) / 255;
                auto f = [&](uint8_t c) { return uint8_t(d > 0 ? std::min(c + m, int(p.a)) : std::max(c + m, 0)); };
                want.Set(x, y, {f(p.b), f(p.g), f(p.r), p.a});
            }
        PixelView v = pic.View();
        LightenPixels(v, v, l);
        EXPECT_EQ(pic.Bytes(), want.Bytes()) << l;
    }
}

TEST(AdjustLightness, FromASourceLeavesItAlone) {
    Picture src(2, 1);
    src.Set(0, 0, {10, 20, 250, 255});
    src.Set(1, 0, {0, 0, 0, 0});
    const auto before = src.Bytes();
    PixelArray out;
    PixelView sv = src.View();
    ASSERT_TRUE(AdjustLightness(&sv, 50, out));
    EXPECT_EQ(src.Bytes(), before);
    EXPECT_EQ(PixelAt(out.View(), 0, 0), (Bgra{137, 147, 255, 255}));
    EXPECT_EQ(PixelAt(out.View(), 1, 0), (Bgra{0, 0, 0, 0}));
}

TEST(AdjustLightness, OutOfRangeAndNaNChangeNothing) {
    for (float l : {std::nanf(""), 100.5f, -101.0f, INFINITY})
        EXPECT_EQ(Lighten({10, 20, 30, 255}, l), (Bgra{10, 20, 30, 255})) << l;
}

}  // namespace
}  // namespace lumio::render::test
