#include <gtest/gtest.h>

#include "mirror_bits.h"
#include "pixel_fixture.h"

namespace lumio::render::test {
namespace {

// 5 x 4 picture whose pixels name their own position; mirror the 3 x 2
// rectangle at (1, 1) in each direction and compare with the rule: the
// rectangle is taken from the mirrored picture.
TEST(MirrorBits, RectangleIsTakenFromTheMirroredPicture) {
    struct Case {
        const char *what;
        int32_t dw, dh;
        bool flipX, flipY;
    } cases[] = {
        {"left-right", -3, 2, true, false},
        {"left-right, width 0", 0, 2, true, false},
        {"top-bottom", 3, -2, false, true},
        {"both", -3, -2, true, true},
    };
    Picture pic(5, 4);
    pic.Coordinates();
    for (const auto &c : cases) {
        int32_t sx = 1, sy = 1, dw = c.dw, dh = c.dh;
        float l = 0;
        PixelArray out;
        ASSERT_TRUE(MirrorBits(pic.View(), sx, sy, 3, 2, dw, dh, out, nullptr, l)) << c.what;
        EXPECT_EQ(sx, 0);
        EXPECT_EQ(sy, 0);
        EXPECT_EQ(dw, std::abs(c.dw));
        EXPECT_EQ(dh, std::abs(c.dh));
        ASSERT_EQ(out.Width(), 3);
        ASSERT_EQ(out.Height(), 2);
        for (int t = 0; t < 2; ++t)
            for (int k = 0; k < 3; ++k) {
                const int px = c.flipX ? 5 - 1 - 1 - k : 1 + k;
                const int py = c.flipY ? 4 - 1 - (1 + t) : 1 + t;
                EXPECT_EQ(PixelAt(out.View(), k, t), pic.At(px, py)) << c.what << " " << k << "," << t;
            }
    }
}

TEST(MirrorBits, RefusesWhenNothingIsMirroredOrTheRectangleIsOutside) {
    Picture pic(5, 4);
    struct Case {
        int32_t sx, sy, sw, sh, dw, dh;
    } cases[] = {{0, 0, 5, 4, 5, 4}, {0, 0, 5, 4, 1, 1}, {1, 0, 5, 4, -5, 4}, {0, 1, 5, 4, -5, 4},
                 {0, 0, 0, 4, -5, 4}, {0, 0, 5, 4, INT32_MIN, 4}, {-1, 0, 2, 2, -2, 2}};
    for (const auto &c : cases) {
        int32_t sx = c.sx, sy = c.sy, dw = c.dw, dh = c.dh;
        float l = 0;
        PixelArray out;
        EXPECT_FALSE(MirrorBits(pic.View(), sx, sy, c.sw, c.sh, dw, dh, out, nullptr, l))
            << c.sx << " " << c.sy << " " << c.sw << " " << c.dw;
        EXPECT_FALSE(out.IsDimensioned());
    }
}

TEST(MirrorBits, AppliesLightnessOnceAndClearsIt) {
    Picture pic(2, 1);
    pic.Set(0, 0, {10, 20, 250, 255});
    pic.Set(1, 0, {1, 1, 1, 255});
    int32_t sx = 0, sy = 0, dw = -2, dh = 1;
    float l = 50;
    PixelArray out;
    ASSERT_TRUE(MirrorBits(pic.View(), sx, sy, 2, 1, dw, dh, out, nullptr, l));
    EXPECT_EQ(l, 0.0f);
    EXPECT_EQ(PixelAt(out.View(), 1, 0), (Bgra{137, 147, 255, 255}));
    EXPECT_EQ(pic.At(0, 0), (Bgra{10, 20, 250, 255}));
}

TEST(MirrorBits, IntoATargetIsClippedToIt) {
    Picture pic(4, 3), target(2, 2);
    pic.Coordinates();
    int32_t sx = 0, sy = 0, dw = -4, dh = -3;
    float l = 0;
    PixelArray unused;
    PixelView tv = target.View();
    ASSERT_TRUE(MirrorBits(pic.View(), sx, sy, 4, 3, dw, dh, unused, &tv, l));
    EXPECT_FALSE(unused.IsDimensioned());
    // The target holds the bottom-left 2 x 2 of the 4 x 3 mirrored result.
    EXPECT_EQ(target.At(0, 0), pic.At(3, 1));
    EXPECT_EQ(target.At(1, 1), pic.At(2, 0));
}

}  // namespace
}  // namespace lumio::render::test
