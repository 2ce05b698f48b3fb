// LumioGroupBox's members, persistence and mouse events.
#include "lumio_group_box.h"

#include "class_table.h"
#include "group_box_layout.h"
#include "ole_colour_win.h"

namespace lumio::buttons {

namespace {

namespace id = tlb::dispid::LumioGroupBox;

const MemberTable& Members() {
    static const MemberTable table = [] {
        using G = LumioGroupBox;
        MemberTable t;
        t.Method(id::About, L"About", &G::About)
            .Property(id::Alignment, L"Alignment", &G::get_Alignment, &G::put_Alignment)
            .Property(id::Appearance, L"Appearance", &G::get_Appearance, &G::put_Appearance)
            .Property(id::BorderColor, L"BorderColor", &G::get_BorderColor, &G::put_BorderColor)
            .Property(id::BackColor, L"BackColor", &G::get_BackColor, &G::put_BackColor)
            .Property(id::BackColor2, L"BackColor2", &G::get_BackColor2, &G::put_BackColor2)
            .Property(id::HeadColor1, L"HeadColor1", &G::get_HeadColor1, &G::put_HeadColor1)
            .Property(id::HeadColor2, L"HeadColor2", &G::get_HeadColor2, &G::put_HeadColor2)
            .Property(id::HeaderHeight, L"HeaderHeight", &G::get_HeaderHeight, &G::put_HeaderHeight)
            .Property(id::ForeColor, L"ForeColor", &G::get_ForeColor, &G::put_ForeColor)
            .Property(id::Enabled, L"Enabled", &G::get_Enabled, &G::put_Enabled)
            .Property(id::Font, L"Font", &G::get_Font, &G::putref_Font)
            .Method(id::Refresh, L"Refresh", &G::Refresh)
            .ReadOnly(id::hWnd, L"hWnd", &G::get_hWnd)
            .Property(id::Caption, L"Caption", &G::get_Caption, &G::put_Caption);
        return t;
    }();
    return table;
}

const ControlClassInfo kInfo{&tlb::CLSID_LumioGroupBox, &tlb::IID_LumioGroupBox, &tlb::DIID_LumioGroupBoxEvents,
                             L"LumioGroupBox", tlb::LumioGroupBox_MiscStatus, true, &Members(),
                             /*takes_focus=*/false};

const bool kRegistered = [] {
    RegisterControlClass({&tlb::CLSID_LumioGroupBox, L"LumioGroupBox", tlb::LumioGroupBox_MiscStatus,
                          tlb::LumioGroupBox_ToolboxBitmap, &LumioGroupBox::Create});
    return true;
}();

constexpr long kDefaultHeaderHeight = 22;

// A step of reading that fails leaves the field as it was.
template <class F>
void Skipping(F step) {
    try {
        step();
    } catch (...) {
    }
}

}  // namespace

LumioGroupBox::LumioGroupBox() : ControlBase(kInfo) {}

HRESULT LumioGroupBox::Create(IUnknown* outer, REFIID iid, void** out) {
    return ControlBase::Create<LumioGroupBox>(outer, iid, out);
}

// --- properties

void LumioGroupBox::pSetColour(OLE_COLOR& field, OLE_COLOR v, const wchar_t* name) {
    field = v;
    PropertyChanged(name);
    pPaint();
}

void LumioGroupBox::put_Alignment(long v) {
    m_Alignment = v;
    PropertyChanged(L"Alignment");
    pPaint();
}

void LumioGroupBox::put_Appearance(long v) {
    m_Appearance = v;
    PropertyChanged(L"Appearance");
    pPaint();
}

void LumioGroupBox::put_BorderColor(OLE_COLOR v) { pSetColour(m_BorderColor, v, L"BorderColor"); }

void LumioGroupBox::put_BackColor(OLE_COLOR v) {
    m_BackColor = v;
    PropertyChanged(L"BackColor");
    SetSurfaceColors(m_BackColor, m_ForeColor);
    pPaint();
}

void LumioGroupBox::put_BackColor2(OLE_COLOR v) { pSetColour(m_BackColor2, v, L"BackColor2"); }
void LumioGroupBox::put_HeadColor1(OLE_COLOR v) { pSetColour(m_HeadColor1, v, L"HeadColor1"); }
void LumioGroupBox::put_HeadColor2(OLE_COLOR v) { pSetColour(m_HeadColor2, v, L"HeadColor2"); }

void LumioGroupBox::put_HeaderHeight(long v) {
    m_HeaderHeight = v;
    PropertyChanged(L"HeaderHeight");
    pPaint();
}

void LumioGroupBox::put_ForeColor(OLE_COLOR v) { pSetColour(m_ForeColor, v, L"ForeColor"); }

void LumioGroupBox::put_Enabled(bool v) {
    SetWindowEnabled(v);
    PropertyChanged(L"Enabled");
}

void LumioGroupBox::putref_Font(ComPtr<IFontDisp> v) {
    SetFont(v.get());
    PropertyChanged(L"Font");
    pPaint();
}

void LumioGroupBox::Refresh() {
    Invalidate();
    if (hWnd()) UpdateWindow(hWnd());
}

void LumioGroupBox::put_Caption(std::wstring v) {
    m_Caption = std::move(v);
    PropertyChanged(L"Caption");
    pPaint();
}

// --- persistence

void LumioGroupBox::OnInitProperties() {
    m_Alignment = 0;
    m_Appearance = 0;
    SetFont(Ambient().Font().get());
    m_Caption = Ambient().DisplayName();
    m_ForeColor = 0;
    m_BackColor = Ambient().BackColor();
    m_HeadColor1 = Ambient().BackColor();
    const GroupBoxShades shades =
        GroupBoxDefaults(static_cast<int32_t>(TranslateOleColor(m_BackColor)), static_cast<int32_t>(TranslateOleColor(m_HeadColor1)));
    m_BackColor2 = static_cast<OLE_COLOR>(shades.backColor2);
    m_BorderColor = static_cast<OLE_COLOR>(shades.borderColor);
    m_HeadColor2 = static_cast<OLE_COLOR>(shades.headColor2);
    m_HeaderHeight = kDefaultHeaderHeight;
    SetSurfaceColors(m_BackColor, m_ForeColor);
}

void LumioGroupBox::OnReadProperties(PropertyReader& bag) {
    Skipping([&] { m_Alignment = bag.ReadLong(L"Alignment", 0); });
    Skipping([&] { m_Appearance = bag.ReadLong(L"Appearance", 0); });
    Skipping([&] { m_BorderColor = static_cast<OLE_COLOR>(bag.ReadLong(L"BorderColor", 0)); });
    Skipping([&] { m_BackColor = static_cast<OLE_COLOR>(bag.ReadLong(L"BackColor", 0)); });
    Skipping([&] { m_BackColor2 = static_cast<OLE_COLOR>(bag.ReadLong(L"BackColor2", 0)); });
    Skipping([&] { m_HeadColor1 = static_cast<OLE_COLOR>(bag.ReadLong(L"HeadColor1", 0)); });
    Skipping([&] { m_HeadColor2 = static_cast<OLE_COLOR>(bag.ReadLong(L"HeadColor2", 0)); });
    Skipping([&] { m_HeaderHeight = bag.ReadLong(L"HeaderHeight", kDefaultHeaderHeight); });
    Skipping([&] { m_ForeColor = static_cast<OLE_COLOR>(bag.ReadLong(L"ForeColor", 0)); });
    Skipping([&] { SetWindowEnabled(bag.ReadBool(L"Enabled", true)); });
    Skipping([&] { SetFont(bag.ReadFont(L"Font", Ambient().Font().get()).get()); });
    Skipping([&] { m_Caption = bag.ReadString(L"Caption", L""); });
    SetSurfaceColors(m_BackColor, m_ForeColor);
}

void LumioGroupBox::OnWriteProperties(PropertyWriter& bag) {
    bag.Write(L"Alignment", Variant::Long(m_Alignment), Variant::Long(0));
    bag.Write(L"Appearance", Variant::Long(m_Appearance), Variant::Long(0));
    bag.Write(L"BorderColor", Variant::Long(static_cast<long>(m_BorderColor)));
    bag.Write(L"BackColor", Variant::Long(static_cast<long>(m_BackColor)));
    bag.Write(L"BackColor2", Variant::Long(static_cast<long>(m_BackColor2)));
    bag.Write(L"HeadColor1", Variant::Long(static_cast<long>(m_HeadColor1)));
    bag.Write(L"HeadColor2", Variant::Long(static_cast<long>(m_HeadColor2)));
    bag.Write(L"HeaderHeight", Variant::Long(m_HeaderHeight), Variant::Long(kDefaultHeaderHeight));
    bag.Write(L"ForeColor", Variant::Long(static_cast<long>(m_ForeColor)), Variant::Long(0));
    bag.Write(L"Enabled", Variant::Bool(WindowEnabled()), Variant::Bool(true));
    bag.Write(L"Font", Variant::Object(Font().get()), Variant::Object(Ambient().Font().get()));
    bag.Write(L"Caption", Variant::String(m_Caption), Variant::String(L""));
}

// --- events, straight from the surface's

void LumioGroupBox::OnClick() { RaiseEvent(DISPID_CLICK); }
void LumioGroupBox::OnDblClick() { RaiseEvent(DISPID_DBLCLICK); }
void LumioGroupBox::OnMouseDown(short button, short shift, float x, float y) {
    RaiseEvent(DISPID_MOUSEDOWN, {ByRef(button), ByRef(shift), ByRef(x), ByRef(y)});
}
void LumioGroupBox::OnMouseMove(short button, short shift, float x, float y) {
    RaiseEvent(DISPID_MOUSEMOVE, {ByRef(button), ByRef(shift), ByRef(x), ByRef(y)});
}
void LumioGroupBox::OnMouseUp(short button, short shift, float x, float y) {
    RaiseEvent(DISPID_MOUSEUP, {ByRef(button), ByRef(shift), ByRef(x), ByRef(y)});
}

}  // namespace lumio::buttons
