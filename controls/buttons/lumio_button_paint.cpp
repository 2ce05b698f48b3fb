// LumioButton's painting: the rounded window region, caption and picture
// layout, the glass face of each state, border, caption and state picture.
#include <algorithm>
#include <optional>
#include <vector>

#include "basic_arith.h"
#include "button_layout.h"
#include "colour_math.h"
#include "gradient_rows.h"
#include "gdi_scope.h"
#include "ole_colour_win.h"
#include "os_version_win.h"
#include "lumio_button.h"
#include "picture_pass.h"

namespace lumio::buttons {

namespace {

constexpr UINT kTextFlags = DT_NOCLIP | DT_WORDBREAK | DT_CENTER;
constexpr int32_t kWhite = 0xFFFFFF;

std::string ToAnsi(const std::wstring& text) {
    int n = WideCharToMultiByte(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(std::max(n, 0)), '\0');
    if (n > 0) WideCharToMultiByte(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()), out.data(), n, nullptr, nullptr);
    return out;
}

int DrawCaptionText(HDC dc, bool wide, const std::wstring& text, RECT& rc, UINT flags) {
    if (wide) return DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rc, flags);
    std::string ansi = ToAnsi(text);
    return DrawTextA(dc, ansi.c_str(), static_cast<int>(ansi.size()), &rc, flags);
}

RECT ToRect(const Box& b) { return {b.left, b.top, b.right, b.bottom}; }

SIZE PictureHimetric(IPicture* p) {
    SIZE s{};
    p->get_Width(&s.cx);
    p->get_Height(&s.cy);
    short type = 0;
    OLE_HANDLE handle = 0;
    // A picture made from an enhanced metafile may report no size (Wine's
    // does): the metafile's own frame, in HIMETRIC, gives it.
    if ((s.cx <= 0 || s.cy <= 0) && SUCCEEDED(p->get_Type(&type)) && type == PICTYPE_ENHMETAFILE &&
        SUCCEEDED(p->get_Handle(&handle)) && handle) {
        ENHMETAHEADER h{};
        if (GetEnhMetaFileHeader(reinterpret_cast<HENHMETAFILE>(static_cast<uintptr_t>(handle)), sizeof h, &h)) {
            s.cx = h.rclFrame.right - h.rclFrame.left;
            s.cy = h.rclFrame.bottom - h.rclFrame.top;
        }
    }
    return s;
}

BITMAPINFO Dib24(int w, int h) {
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = h;  // bottom-up
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 24;
    bi.bmiHeader.biCompression = BI_RGB;
    return bi;
}

}  // namespace

void LumioButton::pRedraw(int32_t state, bool force) {
    if (m_bHidden) return;
    if (state == -1) state = m_State;
    if (!force && state == m_State && m_bHasFocus == m_PaintedFocus) return;
    Cls();
    m_PaintedFocus = m_bHasFocus;
    m_State = state;
    pPaintState(state);
}

