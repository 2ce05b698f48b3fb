#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "live_objects.h"
#include "imaging/drop_shadow.h"
#include "imaging/image_effects.h"
#include "imaging/image_type.h"
#include "imaging/render.h"
#include "imaging/surface_copy.h"
#include "imaging/surface_regions.h"
#include "png_shot.h"
#include "render_win_fixture.h"

using namespace lumio;
using lumio::test::Bgra;
using lumio::test::Canvas;
using lumio::test::MakeSurface;
using lumio::test::SurfacePixel;

namespace {

bool Near(Bgra a, Bgra b, int tolerance) {
    return std::abs(a.b - b.b) <= tolerance && std::abs(a.g - b.g) <= tolerance && std::abs(a.r - b.r) <= tolerance &&
           std::abs(a.a - b.a) <= tolerance;
}
::testing::AssertionResult SamePixel(Bgra got, Bgra want, int tolerance = 0) {
    if (Near(got, want, tolerance)) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "got (" << int(got.b) << "," << int(got.g) << "," << int(got.r) << ","
                                         << int(got.a) << ") want (" << int(want.b) << "," << int(want.g) << ","
                                         << int(want.r) << "," << int(want.a) << ")";
}

// Switches for the copy's drawing paths.
struct Mode {
    const char *name;
    bool gdiPlus, alphaBlend, highQuality;
};
void Apply(c32bppDIB &s, const Mode &m) {
    s.isGDIplusEnabled(m.gdiPlus);
    s.isAlphaBlendFriendly(m.alphaBlend);
    s.HighQualityInterpolation(m.highQuality);
}
const Mode kModes[] = {
    {"GDI+ smooth", true, true, true},
    {"own mirror and nearest resampling", false, false, false},
    {"own bilinear resampling", false, true, true},
    {"AlphaBlend through Render", false, true, false},
};

}  // namespace

TEST(CreateCheckerBoard, PaintsTheDibSection) {
    c32bppDIB s;
    ASSERT_TRUE(s.InitializeDIB(30, 20));
    ASSERT_TRUE(CreateCheckerBoard(s));
    const Bgra white{255, 255, 255, 255}, grey{192, 192, 192, 255};
    for (std::int32_t y = 0; y < 20; ++y)
        for (std::int32_t x = 0; x < 30; ++x)
            ASSERT_TRUE(SamePixel(SurfacePixel(s, x, y), ((x / 12 + y / 12) % 2 == 0) ? white : grey)) << x << "," << y;
    EXPECT_FALSE(s.Alpha());
    EXPECT_EQ(s.ImageType(), image_type::kCheckerBoard);

    // Drawn through GDI as well: the surface's DC sees the same cells.
    HDC dc = s.LoadDIBinDC(true);
    EXPECT_EQ(GetPixel(dc, 12, 0), RGB(192, 192, 192));
    EXPECT_EQ(GetPixel(dc, 24, 0), RGB(255, 255, 255));
    s.LoadDIBinDC(false);

    // A system colour (COLOR_WINDOW) gives its low bytes, not the system's colour.
    ASSERT_TRUE(CreateCheckerBoard(s, 5, 0x80000005u, 0x0000FF));
    EXPECT_TRUE(SamePixel(SurfacePixel(s, 0, 0), Bgra{0, 0, 5, 255}));
    EXPECT_TRUE(SamePixel(SurfacePixel(s, 5, 0), Bgra{0, 0, 255, 255}));
    EXPECT_FALSE(CreateCheckerBoard(s, 0));
}

