#include <gtest/gtest.h>

#include "imaging/image_effects.h"
#include "imaging/image_type.h"
#include "surface_fixture.h"

using namespace lumio;
using test::At;
using test::Paint;
using test::Px;

TEST(CreateCheckerBoard, PaintsCellsFromTheTopLeft) {
    MemorySurface s;
    ASSERT_TRUE(s.InitializeDIB(30, 20));
    ASSERT_TRUE(CreateCheckerBoard(s));
    const Px white{255, 255, 255, 255}, grey{192, 192, 192, 255};
    for (std::int32_t y = 0; y < 20; ++y)
        for (std::int32_t x = 0; x < 30; ++x) {
            // Bands of 12 rows; the second band starts grey; the last cells are cut by the edges.
            const bool first = ((x / 12) + (y / 12)) % 2 == 0;
            ASSERT_EQ(At(s, x, y), first ? white : grey) << x << "," << y;
        }
    EXPECT_EQ(At(s, 11, 0), white);
    EXPECT_EQ(At(s, 12, 0), grey);
    EXPECT_EQ(At(s, 0, 12), grey);
    EXPECT_EQ(At(s, 29, 19), grey);
    EXPECT_FALSE(s.Alpha());
    EXPECT_EQ(s.ImageType(), image_type::kCheckerBoard);

    // Colours are their low three bytes, red lowest: a system colour is not translated.
    ASSERT_TRUE(CreateCheckerBoard(s, 1, 0x80000005u, 0x00030201u));
    EXPECT_EQ(At(s, 0, 0), (Px{0, 0, 5, 255}));
    EXPECT_EQ(At(s, 1, 0), (Px{3, 2, 1, 255}));
    EXPECT_EQ(At(s, 0, 1), (Px{3, 2, 1, 255}));
}

TEST(CreateCheckerBoard, RefusesCellsBelowOnePixel) {
    MemorySurface s;
    Paint(s, {{Px{1, 2, 3, 4}}});
    s.SetImageType(image_type::kPng);
    for (std::int32_t size : {0, -1, INT32_MIN}) {
        EXPECT_FALSE(CreateCheckerBoard(s, size)) << size;
        EXPECT_EQ(At(s, 0, 0), (Px{1, 2, 3, 4}));
        EXPECT_EQ(s.ImageType(), image_type::kPng);
    }
    MemorySurface none;
    EXPECT_FALSE(CreateCheckerBoard(none));
}

TEST(MakeImageInverse, InvertsPremultipliedColour) {
    MemorySurface s;
    Paint(s, {{Px{0, 100, 255, 255}, Px{0, 50, 128, 128}, Px{0, 0, 0, 0}}});
    s.SetImageType(image_type::kPng);
    ASSERT_TRUE(MakeImageInverse(s));
    EXPECT_EQ(At(s, 0, 0), (Px{255, 155, 0, 255}));
    EXPECT_EQ(At(s, 1, 0), (Px{128, 78, 0, 128}));
    EXPECT_EQ(At(s, 2, 0), (Px{0, 0, 0, 0}));
    EXPECT_EQ(s.ImageType(), image_type::kPng);
    MemorySurface none;
    EXPECT_FALSE(MakeImageInverse(none));
}

TEST(MakeTransparent, ClearsExactlyTheOpaqueKeyAndReverts) {
    const Px red{0, 0, 255, 255}, nearRed{0, 0, 254, 254}, blue{255, 0, 0, 255};
    MemorySurface s;
    Paint(s, {{red, nearRed, blue, red}});
    s.SetAlpha(false);
    s.SetImageType(image_type::kNoAlpha);
    ASSERT_TRUE(MakeTransparent(s, 0xFF));
    EXPECT_EQ(At(s, 0, 0), (Px{0, 0, 0, 0}));
    EXPECT_EQ(At(s, 1, 0), nearRed) << "alpha 254 is not the key";
    EXPECT_EQ(At(s, 2, 0), blue);
    EXPECT_EQ(At(s, 3, 0), (Px{0, 0, 0, 0}));
    EXPECT_TRUE(s.Alpha());
    EXPECT_EQ(s.ImageType(), image_type::kPremultipliedAlpha);

    // Revert: every transparent pixel becomes opaque red, so some alpha (254) is left.
    ASSERT_TRUE(MakeTransparent(s, 0xFF, true));
    EXPECT_EQ(At(s, 0, 0), red);
    EXPECT_EQ(At(s, 3, 0), red);
    EXPECT_TRUE(s.Alpha());
    EXPECT_EQ(s.ImageType(), image_type::kPremultipliedAlpha);

    // Without alpha left, the surface is again one without alpha.
    Paint(s, {{Px{0, 0, 0, 0}, blue}});
    s.SetImageType(image_type::kStraightAlpha);
    ASSERT_TRUE(MakeTransparent(s, 0x800000FFu, true)) << "the system-colour bit is ignored";
    EXPECT_EQ(At(s, 0, 0), red);
    EXPECT_FALSE(s.Alpha());
    EXPECT_EQ(s.ImageType(), image_type::kNoAlpha);

    // No key pixel: nothing changes, not even the flags.
    s.SetAlpha(false);
    ASSERT_TRUE(MakeTransparent(s, 0x00FF00));
    EXPECT_FALSE(s.Alpha());
    EXPECT_EQ(s.ImageType(), image_type::kNoAlpha);
    MemorySurface none;
    EXPECT_FALSE(MakeTransparent(none, 0));
}

