#include <gtest/gtest.h>
#include <windows.h>

#include "live_objects.h"
#include "imaging/mod_parsers_win.h"
#include "imaging/pc_mem_dc.h"
#include "render_win_fixture.h"

using namespace lumio;
using lumio::test::Bgra;
using lumio::test::Canvas;

namespace {

constexpr COLORREF kMagenta = RGB(255, 0, 255);

void FillDC(HDC dc, int l, int t, int r, int b, COLORREF c) {
    RECT rc{l, t, r, b};
    HBRUSH br = CreateSolidBrush(c);
    FillRect(dc, &rc, br);
    DeleteObject(br);
}

COLORREF CanvasColor(const Canvas &c, int x, int y) {
    const Bgra p = c.Pixel(x, y);
    return RGB(p.r, p.g, p.b);
}

// A screen-compatible bitmap whose pixel (x, y) is RGB(x * 7, y, 200), owned by a picture object.
lumio::ComPtr<IPicture> PatternPicture(int w, int h) {
    HDC screen = GetDC(nullptr);
    HBITMAP bmp = CreateCompatibleBitmap(screen, w, h);
    HDC dc = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(dc, bmp);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) SetPixelV(dc, x, y, RGB(x * 7, y, 200));
    SelectObject(dc, old);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    return PictureFromHandle(bmp, PICTYPE_BITMAP);
}

}  // namespace

TEST(pcMemDC, SizesOnlyGrowAndAGrowthStartsAnew) {
    pcMemDC m;
    EXPECT_EQ(m.hDC(), nullptr);
    EXPECT_EQ(m.Width(), 0);
    m.Width(50);
    EXPECT_EQ(m.Width(), 50);
    EXPECT_EQ(m.Height(), 0);
    EXPECT_NE(m.hDC(), nullptr);
    m.Height(20);
    EXPECT_EQ(m.Height(), 20);
    ASSERT_NE(m.hDC(), nullptr);
    SetPixelV(m.hDC(), 49, 19, RGB(1, 2, 3));
    const HDC dc = m.hDC();

    m.Width(30);
    m.Height(20);
    m.Height(-4);
    EXPECT_EQ(m.Width(), 50);
    EXPECT_EQ(m.Height(), 20);
    EXPECT_EQ(m.hDC(), dc);
    EXPECT_EQ(GetPixel(m.hDC(), 49, 19), RGB(1, 2, 3)) << "contents kept";

    m.Height(21);
    EXPECT_EQ(m.Width(), 50);
    EXPECT_EQ(m.Height(), 21);
    EXPECT_NE(GetPixel(m.hDC(), 49, 20), CLR_INVALID) << "the new bitmap has the new size";
}

TEST(pcMemDC, DrawCopiesTheWholeOrAPieceUnscaled) {
    pcMemDC m;
    m.Width(8);
    m.Height(6);
    FillDC(m.hDC(), 0, 0, 8, 6, RGB(0, 0, 255));
    FillDC(m.hDC(), 4, 3, 8, 6, RGB(0, 255, 0));

    Canvas c(12, 10);
    c.Fill([](int32_t, int32_t) { return Bgra{0, 0, 0, 0}; });
    m.Draw(c.dc(), 0, 0, 0, -1, 2, 1, false);  // sizes below 1: everything
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 12; ++x) {
            const bool inside = x >= 2 && x < 10 && y >= 1 && y < 7;
            const bool green = x >= 6 && y >= 4 && inside;
            const COLORREF want = !inside ? RGB(0, 0, 0) : green ? RGB(0, 255, 0) : RGB(0, 0, 255);
            ASSERT_EQ(CanvasColor(c, x, y), want) << x << "," << y;
        }

    c.Fill([](int32_t, int32_t) { return Bgra{0, 0, 0, 0}; });
    m.Draw(c.dc(), 3, 2, 2, 2, 0, 0, false);
    EXPECT_EQ(CanvasColor(c, 0, 0), RGB(0, 0, 255));
    EXPECT_EQ(CanvasColor(c, 1, 1), RGB(0, 255, 0));
    EXPECT_EQ(CanvasColor(c, 2, 0), RGB(0, 0, 0)) << "only 2 x 2 copied";
}

TEST(pcMemDC, MaskedDrawLeavesTheDestinationUnderMagenta) {
    pcMemDC m;
    m.Width(20);
    m.Height(10);
    FillDC(m.hDC(), 0, 0, 20, 10, RGB(0, 255, 0));
    FillDC(m.hDC(), 10, 0, 20, 10, kMagenta);  // the cell at x 10
    SetPixelV(m.hDC(), 14, 5, RGB(0, 0, 255));
    SetPixelV(m.hDC(), 15, 5, RGB(254, 0, 255));  // near magenta is not the key

    Canvas c(12, 12);
    c.Fill([](int32_t, int32_t) { return Bgra{0, 0, 255, 255}; });
    m.Draw(c.dc(), 10, 0, 10, 10, 1, 2, true);
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 12; ++x) {
            COLORREF want = RGB(255, 0, 0);
            if (x == 5 && y == 7) want = RGB(0, 0, 255);
            if (x == 6 && y == 7) want = RGB(254, 0, 255);
            ASSERT_EQ(CanvasColor(c, x, y), want) << x << "," << y;
        }
}