TEST(CopyImageTo, SameSizeIsAnIdenticalCopy) {
    auto src = MakeSurface(7, 5, [](int32_t x, int32_t y) { return test::Noise(x, y, 3); });
    src->SetImageType(image_type::kPng);
    src->HighQualityInterpolation(false);
    src->gdiToken(0x1234);
    src->SetOriginalFormat({1, 2, 3});
    std::unique_ptr<c32bppDIB> copy;
    CopyImageTo(*src, copy, 0, 0, false);
    ASSERT_NE(copy, nullptr);
    ASSERT_EQ(copy->Width(), 7);
    ASSERT_EQ(copy->Height(), 5);
    EXPECT_EQ(std::memcmp(copy->BitsPointer(), src->BitsPointer(), src->ByteCount()), 0);
    EXPECT_EQ(copy->ImageType(), image_type::kPng);
    EXPECT_TRUE(copy->Alpha());
    EXPECT_EQ(copy->gdiToken(), 0x1234u);
    EXPECT_FALSE(copy->HighQualityInterpolation());
    EXPECT_TRUE(copy->OriginalFormat().empty());

    // An existing target of that size is kept (same bitmap) and gets the source bytes on request.
    const HBITMAP kept = copy->BitmapHandle();
    CopyImageTo(*src, copy, 7, 5, true);
    EXPECT_EQ(copy->BitmapHandle(), kept);
    EXPECT_EQ(copy->OriginalFormat(), (std::vector<std::uint8_t>{1, 2, 3}));
    // Another size makes it anew.
    CopyImageTo(*src, copy, 14, 10, false);
    EXPECT_EQ(copy->Width(), 14);
    EXPECT_EQ(copy->Height(), 10);
}

TEST(CopyImageTo, ScalesAndMirrorsOnEveryPath) {
    // Quadrants of 4 x 4 pixels: scaled copies keep each quadrant's colour at its centre.
    auto src = MakeSurface(8, 8, [](int32_t x, int32_t y) { return test::Quadrant(x, y, 8, 8); });
    src->SetImageType(image_type::kNoAlpha);
    src->SetAlpha(false);
    struct Size {
        std::int32_t w, h;
    } const sizes[] = {{16, 16}, {-8, 8}, {8, -8}, {-16, 12}, {12, -16}};
    for (const Mode &m : kModes) {
        Apply(*src, m);
        for (const Size &sz : sizes) {
            std::unique_ptr<c32bppDIB> copy;
            CopyImageTo(*src, copy, sz.w, sz.h, false);
            ASSERT_NE(copy, nullptr) << m.name;
            const std::int32_t w = std::abs(sz.w), h = std::abs(sz.h);
            ASSERT_EQ(copy->Width(), w);
            ASSERT_EQ(copy->Height(), h);
            EXPECT_EQ(copy->ImageType(), image_type::kNoAlpha);
            EXPECT_FALSE(copy->Alpha());
            // The quadrant seen at each corner region of the copy, after mirroring.
            for (int qy = 0; qy < 2; ++qy)
                for (int qx = 0; qx < 2; ++qx) {
                    const int x = qx * w / 2 + w / 4, y = qy * h / 2 + h / 4;
                    const int sx = (sz.w < 0 ? 1 - qx : qx) * 4 + 2, sy = (sz.h < 0 ? 1 - qy : qy) * 4 + 2;
                    EXPECT_TRUE(SamePixel(SurfacePixel(*copy, x, y), SurfacePixel(*src, sx, sy), 1))
                        << m.name << " " << sz.w << "x" << sz.h << " at " << x << "," << y;
                }
        }
    }
}

