// The check box's and option button's shared properties, persistence,
// painting and input.
#include "glyph_control.h"

#include <cmath>

#include "basic_arith.h"
#include "export_probe.h"
#include "glyph_text.h"
#include "ole_colour_win.h"
#include "run_time_error.h"

namespace lumio::buttons {

namespace {
constexpr DISPID kMouseEnter = 1, kMouseLeave = 2;
constexpr OLE_COLOR kBagBackColor = 0xF0F0F0;
constexpr COLORREF kDisabledText = RGB(128, 128, 128);
constexpr UINT kMeasureFlags = DT_CALCRECT | DT_WORDBREAK;
// Measured with word breaks, so drawn with them: a long caption wraps where
// its rectangle was worked out for.
constexpr UINT kCaptionFlags = DT_WORDBREAK;

RECT ToRect(const Box& b) { return RECT{b.left, b.top, b.right, b.bottom}; }
Box ToBox(const RECT& r) { return Box{r.left, r.top, r.right, r.bottom}; }
}  // namespace

GlyphControl::GlyphControl(const ControlClassInfo& info) : ControlBase(info) {}

bool GlyphControl::subclassed() const {
    return m_Subclass.Table().Exists() && m_Subclass.pThunkSlotOf(hWnd(), false) >= 0;
}

// --- properties

void GlyphControl::put_Align(long v) {
    m_Align = v;
    Refresh();
    PropertyChanged(L"Align");
}

void GlyphControl::put_BackColor(OLE_COLOR v) {
    m_BackColor = v;
    SetSurfaceColors(m_BackColor, m_ForeColor);
    pDraw(m_LastState, true);
    PropertyChanged(L"BackColor");
}

void GlyphControl::put_ForeColor(OLE_COLOR v) {
    m_ForeColor = v;
    SetSurfaceColors(m_BackColor, m_ForeColor);
    pDraw(m_LastState, true);
    PropertyChanged(L"ForeColor");
}

void GlyphControl::put_Caption(std::wstring v) {
    m_Caption = std::move(v);
    pSetAccessKey();
    pCalcCaptionRect();
    pDraw(kGlyphNormal, true);
    PropertyChanged(L"Caption");
}

void GlyphControl::put_Enabled(bool v) {
    m_Enabled = v;
    pDraw(kGlyphNormal, true);
    SetWindowEnabled(v);
    PropertyChanged(L"Enabled");
}

void GlyphControl::putref_Font(ComPtr<IFontDisp> v) {
    SetFont(v.get());
    pFontChanged();
}

// The attributes live in the font, which is saved under "Font": a change is
// reported under that name so that the host saves it.
void GlyphControl::pFontChanged() {
    pCalcCaptionRect();
    pDraw(kGlyphNormal, true);
    PropertyChanged(L"Font");
}

namespace {
template <class T, class G>
T FontValue(const ComPtr<IFontDisp>& font, G get) {
    T value{};
    if (ComPtr<IFont> f = font.As<IFont>()) get(f.get(), value);
    return value;
}
template <class S>
void SetFontValue(const ComPtr<IFontDisp>& font, S set) {
    if (ComPtr<IFont> f = font.As<IFont>()) set(f.get());
}
}  // namespace

bool GlyphControl::get_FontBold() {
    return FontValue<BOOL>(Font(), [](IFont* f, BOOL& v) { f->get_Bold(&v); }) != FALSE;
}
void GlyphControl::put_FontBold(bool v) {
    SetFontValue(Font(), [v](IFont* f) { f->put_Bold(v); });
    pFontChanged();
}
bool GlyphControl::get_FontItalic() {
    return FontValue<BOOL>(Font(), [](IFont* f, BOOL& v) { f->get_Italic(&v); }) != FALSE;
}
void GlyphControl::put_FontItalic(bool v) {
    SetFontValue(Font(), [v](IFont* f) { f->put_Italic(v); });
    pFontChanged();
}
bool GlyphControl::get_FontUnderline() {
    return FontValue<BOOL>(Font(), [](IFont* f, BOOL& v) { f->get_Underline(&v); }) != FALSE;
}
void GlyphControl::put_FontUnderline(bool v) {
    SetFontValue(Font(), [v](IFont* f) { f->put_Underline(v); });
    pFontChanged();
}
short GlyphControl::get_FontSize() {
    const double points = FontValue<double>(Font(), [](IFont* f, double& v) {
        CY size{};
        f->get_Size(&size);
        v = static_cast<double>(size.int64) / 10000.0;
    });
    return RoundToInteger(points);
}
void GlyphControl::put_FontSize(short v) {
    SetFontValue(Font(), [v](IFont* f) {
        CY size{};
        size.int64 = static_cast<LONGLONG>(v) * 10000;
        f->put_Size(size);
    });
    pFontChanged();
}
std::wstring GlyphControl::get_FontName() {
    return FontValue<std::wstring>(Font(), [](IFont* f, std::wstring& v) {
        Bstr name;
        f->get_Name(name.put());
        v = name.str();
    });
}
void GlyphControl::put_FontName(std::wstring v) {
    SetFontValue(Font(), [&v](IFont* f) { f->put_Name(Bstr(v).get()); });
    pFontChanged();
}

void GlyphControl::put_ShowFocusRect(bool v) {
    m_ShowFocusRect = v;
    pDraw(m_LastState, true);
    PropertyChanged(L"ShowFocusRect");
}

void GlyphControl::put_MousePointer(long v) {
    SetMousePointer(static_cast<short>(v));
    PropertyChanged(L"MousePointer");
}

void GlyphControl::putref_MouseIcon(ComPtr<IPictureDisp> v) {
    try {
        SetMouseIcon(v.get());
    } catch (...) {
        // A picture the surface cannot take leaves the old icon.
    }
    PropertyChanged(L"MouseIcon");
}

void GlyphControl::Refresh() {
    pCalcCaptionRect();
    m_CanDraw = true;
    pDraw(m_LastState, true);
}

// --- painting

void GlyphControl::pDraw(int32_t state, bool force) {
    if (!force && m_Caption == m_LastCaption && state == m_LastState) return;
    if (m_Height == 0 || !m_CanDraw) return;
    m_LastState = state;
    m_LastCaption = m_Caption;
    const int32_t group = pValueGroup();
    Cls();
    pDrawCell(Hdc(), GlyphCellY(group, state, m_Hover, m_Enabled));
    pDrawCaption();
    pDrawFocusRect();
}

void GlyphControl::pDrawCaption() {
    HDC dc = Hdc();
    SetTextColor(dc, m_Enabled ? TranslateOleColor(m_ForeColor) : kDisabledText);
    RECT rc = ToRect(m_CaptionRect);
    DrawAnsiText(dc, m_Caption, rc, kCaptionFlags);
}

void GlyphControl::pDrawFocusRect() {
    if (!m_ShowFocusRect || !m_HasFocus) return;
    HDC dc = Hdc();
    SetTextColor(dc, 0);
    RECT rc = ToRect(m_CaptionRect);
    DrawFocusRect(dc, &rc);
}

void GlyphControl::pCalcCaptionRect() {
    Box box = m_CaptionRect;
    CaptionFrame(m_Align, m_Width, m_Height, box);
    RECT rc = ToRect(box);
    if (hWnd()) DrawAnsiText(Hdc(), m_Caption, rc, kMeasureFlags);
    box = ToBox(rc);
    CentreCaption(box, m_Height);
    m_CaptionRect = box;
    pCalcGlyphRect(m_Align, m_Width, m_Height, m_GlyphRect);
}

void GlyphControl::pSetAccessKey() { SetAccessKeys(CaptionAccessKey(m_Caption)); }

bool GlyphControl::pIsMouseOver() const {
    POINT pt{};
    GetCursorPos(&pt);
    return WindowFromPoint(pt) == hWnd();
}

void GlyphControl::pRefreshSurface() {
    Invalidate();
    if (hWnd()) UpdateWindow(hWnd());
}

// --- life cycle

void GlyphControl::OnInitialize() {
    SetAutoRedraw(true);
    pSetDesignFont();
    pLoadGlyphs();
    m_CanDraw = true;
}

void GlyphControl::OnInitProperties() {
    m_Enabled = true;
    m_ShowFocusRect = true;
    m_Caption = Ambient().DisplayName();
    SetFont(Ambient().Font().get());
    m_BackColor = Ambient().BackColor();
    m_ForeColor = 0;
    SetSurfaceColors(m_BackColor, m_ForeColor);
    pCalcCaptionRect();
}

void GlyphControl::OnReadProperties(PropertyReader& bag) {
    m_Align = bag.ReadLong(L"Align", 0);
    m_Caption = bag.ReadString(L"Caption", L"");
    m_Enabled = bag.ReadBool(L"Enabled", true);
    SetFont(bag.ReadFont(L"Font", Font().get()).get());
    m_ShowFocusRect = bag.ReadBool(L"ShowFocusRect", true);
    m_BackColor = static_cast<OLE_COLOR>(bag.ReadLong(L"BackColor", static_cast<long>(kBagBackColor)));
    m_ForeColor = static_cast<OLE_COLOR>(bag.ReadLong(L"ForeColor", 0));
    SetSurfaceColors(m_BackColor, m_ForeColor);
    SetMousePointer(bag.ReadInteger(L"MousePointer", 0));
    SetMouseIcon(bag.ReadPicture(L"MouseIcon", nullptr).get());
    pReadValue(bag);
    SetWindowEnabled(m_Enabled);
    pCalcCaptionRect();
    pSetAccessKey();
    if (Ambient().UserMode()) pRunTimeSetup();
}

void GlyphControl::OnWriteProperties(PropertyWriter& bag) {
    bag.Write(L"Align", Variant::Long(m_Align));
    bag.Write(L"Caption", Variant::String(m_Caption));
    bag.Write(L"Enabled", Variant::Bool(m_Enabled));
    bag.Write(L"Font", Variant::Object(Font().get()));
    bag.Write(L"ShowFocusRect", Variant::Bool(m_ShowFocusRect));
    bag.Write(L"BackColor", Variant::Long(static_cast<long>(m_BackColor)));
    bag.Write(L"ForeColor", Variant::Long(static_cast<long>(m_ForeColor)));
    bag.Write(L"MousePointer", Variant::Int(MousePointer()));
    bag.Write(L"MouseIcon", Variant::Object(MouseIcon().get()));
    bag.Write(L"Value", pValueForBag());
}

// Hover tracking needs the mouse-leave notice; without a service for it the
// control simply never raises MouseLeave.
void GlyphControl::pRunTimeSetup() {
    m_Subclass.m_TrackingAvailable = true;
    m_Subclass.m_User32Tracking = ExportExists("TrackMouseEvent", "User32");
    if (!m_Subclass.m_User32Tracking && !ExportExists("_TrackMouseEvent", "Comctl32"))
        m_Subclass.m_TrackingAvailable = false;
    if (!m_Subclass.m_TrackingAvailable) return;
    if (m_Subclass.pAttachThunk(hWnd()) < 0) return;
    m_Subclass.pWatchMessage(hWnd(), WM_MOUSELEAVE, 1);
}

void GlyphControl::OnTerminate() {
    m_CanDraw = false;
    try {
        m_Subclass.pDetachAllThunks();
    } catch (...) {
        // No table: nothing was subclassed.
    }
}

void GlyphControl::OnResize() {
    m_Height = ScaleHeight();
    m_Width = ScaleWidth();
    pCalcCaptionRect();
    if (m_Height != 0) pDraw(kGlyphNormal, true);
}

void GlyphControl::OnShow() {
    m_CanDraw = true;
    pDraw(kGlyphNormal, true);
}

// --- input

void GlyphControl::OnGotFocus() {
    m_HasFocus = true;
    pDraw(m_LastState, true);
}

void GlyphControl::OnLostFocus() {
    m_HasFocus = false;
    pDraw(m_LastState, true);
}

void GlyphControl::OnMouseDown(short button, short shift, float x, float y) {
    RaiseEvent(DISPID_MOUSEDOWN, {ByRef(button), ByRef(shift), ByRef(x), ByRef(y)});
    m_LastButton = button;
    if (button == kLeftButton) pDraw(kGlyphPressed, pForcePressedLook());
}

void GlyphControl::OnMouseMove(short button, short shift, float x, float y) {
    RaiseEvent(DISPID_MOUSEMOVE, {ByRef(button), ByRef(shift), ByRef(x), ByRef(y)});
    if (!pIsMouseOver()) {
        pDraw(kGlyphNormal, false);
    } else if (button == kLeftButton) {
        m_Hover = true;
        pDraw(kGlyphPressed, false);
        m_Hover = false;
    } else if (!m_Hover) {
        m_Subclass.pRequestMouseLeave(hWnd());
        m_Hover = true;
        pDraw(kGlyphNormal, true);
        RaiseEvent(kMouseEnter);
    }
}

void GlyphControl::OnMouseUp(short button, short shift, float x, float y) {
    RaiseEvent(DISPID_MOUSEUP, {ByRef(button), ByRef(shift), ByRef(x), ByRef(y)});
    if (button == kLeftButton) pDraw(kGlyphNormal, false);
}

void GlyphControl::OnClick() {
    if (m_LastButton != kLeftButton || !m_Enabled) return;
    pClickValue();
}

void GlyphControl::OnDblClick() {
    if (m_LastButton != kLeftButton) return;
    OnMouseDown(kLeftButton, 0, 0, 0);
    CaptureMouse();
}

void GlyphControl::OnAccessKeyPress(short) {
    m_LastButton = kLeftButton;
    OnClick();
}

void GlyphControl::OnKeyDown(short& code, short shift) {
    RaiseEvent(DISPID_KEYDOWN, {ByRef(code), ByRef(shift)});
    m_LastKey = code;
    switch (code) {
    case VK_SPACE: pDraw(kGlyphPressed, false); break;
    case VK_LEFT:
    case VK_UP: SendTabKeys(true); break;
    case VK_RIGHT:
    case VK_DOWN: SendTabKeys(false); break;
    default: break;
    }
}

void GlyphControl::OnKeyPress(short& ascii) { RaiseEvent(DISPID_KEYPRESS, {ByRef(ascii)}); }

void GlyphControl::OnKeyUp(short& code, short shift) {
    RaiseEvent(DISPID_KEYUP, {ByRef(code), ByRef(shift)});
    if (m_LastKey == VK_SPACE && code == VK_SPACE) pSpaceValue();
}

void GlyphControl::zSubclass_Proc(bool, bool&, LRESULT&, HWND&, UINT& uMsg, WPARAM&, LPARAM&) {
    if (uMsg != WM_MOUSELEAVE) return;
    m_Hover = false;
    pDraw(kGlyphNormal, true);
    RaiseEvent(kMouseLeave);
}

}  // namespace lumio::buttons
