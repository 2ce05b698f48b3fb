// LumioGroupBox's painter: the panel (header, separator, body, border) or the
// classic rounded frame with its caption gap.
#include "basic_arith.h"
#include "gdi_scope.h"
#include "glyph_text.h"
#include "group_box_layout.h"
#include "lumio_group_box.h"
#include "ole_colour_win.h"

namespace lumio::buttons {

namespace {

constexpr COLORREF kFrameLight = RGB(255, 255, 255);
constexpr COLORREF kFramePale = RGB(213, 223, 229);
constexpr UINT kGroupCaptionFlags = DT_CENTER | DT_VCENTER;
constexpr int kCorner = 5;

// Painting goes on after a step that fails (overflow in a colour, a failed
// system call); what the other steps draw still shows.
template <class F>
void Step(F step) {
    try {
        step();
    } catch (...) {
    }
}

int32_t Rgb(OLE_COLOR c) { return static_cast<int32_t>(TranslateOleColor(c)); }

void FrameRound(HDC dc, COLORREF colour, int x1, int y1, int x2, int y2) {
    gdi::OwnedObject<HPEN> pen(CreatePen(PS_SOLID, 1, colour));
    HGDIOBJ oldPen = SelectObject(dc, pen.get());
    HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
    RoundRect(dc, x1, y1, x2, y2, kCorner, kCorner);
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
}

}  // namespace

void LumioGroupBox::pDrawLine(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t& colour) {
    colour = static_cast<int32_t>(TranslateOleColor(static_cast<OLE_COLOR>(colour)));
    HDC dc = Hdc();
    gdi::OwnedObject<HPEN> pen(CreatePen(PS_SOLID, 1, static_cast<COLORREF>(colour)));
    HGDIOBJ old = SelectObject(dc, pen.get());
    MoveToEx(dc, x1, y1, nullptr);
    LineTo(dc, x2, y2);
    SelectObject(dc, old);
}

// Only the rows on the surface are drawn: a header or body far outside it
// costs nothing.
void LumioGroupBox::pFillGradientV(int32_t c1, int32_t c2, float& split, int32_t x1, int32_t y1, int32_t x2,
                                   int32_t y2) {
    const int32_t H = ScaleHeight();
    const GradientV g = PlanGradientV(c1, c2, split, x1, y1, x2, y2, ScaleWidth(), H);
    const RowRange rows = VisibleRows(g, H);
    for (int32_t y = rows.first; y <= rows.last; ++y) {
        int32_t colour = g.RowColour(y);
        if (g.x1 == g.x2) SetPixelV(Hdc(), g.x1, y, static_cast<COLORREF>(colour));
        else pDrawLine(g.x1, y, g.x2, y, colour);
    }
}

void LumioGroupBox::pPaint() {
    if (!hWnd()) return;
    ++m_PaintCount;
    const std::wstring caption = m_Caption;
    Step([&] { Cls(); });
    const int32_t W = ScaleWidth(), H = ScaleHeight();
    if (m_Appearance != 0) pPaintFrame(W, H, caption);
    else pPaintGroupBox(W, H, caption);
}

void LumioGroupBox::pPaintFrame(int32_t W, int32_t H, const std::wstring& caption) {
    const int32_t HH = m_HeaderHeight;
    Step([&] {
        const FramePlan p = PlanFrame(W, H, 0, 0, 0, 0, 0);
        for (const LineSpan& l : p.border) {
            int32_t colour = Rgb(m_BorderColor);
            pDrawLine(l.x1, l.y1, l.x2, l.y2, colour);
        }
    });
    Step([&] {
        int32_t colour = Rgb(m_BorderColor);
        const int32_t y = CheckedAdd(HH, 1);
        pDrawLine(0, y, W - 1, y, colour);
    });
    Step([&] {
        float split = 60;
        pFillGradientV(Rgb(m_HeadColor1), Rgb(m_HeadColor2), split, 1, 1, W - 1, HH);
    });
    Step([&] {
        float split = 50;
        pFillGradientV(Rgb(m_BackColor), Rgb(m_BackColor2), split, 1, CheckedAdd(HH, 2), W - 1, H - 2);
    });
    Step([&] {
        HDC dc = Hdc();
        SetTextColor(dc, TranslateOleColor(m_ForeColor));
        if (caption.empty()) return;
        m_CaptionRect = {6, 1, W - 6, HH};
        RECT rc{m_CaptionRect.left, m_CaptionRect.top, m_CaptionRect.right, m_CaptionRect.bottom};
        DrawAnsiText(dc, caption, rc, FrameCaptionFlags(m_Alignment));
    });
}

void LumioGroupBox::pPaintGroupBox(int32_t W, int32_t H, const std::wstring& caption) {
    int32_t h = 0;
    Step([&] { h = TextHeight(L"H"); });
    Step([&] { FrameRound(Hdc(), kFrameLight, 1, h / 2 + 1, W - 2, H - 1); });
    Step([&] { FrameRound(Hdc(), kFramePale, 0, h / 2, W - 1, H - 2); });
    Step([&] {
        HDC dc = Hdc();
        SetTextColor(dc, TranslateOleColor(m_ForeColor));
        if (caption.empty()) return;
        GroupCaptionBox(m_Alignment, W, TextWidth(caption), TextHeight(caption), m_CaptionRect);
        RECT rc{m_CaptionRect.left, m_CaptionRect.top, m_CaptionRect.right, m_CaptionRect.bottom};
        gdi::OwnedObject<HBRUSH> brush(CreateSolidBrush(TranslateOleColor(m_BackColor)));
        FillRect(dc, &rc, brush.get());
        DrawAnsiText(dc, caption, rc, kGroupCaptionFlags);
    });
}

}  // namespace lumio::buttons