TEST(CopyImageTo, OwnPathsAreExact) {
    auto src = MakeSurface(3, 2, [](int32_t x, int32_t y) { return test::Noise(x, y, 9); });
    src->isGDIplusEnabled(false);
    src->isAlphaBlendFriendly(false);
    src->HighQualityInterpolation(false);
    // Mirrored at the same size: every pixel from the other side.
    std::unique_ptr<c32bppDIB> copy;
    CopyImageTo(*src, copy, -3, -2, false);
    ASSERT_NE(copy, nullptr);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            EXPECT_TRUE(SamePixel(SurfacePixel(*copy, x, y), SurfacePixel(*src, 2 - x, 1 - y))) << x << "," << y;
    // On systems without HALFTONE stretching AlphaBlend is off for the copy, and back afterwards.
    src->SetCapabilityFlags(kCapRenderWithAlphaBlend | kCapAlphaBlendUsable | kCapNoHalftone);
    copy.reset();
    CopyImageTo(*src, copy, 6, 4, false);
    ASSERT_NE(copy, nullptr);
    EXPECT_TRUE(SamePixel(SurfacePixel(*copy, 5, 3), SurfacePixel(*src, 2, 1)));
    EXPECT_EQ(src->CapabilityFlags(), std::uint32_t(kCapRenderWithAlphaBlend | kCapAlphaBlendUsable | kCapNoHalftone));
    src->SetCapabilityFlags(kCapAlphaBlendUsable);
    // Mirrored at twice the size, nearest: each mirrored pixel becomes a 2 x 2 block.
    copy.reset();
    CopyImageTo(*src, copy, -6, 4, false);
    ASSERT_NE(copy, nullptr);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 6; ++x)
            EXPECT_TRUE(SamePixel(SurfacePixel(*copy, x, y), SurfacePixel(*src, 2 - x / 2, y / 2))) << x << "," << y;
}

TEST(CopyImageTo, AReusedTargetShowsNothingOfItsOldPixels) {
    // Transparent except one opaque pixel; the reused target was opaque white.
    auto src = MakeSurface(4, 4, [](int32_t x, int32_t y) {
        return x == 1 && y == 1 ? Bgra{0, 0, 255, 255} : Bgra{0, 0, 0, 0};
    });
    for (const Mode &m : kModes) {
        Apply(*src, m);
        auto target = MakeSurface(8, 8, [](int32_t, int32_t) { return Bgra{255, 255, 255, 255}; });
        std::unique_ptr<c32bppDIB> reused = std::move(target);
        CopyImageTo(*src, reused, 8, 8, false);
        ASSERT_EQ(reused->Width(), 8);
        EXPECT_TRUE(SamePixel(SurfacePixel(*reused, 7, 7), Bgra{0, 0, 0, 0})) << m.name;
        EXPECT_TRUE(SamePixel(SurfacePixel(*reused, 0, 6), Bgra{0, 0, 0, 0})) << m.name;
    }
}

TEST(CopyImageTo, NothingWithoutImageOrOntoItself) {
    auto src = MakeSurface(3, 3, [](int32_t x, int32_t y) { return test::Noise(x, y, 1); });
    const std::vector<std::uint8_t> before(src->BitsPointer(), src->BitsPointer() + src->ByteCount());
    c32bppDIB &same = *src;
    for (const Mode &m : kModes) {
        Apply(*src, m);
        CopyImageTo(*src, same, 6, -6, false);
        ASSERT_TRUE(src->HasImage()) << m.name;
        EXPECT_EQ(src->Width(), 3);
        EXPECT_EQ(std::vector<std::uint8_t>(src->BitsPointer(), src->BitsPointer() + src->ByteCount()), before);
    }
    c32bppDIB empty;
    std::unique_ptr<c32bppDIB> none;
    CopyImageTo(empty, none, 0, 0, false);
    EXPECT_EQ(none, nullptr);
    // A size the system cannot make: nothing, and no target.
    CopyImageTo(*src, none, 70000, 70000, false);
    EXPECT_EQ(none, nullptr);
    CopyImageTo(*src, none, INT32_MIN, 1, false);
    EXPECT_EQ(none, nullptr);
}

