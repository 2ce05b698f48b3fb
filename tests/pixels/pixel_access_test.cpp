#include <gtest/gtest.h>

#include <climits>

#include "imaging/image_type.h"
#include "imaging/pixel_access.h"
#include "surface_fixture.h"

using namespace lumio;
using test::At;
using test::Paint;
using test::Px;

namespace {

constexpr Px kHalf{50, 50, 100, 128};  // premultiplied; straight B 99, G 99, R 199
constexpr Px kOpaque{10, 20, 30, 255};
constexpr Px kClear{0, 0, 0, 0};

// Two rows of two: the top row opaque and half-transparent, the bottom row clear and opaque.
void TwoByTwo(MemorySurface &s) { Paint(s, {{kOpaque, kHalf}, {kClear, Px{1, 2, 3, 255}}}); }

std::vector<std::uint8_t> Seq(std::size_t n, std::uint8_t first = 1) {
    std::vector<std::uint8_t> v(n);
    for (std::size_t i = 0; i < n; ++i) v[i] = static_cast<std::uint8_t>(first + i);
    return v;
}

}  // namespace

TEST(GetPixel, ReadsTopDownStraightOrAsStored) {
    MemorySurface s;
    TwoByTwo(s);
    std::int32_t a = -5;
    EXPECT_EQ(GetPixel(s, 0, 0, a, false), 30 + 20 * 256 + 10 * 65536);
    EXPECT_EQ(a, 255);
    // The top-left pixel is the first one of the last stored row.
    EXPECT_EQ(s.RowFromTop(0), s.BitsPointer() + 8);
    EXPECT_EQ(GetPixel(s, 1, 0, a, false), 199 + 99 * 256 + 99 * 65536);
    EXPECT_EQ(a, 128);
    EXPECT_EQ(GetPixel(s, 1, 0, a, true), 100 + 50 * 256 + 50 * 65536);
    EXPECT_EQ(GetPixel(s, 0, 1, a, false), 0);
    EXPECT_EQ(a, 0);
    EXPECT_EQ(GetPixel(s, 1, 1, a, false), 3 + 2 * 256 + 1 * 65536);

    const std::pair<int, int> outside[] = {{-1, 0}, {0, -1}, {2, 0}, {0, 2}, {INT_MIN, INT_MAX}};
    for (auto [x, y] : outside) {
        a = 77;
        EXPECT_EQ(GetPixel(s, x, y, a, true), -1) << x << "," << y;
        EXPECT_EQ(a, 0);
    }
    MemorySurface none;
    EXPECT_EQ(GetPixel(none, 0, 0, a, true), -1);

    // Colour above alpha (never premultiplied) stays within its byte.
    Paint(s, {{Px{0, 0, 200, 100}}});
    EXPECT_EQ(GetPixel(s, 0, 0, a, false), 255);
}

