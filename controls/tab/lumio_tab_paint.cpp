// LumioTab's drawing: Refresh, the body, the line and fill primitives, the
// picture drawers and the cache the painters read.
#include <olectl.h>

#include <algorithm>

#include "error_source.h"
#include "gdi_scope.h"
#include "lumio_tab.h"
#include "ole_colour_win.h"
#include "run_time_error.h"

namespace lumio::tab {

namespace ev = tlb::dispid::LumioTabEvents;

namespace {

// Busy for one drawing pass, whatever ends it.
class BusyFlag {
public:
    explicit BusyFlag(bool& flag) : flag_(flag) { flag_ = true; }
    ~BusyFlag() { flag_ = false; }
    BusyFlag(const BusyFlag&) = delete;
    BusyFlag& operator=(const BusyFlag&) = delete;

private:
    bool& flag_;
};

}  // namespace

// At design time, whatever ends the pass, the window shows what it drew.
class LumioTab::DesignImage {
public:
    DesignImage(LumioTab& tab, bool designTime) : tab_(tab), designTime_(designTime) {}
    ~DesignImage() {
        if (designTime_) tab_.pShowDesignImage();
    }
    DesignImage(const DesignImage&) = delete;
    DesignImage& operator=(const DesignImage&) = delete;

private:
    LumioTab& tab_;
    bool designTime_;
};

bool LumioTab::pIsUserMode() {
    try {
        return Ambient().UserMode();
    } catch (...) {
        return false;
    }
}

void LumioTab::Refresh() {
    WithErrorSource(L"LumioTab.Refresh", [&] {
        if (m_Busy) return;
        BusyFlag busy(m_Busy);
        SetAutoRedraw(true);
        bool userMode = pIsUserMode();
        DesignImage shown(*this, !userMode);
        if (!m_FirstRefreshDone) {
            m_FirstRefreshDone = true;
            if (userMode) RaiseEvent(ev::AfterCompleteInit);
        }
        ++m_DrawPasses;
        pDrawMe();
    });
}

// At design time the window keeps no image: what the pass drew goes to the
// window now, and the invalidations its clearing made are taken back, since
// they would only bring another paint and with it another pass.
void LumioTab::pShowDesignImage() noexcept {
    HWND window = hWnd();
    if (window && AutoRedraw()) {
        RECT rc{};
        GetClientRect(window, &rc);
        HDC image = Hdc();
        HDC own = GetDC(window);  // the window's own DC: nothing to release
        BitBlt(own, 0, 0, rc.right, rc.bottom, image, 0, 0, SRCCOPY);
        ValidateRect(window, nullptr);
    }
    SetAutoRedraw(false);
}

void LumioTab::OnShow() {
    WithErrorSource(L"LumioTab.UserControl_Show", [&] { Refresh(); });
}

void LumioTab::OnPaint() {
    WithErrorSource(L"LumioTab.UserControl_Paint", [&] { Refresh(); });
}

void LumioTab::MethodCls() {
    WithErrorSource(L"LumioTab.Cls", [&] { Cls(); });
}

void LumioTab::pDrawMe() {
    WithErrorSource(L"LumioTab.pDrawMe", [&] {
        Cls();
        DrawBackground();
        DrawTabs();
    });
}

void LumioTab::pGetCachedProperties() {
    WithErrorSource(L"LumioTab.pGetCachedProperties", [&] {
        Cache& c = m_Cache;
        c.hWnd = hWnd();
        c.hDC = Hdc();
        c.activeTab = model_.ActiveTab();
        c.activeTabHeight = m_ActiveTabHeight;
        c.inActiveTabHeight = m_InActiveTabHeight;
        c.scaleWidth = ScaleWidth();
        c.scaleHeight = ScaleHeight();
        c.tabCount = model_.TabCount();
        c.isFocused = m_IsFocused;
        c.outerBorder = m_OuterBorderColor;
        c.activeFore = m_ActiveTabForeColor;
        c.activeBackStart = m_ActiveTabBackStartColor;
        c.activeBackEnd = m_ActiveTabBackEndColor;
        c.inActiveFore = m_InActiveTabForeColor;
        c.inActiveBackStart = m_InActiveTabBackStartColor;
        c.inActiveBackEnd = m_InActiveTabBackEndColor;
        c.hover = m_HoverColor;
        c.disabledBack = m_DisabledTabBackColor;
        c.disabledFore = m_DisabledTabForeColor;
        c.pictureSize = GetSystemMetrics(m_PictureSize == PictureSize::xSizeLarge ? SM_CXICON : SM_CXSMICON);
    });
}

// The surface colours a pass sets for its own painting are no changes of the
// control's properties: the host hears of none (a designer redraws a control
// on each notice, and each redraw would be a pass).
void LumioTab::SetPassBack(OLE_COLOR c) {
    SetSurfaceBack(c);
    Refresh();
}

void LumioTab::SetPassFore(OLE_COLOR c) {
    m_SurfaceFore = c;
    SetSurfaceColors(m_SurfaceBack, m_SurfaceFore);
    Refresh();
}

void LumioTab::DrawBackground() {
    WithErrorSource(L"LumioTab.DrawBackground", [&] {
        pGetCachedProperties();
        if (m_TabStyle == Style::xStyleTabbedDialog) DrawBackgroundTabbedDialog();
        else if (m_TabStyle == Style::xStylePropertyPages) DrawBackgroundPropertyPages();
    });
}

void LumioTab::DrawBackgroundPropertyPages() {
    WithErrorSource(L"LumioTab.DrawBackgroundPropertyPages", [&] { DrawBackgroundTabbedDialog(); });
}

void LumioTab::DrawBackgroundTabbedDialog() {
    WithErrorSource(L"LumioTab.DrawBackgroundTabbedDialog", [&] {
        const Cache& c = m_Cache;
        int32_t strip = std::max(c.activeTabHeight, c.inActiveTabHeight);
        Cls();
        int32_t active = c.activeTab;
        bool live = WindowEnabled() && model_.TabEnabled(active);
        SetPassBack(live ? m_ActiveTabBackEndColor : m_DisabledTabBackColor);
        APILine(0, strip, 0, c.scaleHeight - 1, c.outerBorder);
        APILine(c.scaleWidth - 1, strip, c.scaleWidth - 1, c.scaleHeight - 1, c.outerBorder);
        APILine(0, c.scaleHeight - 1, c.scaleWidth, c.scaleHeight - 1, c.outerBorder);
    });
}

void LumioTab::DrawTabs() {
    WithErrorSource(L"LumioTab.DrawTabs", [&] {
        pGetCachedProperties();
        if (m_TabStyle == Style::xStyleTabbedDialog) DrawTabsTabbedDialog();
        else if (m_TabStyle == Style::xStylePropertyPages) DrawTabsPropertyPages();
        if (m_UseControlBox) DrawControlBox(0, -1);
    });
}

long LumioTab::GetRGBFromOLE(long oleColor) { return static_cast<long>(TranslateOleColor(static_cast<OLE_COLOR>(oleColor))); }

void LumioTab::APILine(int32_t x1, int32_t y1, int32_t x2, int32_t y2, OLE_COLOR colour) {
    WithErrorSource(L"LumioTab.APILine", [&] {
        HDC dc = Hdc();
        gdi::OwnedObject<HPEN> pen(CreatePen(PS_SOLID, 1, TranslateOleColor(colour)));
        gdi::Selection keep(dc, pen.get());
        MoveToEx(dc, x1, y1, nullptr);
        LineTo(dc, x2, y2);
    });
}

void LumioTab::APIRectangle(int32_t x, int32_t y, int32_t width, int32_t height, OLE_COLOR colour) {
    WithErrorSource(L"LumioTab.APIRectangle", [&] {
        HDC dc = Hdc();
        gdi::OwnedObject<HPEN> pen(CreatePen(PS_SOLID, 1, TranslateOleColor(colour)));
        gdi::Selection keep(dc, pen.get());
        MoveToEx(dc, x, y, nullptr);
        LineTo(dc, x + width, y);
        LineTo(dc, x + width, y + height);
        LineTo(dc, x, y + height);
        LineTo(dc, x, y);
    });
}

void LumioTab::APIFillRectByCoords(int32_t x, int32_t y, int32_t width, int32_t height, OLE_COLOR colour) {
    WithErrorSource(L"LumioTab.APIFillRectByCoords", [&] {
        gdi::OwnedObject<HBRUSH> brush(CreateSolidBrush(TranslateOleColor(colour)));
        RECT rc{x, y, x + width, y + height};
        ::FillRect(Hdc(), &rc, brush.get());
    });
}

void LumioTab::pFillCurvedGradientR(const FillRect& rect, OLE_COLOR start, OLE_COLOR end, int16_t radius,
                                    bool cutLeft, bool cutRight) {
    WithErrorSource(L"LumioTab.pFillCurvedGradientR", [&] {
        int32_t clip = std::max(ScaleHeight() - 1, 0);
        for (const FillRow& row : CurvedGradientRows(rect, static_cast<int32_t>(TranslateOleColor(start)),
                                                     static_cast<int32_t>(TranslateOleColor(end)), radius, cutLeft, cutRight, clip))
            APILine(row.x1, row.y, row.x2, row.y, static_cast<OLE_COLOR>(row.colour));
    });
}

void LumioTab::pFillCurvedGradient(int32_t l, int32_t t, int32_t r, int32_t b, OLE_COLOR start, OLE_COLOR end,
                                   int16_t radius, bool cutLeft, bool cutRight) {
    pFillCurvedGradientR(FillRect{l, t, r, b}, start, end, radius, cutLeft, cutRight);
}

void LumioTab::pFillCurvedSolidR(const FillRect& rect, OLE_COLOR colour, int16_t radius, bool cutLeft, bool cutRight) {
    WithErrorSource(L"LumioTab.pFillCurvedSolidR", [&] {
        int32_t clip = std::max(ScaleHeight() - 1, 0);
        for (const FillRow& row :
             CurvedSolidRows(rect, static_cast<int32_t>(TranslateOleColor(colour)), radius, cutLeft, cutRight, clip))
            APILine(row.x1, row.y, row.x2, row.y, static_cast<OLE_COLOR>(row.colour));
    });
}

void LumioTab::pFillCurvedSolid(int32_t l, int32_t t, int32_t r, int32_t b, OLE_COLOR colour, int16_t radius,
                                bool cutLeft, bool cutRight) {
    pFillCurvedSolidR(FillRect{l, t, r, b}, colour, radius, cutLeft, cutRight);
}

void LumioTab::pPaintPicture(IPictureDisp* picture, int16_t x, int16_t y, int16_t width, int16_t height) {
    WithErrorSource(L"LumioTab.pPaintPicture", [&] {
        ComPtr<IPicture> pic = ComPtr<IPictureDisp>(picture).As<IPicture>();
        if (!pic) Raise(kErrInvalidProcedureCall);
        OLE_XSIZE_HIMETRIC hmW = 0;
        OLE_YSIZE_HIMETRIC hmH = 0;
        pic->get_Width(&hmW);
        pic->get_Height(&hmH);
        HDC dc = Hdc();
        // The picture's own size in pixels unless a size is given.
        int dpiX = GetDeviceCaps(dc, LOGPIXELSX), dpiY = GetDeviceCaps(dc, LOGPIXELSY);
        long w = width != -1 ? width : MulDiv(hmW, dpiX, 2540);
        long h = height != -1 ? height : MulDiv(hmH, dpiY, 2540);
        if (FAILED(pic->Render(dc, x, y, w, h, 0, hmH, hmW, -hmH, nullptr))) Raise(kErrInvalidProcedureCall);
    });
}

void LumioTab::DrawImage(long destDC, long bitmap, long transColor, short left, short top, short width, short height) {
    WithErrorSource(L"LumioTab.DrawImage", [&] {
        HDC dest = reinterpret_cast<HDC>(static_cast<LONG_PTR>(destDC));
        HBITMAP bmp = reinterpret_cast<HBITMAP>(static_cast<LONG_PTR>(bitmap));
        gdi::OwnedDC mem(CreateCompatibleDC(dest));
        gdi::Selection keep(mem.get(), bmp);
        BITMAP info{};
        GetObjectA(bmp, sizeof info, &info);
        TransparentBlt(dest, left, top, width, height, mem.get(), 0, 0, info.bmWidth, info.bmHeight,
                       static_cast<UINT>(transColor));
    });
}

}  // namespace lumio::tab