TEST(DropShadow, RenderedAtOnce) {
    auto square = MakeSurface(10, 10, [](int32_t, int32_t) { return Bgra{0, 0, 0, 255}; });
    auto shadow = CreateDropShadow(*square, 4, 0x0000FF);
    ASSERT_NE(shadow, nullptr);
    EXPECT_EQ(shadow->Width(), 18);
    EXPECT_EQ(shadow->ImageType(), image_type::kPremultipliedAlpha);
    EXPECT_TRUE(shadow->Alpha());

    Canvas c(40, 30);
    c.Fill([](int32_t, int32_t) { return Bgra{255, 255, 255, 255}; });
    ASSERT_TRUE(RenderDropShadow_JIT(*square, c.dc(), 5, 6, 4, 0x0000FF, 100));
    // Over white: d = s + (255 - a) * 255 \ 255, with AlphaBlend's rounding.
    for (int y = 0; y < 18; ++y)
        for (int x = 0; x < 18; ++x) {
            const Bgra s = SurfacePixel(*shadow, x, y);
            const auto over = [&](int v) { return std::uint8_t(v + (255 - s.a) * 255 / 255); };
            ASSERT_TRUE(SamePixel(c.Pixel(5 + x, 6 + y), Bgra{over(s.b), over(s.g), over(s.r), c.Pixel(5 + x, 6 + y).a},
                                  1))
                << x << "," << y;
        }
    EXPECT_TRUE(SamePixel(c.Pixel(4, 6), Bgra{255, 255, 255, 255}));
    EXPECT_TRUE(SamePixel(c.Pixel(13, 14), Bgra{0, 0, 255, c.Pixel(13, 14).a}));

    // Half opacity by default: K = 127 over white at the shadow's full-alpha centre.
    c.Fill([](int32_t, int32_t) { return Bgra{255, 255, 255, 255}; });
    ASSERT_TRUE(RenderDropShadow_JIT(*square, c.dc(), 0, 0, 4, 0x0000FF));
    const int inv = 255 - 255 * 127 / 255;
    EXPECT_TRUE(SamePixel(c.Pixel(8, 8), Bgra{std::uint8_t(inv * 255 / 255), std::uint8_t(inv * 255 / 255),
                                              std::uint8_t((inv * 255 + 255 * 127) / 255), c.Pixel(8, 8).a},
                          1));

    // For the eye: a caption-like shape with its shadow over a checkerboard.
    c32bppDIB board;
    ASSERT_TRUE(board.InitializeDIB(120, 60));
    ASSERT_TRUE(CreateCheckerBoard(board, 8));
    auto ring = MakeSurface(60, 30, [](int32_t x, int32_t y) {
        const int dx = x - 30, dy = (y - 15) * 2, d = dx * dx + dy * dy;
        return d < 28 * 28 && d > 14 * 14 ? Bgra{200, 80, 0, 255} : Bgra{};
    });
    Canvas view(120, 60);
    ASSERT_TRUE(Render(board, view.dc()));
    ASSERT_TRUE(RenderDropShadow_JIT(*ring, view.dc(), 30, 18, 6, 0x202020, 70));
    ASSERT_TRUE(Render(*ring, view.dc(), 26, 12));
    std::vector<std::uint8_t> shot(view.Width() * view.Height() * 4);
    std::memcpy(shot.data(), view.At(0, 0), shot.size());
    ui::SavePng(L"drop_shadow.png", view.Width(), view.Height(), shot);

    c32bppDIB empty;
    EXPECT_EQ(CreateDropShadow(empty), nullptr);
    EXPECT_FALSE(RenderDropShadow_JIT(empty, c.dc(), 0, 0));
}

namespace {

// A 6 x 4 picture (top row first): '#' opaque, '.' transparent.
const char *const kShape[] = {
    "..##..",
    "#.#..#",
    "......",
    ".####.",
};
std::unique_ptr<c32bppDIB> ShapeSurface() {
    return MakeSurface(6, 4, [](int32_t x, int32_t y) {
        return kShape[y][x] == '#' ? Bgra{9, 9, 9, 255} : Bgra{0, 0, 0, 0};
    });
}
// Which pixels of a w x h area a region covers, as the picture above.
std::vector<std::string> Covered(HRGN r, int w, int h, int dx = 0, int dy = 0) {
    std::vector<std::string> rows;
    for (int y = 0; y < h; ++y) {
        std::string s;
        for (int x = 0; x < w; ++x) s += PtInRegion(r, x + dx, y + dy) ? '#' : '.';
        rows.push_back(s);
    }
    return rows;
}

}  // namespace

