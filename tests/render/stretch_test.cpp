#include <gtest/gtest.h>

#include <cmath>

#include "pixel_fixture.h"
#include "simd_level.h"
#include "stretch_bits.h"

namespace lumio::render::test {
namespace {

struct Stretch {
    bool ok;
    int32_t w, h;
    PixelArray out;
};

Stretch Scale(Picture &pic, bool hq, int32_t sx, int32_t sy, int32_t sw, int32_t sh, int32_t dx, int32_t dy,
            int32_t dw, int32_t dh, float l = 0) {
    Stretch r;
    PixelArray src;
    r.w = dw;
    r.h = dh;
    r.ok = StretchBits(pic.View(), hq, r.out, src, nullptr, sx, sy, sw, sh, dx, dy, r.w, r.h, l);
    return r;
}

// The result pixel (x, y) from the rules, rows bottom-up, with the rectangle's
// first bottom-up row standing alone like picture row 0 does.
Bgra Reference(Picture &pic, bool hq, int32_t sx, int32_t sy, int32_t sw, int32_t sh, int32_t dx, int32_t dy,
               int32_t dw, int32_t dh, int32_t x, int32_t yBottomUp) {
    PixelView v = pic.View();
    const double xr = double(sw) / std::abs(dw), yr = double(sh) / std::abs(dh);
    const int32_t ox = dx < 0 ? -dx : 0;
    const int32_t bottom = pic.Height() - sh - sy;
    (void)dy;
    const uint8_t *p;
    if (!hq) {
        const int cx = int(std::floor((x + ox) * xr + sx));
        const int ry = int(std::floor(yBottomUp * yr)) + bottom;
        p = v.pixel(cx, ry);
        return {p[0], p[1], p[2], p[3]};
    }
    const double px = (x + ox) * xr + sx, py = yBottomUp * yr + bottom;
    const int ix = int(std::floor(px)), iy = int(std::floor(py));
    const double fx = px - ix, fy = py - iy;
    struct S {
        int at;
        double w;
    };
    std::vector<S> rows, cols;
    if (iy == bottom)
        rows = {{iy, 1.0}};
    else
        rows = {{iy, fy}, {iy - 1, 1.0 - fy}};
    if (ix == sx + sw - 1)
        cols = {{ix, 1.0}};
    else
        cols = {{ix, 1.0 - fx}, {ix + 1, fx}};
    double acc[4] = {};
    for (const S &r : rows)
        for (const S &c : cols) {
            if (r.w == 0 || c.w == 0) continue;
            p = v.pixel(c.at, r.at);
            for (int k = 0; k < 4; ++k) acc[k] = acc[k] + double(p[k]) * r.w * c.w;
        }
    return {uint8_t(int(acc[0])), uint8_t(int(acc[1])), uint8_t(int(acc[2])), uint8_t(int(acc[3]))};
}

struct Rect {
    int32_t sx, sy, sw, sh, dx, dy, dw, dh;
};

// Scales r at every vector width the machine has, each result pixel against the rules.
::testing::AssertionResult MatchesReferenceAtEveryLevel(Picture &pic, bool hq, const Rect &r) {
    for (simd::Level level : kEveryLevel) {
        if (!simd::Supported(level)) continue;
        Stretch s = AtLevel(level, [&] { return Scale(pic, hq, r.sx, r.sy, r.sw, r.sh, r.dx, r.dy, r.dw, r.dh); });
        auto failure = [&] {
            return ::testing::AssertionFailure() << "level " << int(level) << " hq " << hq << " rect " << r.sx << ","
                                                 << r.sy << " " << r.sw << "x" << r.sh << " to " << r.dw << "x" << r.dh
                                                 << " from " << r.dx << "," << r.dy;
        };
        if (!s.ok) return failure() << ": refused";
        const PixelView o = s.out.View();
        for (int32_t y = 0; y < o.height; ++y)
            for (int32_t x = 0; x < o.width; ++x) {
                const uint8_t *p = o.pixel(x, y);
                const Bgra want = Reference(pic, hq, r.sx, r.sy, r.sw, r.sh, r.dx, r.dy, r.dw, r.dh, x, y);
                if (Bgra{p[0], p[1], p[2], p[3]} != want)
                    return failure() << " at " << x << "," << y << ": got " << int(p[0]) << " " << int(p[1]) << " "
                                     << int(p[2]) << " " << int(p[3]) << ", want " << int(want.b) << " " << int(want.g)
                                     << " " << int(want.r) << " " << int(want.a);
            }
    }
    return ::testing::AssertionSuccess();
}

TEST(StretchBits, NearestTwoByTwoToFourByFourRepeatsBlocks) {
    Picture pic(2, 2);
    pic.Coordinates();
    Stretch s = Scale(pic, false, 0, 0, 2, 2, 0, 0, 4, 4);
    ASSERT_TRUE(s.ok);
    EXPECT_EQ(s.w, 4);
    EXPECT_EQ(s.h, 4);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) EXPECT_EQ(PixelAt(s.out.View(), x, y), pic.At(x / 2, y / 2)) << x << "," << y;
}

TEST(StretchBits, NegativeDestinationOriginCutsTheResult) {
    Picture pic(5, 4);
    pic.Coordinates();
    // Columns: 10 wide from x = -3 keeps 7, starting with output column 3.
    Stretch s = Scale(pic, false, 0, 0, 5, 4, -3, 0, 10, 4);
    ASSERT_TRUE(s.ok);
    EXPECT_EQ(s.w, 7);
    EXPECT_EQ(PixelAt(s.out.View(), 0, 0), pic.At(1, 0));  // floor(3 * 0.5)
    EXPECT_EQ(PixelAt(s.out.View(), 6, 0), pic.At(4, 0));
    // Rows: 8 high from y = -2 keeps the bottom 6 rows.
    s = Scale(pic, false, 0, 0, 5, 4, 0, -2, 5, 8);
    ASSERT_TRUE(s.ok);
    EXPECT_EQ(s.h, 6);
    EXPECT_EQ(PixelAt(s.out.View(), 0, 0), pic.At(0, 1));
    EXPECT_EQ(PixelAt(s.out.View(), 0, 5), pic.At(0, 3));
}

TEST(StretchBits, MatchesReferenceBitForBit) {
    std::mt19937 rng(11);
    Picture pic(19, 13);
    pic.Randomize(rng);
    const Rect cases[] = {
        {0, 0, 19, 13, 0, 0, 40, 31},  {0, 0, 19, 13, 0, 0, 7, 5},    {3, 2, 9, 6, 0, 0, 27, 14},
        {3, 2, 9, 6, 0, 0, 4, 3},      {0, 0, 19, 13, -5, -4, 33, 20}, {2, 5, 13, 8, 0, 0, 13, 8},
        {0, 0, 19, 13, 0, 0, -25, -9}, {18, 12, 1, 1, 0, 0, 5, 5},     {0, 0, 19, 13, 0, 0, 19, 1},
        {0, 0, 19, 13, 0, 0, 38, 26},  // every other row and column falls exactly on the source
        // Weights in 1/128ths are blended in integers: both ways, one way only, and a ratio
        // whose weights alternate between 1/128ths and finer ones.
        {0, 0, 12, 9, 0, 0, 16, 12},   {4, 2, 15, 9, 0, 0, 10, 6},   {0, 0, 19, 13, -3, -2, 76, 52},
        {0, 0, 16, 13, 0, 0, 64, 20},  {0, 0, 19, 12, 0, 0, 25, 48}, {0, 0, 3, 2, 0, 0, 256, 2},
    };
    for (bool hq : {false, true})
        for (const Rect &c : cases) ASSERT_TRUE(MatchesReferenceAtEveryLevel(pic, hq, c));
}

// Random rectangles and sizes, half of them with every weight a whole 1/128th (the result
// size divides 128 times the rectangle's), against the rules at every vector width.
TEST(StretchBits, RandomRectanglesMatchTheReference) {
    std::mt19937 rng(29);
    Picture pic(23, 17);
    pic.Randomize(rng);
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    // A size from 1 to 60 whose steps over n source pixels are whole 1/128ths.
    auto unitSize = [&](int n) {
        std::vector<int> sizes;
        for (int d = 1; d <= 60; ++d)
            if (n * 128 % d == 0) sizes.push_back(d);
        return sizes[size_t(pick(0, int(sizes.size()) - 1))];
    };
    for (int i = 0; i < 200; ++i) {
        const int sw = pick(1, 23), sh = pick(1, 17), sx = pick(0, 23 - sw), sy = pick(0, 17 - sh);
        const bool units = i % 2 == 0;
        const int dw = units ? unitSize(sw) : pick(1, 60), dh = units ? unitSize(sh) : pick(1, 60);
        const int dx = pick(0, 3) == 0 ? -pick(0, dw - 1) : 0, dy = pick(0, 3) == 0 ? -pick(0, dh - 1) : 0;
        ASSERT_TRUE(MatchesReferenceAtEveryLevel(pic, true, {sx, sy, sw, sh, dx, dy, dw, dh}));
    }
}

// Results wide enough that the vector loops make a row in several strips of columns: the
// strips' edges, shrinking (a strip reads far more source columns than it makes) and the
// window's right edge inside a later strip. Mostly ratios whose weights are not 1/128ths,
// some with a source column under every third result column.
TEST(StretchBits, WideResultsMatchTheReference) {
    std::mt19937 rng(41);
    Picture pic(700, 9);
    pic.Randomize(rng);
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    struct Case {
        int32_t sx, sw, dw;
    } fixed[] = {
        {0, 200, 300}, {0, 700, 129}, {5, 690, 385}, {0, 86, 129}, {1, 255, 256}, {3, 600, 257},
    };
    std::vector<Case> cases(std::begin(fixed), std::end(fixed));
    for (int i = 0; i < 24; ++i) {
        const int sw = pick(1, 700);
        cases.push_back({pick(0, 700 - sw), sw, pick(129, 520)});
    }
    for (const Case &c : cases)
        for (int32_t sh : {9, 5}) {
            const int32_t sy = sh == 9 ? 0 : 2, dh = sh == 9 ? 14 : 3;
            ASSERT_TRUE(MatchesReferenceAtEveryLevel(pic, true, {c.sx, sy, c.sw, sh, 0, 0, c.dw, dh}));
        }
}

// A skin strip of two cells, red above blue; scaling one cell up smoothly
// must not pick up any of the other cell's colour.
TEST(StretchBits, BilinearSubRectangleNeverMixesInTheNeighbouringCell) {
    Picture pic(4, 8);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 4; ++x) pic.Set(x, y, y < 4 ? Bgra{0, 0, 200, 255} : Bgra{90, 0, 0, 255});
    for (int32_t sy : {0, 4}) {
        Stretch s = Scale(pic, true, 0, sy, 4, 4, 0, 0, 10, 10);
        ASSERT_TRUE(s.ok);
        for (int y = 0; y < 10; ++y)
            for (int x = 0; x < 10; ++x) {
                const Bgra p = PixelAt(s.out.View(), x, y);
                ASSERT_EQ(sy == 0 ? p.b : p.r, 0) << sy << ":" << x << "," << y;
            }
    }
    // The whole strip still blends across the seam.
    Stretch s = Scale(pic, true, 0, 0, 4, 8, 0, 0, 4, 20);
    ASSERT_TRUE(s.ok);
    bool mixed = false;
    for (int y = 0; y < 20; ++y) {
        const Bgra p = PixelAt(s.out.View(), 0, y);
        mixed = mixed || (p.b > 0 && p.r > 0);
    }
    EXPECT_TRUE(mixed);
}

