#include <gtest/gtest.h>

#include <cmath>

#include "blend_pixels.h"
#include "gray_scale.h"
#include "pixel_fixture.h"
#include "simd_level.h"

namespace lumio::render::test {
namespace {

// One pixel of the blend, straight from the rules; d holds 3 or 4 channels.
void ReferenceBlend(const Bgra &s, uint8_t *d, bool host, int k, int code) {
    const int a = s.a;
    if (a == 0) return;
    const int sc[3] = {s.b, s.g, s.r};
    const int n = host ? 4 : 3;
    if (code == -1) {
        if (k == 255 && a == 255) {
            for (int c = 0; c < 3; ++c) d[c] = uint8_t(sc[c]);
            if (host) d[3] = 255;
        } else if (k == 255) {
            for (int c = 0; c < n; ++c) d[c] = uint8_t((c < 3 ? sc[c] : a) + (255 - a) * d[c] / 255);
        } else {
            const int inv = 255 - a * k / 255;
            for (int c = 0; c < n; ++c) d[c] = uint8_t((inv * d[c] + (c < 3 ? sc[c] : a) * k) / 255);
        }
        return;
    }
    float wr, wg, wb;
    GrayScaleWeights(code, wr, wg, wb);
    const float sum = float(s.b) * wb + float(s.g) * wg + float(s.r) * wr;
    const int g = int(std::nearbyint(sum));
    if (k == 255 && a == 255) {
        d[0] = d[1] = d[2] = uint8_t(g);
        if (host) d[3] = 255;
    } else if (k == 255) {
        for (int c = 0; c < 3; ++c) d[c] = uint8_t((g & 255) + (255 - a) * d[c] / 255);
        if (host) d[3] = uint8_t(a + (255 - a) * d[3] / 255);
    } else {
        const int inv = 255 - a * k / 255;
        for (int c = 0; c < 3; ++c) d[c] = uint8_t((inv * d[c] + (g & 255) * k) / 255);
        if (host) d[3] = uint8_t((inv * d[3] + a * k) / 255);
    }
}

// A 1 x 1 blend of s over d; returns the destination afterwards.
Bgra BlendOne(Bgra s, Bgra d, bool host, int k, int code) {
    Picture src(1, 1), dst(1, 1);
    src.Set(0, 0, s);
    PixelView dv;
    uint8_t rgb[4] = {d.b, d.g, d.r, 0};
    if (host) {
        dst.Set(0, 0, d);
        dv = dst.View();
    } else {
        dv = {rgb, 1, 1, 4, 3};
    }
    BlendRows(src.View(), 0, 1, dv, 0, 0, 1, 1, k, code);
    return PixelAt(dv, 0, 0);
}

TEST(BlendRows, WorkedExamples) {
    struct Case {
        const char *what;
        Bgra s, d;
        int k, code;
        Bgra want;  // destination alpha only checked on the host
    } cases[] = {
        {"half-transparent red over red 200", {0, 0, 100, 128}, {0, 0, 200, 255}, 255, -1, {0, 0, 199, 255}},
        {"same at constant alpha 127", {0, 0, 100, 128}, {0, 0, 200, 255}, 127, -1, {0, 0, 200, 255}},
        {"opaque replaces exactly", {1, 2, 3, 255}, {200, 100, 50, 7}, 255, -1, {1, 2, 3, 255}},
        {"average grey of an opaque pixel", {30, 60, 90, 255}, {9, 9, 9, 9}, 255, 2, {60, 60, 60, 255}},
        {"unknown code is BT.601", {30, 60, 90, 255}, {0, 0, 0, 0}, 255, 9, {66, 66, 66, 255}},
        {"code 0 is BT.601 too", {30, 60, 90, 255}, {0, 0, 0, 0}, 255, 0, {66, 66, 66, 255}},
    };
    for (const auto &c : cases)
        for (bool host : {false, true}) {
            Bgra got = BlendOne(c.s, c.d, host, c.k, c.code);
            Bgra want = c.want;
            if (!host) want.a = 0;
            EXPECT_EQ(got, want) << c.what << (host ? " (host)" : " (24-bit)");
        }
}

TEST(BlendRows, ClearPixelLeavesEveryVariantUntouched) {
    const Bgra d{11, 22, 33, 44};
    for (bool host : {false, true})
        for (int k : {255, 127, 0})
            for (int code : {-1, 1, 2, 9}) {
                Bgra want = d;
                if (!host) want.a = 0;
                EXPECT_EQ(BlendOne({0, 0, 0, 0}, d, host, k, code), want) << host << " " << k << " " << code;
            }
    // The same in the vector loops' groups of eight and four and the ragged end, for clear
    // pixels that still carry colour bytes, every other one beside a visible pixel.
    for (simd::Level level : kEveryLevel)
        for (int k : {255, 127}) {
            if (!simd::Supported(level)) continue;
            Picture src(15, 1), dst(15, 1);
            for (int x = 0; x < 15; ++x) {
                src.Set(x, 0, x % 2 ? Bgra{90, 60, 30, 128} : Bgra{200, 100, 50, 0});
                dst.Set(x, 0, d);
            }
            AtLevel(level, [&] { BlendRows(src.View(), 0, 1, dst.View(), 0, 0, 15, 1, k, -1); });
            for (int x = 0; x < 15; x += 2) EXPECT_EQ(dst.At(x, 0), d) << "level " << int(level) << " k " << k << " at " << x;
        }
}

// Every vector width gives the reference's bytes, the ragged row ends too: widths leave
// 1, 2 and 3 pixels past the last group of four, and 5, 6, 4 and 3 past the last group of
// eight (the last full group then overlaps the one before it).
TEST(BlendRows, MatchesReferenceOnNoise) {
    std::mt19937 rng(7);
    for (int w : {37, 14, 3, 6, 12}) {
        Picture src(w, 11), dst(w, 11);
        src.Randomize(rng);
        for (simd::Level level : kEveryLevel)
        for (bool host : {false, true})
            for (int k : {255, 254, 200, 127, 1})
                for (int code : {-1, 1, 2, 3, 4, 5, 6, 7, 0}) {
                    dst.Randomize(rng);
                    std::vector<uint8_t> rgb;
                    PixelView dv = dst.View();
                    if (!host) {
                        // 3 bytes a pixel, rows padded to 4 bytes as a 24-bit bitmap's are.
                        const ptrdiff_t stride = (w * 3 + 3) & ~3;
                        rgb.assign(size_t(stride) * 11, 0);
                        for (int y = 0; y < 11; ++y)
                            for (int x = 0; x < w; ++x) {
                                Bgra p = dst.At(x, y);
                                uint8_t *q = &rgb[size_t(10 - y) * stride + x * 3];
                                q[0] = p.b, q[1] = p.g, q[2] = p.r;
                            }
                        dv = {rgb.data(), w, 11, stride, 3};
                    }
                    std::vector<Bgra> want;
                    for (int y = 0; y < 11; ++y)
                        for (int x = 0; x < w; ++x) {
                            Bgra p = PixelAt(dv, x, y);
                            uint8_t q[4] = {p.b, p.g, p.r, p.a};
                            ReferenceBlend(src.At(x, y), q, host, k, code);
                            want.push_back({q[0], q[1], q[2], host ? q[3] : uint8_t(0)});
                        }
                    if (!simd::Supported(level)) continue;
                    AtLevel(level, [&] { BlendRows(src.View(), 0, 11, dv, 0, 10, w, 11, k, code); });
                    for (int y = 0, i = 0; y < 11; ++y)
                        for (int x = 0; x < w; ++x, ++i)
                            ASSERT_EQ(PixelAt(dv, x, y), want[size_t(i)])
                                << "width " << w << " level " << int(level) << " host " << host << " k " << k << " code " << code << " at " << x << "," << y;
                }
    }
}

// A picture blended onto itself: each pixel is read before it is written, whatever the
// vector width does with the row's ragged end.
TEST(BlendRows, OntoItselfActsPixelByPixel) {
    std::mt19937 rng(5);
    for (simd::Level level : kEveryLevel)
        for (int k : {255, 127}) {
            if (!simd::Supported(level)) continue;
            Picture pic(13, 3);
            pic.Randomize(rng);
            std::vector<Bgra> want;
            for (int y = 0; y < 3; ++y)
                for (int x = 0; x < 13; ++x) {
                    const Bgra p = pic.At(x, y);
                    uint8_t q[4] = {p.b, p.g, p.r, p.a};
                    ReferenceBlend(p, q, true, k, -1);
                    want.push_back({q[0], q[1], q[2], q[3]});
                }
            AtLevel(level, [&] { BlendRows(pic.View(), 0, 3, pic.View(), 0, 2, 13, 3, k, -1); });
            for (int y = 0, i = 0; y < 3; ++y)
                for (int x = 0; x < 13; ++x, ++i)
                    ASSERT_EQ(pic.At(x, y), want[size_t(i)]) << "level " << int(level) << " k " << k << " at " << x << "," << y;
        }
}

TEST(GrayScaleWeights, CodesAndDefault) {
    struct Case {
        int code;
        float r, g, b;
    } cases[] = {{-1, 1, 1, 1},          {1, 0.213f, 0.715f, 0.072f}, {2, 0.333f, 0.334f, 0.333f},
                 {3, 0.8f, 0.1f, 0.1f},   {4, 0.1f, 0.8f, 0.1f},       {5, 0.1f, 0.1f, 0.8f},
                 {6, 0.45f, 0.45f, 0.1f}, {7, 0.1f, 0.45f, 0.45f},     {0, 0.299f, 0.587f, 0.114f},
                 {8, 0.299f, 0.587f, 0.114f}, {-2, 0.299f, 0.587f, 0.114f}};
    for (const auto &c : cases) {
        float r, g, b;
        GrayScaleWeights(c.code, r, g, b);
        EXPECT_EQ(r, c.r) << c.code;
        EXPECT_EQ(g, c.g) << c.code;
        EXPECT_EQ(b, c.b) << c.code;
    }
}

// A 4 x 3 picture blended into a 4 x 3 host at several origins.
class BlendToSurfaceTest : public ::testing::Test {
protected:
    void SetUp() override {
        src.Coordinates();
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 4; ++x) host.Set(x, y, {0, 0, 77, 255});
    }
    Picture src{4, 3}, host{4, 3};
    PixelArray none;
};

TEST_F(BlendToSurfaceTest, NegativeOriginCutsTheSourceInsteadOfMovingIt) {
    PixelView h = host.View();
    ASSERT_TRUE(BlendToSurface(src.View(), BlendSource::Surface, none, 0, 0, -1, -2, 4, 3, 255, h, -1, 0));
    // Only source row 2 (columns 1..3) survives, at the host's top-left.
    for (int x = 0; x < 3; ++x) EXPECT_EQ(host.At(x, 0), (Bgra{uint8_t(x + 1), 2, 0, 255}));
    EXPECT_EQ(host.At(3, 0), (Bgra{0, 0, 77, 255}));
    EXPECT_EQ(host.At(0, 1), (Bgra{0, 0, 77, 255}));
}

TEST_F(BlendToSurfaceTest, WritesStopAtTheHostsEdges) {
    PixelView h = host.View();
    ASSERT_TRUE(BlendToSurface(src.View(), BlendSource::Surface, none, 0, 0, 2, 1, 4, 3, 255, h, -1, 0));
    EXPECT_EQ(host.At(2, 1), (Bgra{0, 0, 0, 255}));
    EXPECT_EQ(host.At(3, 2), (Bgra{1, 1, 0, 255}));
    EXPECT_EQ(host.At(1, 1), (Bgra{0, 0, 77, 255}));
    EXPECT_EQ(host.At(3, 0), (Bgra{0, 0, 77, 255}));
}

TEST_F(BlendToSurfaceTest, SourceOffsetAndEmptyResults) {
    PixelView h = host.View();
    ASSERT_TRUE(BlendToSurface(src.View(), BlendSource::Surface, none, 2, 1, 0, 0, 2, 2, 255, h, -1, 0));
    EXPECT_EQ(host.At(0, 0), (Bgra{2, 1, 0, 255}));
    EXPECT_EQ(host.At(1, 1), (Bgra{3, 2, 0, 255}));
    EXPECT_EQ(host.At(2, 0), (Bgra{0, 0, 77, 255}));
    // Entirely left of the host: nothing to draw.
    EXPECT_FALSE(BlendToSurface(src.View(), BlendSource::Surface, none, 0, 0, -4, 0, 4, 3, 255, h, -1, 0));
    // A rectangle that would read outside the source is refused, not read.
    EXPECT_FALSE(BlendToSurface(src.View(), BlendSource::Surface, none, 2, 0, 0, 0, 4, 3, 255, h, -1, 0));
}

TEST_F(BlendToSurfaceTest, LightnessWorksOnACopy) {
    PixelView h = host.View();
    PixelArray copy;
    const auto before = src.Bytes();
    ASSERT_TRUE(BlendToSurface(src.View(), BlendSource::Surface, copy, 0, 0, 0, 0, 4, 3, 255, h, -1, -100));
    EXPECT_EQ(src.Bytes(), before);
    EXPECT_EQ(host.At(3, 2), (Bgra{0, 0, 0, 255}));
}

}  // namespace
}  // namespace lumio::render::test