TEST(CreateRegion, FollowsTheAlphaInEachStyle) {
    auto s = ShapeSurface();
    struct Case {
        std::int32_t style;
        std::vector<std::string> covered;
    } const cases[] = {
        {0, {"######", "######", "######", "######"}},
        {1, {"..##..", "######", "......", ".####."}},
        {2, {"..##..", "#.#..#", "......", ".####."}},
    };
    for (const Case &c : cases) {
        HRGN r = CreateRegion(*s, c.style, 0, 0);
        ASSERT_NE(r, nullptr) << c.style;
        EXPECT_EQ(Covered(r, 6, 4), c.covered) << c.style;
        RECT box;
        GetRgnBox(r, &box);
        EXPECT_EQ(box.right - box.left, 6);
        DeleteObject(r);
    }
    // Moved by the offsets.
    HRGN r = CreateRegion(*s, 2, 10, -3);
    EXPECT_EQ(Covered(r, 6, 4, 10, -3), cases[2].covered);
    DeleteObject(r);
    // A one-column shape in style 0 is one pixel wide.
    auto column = MakeSurface(5, 3, [](int32_t x, int32_t) { return x == 3 ? Bgra{1, 1, 1, 255} : Bgra{}; });
    r = CreateRegion(*column, 0, 0, 0);
    EXPECT_EQ(Covered(r, 5, 3), (std::vector<std::string>{"...#.", "...#.", "...#."}));
    DeleteObject(r);
}

TEST(CreateRegion, WholeRectangleWithoutAlphaAndNothingWhenEmpty) {
    auto s = ShapeSurface();
    s->SetAlpha(false);
    for (std::int32_t style : {0, 1, 2}) {
        HRGN r = CreateRegion(*s, style, 0, 0);
        EXPECT_EQ(Covered(r, 7, 5), (std::vector<std::string>{"######.", "######.", "######.", "######.", "......."}));
        DeleteObject(r);
    }
    EXPECT_EQ(CreateRegion(*s, 3, 0, 0), nullptr);
    EXPECT_EQ(CreateRegion(*s, -1, 0, 0), nullptr);
    auto clear = MakeSurface(4, 4, [](int32_t, int32_t) { return Bgra{}; });
    for (std::int32_t style : {0, 1, 2}) EXPECT_EQ(CreateRegion(*clear, style, 0, 0), nullptr) << style;
    c32bppDIB empty;
    EXPECT_EQ(CreateRegion(empty, 0, 0, 0), nullptr);
}

namespace {

// Region makers that record each call's rectangle count and refuse as told.
std::vector<DWORD> g_counts;
DWORD g_refuseAbove = 0;      // refuse blocks of more rectangles than this (0: never)
std::size_t g_refuseCall = 0;  // refuse the call with this number, counted from 1 (0: never)
bool g_boundsTrue = true;

HRGN WINAPI RecordingMaker(const XFORM *x, DWORD size, const RGNDATA *data) {
    g_counts.push_back(data->rdh.nCount);
    const auto *rects = reinterpret_cast<const RECT *>(data->Buffer);
    for (DWORD i = 0; i < data->rdh.nCount; ++i)
        if (rects[i].top < data->rdh.rcBound.top || rects[i].bottom > data->rdh.rcBound.bottom) g_boundsTrue = false;
    if (g_refuseAbove != 0 && data->rdh.nCount > g_refuseAbove) return nullptr;
    if (g_refuseCall != 0 && g_counts.size() == g_refuseCall) return nullptr;
    return ExtCreateRegion(x, size, data);
}

void ResetMaker(DWORD refuseAbove, std::size_t refuseCall) {
    g_counts.clear();
    g_refuseAbove = refuseAbove;
    g_refuseCall = refuseCall;
    g_boundsTrue = true;
}

// 100 x 50 pixels, every other one opaque: 50 runs a row, 2,500 rectangles... doubled in height: 5,000.
std::unique_ptr<c32bppDIB> Stripes() {
    return MakeSurface(100, 100, [](int32_t x, int32_t) { return x % 2 == 0 ? Bgra{1, 1, 1, 255} : Bgra{}; });
}

}  // namespace

