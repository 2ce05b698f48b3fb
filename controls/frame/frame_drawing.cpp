#include "gdi_scope.h"
#include "gradient_lines.h"
#include "modSubClasser.h"
#include "ole_colour_win.h"

namespace lumio {
namespace {

HGDIOBJ StockBitmap() {
    gdi::OwnedDC dc(CreateCompatibleDC(nullptr));
    if (!dc) return nullptr;
    return GetCurrentObject(dc.get(), OBJ_BITMAP);
}

}  // namespace

HGDIOBJ EnsureCompatibleBitmap(HDC hDC, HBITMAP& hBitmap, int cx, int cy, HDC hMemDC, bool& bRecreated) {
    bRecreated = false;
    BITMAP bm{};
    const bool sizeFits = hBitmap && GetObjectA(hBitmap, sizeof(bm), &bm) == sizeof(bm) && bm.bmWidth == cx &&
                          bm.bmHeight == cy;
    if (sizeFits) return hMemDC ? SelectObject(hMemDC, hBitmap) : nullptr;

    HBITMAP fresh = CreateCompatibleBitmap(hDC, cx, cy);
    if (!fresh) return nullptr;
    // Deleted once it has left the DC.
    gdi::OwnedObject<HBITMAP> old(hBitmap);
    hBitmap = fresh;
    bRecreated = true;
    HGDIOBJ before = hMemDC ? SelectObject(hMemDC, fresh) : nullptr;
    if (old && before == old.get()) before = StockBitmap();
    return before;
}

void DrawClippedEdge(HDC hDC, HRGN outerRegion, HRGN innerRegion) {
    RECT box{};
    GetRgnBox(outerRegion, &box);
    gdi::OwnedObject<HRGN> clip(CreateRectRgnIndirect(&box));
    if (!clip) return;
    OffsetRgn(clip.get(), -box.left, -box.top);
    CombineRgn(clip.get(), clip.get(), innerRegion, RGN_DIFF);
    SelectClipRgn(hDC, clip.get());
    clip.reset();
    OffsetRect(&box, -box.left, -box.top);
    DrawEdge(hDC, &box, EDGE_RAISED, BF_RECT | BF_MIDDLE);
    SelectClipRgn(hDC, nullptr);
}

void DrawGradientLines(uint32_t colour1, uint32_t colour2, HDC hDC, int32_t X1, int32_t Y1, int32_t X2, int32_t Y2,
                       uint8_t step) {
    const COLORREF c1 = TranslateSysColor(colour1);
    const COLORREF c2 = TranslateSysColor(colour2);
    gdi::OwnedObject<HPEN> pen;
    HGDIOBJ kept = nullptr;
    COLORREF penColour = 0;
    PlanGradientLines(c1, c2, X1, Y1, X2, Y2, step, [&](const GradientLine& line) {
        if (!pen || line.colour != penColour) {
            gdi::OwnedObject<HPEN> next(CreatePen(PS_SOLID, line.penWidth, line.colour));
            if (!next) return;
            HGDIOBJ replaced = SelectObject(hDC, next.get());
            if (!pen) kept = replaced;
            pen = std::move(next);
            penColour = line.colour;
        }
        MoveToEx(hDC, line.x1, line.y1, nullptr);
        LineTo(hDC, line.x2, line.y2);
    });
    if (pen) SelectObject(hDC, kept);
}

}  // namespace lumio
