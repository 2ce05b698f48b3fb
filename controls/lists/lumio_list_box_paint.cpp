// LumioListBox's geometry and painting: whole rows, the round region, rows
// with icons, the focus outline and the design-time name.
#include "lumio_list_box.h"

#include "basic_arith.h"
#include "gdi_scope.h"
#include "shade_color.h"
#include "simple_dispatch.h"

namespace lumio::lists {

namespace {
constexpr COLORREF kBorderColour = RGB(165, 172, 178);
constexpr UINT kRowTextFormat = DT_SINGLELINE | DT_VCENTER;

// A member of a late-bound object as a number; false when it cannot be read.
bool NumberOf(IDispatch* obj, const wchar_t* name, double& out) {
    Variant v;
    if (!obj || FAILED(GetProperty(obj, name, v))) return false;
    VARIANT d;
    VariantInit(&d);
    if (FAILED(VariantChangeType(&d, v.get(), 0, VT_R8))) return false;
    out = d.dblVal;
    return true;
}

HRESULT CallByName(IDispatch* obj, const wchar_t* name, WORD flags, std::vector<Variant>& args, Variant* result) {
    DISPID id = DISPID_UNKNOWN;
    LPOLESTR n = const_cast<LPOLESTR>(name);
    HRESULT hr = obj->GetIDsOfNames(IID_NULL, &n, 1, LOCALE_USER_DEFAULT, &id);
    if (FAILED(hr)) return hr;
    std::vector<VARIANT> reversed;
    for (auto it = args.rbegin(); it != args.rend(); ++it) reversed.push_back(*it->get());
    DISPPARAMS params{reversed.data(), nullptr, static_cast<UINT>(reversed.size()), 0};
    return obj->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, result ? result->put() : nullptr, nullptr,
                       nullptr);
}
}  // namespace

void LumioListBox::OnResize() { pResize(); }

// Every step goes on whatever the one before it did.
void LumioListBox::pResize() {
    if (m_InResize || !hWnd()) return;
    m_InResize = true;
    const int32_t b = model_.Border();
    const ListProperties& p = model_.Props();
    const int32_t rowHeight = RowHeightFor(p.itemHeightAuto, p.itemHeight, TextHeight(L""));
    const int32_t rows = VisibleRowsFor(ScaleHeight(), rowHeight);
    const int32_t wanted = InnerHeightFor(rows, rowHeight, b);
    if (wanted != ScaleHeight()) ResizeSelf(ScaleWidth(), wanted);
    m_Resizing = true;
    const int32_t w = ScaleWidth(), h = ScaleHeight();
    if (bar_) {
        bar_->Move(RECT{w - kBarWidth - b, b, w - b, h - b});
        bar_->SetVisible(false);
    }
    model_.SetGeometry(rowHeight, rows, w);
    SetWindowRgn(hWnd(), CreateRoundRectRgn(0, 0, w + 1, h + 1, 2, 2), TRUE);
    m_Resizing = false;
    m_InResize = false;
}

void LumioListBox::OnPaint() { pPaint(); }
void LumioListBox::Repaint() { pPaint(); }

bool LumioListBox::Shown() { return hWnd() && IsWindowVisible(hWnd()); }

void LumioListBox::pPaint() {
    if (!hWnd()) return;
    Cls();
    HDC dc = Hdc();
    const int32_t w = ScaleWidth(), h = ScaleHeight();
    const int32_t border = model_.Props().borderStyle;
    const ListProperties& p = model_.Props();
    if (!Ambient().UserMode()) {
        const std::wstring name = Ambient().DisplayName();
        const int32_t y = 2 * border + p.itemOffset;
        int32_t x = 2 * border + p.itemTextLeft + p.itemOffset;
        if (m_Alignment == AlignmentCts::AlignCenter)
            x = RoundToLong((w - 4 * border - TextWidth(name)) * 0.5);
        else if (m_Alignment == AlignmentCts::AlignRight)
            x = w - 4 * border - TextWidth(name) - p.itemOffset;
        SetTextColor(dc, m_FontNormalRGB);
        TextOutW(dc, x, y, name.c_str(), static_cast<int>(name.size()));
    } else if (!m_Resizing) {
        model_.DrawAllItems();
    }
    if (border != 0) {
        gdi::OwnedObject<HPEN> pen(CreatePen(PS_SOLID, 1, kBorderColour));
        HGDIOBJ oldPen = SelectObject(dc, pen.get());
        HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
        Rectangle(dc, 0, 0, w, h);
        SelectObject(dc, oldBrush);
        SelectObject(dc, oldPen);
    }
}