TEST(GetDIBbits, LaysOutTheRectangleAsAsked) {
    MemorySurface s;
    TwoByTwo(s);
    struct Case {
        const char *name;
        bool bgr, four, aligned, bottomUp, premultiplied;
        std::vector<std::uint8_t> bytes;
    };
    const Case cases[] = {
        {"32-bit BGR top-down stored", true, true, false, false, true,
         {10, 20, 30, 255, 50, 50, 100, 128, 0, 0, 0, 0, 1, 2, 3, 255}},
        {"32-bit BGR bottom-up stored (whole image at once)", true, true, false, true, true,
         {0, 0, 0, 0, 1, 2, 3, 255, 10, 20, 30, 255, 50, 50, 100, 128}},
        {"32-bit RGB straight", false, true, false, false, false,
         {30, 20, 10, 255, 199, 99, 99, 128, 0, 0, 0, 0, 3, 2, 1, 255}},
        {"24-bit BGR straight", true, false, false, false, false, {10, 20, 30, 99, 99, 199, 0, 0, 0, 1, 2, 3}},
        {"24-bit RGB word-aligned bottom-up", false, false, true, true, true,
         {0, 0, 0, 3, 2, 1, 0, 0, 30, 20, 10, 100, 50, 50, 0, 0}},
    };
    for (const Case &c : cases) {
        ByteArray out;
        ASSERT_TRUE(GetDIBbits(s, out, false, c.bgr, c.four, c.aligned, c.bottomUp, 0, 0, 0, 0, c.premultiplied))
            << c.name;
        EXPECT_EQ(out.bytes, c.bytes) << c.name;
        EXPECT_EQ(out.dimensions, 1) << c.name;
    }

    // A piece, as a two-dimensional array: 3 x 1 at 24 bits word-aligned is 12 bytes.
    MemorySurface row;
    Paint(row, {{kOpaque, kOpaque, kOpaque, kOpaque}});
    ByteArray out;
    ASSERT_TRUE(GetDIBbits(row, out, true, true, false, true, false, 1, 0, 3, 1, true));
    EXPECT_EQ(out.bytes, (std::vector<std::uint8_t>{10, 20, 30, 10, 20, 30, 10, 20, 30, 0, 0, 0}));
    EXPECT_EQ(out.dimensions, 2);
    EXPECT_EQ(out.rowBytes, 12);
    EXPECT_EQ(out.rows, 1);
    // Reaching past the right edge: the width is cut to what is there.
    ASSERT_TRUE(GetDIBbits(row, out, true, true, true, false, false, 2, 0, 10, 0, true));
    EXPECT_EQ(out.rowBytes, 8);
}

TEST(GetDIBbits, RefusesRectanglesOutsideTheImage) {
    MemorySurface s;
    TwoByTwo(s);
    struct Case {
        const char *name;
        std::int32_t x, y, w, h;
    } const cases[] = {
        {"negative x", -1, 0, 0, 0},          {"negative y", 0, -1, 0, 0},
        {"x at the width", 2, 0, 0, 0},       {"y at the height", 0, 2, 1, 1},
        {"negative width", 0, 0, -1, 0},      {"negative height", 1, 1, 0, -3},
        {"far outside", INT_MAX, INT_MAX, INT_MAX, INT_MAX},
    };
    for (const Case &c : cases) {
        ByteArray out{{9, 9}, 1, 0, 0};
        EXPECT_FALSE(GetDIBbits(s, out, false, true, true, false, false, c.x, c.y, c.w, c.h, true)) << c.name;
        EXPECT_EQ(out.bytes, (std::vector<std::uint8_t>{9, 9})) << c.name << ": untouched";
    }
    // A width that overflows when added to x is cut, not wrapped.
    ByteArray out;
    EXPECT_TRUE(GetDIBbits(s, out, false, true, true, false, false, 1, 1, INT_MAX, INT_MAX, true));
    EXPECT_EQ(out.bytes, (std::vector<std::uint8_t>{1, 2, 3, 255}));
    MemorySurface none;
    EXPECT_FALSE(GetDIBbits(none, out, false, true, true, false, false, 0, 0, 0, 0, true));
}

