#include <gtest/gtest.h>

#include <cmath>

#include "render_args.h"

namespace lumio::render::test {
namespace {

// A 20 x 10 image.
RenderStep Normalize(RenderArgs &a, bool hasImage = true, bool hasDest = true) {
    return NormalizeRender(hasImage, 20, 10, hasDest, a);
}

TEST(NormalizeRender, OpacityImageAndDestination) {
    RenderArgs a;
    a.opacity = 0;
    EXPECT_EQ(Normalize(a), RenderStep::DoneTrue);
    EXPECT_EQ(Normalize(a, false), RenderStep::DoneFalse);
    a.opacity = -5;
    EXPECT_EQ(Normalize(a), RenderStep::DoneTrue);
    RenderArgs b;
    EXPECT_EQ(Normalize(b, false), RenderStep::DoneFalse);
    RenderArgs c;
    EXPECT_EQ(Normalize(c, true, false), RenderStep::DoneFalse);

    struct Case {
        int32_t in, out;
    } cases[] = {{1, 1}, {99, 99}, {100, 100}, {150, 50}, {200, 100}, {INT32_MAX, 47}};
    for (const auto &k : cases) {
        RenderArgs d;
        d.opacity = k.in;
        ASSERT_EQ(Normalize(d), RenderStep::Unrotated);
        EXPECT_EQ(d.opacity, k.out) << k.in;
    }
    EXPECT_EQ(ConstantAlpha(50), 127);
    EXPECT_EQ(ConstantAlpha(1), 2);
    EXPECT_EQ(ConstantAlpha(100), 255);
}

TEST(NormalizeRender, SizesSourceAndMirroring) {
    struct Case {
        const char *what;
        RenderArgs in;
        RenderStep step;
        int32_t dw, dh, sx, sy, sw, sh;
    } cases[] = {
        {"defaults", {}, RenderStep::Unrotated, 20, 10, 0, 0, 20, 10},
        {"negative source origin", {.srcX = -3, .srcY = -1}, RenderStep::Unrotated, 20, 10, 0, 0, 20, 10},
        {"negative source width mirrors", {.destWidth = 20, .srcWidth = -10}, RenderStep::Unrotated, -20, 10, 0, 0,
         10, 10},
        {"negative both", {.destWidth = -5, .destHeight = 4, .srcWidth = -5, .srcHeight = -4},
         RenderStep::Unrotated, 5, -4, 0, 0, 5, 4},
        {"source cut at the edge", {.srcX = 15, .srcY = 8}, RenderStep::Unrotated, 20, 10, 15, 8, 5, 2},
        {"source origin at the right edge", {.srcX = 20}, RenderStep::DoneFalse, 0, 0, 0, 0, 0, 0},
        {"source origin past the bottom", {.srcY = 11}, RenderStep::DoneFalse, 0, 0, 0, 0, 0, 0},
        {"source width that cannot be negated", {.srcWidth = INT32_MIN}, RenderStep::DoneFalse, 0, 0, 0, 0, 0, 0},
        {"destination that cannot be negated", {.destWidth = INT32_MIN, .srcWidth = -3}, RenderStep::DoneFalse, 0,
         0, 0, 0, 0, 0},
        {"huge source origin", {.srcX = INT32_MAX, .srcWidth = INT32_MAX}, RenderStep::DoneFalse, 0, 0, 0, 0, 0, 0},
    };
    for (const auto &c : cases) {
        RenderArgs a = c.in;
        ASSERT_EQ(Normalize(a), c.step) << c.what;
        if (c.step == RenderStep::DoneFalse) continue;
        EXPECT_EQ(a.destWidth, c.dw) << c.what;
        EXPECT_EQ(a.destHeight, c.dh) << c.what;
        EXPECT_EQ(a.srcX, c.sx) << c.what;
        EXPECT_EQ(a.srcY, c.sy) << c.what;
        EXPECT_EQ(a.srcWidth, c.sw) << c.what;
        EXPECT_EQ(a.srcHeight, c.sh) << c.what;
    }
}

TEST(NormalizeRender, AngleLightnessAndCentre) {
    struct Case {
        float angle;
        RenderStep step;
    } angles[] = {{0, RenderStep::Unrotated},      {360, RenderStep::Unrotated}, {-720, RenderStep::Unrotated},
                  {0.5f, RenderStep::Rotated},     {-90, RenderStep::Rotated},   {3.6e9f, RenderStep::Unrotated},
                  {1e10f, RenderStep::Rotated},    {NAN, RenderStep::DoneFalse}, {INFINITY, RenderStep::DoneFalse}};
    for (const auto &c : angles) {
        RenderArgs a;
        a.angle = c.angle;
        EXPECT_EQ(Normalize(a), c.step) << c.angle;
    }
    struct L {
        float in, out;
    } lights[] = {{150, 0}, {-100, -100}, {100, 100}, {-100.5f, 0}, {NAN, 0}, {42, 42}};
    for (const auto &c : lights) {
        RenderArgs a;
        a.lightness = c.in;
        ASSERT_EQ(Normalize(a), RenderStep::Unrotated);
        EXPECT_EQ(a.lightness, c.out) << c.in;
    }

    RenderArgs a{.destX = 100, .destY = 100, .centerOnDestXY = true};
    ASSERT_EQ(Normalize(a), RenderStep::Unrotated);
    EXPECT_EQ(a.destX, 90);
    EXPECT_EQ(a.destY, 95);
    RenderArgs m{.destX = 100, .destY = 100, .destWidth = -7, .centerOnDestXY = true};
    ASSERT_EQ(Normalize(m), RenderStep::Unrotated);
    EXPECT_EQ(m.destX, 97);  // |-7 \ 2| = 3
    RenderArgs r{.destX = 100, .destY = 100, .destWidth = -7, .angle = 30, .centerOnDestXY = true};
    ASSERT_EQ(Normalize(r), RenderStep::Rotated);
    EXPECT_EQ(r.destX, 103);  // signed half, truncated
    EXPECT_EQ(r.destY, 95);
    RenderArgs o{.destX = INT32_MIN, .centerOnDestXY = true};
    EXPECT_EQ(Normalize(o), RenderStep::DoneFalse);
}

TEST(ChooseRenderPath, Table) {
    struct Case {
        const char *what;
        RenderArgs a;
        PathInputs in;
        RenderPath want;
    } cases[] = {
        {"plain, AlphaBlend usable", {.destWidth = 20, .destHeight = 10, .srcWidth = 20, .srcHeight = 10},
         {.alphaBlendFriendly = true}, RenderPath::AlphaBlend},
        {"plain, GDI+ enabled without token", {.destWidth = 20, .destHeight = 10, .srcWidth = 20, .srcHeight = 10},
         {.gdiPlusEnabled = true, .alphaBlendFriendly = true}, RenderPath::AlphaBlend},
        {"plain, GDI+ with a lent token", {.destWidth = 20, .destHeight = 10, .srcWidth = 20, .srcHeight = 10},
         {.gdiPlusEnabled = true, .gdiTokenLent = true, .alphaBlendFriendly = true}, RenderPath::GdiPlus},
        {"scaled smooth without GDI+", {.destWidth = 40, .destHeight = 10, .srcWidth = 20, .srcHeight = 10},
         {.alphaBlendFriendly = true, .highQuality = true}, RenderPath::Own},
        {"scaled smooth with GDI+", {.destWidth = 40, .destHeight = 10, .srcWidth = 20, .srcHeight = 10},
         {.gdiPlusEnabled = true, .alphaBlendFriendly = true, .highQuality = true}, RenderPath::GdiPlus},
        {"scaled plain", {.destWidth = 40, .destHeight = 10, .srcWidth = 20, .srcHeight = 10},
         {.alphaBlendFriendly = true}, RenderPath::AlphaBlend},
        {"mirrored", {.destWidth = -20, .destHeight = 10, .srcWidth = 20, .srcHeight = 10},
         {.alphaBlendFriendly = true}, RenderPath::Own},
        {"grey", {.destWidth = 20, .destHeight = 10, .srcWidth = 20, .srcHeight = 10, .grayScale = 2},
         {.alphaBlendFriendly = true}, RenderPath::Own},
        {"lightness", {.destWidth = 20, .destHeight = 10, .srcWidth = 20, .srcHeight = 10, .lightness = 5},
         {.alphaBlendFriendly = true}, RenderPath::Own},
        {"AlphaBlend not allowed", {.destWidth = 20, .destHeight = 10, .srcWidth = 20, .srcHeight = 10}, {},
         RenderPath::Own},
    };
    for (const auto &c : cases) EXPECT_EQ(ChooseRenderPath(c.a, c.in), c.want) << c.what;
}

}  // namespace
}  // namespace lumio::render::test
