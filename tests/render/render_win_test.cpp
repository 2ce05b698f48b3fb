// Render under Wine: the own blend against the host-surface blend and our
// reference arithmetic, AlphaBlend within one unit, and the geometry of the
// scaled, GDI+ and rotated paths. Run twice: with GDI+ and without it.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>

#include "gray_scale.h"
#include "imaging/render.h"
#include "render_win_fixture.h"

namespace lumio::test {
namespace {

bool GdiPlusPresent() { return GetModuleHandleW(L"gdiplus.dll") || LoadLibraryW(L"gdiplus.dll"); }

// One source pixel over one destination pixel, from the rules (colour only).
Bgra Over(Bgra s, Bgra d, int k, int code, float lightness) {
    if (s.a == 0) return d;
    if (lightness != 0) {
        const float l = lightness / 100.0f * 255.0f;
        const int m = int(std::nearbyint(l * float(s.a))) / 255;
        auto f = [&](int c) { return uint8_t(l > 0 ? std::min(c + m, int(s.a)) : std::max(c + m, 0)); };
        s = {f(s.b), f(s.g), f(s.r), s.a};
    }
    int sc[3] = {s.b, s.g, s.r};
    if (code != -1) {
        float wr, wg, wb;
        render::GrayScaleWeights(code, wr, wg, wb);
        const int g = int(std::nearbyint(float(s.b) * wb + float(s.g) * wg + float(s.r) * wr)) & 255;
        sc[0] = sc[1] = sc[2] = g;
    }
    int dc[3] = {d.b, d.g, d.r};
    for (int c = 0; c < 3; ++c) {
        if (k == 255)
            dc[c] = s.a == 255 ? sc[c] : sc[c] + (255 - s.a) * dc[c] / 255;
        else
            dc[c] = ((255 - s.a * k / 255) * dc[c] + sc[c] * k) / 255;
    }
    return {uint8_t(dc[0]), uint8_t(dc[1]), uint8_t(dc[2]), d.a};
}

Bgra Background(int32_t x, int32_t y) { return {uint8_t(x * 7), uint8_t(y * 5), 128, 255}; }

// The own path alone: no AlphaBlend, no GDI+.
void OwnPathOnly(c32bppDIB &s) {
    s.isAlphaBlendFriendly(false);
    s.isGDIplusEnabled(false);
}

struct Args {
    const char *what;
    int32_t dx, dy, dw, dh, sx, sy, sw, sh, opacity, gray;
    float light;
    bool hq;
};

// The own blend onto a device context (through its 24-bit copy) gives the
// same colours as the same blend straight into a surface.
TEST(RenderOwnPath, DeviceContextMatchesHostSurface) {
    const Args cases[] = {
        {"plain", 3, 4, 0, 0, 0, 0, 0, 0, 100, -1, 0, false},
        {"opacity 50", 3, 4, 0, 0, 0, 0, 0, 0, 50, -1, 0, false},
        {"grey BT.709 at 80%", 0, 0, 0, 0, 0, 0, 0, 0, 80, 1, 0, false},
        {"lightness 50", 2, 2, 0, 0, 0, 0, 0, 0, 100, -1, 50, false},
        {"lightness -100 mirrored", 2, 2, -23, 17, 0, 0, 0, 0, 100, -1, -100, false},
        {"mirrored both", 5, 1, -23, -17, 0, 0, 0, 0, 100, -1, 0, false},
        {"negative origin", -5, -3, 0, 0, 0, 0, 0, 0, 100, 2, 0, false},
        {"past the right edge", 30, 10, 0, 0, 0, 0, 0, 0, 100, -1, 0, false},
        {"sub-rectangle", 1, 1, 0, 0, 4, 3, 10, 9, 100, -1, 0, false},
        {"nearest 2x", 0, 0, 46, 34, 0, 0, 0, 0, 100, -1, 0, false},
        {"bilinear 1.7x, cut left", -4, 2, 39, 29, 0, 0, 0, 0, 70, 5, 20, true},
        {"bilinear down, mirrored", 2, 2, -11, -8, 0, 0, 0, 0, 100, -1, 0, true},
        {"source width -10 into 20", 0, 0, 20, 0, 0, 0, -10, 0, 100, -1, 0, false},
    };
    auto src = MakeSurface(23, 17, [](int32_t x, int32_t y) { return Noise(x, y, 1); });
    ASSERT_TRUE(src);
    OwnPathOnly(*src);
    for (const Args &a : cases) {
        src->HighQualityInterpolation(a.hq);
        Canvas canvas(48, 36);
        canvas.Fill(Background);
        auto host = MakeSurface(48, 36, Background);
        ASSERT_TRUE(Render(*src, canvas.dc(), a.dx, a.dy, a.dw, a.dh, a.sx, a.sy, a.sw, a.sh, a.opacity, true, true,
                           nullptr, a.gray, a.light))
            << a.what;
        ASSERT_TRUE(Render(*src, nullptr, a.dx, a.dy, a.dw, a.dh, a.sx, a.sy, a.sw, a.sh, a.opacity, true, true,
                           host.get(), a.gray, a.light))
            << a.what;
        int differing = 0;
        for (int32_t y = 0; y < 36; ++y)
            for (int32_t x = 0; x < 48; ++x) {
                const Bgra c = canvas.Pixel(x, y), h = SurfacePixel(*host, x, y);
                if (c.b != h.b || c.g != h.g || c.r != h.r) ++differing;
            }
        EXPECT_EQ(differing, 0) << a.what;
    }
}

// Unscaled own blends follow the rules pixel for pixel.
TEST(RenderOwnPath, UnscaledMatchesReference) {
    struct Case {
        int32_t opacity, gray;
        float light;
    } cases[] = {{100, -1, 0}, {50, -1, 0}, {100, 2, 0}, {30, 9, 0}, {100, -1, 50}, {100, -1, -30}};
    auto src = MakeSurface(23, 17, [](int32_t x, int32_t y) { return Noise(x, y, 2); });
    ASSERT_TRUE(src);
    OwnPathOnly(*src);
    for (const Case &c : cases) {
        Canvas canvas(30, 20);
        canvas.Fill(Background);
        ASSERT_TRUE(Render(*src, canvas.dc(), 4, 2, 0, 0, 0, 0, 0, 0, c.opacity, true, true, nullptr, c.gray, c.light));
        for (int32_t y = 0; y < 20; ++y)
            for (int32_t x = 0; x < 30; ++x) {
                Bgra want = Background(x, y);
                if (x >= 4 && x < 27 && y >= 2 && y < 19)
                    want = Over(Noise(x - 4, y - 2, 2), want, c.opacity * 255 / 100, c.gray, c.light);
                const Bgra got = canvas.Pixel(x, y);
                ASSERT_TRUE(got.b == want.b && got.g == want.g && got.r == want.r)
                    << "opacity " << c.opacity << " grey " << c.gray << " light " << c.light << " at " << x << ","
                    << y << ": " << int(got.b) << "," << int(got.g) << "," << int(got.r) << " want " << int(want.b)
                    << "," << int(want.g) << "," << int(want.r);
            }
    }
}

// The system's AlphaBlend, unscaled: within one unit of the rules.
TEST(RenderAlphaBlendPath, UnscaledWithinOneUnit) {
    auto src = MakeSurface(23, 17, [](int32_t x, int32_t y) { return Noise(x, y, 3); });
    ASSERT_TRUE(src);
    src->isGDIplusEnabled(false);
    src->HighQualityInterpolation(false);
    ASSERT_TRUE(src->isAlphaBlendFriendly());
    for (int32_t opacity : {100, 50}) {
        Canvas canvas(30, 20);
        canvas.Fill(Background);
        ASSERT_TRUE(Render(*src, canvas.dc(), 4, 2, 0, 0, 0, 0, 0, 0, opacity));
        int worst = 0;
        for (int32_t y = 2; y < 19; ++y)
            for (int32_t x = 4; x < 27; ++x) {
                const Bgra want = Over(Noise(x - 4, y - 2, 3), Background(x, y), opacity * 255 / 100, -1, 0);
                const Bgra got = canvas.Pixel(x, y);
                worst = std::max({worst, std::abs(got.b - want.b), std::abs(got.g - want.g), std::abs(got.r - want.r)});
            }
        EXPECT_LE(worst, 1) << "opacity " << opacity;
        EXPECT_EQ(canvas.Pixel(3, 2).r, 128);
        EXPECT_EQ(canvas.Pixel(27, 18).r, 128);
    }
}

// Where each quadrant of a 20 x 10 picture landed, sampled at the centres
// of the four quarters of the rectangle (x, y, w, h).
struct Quarters {
    Bgra tl, tr, bl, br;
};
Quarters Sample(const Canvas &c, int32_t x, int32_t y, int32_t w, int32_t h) {
    return {c.Pixel(x + w / 4, y + h / 4), c.Pixel(x + 3 * w / 4, y + h / 4), c.Pixel(x + w / 4, y + 3 * h / 4),
            c.Pixel(x + 3 * w / 4, y + 3 * h / 4)};
}
const Bgra kRed{0, 0, 255, 255}, kGreen{0, 255, 0, 255}, kBlue{255, 0, 0, 255}, kWhite{255, 255, 255, 255};
bool Same(Bgra a, Bgra b) { return std::abs(a.b - b.b) <= 8 && std::abs(a.g - b.g) <= 8 && std::abs(a.r - b.r) <= 8; }

void ExpectQuarters(const Quarters &q, Bgra tl, Bgra tr, Bgra bl, Bgra br, const std::string &what) {
    EXPECT_TRUE(Same(q.tl, tl)) << what << ": top-left";
    EXPECT_TRUE(Same(q.tr, tr)) << what << ": top-right";
    EXPECT_TRUE(Same(q.bl, bl)) << what << ": bottom-left";
    EXPECT_TRUE(Same(q.br, br)) << what << ": bottom-right";
}

std::unique_ptr<c32bppDIB> Quadrants() {
    return MakeSurface(20, 10, [](int32_t x, int32_t y) { return Quadrant(x, y, 20, 10); });
}

enum class Via { AlphaBlend, Own, GdiPlus };

// Scaled and mirrored renders keep the picture's orientation on every path.
TEST(RenderGeometry, ScaledAndMirrored) {
    for (Via via : {Via::AlphaBlend, Via::Own, Via::GdiPlus}) {
        auto src = Quadrants();
        if (via == Via::GdiPlus) {
            if (!src->isGDIplusEnabled()) continue;
            src->HighQualityInterpolation(true);
        } else if (via == Via::Own) {
            OwnPathOnly(*src);
        } else {
            src->isGDIplusEnabled(false);
            src->HighQualityInterpolation(false);
        }
        const std::string name = via == Via::AlphaBlend ? "AlphaBlend" : via == Via::Own ? "own" : "GDI+";
        // No path may change the picture it draws (GDI+ flips a bitmap that shares its memory).
        struct Unchanged {
            const c32bppDIB &s;
            std::string name;
            ~Unchanged() {
                for (int32_t y = 0; y < 10; ++y)
                    for (int32_t x = 0; x < 20; ++x) {
                        const Bgra p = SurfacePixel(s, x, y), q = Quadrant(x, y, 20, 10);
                        EXPECT_TRUE(p.b == q.b && p.g == q.g && p.r == q.r && p.a == q.a) << name << " at " << x << "," << y;
                    }
            }
        } unchanged{*src, name};
        Canvas c(100, 60);
        ASSERT_TRUE(Render(*src, c.dc(), 10, 10, 40, 20)) << name;
        ExpectQuarters(Sample(c, 10, 10, 40, 20), kRed, kGreen, kBlue, kWhite, name + " 2x");
        if (via == Via::AlphaBlend) continue;  // AlphaBlend never mirrors
        ASSERT_TRUE(Render(*src, c.dc(), 50, 10, -40, 20)) << name;
        // Mirrored renders still start at the given origin.
        ExpectQuarters(Sample(c, 50, 10, 40, 20), kGreen, kRed, kWhite, kBlue, name + " left-right");
        Canvas d(100, 60);
        ASSERT_TRUE(Render(*src, d.dc(), 10, 10, 40, -20)) << name;
        ExpectQuarters(Sample(d, 10, 10, 40, 20), kBlue, kWhite, kRed, kGreen, name + " top-bottom");
        // Source width -10: the picture's right half, reversed, over 20 columns.
        Canvas e(100, 60);
        ASSERT_TRUE(Render(*src, e.dc(), 10, 10, 20, 0, 0, 0, -10, 0)) << name;
        EXPECT_TRUE(Same(e.Pixel(10 + 15, 12), kGreen)) << name;
        EXPECT_TRUE(Same(e.Pixel(10 + 15, 17), kWhite)) << name;
        EXPECT_TRUE(Same(e.Pixel(10 + 5, 12), kGreen)) << name;
    }
}

// Quarter turns about the destination's centre: positive angles clockwise.
TEST(RenderGeometry, Rotation) {
    for (bool gdiPlus : {false, true}) {
        auto src = Quadrants();
        if (gdiPlus && !src->isGDIplusEnabled()) continue;
        if (!gdiPlus) src->isGDIplusEnabled(false);
        const std::string name = gdiPlus ? "GDI+" : "own";
        // 20 x 10 at (30, 30): centre (40, 35); turned it covers 10 x 20 at (35, 25).
        Canvas c(100, 80);
        ASSERT_TRUE(Render(*src, c.dc(), 30, 30, 0, 0, 0, 0, 0, 0, 100, true, true, nullptr, -1, 0, 90)) << name;
        ExpectQuarters(Sample(c, 35, 25, 10, 20), kBlue, kRed, kWhite, kGreen, name + " +90");
        EXPECT_EQ(c.Pixel(31, 31).a, 0) << name << ": corners stay untouched";
        Canvas d(100, 80);
        ASSERT_TRUE(Render(*src, d.dc(), 30, 30, 0, 0, 0, 0, 0, 0, 100, true, true, nullptr, -1, 0, -90)) << name;
        ExpectQuarters(Sample(d, 35, 25, 10, 20), kGreen, kWhite, kRed, kBlue, name + " -90");
        Canvas e(100, 80);
        ASSERT_TRUE(Render(*src, e.dc(), 40, 35, 0, 0, 0, 0, 0, 0, 100, true, true, nullptr, -1, 0, 450, true))
            << name;
        ExpectQuarters(Sample(e, 35, 25, 10, 20), kBlue, kRed, kWhite, kGreen, name + " 450 centred");
    }
}

TEST(RenderGeometry, RotationIntoAHostSurface) {
    auto src = Quadrants();
    src->isGDIplusEnabled(false);
    auto host = MakeSurface(60, 60, [](int32_t, int32_t) { return Bgra{0, 0, 0, 0}; });
    ASSERT_TRUE(Render(*src, nullptr, 20, 25, 0, 0, 0, 0, 0, 0, 100, true, true, host.get(), -1, 0, 90));
    // Centre (30, 30): the turned picture covers 10 x 20 at (25, 20).
    EXPECT_TRUE(Same(SurfacePixel(*host, 32, 24), kRed));
    EXPECT_TRUE(Same(SurfacePixel(*host, 32, 35), kGreen));
    EXPECT_TRUE(Same(SurfacePixel(*host, 27, 24), kBlue));
    EXPECT_EQ(SurfacePixel(*host, 22, 26).a, 0);
}

TEST(Render, ResultsOfDegenerateCalls) {
    auto src = Quadrants();
    c32bppDIB empty;
    Canvas c(30, 30);
    EXPECT_TRUE(Render(*src, c.dc(), 0, 0, 0, 0, 0, 0, 0, 0, 0));
    EXPECT_FALSE(Render(empty, c.dc(), 0, 0, 0, 0, 0, 0, 0, 0, 0));
    EXPECT_FALSE(Render(empty, c.dc()));
    EXPECT_FALSE(Render(*src, nullptr));
    EXPECT_FALSE(Render(*src, c.dc(), 0, 0, 0, 0, 20, 0));
    EXPECT_FALSE(Render(*src, c.dc(), 0, 0, 0, 0, 0, 10));
    EXPECT_FALSE(Render(*src, c.dc(), 0, 0, 0, 0, 0, 0, 0, 0, 100, true, true, nullptr, -1, 0, NAN));
    EXPECT_FALSE(Render(*src, c.dc(), 0, 0, 0, 0, 0, 0, 0, 0, 100, true, true, nullptr, -1, 0, INFINITY));
    EXPECT_FALSE(Render(*src, c.dc(), INT32_MIN, 0, 0, 0, 0, 0, 0, 0, 100, true, true, nullptr, -1, 0, 0, true));
    OwnPathOnly(*src);
    EXPECT_FALSE(Render(*src, c.dc(), 0, 0, 200000, 200000));  // no room for the scaled copy
    // Angle 360 draws unrotated; opacity 150 draws at 50 percent.
    Canvas d(30, 30);
    d.Fill([](int32_t, int32_t) { return Bgra{0, 0, 0, 255}; });
    ASSERT_TRUE(Render(*src, d.dc(), 0, 0, 0, 0, 0, 0, 0, 0, 150, true, true, nullptr, -1, 0, 360));
    EXPECT_EQ(d.Pixel(2, 2).r, 127);
}

TEST(Render, GdiPlusMatchesItsAvailability) {
    c32bppDIB s;
    EXPECT_EQ(s.isGDIplusEnabled(), GdiPlusPresent());
}

}  // namespace
}  // namespace lumio::test