TEST(SetDIBbits, WritesTheRectangleFromEveryLayout) {
    // 3 x 2 opaque grey; 32-bit RGB bottom-up input into the right 2 x 2.
    MemorySurface s;
    const Px grey{9, 9, 9, 255};
    Paint(s, {{grey, grey, grey}, {grey, grey, grey}});
    s.SetImageType(image_type::kPng);
    std::vector<std::uint8_t> in = {
        1, 2, 3, 255, 4, 5, 6, 255,  // input row 0: the rectangle's bottom row
        7, 8, 9, 255, 10, 11, 12, 255,
    };
    ASSERT_TRUE(SetDIBbits(s, in, false, true, false, true, 1, 0, 0, 0));
    EXPECT_EQ(At(s, 0, 0), grey);
    EXPECT_EQ(At(s, 1, 0), (Px{9, 8, 7, 255}));
    EXPECT_EQ(At(s, 2, 0), (Px{12, 11, 10, 255}));
    EXPECT_EQ(At(s, 1, 1), (Px{3, 2, 1, 255}));
    EXPECT_FALSE(s.Alpha());
    EXPECT_EQ(s.ImageType(), image_type::kPng) << "kept";

    // 24-bit BGR word-aligned rows of one pixel (4 bytes each), top-down, leave alpha alone.
    Paint(s, {{grey, grey, Px{0, 0, 0, 0}}, {grey, grey, grey}});
    std::vector<std::uint8_t> rgb = {40, 50, 60, 0, 70, 80, 90, 0};
    ASSERT_TRUE(SetDIBbits(s, rgb, true, false, true, false, 0, 0, 1, 0));
    EXPECT_EQ(At(s, 0, 0), (Px{40, 50, 60, 255}));
    EXPECT_EQ(At(s, 0, 1), (Px{70, 80, 90, 255}));
    EXPECT_EQ(At(s, 2, 0), (Px{0, 0, 0, 0}));
    EXPECT_TRUE(s.Alpha());
}

TEST(SetDIBbits, ClassifiesTheWholeSurface) {
    // 24-bit data into a blank surface: no alpha anywhere, so every alpha becomes 255.
    MemorySurface s;
    ASSERT_TRUE(s.InitializeDIB(2, 2));
    ASSERT_TRUE(SetDIBbits(s, Seq(6 * 2), true, false, false, false, 0, 0, 0, 0));
    EXPECT_EQ(At(s, 0, 0), (Px{1, 2, 3, 255}));
    EXPECT_EQ(At(s, 1, 1), (Px{10, 11, 12, 255}));
    EXPECT_FALSE(s.Alpha());
    EXPECT_EQ(s.ImageType(), image_type::kBlank);

    // Straight alpha into one pixel: that pixel is premultiplied, the others stay as they were.
    Paint(s, {{kHalf, kHalf}, {kHalf, kClear}});
    std::vector<std::uint8_t> straight = {200, 100, 50, 128, 0, 0, 0, 0};  // 1 pixel a row, surface height 2
    ASSERT_TRUE(SetDIBbits(s, straight, true, true, false, false, 1, 0, 1, 1));
    EXPECT_EQ(At(s, 1, 0), (Px{100, 50, 25, 128}));
    EXPECT_EQ(At(s, 0, 0), kHalf);
    EXPECT_EQ(At(s, 0, 1), kHalf);
    EXPECT_EQ(At(s, 1, 1), kClear);
    EXPECT_TRUE(s.Alpha());
}

TEST(SetDIBbits, RefusesShortInputAndBadRectangles) {
    MemorySurface s;
    TwoByTwo(s);
    const std::vector<std::uint8_t> before = test::Bytes(s);
    struct Case {
        const char *name;
        std::size_t bytes;
        std::int32_t x, y, w, h;
    } const cases[] = {
        // One pixel a row, but measured against the surface's two rows.
        {"short for the surface's height", 4, 1, 1, 1, 1},
        {"nothing given", 0, 0, 0, 0, 0},
        {"x at the width", 64, 2, 0, 0, 0},
        {"y at the height", 64, 0, 2, 0, 0},
        {"negative origin", 64, -1, 0, 0, 0},
        {"negative width", 64, 0, 0, -2, 0},
        {"far outside", 64, INT_MAX, 0, INT_MAX, 0},
    };
    for (const Case &c : cases) {
        EXPECT_FALSE(SetDIBbits(s, Seq(c.bytes), true, true, false, false, c.x, c.y, c.w, c.h)) << c.name;
        EXPECT_EQ(test::Bytes(s), before) << c.name;
    }
    MemorySurface none;
    EXPECT_FALSE(SetDIBbits(none, Seq(64), true, true, false, false, 0, 0, 0, 0));
}
