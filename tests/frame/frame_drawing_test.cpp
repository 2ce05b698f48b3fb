#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <vector>

#include "frame_fonts.h"
#include "gdi_scope.h"
#include "gradient_lines.h"
#include "modSubClasser.h"

using namespace lumio;

namespace {

// A top-down 32-bit surface with its own memory DC.
struct Surface {
    int w, h;
    HDC dc = nullptr;
    HBITMAP bmp = nullptr;
    HGDIOBJ old = nullptr;
    uint32_t* bits = nullptr;
    Surface(int width, int height, uint32_t fill) : w(width), h(height) {
        BITMAPINFO bi{};
        bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
        bi.bmiHeader.biWidth = w;
        bi.bmiHeader.biHeight = -h;
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 32;
        dc = CreateCompatibleDC(nullptr);
        void* p = nullptr;
        bmp = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &p, nullptr, 0);
        bits = static_cast<uint32_t*>(p);
        old = SelectObject(dc, bmp);
        for (int i = 0; i < w * h; ++i) bits[i] = fill;
    }
    ~Surface() {
        SelectObject(dc, old);
        DeleteObject(bmp);
        DeleteDC(dc);
    }
    // As COLORREF (0x00BBGGRR).
    COLORREF At(int x, int y) const {
        GdiFlush();
        const uint32_t p = bits[y * w + x];
        return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    }
    // For looking at by eye: a BMP beside the test.
    void Save(const char* path) const {
        GdiFlush();
        BITMAPFILEHEADER fh{};
        BITMAPINFOHEADER ih{};
        ih.biSize = sizeof(ih);
        ih.biWidth = w;
        ih.biHeight = -h;
        ih.biPlanes = 1;
        ih.biBitCount = 32;
        fh.bfType = 0x4D42;
        fh.bfOffBits = sizeof(fh) + sizeof(ih);
        fh.bfSize = fh.bfOffBits + w * h * 4;
        if (FILE* f = std::fopen(path, "wb")) {
            std::fwrite(&fh, sizeof fh, 1, f);
            std::fwrite(&ih, sizeof ih, 1, f);
            std::fwrite(bits, 4, size_t(w) * h, f);
            std::fclose(f);
        }
    }
};

TEST(DrawGradientLines, ThinLinesMatchThePlanPixelForPixel) {
    struct Case {
        const char* name;
        int32_t X1, Y1, X2, Y2;
    } cases[] = {
        {"vertical, left to right", 2, 3, 61, 40},
        {"horizontal, bottom up", 1, 0, 60, -37},
        {"vertical, right to left", 0, 5, -50, 30},
    };
    const COLORREF c1 = RGB(10, 200, 30), c2 = RGB(250, 20, 130);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Surface s(64, 48, 0x00FFFFFF);
        DrawGradientLines(c1, c2, s.dc, c.X1, c.Y1, c.X2, c.Y2, 0);
        int checked = 0;
        PlanGradientLines(c1, c2, c.X1, c.Y1, c.X2, c.Y2, 0, [&](const GradientLine& l) {
            // A 1-pixel line covers its start and stops short of its end.
            const int dx = l.x2 > l.x1 ? 1 : 0, dy = l.y2 > l.y1 ? 1 : 0;
            for (int x = l.x1, y = l.y1; x < l.x2 || y < l.y2; x += dx, y += dy) {
                ASSERT_EQ(s.At(x, y), l.colour) << x << "," << y;
                ++checked;
            }
        });
        EXPECT_GT(checked, 1000);
        s.Save((std::string("gradient_") + std::to_string(&c - cases) + ".bmp").c_str());
    }
}

TEST(DrawGradientLines, ThickLinesAndSystemColours) {
    Surface s(64, 40, 0x00FFFFFF);
    // Step 2: 5-pixel pens; both colours the 3D face system colour.
    DrawGradientLines(0x8000000F, 0x8000000F, s.dc, 0, 0, 63, 39, 2);
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    for (int x = 0; x < 64; x += 7) EXPECT_EQ(s.At(x, 20), face) << x;

    Surface t(64, 40, 0x00FFFFFF);
    const COLORREF c1 = RGB(0, 0, 0), c2 = RGB(255, 255, 255);
    DrawGradientLines(c1, c2, t.dc, 0, 0, 63, 39, 2);
    PlanGradientLines(c1, c2, 0, 0, 63, 39, 2, [&](const GradientLine& l) {
        ASSERT_EQ(l.penWidth, 5);
        if (l.x1 < 64) {
            EXPECT_EQ(t.At(l.x1, 20), l.colour) << "line at x=" << l.x1;
        }
    });
    t.Save("gradient_thick.bmp");
}

