// LumioTab's two tab styles: equal cells (tabbed dialog) and caption-sized
// tabs (property pages), their focus rectangles and the close boxes.
#include <olectl.h>

#include <string>
#include <vector>

#include "error_source.h"
#include "gdi_scope.h"
#include "lumio_tab.h"
#include "ole_colour_win.h"
#include "shade_color.h"
#include "tab_layout.h"

namespace lumio::tab {

namespace {

constexpr UINT kMeasure = DT_CALCRECT | DT_SINGLELINE | DT_END_ELLIPSIS;  // 0x8420
constexpr UINT kTabbedCaption = DT_CENTER | DT_SINGLELINE;                 // 0x21
constexpr UINT kPageCaption = DT_CENTER | DT_VCENTER | DT_SINGLELINE;      // 0x25
constexpr OLE_COLOR kWhite = 0xFFFFFF;

// Captions go through the ANSI text functions in the system's code page.
std::string Ansi(const std::wstring& s) {
    if (s.empty()) return {};
    int n = WideCharToMultiByte(CP_ACP, 0, s.data(), static_cast<int>(s.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_ACP, 0, s.data(), static_cast<int>(s.size()), out.data(), n, nullptr, nullptr);
    return out;
}

RECT Win(const FillRect& r) { return RECT{r.left, r.top, r.right, r.bottom}; }
FillRect Ours(const RECT& r) { return FillRect{r.left, r.top, r.right, r.bottom}; }

}  // namespace

bool LumioTab::TabLive(int32_t i) const { return WindowEnabled() && model_.TabEnabled(i); }

void LumioTab::SetCaptionLook(bool active, bool live) {
    putref_Font(active ? m_ActiveTabFont : m_InActiveTabFont);
    OLE_COLOR normal = active ? m_Cache.activeFore : m_Cache.inActiveFore;
    SetPassFore(live ? normal : m_Cache.disabledFore);
}

void LumioTab::pDrawTabPicture(IPictureDisp* picture, int32_t x, int32_t y, int32_t size) {
    short type = PICTYPE_UNINITIALIZED;
    ComPtr<IPicture> pic = ComPtr<IPictureDisp>(picture).As<IPicture>();
    if (pic) pic->get_Type(&type);
    if (m_UseMaskColor && type == PICTYPE_BITMAP) {
        OLE_HANDLE handle = 0;
        pic->get_Handle(&handle);
        DrawImage(static_cast<long>(reinterpret_cast<LONG_PTR>(Hdc())), static_cast<long>(handle),
                  GetRGBFromOLE(static_cast<long>(m_SurfaceMask)), static_cast<short>(x), static_cast<short>(y),
                  static_cast<short>(size), static_cast<short>(size));
    } else {
        pPaintPicture(picture, static_cast<int16_t>(x), static_cast<int16_t>(y), static_cast<int16_t>(size),
                      static_cast<int16_t>(size));
    }
}

void LumioTab::pGlassFill(const FillRect& tab) {
    GlassParts parts = GlassFill(tab);
    int32_t start = static_cast<int32_t>(TranslateOleColor(m_Cache.inActiveBackStart));
    int32_t end = static_cast<int32_t>(TranslateOleColor(m_Cache.inActiveBackEnd));
    pFillCurvedGradientR(parts.upper, static_cast<OLE_COLOR>(pShadeColor(start, 100)), static_cast<OLE_COLOR>(start),
                         -1, false, false);
    pFillCurvedGradientR(parts.lower, static_cast<OLE_COLOR>(pShadeColor(end, 70)), static_cast<OLE_COLOR>(end), -1,
                         false, false);
}

bool LumioTab::FocusShown(int32_t i) {
    return i == m_Cache.activeTab && m_ShowFocusRect && m_Cache.isFocused && pIsUserMode();
}

void LumioTab::DrawTabsTabbedDialog() {
    WithErrorSource(L"LumioTab.DrawTabsTabbedDialog", [&] {
        const Cache& c = m_Cache;
        int32_t strip = StripHeight(c.activeTabHeight, c.inActiveTabHeight);
        std::vector<TabPlace> places =
            TabbedDialogLayout(c.scaleWidth, c.tabCount, c.activeTab, c.activeTabHeight, c.inActiveTabHeight);
        for (int32_t i = 0; i < static_cast<int32_t>(places.size()); ++i) {
            int32_t at = i;
            TabRecord r = model_.AryTabs(at);
            r.tabRect = places[i].tab;
            r.boxRect = places[i].box;
            model_.SetAryTabs(i, r);
        }
        APIFillRectByCoords(0, 0, c.scaleWidth, strip, m_TabStripBackColor);
        HDC dc = Hdc();
        for (int32_t i = 0; i < c.tabCount; ++i) {
            int32_t at = i;
            const TabRecord r = model_.AryTabs(at);
            const auto [L, T, R, B] = r.tabRect;
            bool active = i == c.activeTab, live = TabLive(i);
            if (active) {
                OLE_COLOR start = live ? c.activeBackStart : c.disabledBack;
                OLE_COLOR end = live ? c.activeBackEnd : c.disabledBack;
                pFillCurvedGradientR(r.tabRect, start, end, -1, false, false);
                APILine(L, T, R, T, c.outerBorder);
                APILine(R, T, R, B + 1, c.outerBorder);
                APILine(L, T, L, B + 1, c.outerBorder);
            } else {
                if (live) pGlassFill(r.tabRect);
                else pFillCurvedGradientR(r.tabRect, c.disabledBack, c.disabledBack, -1, false, false);
                APILine(L, T, R, T, c.outerBorder);
                APILine(L + 1, T + 1, R - 1, T + 1, kWhite);
                APILine(R, T, R, B, c.outerBorder);
                APILine(R - 1, T + 1, R - 1, B, kWhite);
                APILine(L, B, R + 1, B, c.outerBorder);
                APILine(L, T, L, B + 1, c.outerBorder);
                APILine(L + 1, T + 1, L + 1, B, kWhite);
            }
            SetCaptionLook(active, live);
            IPictureDisp* picture = m_Pictures[i].get();
            int32_t align = static_cast<int32_t>(m_PictureAlign);
            bool drawPicture = picture && align >= 0 && align <= 3;
            if (drawPicture && align <= 1) {
                PicturePlace p = TabbedEdgePicture(r.tabRect, c.pictureSize, align, active);
                pDrawTabPicture(picture, p.x, p.y, p.size);
            }
            std::string text = Ansi(r.caption);
            RECT box{L + 3, T + 3, R - 2, B};
            dc = Hdc();
            DrawTextA(dc, text.c_str(), -1, &box, kMeasure);
            box = Win(CentredCaptionBox(Ours(box), R, B));
            if (drawPicture && align >= 2) {
                PicturePlace p = TabbedCaptionPicture(r.tabRect, c.pictureSize, align, Ours(box));
                pDrawTabPicture(picture, p.x, p.y, p.size);
            }
            dc = Hdc();
            DrawTextA(dc, text.c_str(), -1, &box, kTabbedCaption);
            if (FocusShown(i)) DrawFocusRect(dc, &box);
        }
        APILine(0, strip + 1, 0, strip + 4, c.outerBorder);
        APILine(c.scaleWidth - 1, strip + 1, c.scaleWidth - 1, strip + 4, c.outerBorder);
    });
}

void LumioTab::DrawTabsPropertyPages() {
    WithErrorSource(L"LumioTab.DrawTabsPropertyPages", [&] {
        const Cache& c = m_Cache;
        int32_t strip = StripHeight(c.activeTabHeight, c.inActiveTabHeight);
        int32_t ps = PropertyPagePictureSize(c.pictureSize, strip);
        putref_Font(m_InActiveTabFont);
        std::vector<int32_t> widths;
        for (int32_t i = 0; i < c.tabCount; ++i) {
            int32_t at = i;
            const TabRecord r = model_.AryTabs(at);
            float text = static_cast<float>(TextWidth(MeasuredCaption(r.caption)));
            widths.push_back(PropertyPageWidth(text, m_Pictures[i] != nullptr, ps));
        }
        std::vector<TabPlace> places =
            PropertyPagesLayout(widths, c.activeTab, m_UseControlBox, c.activeTabHeight, c.inActiveTabHeight);
        for (int32_t i = 0; i < static_cast<int32_t>(places.size()); ++i) {
            int32_t at = i;
            TabRecord r = model_.AryTabs(at);
            r.tabRect = places[i].tab;
            r.boxRect = places[i].box;
            model_.SetAryTabs(i, r);
        }
        APIFillRectByCoords(0, 0, c.scaleWidth, strip, m_TabStripBackColor);
        const OLE_COLOR o = c.outerBorder;
        bool taller = c.inActiveTabHeight > c.activeTabHeight;
        FillRect last{};
        for (int32_t i = 0; i < c.tabCount; ++i) {
            int32_t at = i;
            const TabRecord r = model_.AryTabs(at);
            const auto [L, T, R, B] = r.tabRect;
            last = r.tabRect;
            bool active = i == c.activeTab, live = TabLive(i);
            if (active) {
                OLE_COLOR start = live ? c.activeBackStart : c.disabledBack;
                OLE_COLOR end = live ? c.activeBackEnd : c.disabledBack;
                pFillCurvedGradientR(r.tabRect, start, end, -1, false, false);
                APILine(L, T, R, T, o);
                APILine(R - 1, T, R - 1, B + 1, o);
                APILine(L, T, L, B + 1, o);
            } else {
                if (live) pGlassFill(r.tabRect);
                else pFillCurvedGradientR(r.tabRect, c.disabledBack, c.disabledBack, -1, false, false);
                if (i == c.activeTab - 1) {
                    if (taller) APILine(R - 1, T, R - 1, B + 1, o);
                    APILine(L, T, R, T, o);
                    APILine(L + 1, T + 1, R - 1, T + 1, kWhite);
                    APILine(L, B, R + 1, B, o);
                    APILine(L, T, L, B + 1, o);
                    APILine(L + 1, T + 1, L + 1, B, kWhite);
                } else if (i == c.activeTab + 1) {
                    if (taller) APILine(L, T, L, B + 1, o);
                    APILine(L, T, R, T, o);
                    APILine(L + 1, T + 1, R - 1, T + 1, kWhite);
                    APILine(R, T, R, B, o);
                    APILine(R - 1, T + 1, R - 1, B - 1, kWhite);
                    APILine(L, B, R + 1, B, o);
                } else {
                    APILine(L, T, R, T, o);
                    APILine(L + 1, T + 1, R - 1, T + 1, kWhite);
                    APILine(R, T, R, B, o);
                    APILine(R - 1, T + 1, R - 1, B - 1, kWhite);
                    APILine(L, B, R + 1, B, o);
                    APILine(L, T, L, B + 1, o);
                    APILine(L + 1, T + 1, L + 1, B, kWhite);
                }
            }
            SetCaptionLook(active, live);
            if (i == 0) APILine(L - 2, B, L, B, o);
            int32_t shift = m_UseControlBox ? 2 : 0;
            RECT box{L + 2 - shift, T + 4, R - 2 - shift, B};
            std::string text = Ansi(r.caption);
            IPictureDisp* picture = m_Pictures[i].get();
            int32_t align = static_cast<int32_t>(m_PictureAlign);
            if (!picture) {
                DrawTextA(Hdc(), text.c_str(), -1, &box, kPageCaption);
            } else if (align >= 0 && align <= 3) {
                int32_t y = PropertyPagePictureTop(Ours(box), ps);
                RECT captionBox = box;
                if (align == 0 || align == 2) {
                    pDrawTabPicture(picture, box.left + 2, y, ps);
                    captionBox.left = box.left + ps - 1;
                } else {
                    pDrawTabPicture(picture, box.right - ps - 2, y, ps);
                    captionBox.right = box.right - ps - 5;
                }
                DrawTextA(Hdc(), text.c_str(), -1, &captionBox, kPageCaption);
            }
            if (FocusShown(i)) {
                RECT focus{L + 2, T + 4, R - 2, B};
                DrawFocusRect(Hdc(), &focus);
            }
        }
        APILine(last.right, last.bottom, c.scaleWidth, last.bottom, o);
    });
}

void LumioTab::ShowHideFocus() {
    WithErrorSource(L"LumioTab.ShowHideFocus", [&] {
        pGetCachedProperties();
        if (m_TabStyle == Style::xStyleTabbedDialog) ShowHideFocusTabbedDialog();
        else if (m_TabStyle == Style::xStylePropertyPages) ShowHideFocusPropertyPages();
    });
}

void LumioTab::SetFocusColour() {
    SetPassFore(TabLive(m_Cache.activeTab) ? m_Cache.activeFore : m_Cache.disabledFore);
}

void LumioTab::ShowHideFocusTabbedDialog() {
    WithErrorSource(L"LumioTab.ShowHideFocusTabbedDialog", [&] {
        if (!pIsUserMode() || !m_ShowFocusRect || !model_.ValidIndex(m_Cache.activeTab)) return;
        int32_t at = m_Cache.activeTab;
        const TabRecord r = model_.AryTabs(at);
        putref_Font(m_ActiveTabFont);
        SetFocusColour();
        std::string text = Ansi(r.caption);
        RECT box{r.tabRect.left + 3, r.tabRect.top + 3, r.tabRect.right - 2, r.tabRect.bottom};
        HDC dc = Hdc();
        DrawTextA(dc, text.c_str(), -1, &box, kMeasure);
        box = Win(CentredCaptionBox(Ours(box), r.tabRect.right, r.tabRect.bottom));
        DrawFocusRect(dc, &box);
    });
}

void LumioTab::ShowHideFocusPropertyPages() {
    WithErrorSource(L"LumioTab.ShowHideFocusPropertyPages", [&] {
        if (!pIsUserMode() || !m_ShowFocusRect || !model_.ValidIndex(m_Cache.activeTab)) return;
        int32_t at = m_Cache.activeTab;
        const TabRecord r = model_.AryTabs(at);
        SetFocusColour();
        RECT box{r.tabRect.left + 2, r.tabRect.top + 4, r.tabRect.right - 2, r.tabRect.bottom};
        DrawFocusRect(Hdc(), &box);
    });
}

void LumioTab::DrawControlBox(int32_t state, int32_t index) {
    WithErrorSource(L"LumioTab.DrawControlBox", [&] {
        auto draw = [&](int32_t i, int32_t boxState) {
            int32_t at = i;
            const TabRecord r = model_.AryTabs(at);
            bool active = at == model_.ActiveTab();
            int32_t start = static_cast<int32_t>(TranslateOleColor(active ? m_ActiveTabBackStartColor : m_InActiveTabBackStartColor));
            int32_t end = static_cast<int32_t>(TranslateOleColor(active ? m_ActiveTabBackEndColor : m_InActiveTabBackEndColor));
            BoxColours colours = ControlBoxColours(boxState, start, end);
            const auto [l, t, rr, b] = r.boxRect;
            {
                HDC dc = Hdc();
                gdi::OwnedObject<HPEN> pen(CreatePen(PS_SOLID, 1, TranslateOleColor(m_SurfaceFore)));
                gdi::Selection keepPen(dc, pen.get());
                gdi::Selection keepBrush(dc, GetStockObject(NULL_BRUSH));
                RoundRect(dc, l, t, rr, b, 2, 2);
            }
            pFillCurvedGradient(l + 1, t + 1, rr - 1, b - 2, static_cast<OLE_COLOR>(colours.start),
                                static_cast<OLE_COLOR>(colours.end), -1, false, false);
            OLE_COLOR cross = static_cast<OLE_COLOR>(ControlBoxCross(static_cast<int32_t>(TranslateOleColor(m_OuterBorderColor))));
            APILine(l + 3, b - 4, rr - 3, t + 2, cross);
            APILine(l + 3, t + 3, rr - 3, b - 3, cross);
        };
        if (index == -1) {
            SetPassFore(m_OuterBorderColor);
            for (int32_t i = 0; i < model_.TabCount(); ++i) draw(i, TabLive(i) ? 0 : 2);
        } else {
            draw(index, state);
        }
    });
}

}  // namespace lumio::tab
