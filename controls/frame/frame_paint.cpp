#include <algorithm>
#include <optional>
#include <string>

#include "client_calls.h"
#include "frame_control.h"
#include "ole_colour_win.h"

namespace lumio {
namespace {

constexpr uint32_t kActiveCaption = 0x80000002, kGradientActiveCaption = 0x8000001B;
constexpr uint32_t kInactiveCaption = 0x80000003, kGradientInactiveCaption = 0x8000001C;

}  // namespace

HFONT clsFrameControl::CreateTitleFontCopy() const {
    LOGFONTA lf{};
    if (!titleFont_ || !GetObjectA(titleFont_.get(), sizeof lf, &lf)) return nullptr;
    return CreateFontIndirectA(&lf);
}

void clsFrameControl::PaintNonClient(bool bActive, bool bFull, const char*) {
    if (!hwnd_ || windowRect_.right < windowRect_.left || suppressStyle_ || Iconic() || !memDC_) return;
    drawnActive_ = bActive;
    bool active = bActive;
    if (keepActive_ > 2 && ((keepActive_ & 8) || ((keepActive_ & 4) && !(keepActive_ & 1)))) active = true;

    gdi::WholeWindowDC window(hwnd_);
    HDC dc = window.get();
    if (!dc) return;
    const int32_t width = geo_.windowWidth, height = geo_.windowHeight;
    const FrameBox in = geo_.InsideBorder();
    gdi::OwnedObject<HRGN> inside(CreateRectRgn(in.left, in.top, in.right, in.bottom));
    ClientCalls client = ClientOf(hwnd_);

    if (bFull) {
        gdi::OwnedObject<HRGN> ring(CreateRectRgn(0, 0, width, height));
        CombineRgn(ring.get(), ring.get(), inside.get(), RGN_DIFF);
        SelectClipRgn(dc, ring.get());
        VARIANT_BOOL modified = VARIANT_FALSE;
        if (client) client.UserDrawnBorder(reinterpret_cast<LONG_PTR>(dc), 0, 0, width, height, active, modified);
        SelectClipRgn(dc, nullptr);
        if (!modified) {
            gdi::OwnedObject<HRGN> outer(CreateRectRgn(0, 0, width, height));
            DrawClippedEdge(dc, outer.get(), inside.get());
        }
    }
    SelectClipRgn(dc, inside.get());

    if (bFull && geo_.menuStrip.bottom > 0 && c_MBar) {
        const FrameBox& m = geo_.menuStrip;
        c_MBar->DrawMenuBarBackground(memDC_.get(), dc, m.Width(), m.Height(), active);
        c_MBar->DrawMenuItems(memDC_.get(), dc, m, -1, 0);
    }

    if (geo_.hasTitle) {
        const FrameBox& t = geo_.title;
        const int32_t w = t.Width(), h = t.Height();
        bool recreated = false;
        HGDIOBJ before = EnsureCompatibleBitmap(dc, titleBmp_, w, h, memDC_.get(), recreated);
        if (before || titleBmp_) {
            HDC mem = memDC_.get();
            VARIANT_BOOL modified = VARIANT_FALSE;
            if (client) client.UserDrawnTitleBar(reinterpret_cast<LONG_PTR>(mem), w, h, active, modified);
            if (!modified) {
                DrawGradientLines(active ? kActiveCaption : kInactiveCaption,
                                  active ? kGradientActiveCaption : kGradientInactiveCaption, mem, 0, 0, w,
                                  geo_.Vertical() ? -h : h, dragMode_ == 2 ? 5 : 0);
            }
            char text[256] = {};
            const int len = GetWindowTextA(hwnd_, text, sizeof text);
            if (len > 0) {
                std::string caption(text, static_cast<size_t>(len));
                const bool centred = (geo_.captionFlags & kCaptionCentered) != 0;
                RECT r;
                UINT format;
                if (!geo_.Vertical()) {
                    r = {geo_.iconSpace + 3, 0, w - geo_.buttonSpace - 3, h};
                    format = DT_END_ELLIPSIS | DT_VCENTER | (centred ? DT_CENTER : 0);
                } else {
                    // Shortened to fit the strip's length, measured in an upright copy of the font.
                    RECT measure{0, 0, h - geo_.buttonSpace - geo_.iconSpace, 1};
                    if (gdi::OwnedObject<HFONT> copy(CreateTitleFontCopy()); copy) {
                        LOGFONTA lf{};
                        GetObjectA(copy.get(), sizeof lf, &lf);
                        lf.lfEscapement = lf.lfOrientation = 0;
                        gdi::OwnedObject<HFONT> upright(CreateFontIndirectA(&lf));
                        gdi::Selection sel(mem, upright.get());
                        std::string buffer = caption + std::string(4, '\0');
                        DrawTextA(mem, buffer.data(), static_cast<int>(caption.size()), &measure,
                                  DT_CALCRECT | DT_SINGLELINE | DT_END_ELLIPSIS | DT_MODIFYSTRING);
                        caption = buffer.c_str();
                    }
                    const int32_t mh = measure.bottom - measure.top, mw = measure.right - measure.left;
                    const int32_t x = (w - mh) / 2 - 1;
                    int32_t top = 0;
                    if (centred) top = std::max(0, (h - mw - geo_.buttonSpace - geo_.iconSpace) / 2);
                    r = {x, h - top - 3 - geo_.iconSpace, x + mh, h - top - 3 - geo_.iconSpace};
                    format = DT_NOCLIP;
                }
                SetTextColor(mem, TranslateSysColor(captionColour_[active ? 0 : 1]));
                SetBkMode(mem, TRANSPARENT);
                if (client) client.BeforeDrawCaption(reinterpret_cast<LONG_PTR>(mem), caption, r.left, r.top);
                gdi::Selection font(mem, titleFont_.get());
                if (!caption.empty())
                    DrawTextA(mem, caption.c_str(), static_cast<int>(caption.size()), &r, format | DT_SINGLELINE);
            }
            DrawTitleButtons(mem, -1, 0);
            BitBlt(dc, t.left, t.top, w, h, mem, 0, 0, SRCCOPY);
            if (before) SelectObject(mem, before);
        }
    }
    SelectClipRgn(dc, nullptr);
}

void clsFrameControl::DrawTitleButtons(HDC hDC, int index, int state) {
    if (!hwnd_) return;
    std::optional<gdi::WholeWindowDC> own;
    POINT origin{geo_.title.left, geo_.title.top};  // a memory DC holds the title strip only
    if (!hDC) {
        hDC = own.emplace(hwnd_).get();
        if (!hDC) return;
        SetBkMode(hDC, TRANSPARENT);
        origin = {0, 0};
    }
    ClientCalls client = ClientOf(hwnd_);
    const int first = index < 0 ? 1 : index, last = index < 0 ? 3 : index;
    for (int i = std::max(first, 1); i <= last && i <= 3 && i < static_cast<int>(geo_.buttons.size()); ++i) {
        const FrameButton& b = geo_.buttons[i];
        if (!b.shown || !b.standard) continue;
        UINT fcs;
        switch (state) {
        case 1: fcs = DFCS_HOT; break;
        case 2: fcs = DFCS_HOT | DFCS_PUSHED; break;
        case 3: fcs = DFCS_INACTIVE; break;
        default: fcs = IsButtonEnabled(StandardButtonBit(i)) ? 0 : DFCS_INACTIVE; break;
        }
        UINT glyph = i == 1 ? DFCS_CAPTIONCLOSE : i == 2 ? (Zoomed() ? DFCS_CAPTIONRESTORE : DFCS_CAPTIONMAX)
                                                        : DFCS_CAPTIONMIN;
        RECT r{b.rect.left - origin.x, b.rect.top - origin.y, b.rect.right - origin.x, b.rect.bottom - origin.y};
        VARIANT_BOOL modified = VARIANT_FALSE;
        if (client) {
            gdi::OwnedObject<HRGN> clip(CreateRectRgnIndirect(&r));
            SelectClipRgn(hDC, clip.get());
            const SHORT shown = fcs == DFCS_INACTIVE ? 3 : b.state;
            client.UserDrawnButton(std::to_string(i), shown, reinterpret_cast<LONG_PTR>(hDC), r.left, r.top,
                                   r.right - r.left, r.bottom - r.top, drawnActive_, modified);
            SelectClipRgn(hDC, nullptr);
        }
        if (!modified) DrawFrameControl(hDC, &r, DFC_CAPTION, glyph | fcs);
    }
    if ((index == -1 || index == 0) && geo_.buttons[0].shown) {
        const FrameBox& ir = geo_.buttons[0].rect;
        const int32_t w = ir.Width();
        const int x = ir.left - origin.x + 1, y = ir.top - origin.y + 1;
        if (w <= 1) return;
        if (w <= 23) {
            if (smallIcon_) DrawIconEx(hDC, x, y, smallIcon_, 16, 16, 0, nullptr, DI_NORMAL);
            return;
        }
        HICON big = reinterpret_cast<HICON>(SendMessageA(hwnd_, WM_GETICON, ICON_BIG, 0));
        if (!big) return;
        if (w >= 32) {
            DrawIconEx(hDC, x, y, big, 32, 32, 0, nullptr, DI_NORMAL);
            return;
        }
        gdi::OwnedIcon copy(static_cast<HICON>(CopyImage(big, IMAGE_ICON, 24, 24, LR_COPYFROMRESOURCE)));
        DrawIconEx(hDC, x, y, copy ? copy.get() : big, 24, 24, 0, nullptr, DI_NORMAL);
    }
}

}  // namespace lumio