TEST(MirrorImage, ReversesRowsOrTheirOrder) {
    const Px p{1, 1, 1, 255}, q{2, 2, 2, 255}, r{3, 3, 3, 255}, t{4, 4, 4, 255};
    MemorySurface s;
    Paint(s, {{p, q, r}});
    ASSERT_TRUE(MirrorImage(s, true, false));
    EXPECT_EQ(At(s, 0, 0), r);
    EXPECT_EQ(At(s, 1, 0), q);
    EXPECT_EQ(At(s, 2, 0), p);
    EXPECT_FALSE(MirrorImage(s, false, false));
    EXPECT_EQ(At(s, 0, 0), r);

    Paint(s, {{p, q}, {r, t}});
    ASSERT_TRUE(MirrorImage(s, false, true));
    EXPECT_EQ(At(s, 0, 0), r);
    EXPECT_EQ(At(s, 1, 0), t);
    EXPECT_EQ(At(s, 0, 1), p);
    ASSERT_TRUE(MirrorImage(s, true, true));
    EXPECT_EQ(At(s, 0, 0), q);
    EXPECT_EQ(At(s, 1, 1), r);
    MemorySurface none;
    EXPECT_FALSE(MirrorImage(none, true, true));
}

namespace {
// The blur by its definition: the sum over the (2b+1)-square window ending at
// (x, y) in stored rows, divided by the whole window.
std::uint8_t BoxAlpha(const SurfaceCore &src, std::int32_t b, std::int32_t x, std::int32_t row) {
    const std::int32_t a = 2 * b, n = a + 1;
    std::uint32_t sum = 0;
    for (std::int32_t r = row - a; r <= row; ++r)
        for (std::int32_t c = x - a; c <= x; ++c)
            if (r >= 0 && r < src.Height() && c >= 0 && c < src.Width())
                sum += src.BitsPointer()[(static_cast<std::size_t>(r) * src.Width() + c) * 4 + 3];
    return static_cast<std::uint8_t>(sum / std::uint32_t(n * n));
}
}  // namespace

TEST(BuildDropShadow, BlursAnOpaqueSquare) {
    MemorySurface square, shadow;
    ASSERT_TRUE(square.InitializeDIB(10, 10));
    for (std::size_t i = 3; i < square.ByteCount(); i += 4) square.BitsPointer()[i] = 255;
    ASSERT_TRUE(BuildDropShadow(square, shadow, 4, 0x102030));
    ASSERT_EQ(shadow.Width(), 18);
    ASSERT_EQ(shadow.Height(), 18);
    EXPECT_TRUE(shadow.Alpha());
    EXPECT_EQ(shadow.ImageType(), image_type::kPremultipliedAlpha);
    for (auto [x, y] : {std::pair{0, 0}, {17, 0}, {0, 17}, {17, 17}}) EXPECT_EQ(At(shadow, x, y)[3], 3) << x << y;
    // 255 only where the whole 9 x 9 window lies inside the square: columns and rows 8 and 9.
    for (std::int32_t y = 0; y < 18; ++y)
        for (std::int32_t x = 0; x < 18; ++x) {
            const bool inside = x >= 8 && x <= 9 && y >= 8 && y <= 9;
            ASSERT_EQ(At(shadow, x, y)[3] == 255, inside) << x << "," << y;
        }
    EXPECT_EQ(At(shadow, 8, 8), (Px{0x10, 0x20, 0x30, 255}));
    // Partly covered: colour premultiplied by the blurred alpha (255 * 9 \ 81 = 28 at the top edge's middle).
    EXPECT_EQ(At(shadow, 8, 0), (Px{0x10 * 28 / 255, 0x20 * 28 / 255, 0x30 * 28 / 255, 28}));
}

TEST(BuildDropShadow, FollowsTheBoxSumEverywhere) {
    MemorySurface src, shadow;
    ASSERT_TRUE(src.InitializeDIB(7, 5));
    for (std::size_t i = 0; i < src.ByteCount() / 4; ++i) src.BitsPointer()[i * 4 + 3] = std::uint8_t(i * 97 % 256);
    struct Case {
        std::int32_t asked, used;
    } const cases[] = {{0, 0}, {1, 1}, {2, 2}, {15, 10}, {-3, 0}};
    for (const Case &c : cases) {
        ASSERT_TRUE(BuildDropShadow(src, shadow, c.asked, 0xFFFFFF)) << c.asked;
        ASSERT_EQ(shadow.Width(), 7 + 2 * c.used) << c.asked;
        ASSERT_EQ(shadow.Height(), 5 + 2 * c.used) << c.asked;
        for (std::int32_t r = 0; r < shadow.Height(); ++r)
            for (std::int32_t x = 0; x < shadow.Width(); ++x) {
                const std::uint8_t *p = shadow.BitsPointer() + (static_cast<std::size_t>(r) * shadow.Width() + x) * 4;
                const std::uint8_t a = BoxAlpha(src, c.used, x, r);
                ASSERT_EQ(p[3], a) << c.asked << ": " << x << "," << r;
                ASSERT_EQ(p[0], a) << "white premultiplied is the alpha itself";
            }
    }
    // Blur 0 is the source alpha itself, coloured.
    ASSERT_TRUE(BuildDropShadow(src, shadow, 0, 0x0000FF));
    EXPECT_EQ(At(shadow, 3, 2)[3], At(src, 3, 2)[3]);
    EXPECT_EQ(At(shadow, 3, 2)[2], At(src, 3, 2)[3]);
    EXPECT_EQ(At(shadow, 3, 2)[0], 0);

    MemorySurface none;
    EXPECT_FALSE(BuildDropShadow(none, shadow));
    EXPECT_FALSE(shadow.HasImage());
    EXPECT_FALSE(BuildDropShadow(src, src));
}