void LumioButton::pPaintState(int32_t state) {
    if (!hWnd()) return;
    if (m_bRecalc) {
        pSetButtonRegion(3, 3);
        pCalcLayout(4, 4);
    }
    int32_t local = state;
    if (m_CheckBoxMode && m_Value && m_Enabled && state == kStatePressed) local = kStateNormal;
    const int32_t W = m_Width, H = m_Height, Hs = ScaleHeight();
    const int32_t half = RoundToLong(Hs / 2.0);
    auto band = [this](int32_t c1, int32_t c2, int32_t y1, int32_t y2) {
        float split = 50;
        pFillGradientV(c1, c2, split, 0, y1, -1, y2);
    };

    // The face.
    if ((local == kStateNormal || local == kStateHot) && m_Value) {
        band(pShiftColor(m_cBack, -0.1f), m_cCheckedEnd, 0, -1);
    } else if (local == kStateNormal) {
        band(pShiftColor(m_cBack, 0.08f), pShiftColor(m_cBack, 0.02f), 2, half);
        band(m_cBack, pShiftColor(m_cBack, -0.1f), half, Hs - 2);
    } else if (local == kStateHot) {
        band(pRGB(234, 246, 253), m_cHotBandEnd, 2, half);
        band(pRGB(190, 230, 253), pRGB(167, 217, 245), half, Hs - 2);
    } else if (local == kStatePressed) {
        pFillBack(m_cPressedFace);
        band(pRGB(229, 244, 252), m_cPressedFace, 2, half);
        band(pRGB(152, 209, 239), pRGB(104, 179, 219), half, Hs - 2);
        const int32_t line = pRGB(158, 176, 186);
        pDrawLine(line, 1, 1, 1, Hs);
        pDrawLine(line, W - 2, 1, W - 2, Hs);
        pDrawLine(line, 1, 1, W - 1, 1);
    } else if (local == kStateDisabled) {
        pFillBack(m_cDisabledFace);
    }

    // Picture, caption, border and inner rectangle.
    int32_t border;
    if (m_State == kStateDisabled) {
        // Without a picture there is nothing to fade: no stale rectangle is drawn.
        if (pHasNormalPicture()) pDrawPicture(m_PicNormal.get());
        else m_PicRect = RECT{};
        pDrawCaption(m_cDisabledText);
        border = pRGB(173, 178, 181);
    } else {
        pDrawStatePicture();
        pDrawCaption(m_cFore);
        std::optional<int32_t> inner;
        if ((local != kStatePressed && m_bMouseDown && !m_bHover) || m_State == kStateHot) {
            border = pRGB(60, 127, 177);
            inner = kWhite;
        } else if (m_bFormActive && m_State != kStatePressed && (m_bHasFocus || m_bDefault)) {
            border = pRGB(60, 127, 177);
            inner = pRGB(72, 216, 251);
        } else if (m_State == kStatePressed) {
            border = pRGB(44, 98, 139);
        } else {
            border = pRGB(112, 112, 112);
            inner = kWhite;
        }
        if (inner) pDrawRect(*inner, 1, 1, W - 1, H - 1);
    }
    pDrawRect(border, 0, 0, W, H);

    HDC dc = Hdc();
    const bool cutLeft = m_ButtonShape == eButtonShapes::elsCutLeft || m_ButtonShape == eButtonShapes::elsCutSides;
    const bool cutRight = m_ButtonShape == eButtonShapes::elsCutRight || m_ButtonShape == eButtonShapes::elsCutSides;
    if (!cutLeft) {
        SetPixelV(dc, 1, 1, static_cast<COLORREF>(border));
        SetPixelV(dc, 1, H - 2, static_cast<COLORREF>(border));
    }
    if (!cutRight) {
        SetPixelV(dc, W - 2, 1, static_cast<COLORREF>(border));
        SetPixelV(dc, W - 2, H - 2, static_cast<COLORREF>(border));
    }
}

void LumioButton::OnPaint() { pRedraw(-1, true); }

void LumioButton::pSetButtonRegion(int32_t ew, int32_t eh) {
    const int32_t W = m_Width, H = m_Height;
    HRGN region = CreateRoundRectRgn(0, 0, W + 1, H + 1, ew, eh);
    if (!region) return;
    const int32_t mid = RoundToLong(W / 2.0);
    auto add = [region](int l, int t, int r, int b) {
        gdi::OwnedObject<HRGN> part(CreateRectRgn(l, t, r, b));
        if (part) CombineRgn(region, region, part.get(), RGN_OR);
    };
    if (m_ButtonShape == eButtonShapes::elsCutLeft || m_ButtonShape == eButtonShapes::elsCutSides)
        add(0, 0, mid, H + 1);
    if (m_ButtonShape == eButtonShapes::elsCutRight || m_ButtonShape == eButtonShapes::elsCutSides)
        add(mid, 0, W + 1, H + 1);
    // From here on the region is the window's.
    if (!SetWindowRgn(hWnd(), region, TRUE)) DeleteObject(region);
}

void LumioButton::pCalcLayout(int32_t my, int32_t mx) {
    m_bRecalc = false;
    HDC dc = Hdc();
    ButtonLayoutInput in;
    in.width = m_Width;
    in.height = m_Height;
    in.hasCaption = !m_Caption.empty();
    in.hasPicture = pHasNormalPicture();
    in.picW = m_PicSizeW;
    in.picH = m_PicSizeH;
    in.align = static_cast<int32_t>(m_PicAlign);
    ButtonLayout out = CalcButtonLayout(in, my, mx, [&](int32_t w, int32_t h) {
        RECT rc{0, 0, w, h};
        DrawCaptionText(dc, m_bIsNT, m_Caption, rc, DT_CALCRECT | kTextFlags);
        return Box{rc.left, rc.top, rc.right, rc.bottom};
    });
    m_CaptionRect = ToRect(out.caption);
    m_PicRect = ToRect(out.picture);
}