TEST(CreateRegion, LargeShapesGoThroughBatchesWhenTheSingleCallFails) {
    auto s = Stripes();
    ResetMaker(0, 0);
    HRGN whole = CreateRegion(*s, 2, 0, 0, RecordingMaker);
    ASSERT_NE(whole, nullptr);
    EXPECT_EQ(g_counts, (std::vector<DWORD>{5000})) << "one call first";
    EXPECT_TRUE(g_boundsTrue);

    ResetMaker(2001, 0);
    HRGN batched = CreateRegion(*s, 2, 0, 0, RecordingMaker);
    ASSERT_NE(batched, nullptr);
    EXPECT_EQ(g_counts, (std::vector<DWORD>{5000, 2001, 2001, 1000}));
    EXPECT_TRUE(g_boundsTrue) << "each batch's header bounds its rectangles";
    EXPECT_TRUE(EqualRgn(whole, batched));
    DeleteObject(whole);
    DeleteObject(batched);

    // A failing batch: nothing is returned and nothing is left behind.
    batched = CreateRegion(*s, 2, 0, 0, RecordingMaker);  // warm-up
    DeleteObject(batched);
    const std::int32_t before = test::LiveGdiObjects();
    ResetMaker(2001, 3);
    EXPECT_EQ(CreateRegion(*s, 2, 0, 0, RecordingMaker), nullptr);
    EXPECT_EQ(g_counts, (std::vector<DWORD>{5000, 2001, 2001}));
    EXPECT_EQ(test::LiveGdiObjects(), before);

    // Up to 2,000 rectangles there is no second try.
    auto small = MakeSurface(40, 100, [](int32_t x, int32_t) { return x % 2 == 0 ? Bgra{1, 1, 1, 255} : Bgra{}; });
    ResetMaker(1000, 0);
    EXPECT_EQ(CreateRegion(*small, 2, 0, 0, RecordingMaker), nullptr);
    EXPECT_EQ(g_counts, (std::vector<DWORD>{2000}));
}

TEST(CombineRegionBatches, NeighbouringBatchesShareARectangle) {
    std::vector<RegionRect> rects;
    for (std::int32_t i = 0; i < 4003; ++i) rects.push_back({i % 50, i / 50, i % 50 + 1, i / 50 + 1});
    ResetMaker(0, 0);
    HRGN r = CombineRegionBatches(rects, 0, 50, RecordingMaker);
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(g_counts, (std::vector<DWORD>{2001, 2001, 3}));
    EXPECT_TRUE(PtInRegion(r, 2, 80));   // rectangle 4002
    EXPECT_FALSE(PtInRegion(r, 3, 80));  // none beyond it
    DeleteObject(r);
}

TEST(SurfaceOps, ThousandCyclesLeaveNoGdiObjects) {
    auto shape = ShapeSurface();
    c32bppDIB board;
    ASSERT_TRUE(board.InitializeDIB(30, 20));
    auto cycle = [&] {
        for (std::int32_t style : {0, 1, 2}) DeleteObject(CreateRegion(*shape, style, 1, 1));
        CreateCheckerBoard(board);
    };
    cycle();
    const std::int32_t before = test::LiveGdiObjects();
    for (int i = 0; i < 1000; ++i) cycle();
    EXPECT_EQ(test::LiveGdiObjects(), before);
}
