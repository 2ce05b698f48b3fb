// LumioStatusBar's members, persistence, painting and grip.
#include "lumio_status_bar.h"

#include "class_table.h"
#include "simple_dispatch.h"
#include "skin_resource.h"

namespace lumio::lists {

namespace {

namespace id = tlb::dispid::LumioStatusBar;
namespace ev = tlb::dispid::LumioStatusBarEvents;

const MemberTable& Members() {
    static const MemberTable table = [] {
        using S = LumioStatusBar;
        MemberTable t;
        t.Method(id::About, L"About", &S::About)
            .Property(id::ForeColor, L"ForeColor", &S::get_ForeColor, &S::put_ForeColor)
            .Property(id::Enabled, L"Enabled", &S::get_Enabled, &S::put_Enabled)
            .Property(id::Font, L"Font", &S::get_Font, &S::putref_Font)
            .Method(id::Refresh, L"Refresh", &S::Refresh)
            .Property(id::Style, L"Style", &S::get_Style, &S::put_Style)
            .Property(id::SimpleText, L"SimpleText", &S::get_SimpleText, &S::put_SimpleText)
            .Property(id::ShowTips, L"ShowTips", &S::get_ShowTips, &S::put_ShowTips);
        return t;
    }();
    return table;
}

const ControlClassInfo kInfo{&tlb::CLSID_LumioStatusBar, &tlb::IID_LumioStatusBar, &tlb::DIID_LumioStatusBarEvents,
                             L"LumioStatusBar", tlb::LumioStatusBar_MiscStatus, /*double_clicks=*/true, &Members(),
                             /*takes_focus=*/false};

const bool kRegistered = [] {
    RegisterControlClass({&tlb::CLSID_LumioStatusBar, L"LumioStatusBar", tlb::LumioStatusBar_MiscStatus,
                          tlb::LumioStatusBar_ToolboxBitmap, &LumioStatusBar::Create});
    return true;
}();

constexpr OLE_COLOR kDefaultForeColor = 0x80000012;
constexpr short kPointerArrow = 1;
constexpr short kPointerSizeNWSE = 8;

// A number the host answered late-bound, or nothing.
bool ReadNumber(IDispatch* obj, const wchar_t* name, double& out) {
    Variant v;
    if (!obj || FAILED(GetProperty(obj, name, v))) return false;
    VARIANT d;
    VariantInit(&d);
    if (FAILED(VariantChangeType(&d, const_cast<VARIANT*>(&*v), 0, VT_R8))) return false;
    out = d.dblVal;
    return true;
}

}  // namespace

LumioStatusBar::LumioStatusBar() : ControlBase(kInfo) {}

HRESULT LumioStatusBar::Create(IUnknown* outer, REFIID iid, void** out) {
    return ControlBase::Create<LumioStatusBar>(outer, iid, out);
}

// --- properties

void LumioStatusBar::put_ForeColor(OLE_COLOR v) {
    m_ForeColor = v;
    SetSurfaceColors(kStatusBack, v);
    PropertyChanged(L"ForeColor");
    pRedraw();
}

void LumioStatusBar::put_Enabled(bool v) {
    SetWindowEnabled(v);
    PropertyChanged(L"Enabled");
    pRedraw();
}

void LumioStatusBar::putref_Font(ComPtr<IFontDisp> v) {
    SetFont(v.get());
    PropertyChanged(L"Font");
    pRedraw();
}

void LumioStatusBar::Refresh() { Invalidate(); }

void LumioStatusBar::put_Style(SbarStyleConstants v) {
    m_Style = v;
    PropertyChanged(L"Style");
    pRedraw();
}

void LumioStatusBar::put_SimpleText(std::wstring v) {
    m_SimpleText = std::move(v);
    PropertyChanged(L"SimpleText");
    pRedraw();
}

void LumioStatusBar::put_ShowTips(bool v) {
    m_ShowTips = v;
    PropertyChanged(L"ShowTips");
}

// --- life cycle

void LumioStatusBar::OnInitialize() {
    SetAutoRedraw(true);
    SetSurfaceColors(kStatusBack, m_ForeColor);
    LoadBitmapSkin(m_Grip, L"RESGRIP");
}

void LumioStatusBar::OnInitProperties() {
    if (ComPtr<IDispatch> extender = Extender()) {
        PutProperty(extender.get(), L"Align", Variant::Long(2));
        const double height = ScaleY(kStatusBarHeight, ScaleUnit::Pixels, ContainerScaleUnit());
        PutProperty(extender.get(), L"Height", Variant::Single(static_cast<float>(height)));
    }
    SetFont(Ambient().Font().get());
    m_Style = SbarStyleConstants::sbrNormal;
    m_SimpleText = Ambient().DisplayName();
    m_ShowTips = true;
    pRedraw();
}

void LumioStatusBar::OnReadProperties(PropertyReader& bag) {
    m_ForeColor = static_cast<OLE_COLOR>(bag.ReadLong(L"ForeColor", static_cast<long>(kDefaultForeColor)));
    SetSurfaceColors(kStatusBack, m_ForeColor);
    SetWindowEnabled(bag.ReadBool(L"Enabled", true));
    SetFont(bag.ReadFont(L"Font", Ambient().Font().get()).get());
    m_Style = static_cast<SbarStyleConstants>(bag.ReadLong(L"Style", 0));
    m_SimpleText = bag.ReadString(L"SimpleText", Ambient().DisplayName());
    m_ShowTips = bag.ReadBool(L"ShowTips", true);
    pRedraw();
}

void LumioStatusBar::OnWriteProperties(PropertyWriter& bag) {
    bag.Write(L"ForeColor", Variant::Long(static_cast<long>(m_ForeColor)),
              Variant::Long(static_cast<long>(kDefaultForeColor)));
    bag.Write(L"Enabled", Variant::Bool(WindowEnabled()), Variant::Bool(true));
    bag.Write(L"Font", Variant::Object(Font().get()), Variant::Object(Ambient().Font().get()));
    bag.Write(L"Style", Variant::Long(static_cast<long>(m_Style)), Variant::Long(0));
    bag.Write(L"SimpleText", Variant::String(m_SimpleText), Variant::String(Ambient().DisplayName()));
    bag.Write(L"ShowTips", Variant::Bool(m_ShowTips), Variant::Bool(true));
}

// --- painting

bool LumioStatusBar::pGripTest() {
    ComPtr<IDispatch> form = Parent();
    ComPtr<IDispatch> extender = Extender();
    if (!form || !extender) return false;
    double border = 0, state = 0;
    GripFacts f;
    if (!ReadNumber(form.get(), L"BorderStyle", border) || !ReadNumber(form.get(), L"WindowState", state) ||
        !ReadNumber(form.get(), L"ScaleWidth", f.formScaleWidth) ||
        !ReadNumber(form.get(), L"ScaleHeight", f.formScaleHeight) ||
        !ReadNumber(extender.get(), L"Width", f.barWidth) || !ReadNumber(extender.get(), L"Top", f.barTop) ||
        !ReadNumber(extender.get(), L"Height", f.barHeight))
        return false;
    f.formBorderStyle = static_cast<int32_t>(border);
    f.formWindowState = static_cast<int32_t>(state);
    return GripShown(f);
}

void LumioStatusBar::pDrawGradient(HDC dc, const GradientV& g) {
    for (int32_t y = g.y1; y <= g.y2; ++y) {
        const int32_t c = g.RowColour(y);
        const COLORREF colour = RGB(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
        if (g.x1 == g.x2) {
            SetPixelV(dc, g.x1, y, colour);
            continue;
        }
        gdi::OwnedObject<HPEN> pen(CreatePen(PS_SOLID, 1, colour));
        if (!pen) continue;
        HGDIOBJ old = SelectObject(dc, pen.get());
        MoveToEx(dc, g.x1, y, nullptr);
        LineTo(dc, g.x2 + 1, y);  // the end point is part of the row
        SelectObject(dc, old);
    }
}

void LumioStatusBar::pRedraw() {
    if (!hWnd()) return;
    Cls();
    HDC dc = Hdc();
    const int32_t w = ScaleWidth(), h = ScaleHeight();
    pDrawGradient(dc, StatusShading(w, h));
    const bool grip = pGripTest();
    m_GripRect = GripRect(w, h, grip);
    if (grip) m_Grip.Draw(dc, 0, 0, kGripSize, kGripSize, GripLeft(w), GripTop(h), true);
    if (m_Style != SbarStyleConstants::sbrNormal) {
        const StatusRect t = StatusTextRect(w, h, m_GripRect);
        RECT rc{t.left, t.top, t.right, t.bottom};
        DrawTextW(dc, m_SimpleText.c_str(), static_cast<int>(m_SimpleText.size()), &rc, DT_SINGLELINE | DT_VCENTER);
    }
    Invalidate();
}

// --- input

void LumioStatusBar::pRaiseMouse(DISPID id, short button, short shift, float x, float y) {
    RaiseEvent(id, {ByRef(button), ByRef(shift), ByRef(x), ByRef(y)});
}

void LumioStatusBar::OnMouseMove(short button, short shift, float x, float y) {
    pRaiseMouse(ev::MouseMove, button, shift, x, y);
    m_OverGrip = OverGrip(m_GripRect, x, y);
    const short pointer = m_OverGrip ? kPointerSizeNWSE : kPointerArrow;
    if (MousePointer() != pointer) SetMousePointer(pointer);
}

void LumioStatusBar::OnMouseDown(short button, short shift, float x, float y) {
    pRaiseMouse(ev::MouseDown, button, shift, x, y);
    if (button != kLeftButton || !m_OverGrip) return;
    Variant hwnd;
    ComPtr<IDispatch> form = Parent();
    if (!form || FAILED(GetProperty(form.get(), L"hWnd", hwnd))) return;
    VARIANT n;
    VariantInit(&n);
    if (FAILED(VariantChangeType(&n, const_cast<VARIANT*>(&*hwnd), 0, VT_I4))) return;
    ReleaseMouse();
    // The system's own sizing loop takes over from the form's corner and
    // keeps the release: this press gives no Click.
    EndPress();
    SendMessageW(reinterpret_cast<HWND>(static_cast<LONG_PTR>(n.lVal)), WM_NCLBUTTONDOWN, HTBOTTOMRIGHT, 0);
}

void LumioStatusBar::OnMouseUp(short button, short shift, float x, float y) {
    pRaiseMouse(ev::MouseUp, button, shift, x, y);
}

void LumioStatusBar::OnClick() { RaiseEvent(ev::Click); }
void LumioStatusBar::OnDblClick() { RaiseEvent(ev::DblClick); }

}  // namespace lumio::lists