void LumioListBox::DrawItem(int32_t index) {
    const int32_t row = model_.RowOf(index);
    if (row < 0 || !hWnd()) return;
    HDC dc = Hdc();
    const bool selected = model_.Store().Selected(index);
    const ListRect& r = model_.Rects().rows[static_cast<size_t>(row)];
    RECT rowRect{r.left, r.top, r.right, r.bottom};
    gdi::OwnedObject<HBRUSH> brush(CreateSolidBrush(selected ? m_BackSelectedRGB : m_BackNormalRGB));
    FillRect(dc, &rowRect, brush.get());
    SetTextColor(dc, selected ? m_FontSelectedRGB : m_FontNormalRGB);
    const ListRect& t = model_.Rects().texts[static_cast<size_t>(row)];
    RECT text{t.left, t.top, t.right, t.bottom};
    if (m_ImageList) pDrawIcon(dc, index, selected, r.top, text);
    const std::u16string& s = model_.Store().Item(index).text;
    DrawTextW(dc, reinterpret_cast<const wchar_t*>(s.c_str()), static_cast<int>(s.size()), &text, kRowTextFormat);
}

// Whatever the image list refuses draws no icon.
void LumioListBox::pDrawIcon(HDC dc, int32_t index, bool selected, int32_t rowTop, RECT& text) {
    const int32_t b = model_.Border();
    double imageHeight = 0, imageWidth = 0;
    try {
        if (NumberOf(m_ImageList.get(), L"ImageHeight", imageHeight)) {
            const ScaleUnit unit = static_cast<ScaleUnit>(m_ImageScaleMode);
            const double x = ScaleX(model_.Props().itemOffset + 2 + 2 * b, ScaleUnit::Pixels, unit);
            const double y = ScaleY(rowTop + (model_.RowHeight() - imageHeight) * 0.5, ScaleUnit::Pixels, unit);
            const ListItem& item = model_.Store().Item(index);
            std::vector<Variant> at{Variant::Int(selected ? item.iconSelected : item.icon)};
            Variant image;
            if (SUCCEEDED(CallByName(m_ImageList.get(), L"ListImages", DISPATCH_METHOD | DISPATCH_PROPERTYGET, at,
                                     &image)) &&
                image.vt() == VT_DISPATCH && image->pdispVal) {
                std::vector<Variant> args{Variant::Long(static_cast<long>(reinterpret_cast<LONG_PTR>(dc))),
                                          Variant::Single(static_cast<float>(x)), Variant::Single(static_cast<float>(y)),
                                          Variant::Int(1)};
                CallByName(image->pdispVal, L"Draw", DISPATCH_METHOD, args, nullptr);
            }
        }
    } catch (...) {
    }
    if (NumberOf(m_ImageList.get(), L"ImageWidth", imageWidth))
        text.left += static_cast<LONG>(imageWidth) + 2 + 2 * b;
}

void LumioListBox::DrawFocus(int32_t index) {
    const int32_t row = model_.FocusRow(index);
    if (row < 0 || !hWnd()) return;
    HDC dc = Hdc();
    const ListRect& r = model_.Rects().rows[static_cast<size_t>(row)];
    const COLORREF outline = static_cast<COLORREF>(pShadeColor(static_cast<int32_t>(m_BackSelectedRGB), -700));
    gdi::OwnedObject<HPEN> pen(CreatePen(PS_SOLID, 1, outline));
    HGDIOBJ oldPen = SelectObject(dc, pen.get());
    HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
    RoundRect(dc, r.left, r.top, r.right, r.bottom, 2, 2);
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
}

}  // namespace lumio::lists