TEST(DrawClippedEdge, RaisedEdgeOnlyOutsideTheInnerRegion) {
    const uint32_t bg = 0x00123456;
    Surface clipped(60, 40, bg), plain(60, 40, bg);
    HRGN outer = CreateRectRgn(10, 10, 60, 40), inner = CreateRectRgn(4, 4, 46, 26);
    DrawClippedEdge(clipped.dc, outer, inner);
    RECT box{0, 0, 50, 30};
    DrawEdge(plain.dc, &box, EDGE_RAISED, BF_RECT | BF_MIDDLE);
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 60; ++x) {
            const bool inInner = x >= 4 && x < 46 && y >= 4 && y < 26;
            const bool inBox = x < 50 && y < 30;
            const COLORREF want = inInner || !inBox ? RGB(0x12, 0x34, 0x56) : plain.At(x, y);
            ASSERT_EQ(clipped.At(x, y), want) << x << "," << y;
        }
    HRGN after = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(GetClipRgn(clipped.dc, after), 0) << "the clip region is removed";
    DeleteObject(after);
    DeleteObject(outer);
    DeleteObject(inner);
    clipped.Save("clipped_edge.bmp");
}

TEST(EnsureCompatibleBitmap, KeepsReplacesAndNeverHandsBackADeletedBitmap) {
    HDC screen = GetDC(nullptr);
    HDC mem = CreateCompatibleDC(screen);
    HBITMAP bmp = nullptr;
    bool recreated = false;

    HGDIOBJ first = EnsureCompatibleBitmap(screen, bmp, 30, 20, mem, recreated);
    ASSERT_NE(bmp, nullptr);
    EXPECT_TRUE(recreated);
    EXPECT_EQ(GetCurrentObject(mem, OBJ_BITMAP), bmp);
    EXPECT_EQ(GetObjectType(first), DWORD(OBJ_BITMAP)) << "the DC's own bitmap comes back";

    HBITMAP same = bmp;
    EXPECT_EQ(EnsureCompatibleBitmap(screen, bmp, 30, 20, mem, recreated), same);
    EXPECT_FALSE(recreated);
    EXPECT_EQ(bmp, same);

    // A new size while the old bitmap is selected: the old one goes only
    // after it has left the DC, and is not what comes back.
    HBITMAP old = bmp;
    HGDIOBJ before = EnsureCompatibleBitmap(screen, bmp, 40, 25, mem, recreated);
    EXPECT_TRUE(recreated);
    EXPECT_NE(bmp, old);
    EXPECT_EQ(GetObjectType(old), 0u) << "the replaced bitmap is deleted";
    EXPECT_NE(before, static_cast<HGDIOBJ>(old));
    EXPECT_EQ(GetObjectType(before), DWORD(OBJ_BITMAP));
    BITMAP bm{};
    GetObjectA(bmp, sizeof(bm), &bm);
    EXPECT_EQ(bm.bmWidth, 40);
    EXPECT_EQ(bm.bmHeight, 25);
    EXPECT_EQ(GetCurrentObject(mem, OBJ_BITMAP), bmp);
    // What came back can be selected back, after which ours can go.
    EXPECT_EQ(SelectObject(mem, before), bmp);
    EXPECT_TRUE(DeleteObject(bmp));

    // Without a memory DC: nothing selected, nothing returned.
    bmp = nullptr;
    EXPECT_EQ(EnsureCompatibleBitmap(screen, bmp, 8, 8, nullptr, recreated), nullptr);
    EXPECT_TRUE(recreated);
    EXPECT_NE(bmp, nullptr);
    DeleteObject(bmp);
    DeleteDC(mem);
    ReleaseDC(nullptr, screen);
}

// A font description survives the trip through a GDI font at the screen's
// resolution: the title strip and the menu strip read back what they were given.
TEST(FrameFonts, DescriptionSurvivesAGdiFont) {
    struct Case {
        const char* name;
        double size;
        bool bold, italic, underline, strikethrough;
    };
    const Case cases[] = {
        {"Tahoma", 8.25, false, false, false, false},
        {"Arial", 12, true, false, true, false},
        {"Courier New", 9.75, false, true, false, true},
    };
    ScreenDC screen;
    ASSERT_EQ(GetDeviceCaps(screen.get(), LOGPIXELSY), 96) << "sizes below are whole pixels at 96 dpi";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MenuFontSpec given;
        given.name = c.name;
        given.size = c.size;
        given.bold = c.bold;
        given.italic = c.italic;
        given.underline = c.underline;
        given.strikethrough = c.strikethrough;
        LOGFONTA lf{};
        ApplyFontSpec(lf, given);
        gdi::OwnedObject<HFONT> font(CreateFontIndirectA(&lf));
        ASSERT_TRUE(font);
        const MenuFontSpec back = FontSpecOf(font.get());
        EXPECT_EQ(back.name, given.name);
        EXPECT_DOUBLE_EQ(back.size, given.size);
        EXPECT_EQ(back.bold, given.bold);
        EXPECT_EQ(back.italic, given.italic);
        EXPECT_EQ(back.underline, given.underline);
        EXPECT_EQ(back.strikethrough, given.strikethrough);
    }
    const MenuFontSpec none = FontSpecOf(nullptr);
    EXPECT_EQ(none.name, "");
    EXPECT_DOUBLE_EQ(none.size, 8.25);
}

}  // namespace