void LumioButton::pFillGradientV(int32_t c1, int32_t c2, float& split, int32_t x1, int32_t y1, int32_t x2,
                                 int32_t y2) {
    GradientV g = PlanGradientV(c1, c2, split, x1, y1, x2, y2, m_Width, m_Height);
    if (g.Empty()) return;
    HDC dc = Hdc();
    for (int32_t y = g.y1; y <= g.y2; ++y) {
        int32_t colour = g.RowColour(y);
        if (g.x1 == g.x2) SetPixelV(dc, g.x1, y, static_cast<COLORREF>(colour));
        else pDrawLine(colour, g.x1, y, g.x2, y);
    }
}

void LumioButton::pDrawCaption(int32_t colour) {
    if (m_Caption.empty()) return;
    HDC dc = Hdc();
    SetTextColor(dc, static_cast<COLORREF>(colour));
    SetBkMode(dc, TRANSPARENT);
    RECT rc = m_CaptionRect;
    DrawCaptionText(dc, m_bIsNT, m_Caption, rc, kTextFlags);
}

void LumioButton::pDrawStatePicture() {
    if (!pHasNormalPicture()) return;
    IPictureDisp* pic = nullptr;
    if (m_PicHot && m_State == kStateHot) {
        pic = m_PicHot.get();
    } else if (m_State == kStatePressed || m_Value) {
        pic = m_PicDown ? m_PicDown.get() : m_PicHot.get();
    }
    if (!pic) pic = m_PicNormal.get();
    pDrawPicture(pic);
}

void LumioButton::pDrawPicture(IPictureDisp* disp) {
    ComPtr<IPicture> pic = ComPtr<IPictureDisp>(disp).As<IPicture>();
    if (!pic) return;
    const int32_t W = m_Width, H = m_Height;
    const RECT R = m_PicRect;
    // Only what lies inside the client is made, in every size mode.
    const RECT V{std::max<LONG>(R.left, 0), std::max<LONG>(R.top, 0), std::min<LONG>(R.right, W),
                 std::min<LONG>(R.bottom, H)};
    const int w = V.right - V.left, h = V.bottom - V.top;
    if (w < 1 || h < 1) return;
    const int ox = V.left - R.left, oy = V.top - R.top;

    SIZE him = PictureHimetric(pic.get());
    const int pw = RoundToLong(ScaleX(him.cx, ScaleUnit::Himetric, ScaleUnit::Pixels));
    const int ph = RoundToLong(ScaleY(him.cy, ScaleUnit::Himetric, ScaleUnit::Pixels));
    if (pw < 1 || ph < 1) return;
    short type = 0;
    OLE_HANDLE handle = 0;
    pic->get_Type(&type);
    pic->get_Handle(&handle);
    HGDIOBJ pictureHandle = reinterpret_cast<HGDIOBJ>(static_cast<uintptr_t>(handle));
    if (!pictureHandle) return;

    HDC dc = Hdc();
    gdi::OwnedDC mem(CreateCompatibleDC(dc));
    gdi::OwnedDC work(CreateCompatibleDC(dc));
    if (!mem || !work) return;
    gdi::OwnedObject<HBITMAP> iconBitmap;
    gdi::OwnedObject<HBITMAP> picBitmap(CreateCompatibleBitmap(dc, w, h));
    gdi::OwnedObject<HBITMAP> backBitmap(CreateCompatibleBitmap(dc, w, h));
    if (!picBitmap || !backBitmap) return;

    std::optional<int32_t> key;
    {
        std::optional<gdi::Selection> held;
        if (type == PICTYPE_BITMAP) {
            held.emplace(mem.get(), pictureHandle);
            if (m_UseMask) key = m_cMask;
        } else if (type == PICTYPE_ICON || type == PICTYPE_METAFILE || type == PICTYPE_ENHMETAFILE) {
            // Icons and metafiles are drawn onto the mask colour at their pixel
            // size, which is their key unless a mask colour of the user's own
            // says otherwise.
            iconBitmap.reset(CreateCompatibleBitmap(dc, pw, ph));
            if (!iconBitmap) return;
            held.emplace(mem.get(), iconBitmap.get());
            gdi::OwnedObject<HBRUSH> keyBrush(CreateSolidBrush(static_cast<COLORREF>(m_cMask)));
            RECT all{0, 0, pw, ph};
            FillRect(mem.get(), &all, keyBrush.get());
            if (type == PICTYPE_ICON) {
                DrawIconEx(mem.get(), 0, 0, static_cast<HICON>(pictureHandle), pw, ph, 0, keyBrush.get(), DI_NORMAL);
            } else if (type == PICTYPE_ENHMETAFILE) {
                PlayEnhMetaFile(mem.get(), reinterpret_cast<HENHMETAFILE>(pictureHandle), &all);
            } else {
                const int saved = SaveDC(mem.get());
                pic->Render(mem.get(), 0, 0, pw, ph, 0, him.cy, him.cx, -him.cy, nullptr);
                RestoreDC(mem.get(), saved);
            }
            key = m_UseMask ? m_cMask : static_cast<int32_t>(GetPixel(mem.get(), 0, 0));
        } else {
            return;
        }
        gdi::Selection into(work.get(), picBitmap.get());
        const bool cut = ox > 0 || oy > 0 || R.right >= W || R.bottom >= H;
        if (m_PicSize == ePictureSizes::elpNormal && cut) {
            BitBlt(work.get(), 0, 0, w, h, mem.get(), ox, oy, SRCCOPY);
        } else {
            // The picture scaled to the full rectangle, of which only the visible part lands.
            SetStretchBltMode(work.get(), COLORONCOLOR);
            StretchBlt(work.get(), -ox, -oy, R.right - R.left, R.bottom - R.top, mem.get(), 0, 0, pw, ph, SRCCOPY);
        }
    }
    {
        gdi::Selection into(work.get(), backBitmap.get());
        BitBlt(work.get(), 0, 0, w, h, dc, V.left, V.top, SRCCOPY);
    }
    BITMAPINFO bi = Dib24(w, h);
    const size_t bytes = static_cast<size_t>(Stride24(w)) * static_cast<size_t>(h);
    std::vector<uint8_t> picBits(bytes), backBits(bytes);
    if (!GetDIBits(work.get(), picBitmap.get(), 0, h, picBits.data(), &bi, DIB_RGB_COLORS)) return;
    bi = Dib24(w, h);
    if (!GetDIBits(work.get(), backBitmap.get(), 0, h, backBits.data(), &bi, DIB_RGB_COLORS)) return;

    const float opacity = m_State == kStateDisabled ? 0.2f : m_PicOpacity;
    KeyAndBlendPicture(picBits.data(), backBits.data(), w, h, key, opacity,
                       [dc](int32_t c) { return static_cast<int32_t>(GetNearestColor(dc, static_cast<COLORREF>(c))); });
    bi = Dib24(w, h);
    SetDIBitsToDevice(dc, V.left, V.top, w, h, 0, 0, 0, h, picBits.data(), &bi, DIB_RGB_COLORS);
}

