#include <gtest/gtest.h>

#include <cmath>

#include "pixel_fixture.h"
#include "rotate_bits.h"

namespace lumio::render::test {
namespace {

struct Turned {
    OwnRotation rot;
    PixelArray square;
};

// Image pixels name their position: b = x, g = y (top-down), a = 255.
void Turn(Turned &t, Picture &pic, float angle, int32_t dw, int32_t dh, bool hq = false) {
    ASSERT_TRUE(t.rot.Prepare(pic.View(), angle, 0, 0, dw, dh, 0, 0, pic.Width(), pic.Height(), 0));
    ASSERT_TRUE(t.square.Dimension(t.rot.Size(), t.rot.Size()));
    t.rot.Draw(t.square.View(), hq);
}

// Quarter turns of a 100 x 50 picture into a 100 x 50 rectangle: a 112 x 112
// square whose centre 50 x 100 holds the picture turned, everything else clear.
TEST(OwnRotation, QuarterTurnsClockwiseAndBack) {
    Picture pic(100, 50);
    pic.Coordinates();
    for (float angle : {90.0f, -90.0f, 450.0f, -270.0f}) {
        Turned t;
        Turn(t, pic, angle, 100, 50);
        ASSERT_EQ(t.rot.Size(), 112);
        EXPECT_EQ(t.rot.Left(), 50 - 56);
        EXPECT_EQ(t.rot.Top(), 25 - 56);
        const bool clockwise = angle == 90.0f || angle == 450.0f || angle == -270.0f;
        int written = 0;
        for (int y = 0; y < 112; ++y)
            for (int x = 0; x < 112; ++x) {
                const Bgra p = PixelAt(t.square.View(), x, y);
                if (p.a == 0) {
                    EXPECT_EQ(p, (Bgra{0, 0, 0, 0}));
                    continue;
                }
                ++written;
                // Inside the 50 x 100 window centred in the square.
                EXPECT_TRUE(x >= 30 && x <= 81 && y >= 5 && y <= 106) << x << "," << y;
                // Clockwise: the picture's left edge becomes the top, its top the right edge.
                const double u = x - 56 + 0.5, v = y - 56 + 0.5;  // from the centre, y down
                const double wantX = clockwise ? 50 + v : 50 - v;
                const double wantY = clockwise ? 25 - u : 25 + u;
                EXPECT_NEAR(p.b, wantX, 1.5) << angle << " at " << x << "," << y;
                EXPECT_NEAR(p.g, wantY, 1.5) << angle << " at " << x << "," << y;
            }
        EXPECT_NEAR(written, 5000, 160) << angle;
    }
}

TEST(OwnRotation, AngleIsTakenInWholeDegrees) {
    struct Case {
        float angle;
        bool ok;
        int32_t degrees;
    } cases[] = {{45.6f, true, 46},     {45.5f, true, 46},     {44.5f, true, 44},    {-90.0f, true, -90},
                 {359.7f, true, 0},     {1e10f, true, 280},    {-720.5f, true, 0},   {NAN, false, 0},
                 {INFINITY, false, 0},  {-INFINITY, false, 0}};
    for (const auto &c : cases) {
        int32_t d = 12345;
        EXPECT_EQ(WholeDegrees(c.angle, d), c.ok) << c.angle;
        if (c.ok) {
            EXPECT_EQ(d, c.degrees) << c.angle;
        }
    }
}

// Turning by 0 degrees is a plain copy of the rectangle, centred: with a
// 2 x 2 picture and a 2 x 2 destination the square is 3 x 3.
TEST(OwnRotation, NoTurnCopiesAndMirrorsTheSource) {
    Picture pic(2, 2);
    pic.Coordinates();
    Turned t;
    Turn(t, pic, 0.4f, 2, 2);
    ASSERT_EQ(t.rot.Size(), 3);
    EXPECT_EQ(PixelAt(t.square.View(), 0, 1), pic.At(0, 0));
    EXPECT_EQ(PixelAt(t.square.View(), 1, 2), pic.At(1, 1));
    Turned m;
    ASSERT_TRUE(m.rot.Prepare(pic.View(), 0.4f, 10, 0, -2, 2, 0, 0, 2, 2, 0));
    ASSERT_TRUE(m.square.Dimension(3, 3));
    m.rot.Draw(m.square.View(), false);
    EXPECT_EQ(PixelAt(m.square.View(), 0, 1), pic.At(1, 0));
    // The rectangle extends left of x = 10: its centre is x = 9.
    EXPECT_EQ(m.rot.Left(), 8 + 1 - 1);
}

// A smooth turn of one cell of a strip must not mix in the neighbouring cell.
TEST(OwnRotation, BilinearSubRectangleStaysInsideItsCell) {
    Picture pic(6, 12);
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 6; ++x) pic.Set(x, y, y < 6 ? Bgra{0, 0, 200, 255} : Bgra{90, 0, 0, 255});
    for (int32_t sy : {0, 6}) {
        OwnRotation rot;
        ASSERT_TRUE(rot.Prepare(pic.View(), 30, 0, 0, 18, 18, 0, sy, 6, 6, 0));
        PixelArray sq;
        ASSERT_TRUE(sq.Dimension(rot.Size(), rot.Size()));
        rot.Draw(sq.View(), true);
        for (int y = 0; y < rot.Size(); ++y)
            for (int x = 0; x < rot.Size(); ++x) {
                const Bgra p = PixelAt(sq.View(), x, y);
                ASSERT_EQ(sy == 0 ? p.b : p.r, 0) << sy << ":" << x << "," << y;
            }
    }
}

TEST(OwnRotation, RefusesUnusableArguments) {
    Picture pic(4, 4);
    OwnRotation rot;
    EXPECT_FALSE(rot.Prepare(pic.View(), NAN, 0, 0, 4, 4, 0, 0, 4, 4, 0));
    EXPECT_FALSE(rot.Prepare(pic.View(), 30, 0, 0, 4, 4, 2, 0, 4, 4, 0));
    EXPECT_FALSE(rot.Prepare(pic.View(), 30, INT32_MIN, 0, -4, 4, 0, 0, 4, 4, 0));
    EXPECT_FALSE(rot.Prepare(pic.View(), 30, 0, 0, INT32_MIN, 4, 0, 0, 4, 4, 0));
}

}  // namespace
}  // namespace lumio::render::test