TEST(StretchBits, RefusesEmptyOrOutsideRequests) {
    Picture pic(4, 4);
    const Rect cases[] = {{0, 0, 4, 4, -8, 0, 8, 8},  {0, 0, 4, 4, 0, -9, 8, 8},          {4, 0, 1, 4, 0, 0, 8, 8},
                 {0, 3, 4, 2, 0, 0, 8, 8},   {0, 0, 4, 4, 0, 0, INT32_MIN, 8},   {0, 0, 4, 4, 0, 0, 65536, 65536},
                 {0, 0, 4, 4, INT32_MIN, 0, 8, 8}};
    for (const auto &c : cases)
        EXPECT_FALSE(Scale(pic, false, c.sx, c.sy, c.sw, c.sh, c.dx, c.dy, c.dw, c.dh).ok)
            << c.sx << " " << c.sy << " " << c.dw << "x" << c.dh;
}

TEST(StretchBits, ZeroSourceSizeMeansTheWholePictureAndLightnessIsCleared) {
    Picture pic(2, 1);
    pic.Set(0, 0, {10, 20, 250, 255});
    pic.Set(1, 0, {10, 20, 250, 255});
    PixelArray out, src;
    int32_t w = 4, h = 2;
    float l = 50;
    ASSERT_TRUE(StretchBits(pic.View(), false, out, src, nullptr, 0, 0, 0, 0, 0, 0, w, h, l));
    EXPECT_EQ(l, 0.0f);
    EXPECT_EQ(PixelAt(out.View(), 3, 1), (Bgra{137, 147, 255, 255}));
}

TEST(StretchBits, IntoATargetTakesItsSize) {
    Picture pic(2, 2), target(4, 4);
    pic.Coordinates();
    PixelArray out, src;
    PixelView tv = target.View();
    int32_t w = 0, h = 0;
    float l = 0;
    ASSERT_TRUE(StretchBits(pic.View(), false, out, src, &tv, 0, 0, 2, 2, 0, 0, w, h, l));
    EXPECT_EQ(w, 4);
    EXPECT_EQ(h, 4);
    EXPECT_FALSE(out.IsDimensioned());
    EXPECT_EQ(target.At(3, 3), pic.At(1, 1));
    EXPECT_EQ(target.At(1, 2), pic.At(0, 1));
}

}  // namespace
}  // namespace lumio::render::test