void LumioButton::pFillBack(int32_t colour) {
    gdi::OwnedObject<HBRUSH> brush(CreateSolidBrush(static_cast<COLORREF>(colour)));
    RECT rc{0, 0, m_Width, m_Height};
    FillRect(Hdc(), &rc, brush.get());
}

void LumioButton::pDrawRect(int32_t colour, int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    HDC dc = Hdc();
    gdi::OwnedObject<HPEN> pen(CreatePen(PS_SOLID, 1, static_cast<COLORREF>(colour)));
    gdi::Selection usePen(dc, pen.get());
    gdi::Selection hollow(dc, GetStockObject(NULL_BRUSH));
    Rectangle(dc, x1, y1, x2, y2);
}

void LumioButton::pDrawLine(int32_t colour, int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    // The end point is drawn too.
    if (x2 == x1) ++y2;
    if (y2 == y1) ++x2;
    HDC dc = Hdc();
    gdi::OwnedObject<HPEN> pen(CreatePen(PS_SOLID, 1, static_cast<COLORREF>(colour)));
    gdi::Selection usePen(dc, pen.get());
    MoveToEx(dc, x1, y1, nullptr);
    LineTo(dc, x2, y2);
}

void LumioButton::pSetColors() {
    m_cBack = static_cast<int32_t>(TranslateOleColor(m_BackColor));
    m_cPressedFace = pRGB(196, 229, 246);
    m_cFore = static_cast<int32_t>(TranslateOleColor(m_ForeColor));
    m_cDisabledFace = pBlendColor(m_cBack, 0xFFFFFF, 0.8f);
    m_cDisabledText = pBlendColor(m_cFore, 0xFFFFFF, 0.6f);
    m_cHotBandEnd = pRGB(217, 240, 252);
    m_cMask = static_cast<int32_t>(TranslateOleColor(m_MaskColor));
    m_cCheckedEnd = pRGB(242, 242, 242);
}

bool LumioButton::pIsNT() { return IsNtFamily(); }

}  // namespace lumio::buttons
