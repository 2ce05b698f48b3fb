// A picture of Render's effects, saved as PNG beside the test to be looked at.
#include <gtest/gtest.h>

#include <cmath>

#include "imaging/cgdiplus.h"
#include "imaging/render.h"
#include "render_win_fixture.h"

namespace lumio::test {
namespace {

// A glassy orb drawn by code: a radial gradient with soft, premultiplied edges.
Bgra Orb(int32_t x, int32_t y) {
    const double cx = 31.5, cy = 31.5, r = 30.0;
    const double d = std::hypot(x - cx, y - cy);
    if (d >= r + 1) return {0, 0, 0, 0};
    const double edge = std::clamp(r + 1 - d, 0.0, 1.0);
    const double shine = std::exp(-(std::pow(x - 22.0, 2) + std::pow(y - 18.0, 2)) / 90.0);
    const double t = y / 63.0;
    const double red = 40 + 60 * t + 155 * shine, green = 110 + 80 * (1 - t) + 65 * shine, blue = 230 + 25 * shine;
    const double a = 255 * edge;
    auto c = [&](double v) { return uint8_t(std::clamp(v, 0.0, 255.0) * a / 255); };
    // Left half opaque, with a transparent notch to show orientation.
    if (x > 44 && y < 14) return {0, 0, 0, 0};
    return {c(blue), c(green), c(red), uint8_t(a)};
}

TEST(RenderGallery, SavesAPicture) {
    auto orb = MakeSurface(64, 64, Orb);
    ASSERT_TRUE(orb);
    if (!orb->isGDIplusEnabled()) GTEST_SKIP() << "saving needs GDI+";
    Canvas page(560, 230);
    page.Fill([](int32_t x, int32_t y) {
        const bool dark = ((x / 16) + (y / 16)) % 2 == 0;
        const uint8_t v = dark ? 200 : 235;
        return Bgra{v, v, v, 255};
    });
    HDC dc = page.dc();
    auto own = [&](bool on) {
        orb->isGDIplusEnabled(on);
        orb->isAlphaBlendFriendly(on);
    };
    // Row 1: plain (AlphaBlend), opacity 40, mirrored, flipped, grey, light, dark (own blend).
    ASSERT_TRUE(Render(*orb, dc, 8, 8));
    own(false);
    ASSERT_TRUE(Render(*orb, dc, 80, 8, 0, 0, 0, 0, 0, 0, 40));
    ASSERT_TRUE(Render(*orb, dc, 152, 8, -64, 64));
    ASSERT_TRUE(Render(*orb, dc, 224, 8, 64, -64));
    ASSERT_TRUE(Render(*orb, dc, 296, 8, 0, 0, 0, 0, 0, 0, 100, true, true, nullptr, 1));
    ASSERT_TRUE(Render(*orb, dc, 368, 8, 0, 0, 0, 0, 0, 0, 100, true, true, nullptr, -1, 60));
    ASSERT_TRUE(Render(*orb, dc, 440, 8, 0, 0, 0, 0, 0, 0, 100, true, true, nullptr, -1, -60));
    // Row 2: own nearest 2x, own bilinear 2x, own rotation 30 and -90, GDI+ rotation 30.
    orb->HighQualityInterpolation(false);
    ASSERT_TRUE(Render(*orb, dc, 8, 90, 128, 128));
    orb->HighQualityInterpolation(true);
    ASSERT_TRUE(Render(*orb, dc, 144, 90, 128, 128));
    ASSERT_TRUE(Render(*orb, dc, 312, 154, 0, 0, 0, 0, 0, 0, 100, true, true, nullptr, -1, 0, 30, true));
    ASSERT_TRUE(Render(*orb, dc, 392, 154, 0, 0, 0, 0, 0, 0, 100, true, true, nullptr, -1, 0, -90, true));
    own(true);
    ASSERT_TRUE(Render(*orb, dc, 480, 154, 0, 0, 0, 0, 0, 0, 100, true, true, nullptr, -1, 0, 30, true));

    auto shot = MakeSurface(560, 230, [&](int32_t x, int32_t y) {
        Bgra p = page.Pixel(x, y);
        p.a = 255;
        return p;
    });
    cGDIPlus gdi;
    std::vector<uint8_t> unused;
    ASSERT_TRUE(gdi.SaveToPNG(L"render_gallery.png", unused, *shot, 0));
}

}  // namespace
}  // namespace lumio::test