TEST(pcMemDC, StretchDrawScalesTheSourceBlock) {
    pcMemDC m;
    m.Width(2);
    m.Height(2);
    SetPixelV(m.hDC(), 0, 0, RGB(255, 0, 0));
    SetPixelV(m.hDC(), 1, 0, RGB(0, 255, 0));
    SetPixelV(m.hDC(), 0, 1, RGB(0, 0, 255));
    SetPixelV(m.hDC(), 1, 1, RGB(255, 255, 255));
    Canvas c(6, 6);
    c.Fill([](int32_t, int32_t) { return Bgra{0, 0, 0, 0}; });
    SetStretchBltMode(c.dc(), COLORONCOLOR);
    m.StretchDraw(c.dc(), 1, 1, 4, 4, 0, 0, 0, 0);
    EXPECT_EQ(GetStretchBltMode(c.dc()), COLORONCOLOR) << "the mode is the caller's";
    const COLORREF want[2][2] = {{RGB(255, 0, 0), RGB(0, 255, 0)}, {RGB(0, 0, 255), RGB(255, 255, 255)}};
    for (int y = 1; y < 5; ++y)
        for (int x = 1; x < 5; ++x) ASSERT_EQ(CanvasColor(c, x, y), want[(y - 1) / 2][(x - 1) / 2]) << x << "," << y;
    EXPECT_EQ(CanvasColor(c, 0, 0), RGB(0, 0, 0));
    EXPECT_EQ(CanvasColor(c, 5, 5), RGB(0, 0, 0));

    // A piece: the right column stretched over 1 x 4.
    c.Fill([](int32_t, int32_t) { return Bgra{0, 0, 0, 0}; });
    m.StretchDraw(c.dc(), 0, 0, 1, 4, 1, 0, 1, 0);
    EXPECT_EQ(CanvasColor(c, 0, 0), RGB(0, 255, 0));
    EXPECT_EQ(CanvasColor(c, 0, 3), RGB(255, 255, 255));
    EXPECT_EQ(CanvasColor(c, 1, 0), RGB(0, 0, 0));
}

TEST(pcMemDC, CreateFromPictureCopiesTheBitmap) {
    auto pic = PatternPicture(13, 156);
    ASSERT_NE(pic, nullptr);
    pcMemDC m;
    m.CreateFromPicture(pic.get());
    EXPECT_EQ(m.Width(), 13);
    EXPECT_EQ(m.Height(), 156);
    for (int y = 0; y < 156; ++y)
        for (int x = 0; x < 13; ++x) ASSERT_EQ(GetPixel(m.hDC(), x, y), RGB(x * 7, y, 200)) << x << "," << y;

    // A larger context keeps its size; the picture lands at (0, 0).
    pcMemDC big;
    big.Width(20);
    big.Height(200);
    big.CreateFromPicture(pic.get());
    EXPECT_EQ(big.Width(), 20);
    EXPECT_EQ(big.Height(), 200);
    EXPECT_EQ(GetPixel(big.hDC(), 12, 155), RGB(84, 155, 200));

    // Only one dimension larger: that one grows, the other stays.
    pcMemDC wide;
    wide.Width(40);
    wide.Height(10);
    wide.CreateFromPicture(pic.get());
    EXPECT_EQ(wide.Width(), 40);
    EXPECT_EQ(wide.Height(), 156);
    EXPECT_EQ(GetPixel(wide.hDC(), 0, 100), RGB(0, 100, 200));
}

TEST(pcMemDC, WithoutBitmapNothingHappens) {
    pcMemDC m;
    m.CreateFromPicture(nullptr);
    EXPECT_EQ(m.hDC(), nullptr);
    HICON icon = LoadIcon(nullptr, IDI_APPLICATION);
    auto pic = PictureFromHandle(CopyIcon(icon), PICTYPE_ICON);
    ASSERT_NE(pic, nullptr);
    m.CreateFromPicture(pic.get());
    EXPECT_EQ(m.hDC(), nullptr);
    EXPECT_EQ(m.Width(), 0);

    Canvas c(4, 4);
    c.Fill([](int32_t, int32_t) { return Bgra{1, 2, 3, 255}; });
    m.Draw(c.dc(), 0, 0, 0, 0, 0, 0, false);
    m.Draw(c.dc(), 0, 0, 0, 0, 0, 0, true);
    m.StretchDraw(c.dc(), 0, 0, 4, 4, 0, 0, 0, 0);
    EXPECT_EQ(CanvasColor(c, 0, 0), RGB(3, 2, 1));

    // A size the system refuses leaves no DC and size 0.
    m.Width(1 << 30);
    m.Height(1 << 30);
    EXPECT_EQ(m.hDC(), nullptr);
    EXPECT_EQ(m.Width(), 0);
    EXPECT_EQ(m.Height(), 0);
}

TEST(pcMemDC, ThousandCyclesLeaveNoGdiObjects) {
    auto pic = PatternPicture(13, 20);
    Canvas c(16, 16);
    auto cycle = [&] {
        pcMemDC m;
        m.Width(16);
        m.Height(16);
        FillDC(m.hDC(), 0, 0, 8, 16, kMagenta);
        m.Draw(c.dc(), 0, 0, 0, 0, 0, 0, true);
        m.CreateFromPicture(pic.get());
        m.StretchDraw(c.dc(), 0, 0, 8, 8, 0, 0, 0, 0);
        m.Width(20);
    };
    cycle();
    const int32_t before = test::LiveGdiObjects();
    for (int i = 0; i < 1000; ++i) cycle();
    EXPECT_EQ(test::LiveGdiObjects(), before);
}
