// LumioListBox's initial properties, its bag and its font.
#include "lumio_list_box.h"

#include "com_object.h"
#include "ole_colour_win.h"

namespace lumio::lists {

namespace {
constexpr OLE_COLOR kBackNormal = 0xFFFFFF;
constexpr OLE_COLOR kBackSelected = 0xFDF4E2;
}  // namespace

// Changes of the list's own font object: the rows follow its height.
class LumioListBox::FontWatch : public ComObject<FontWatch, IPropertyNotifySink> {
public:
    FontWatch(LumioListBox* owner, IFontDisp* font) : owner_(owner) {
        if (!font) return;
        ComPtr<IFontDisp> f(font);
        if (auto cpc = f.As<IConnectionPointContainer>())
            if (SUCCEEDED(cpc->FindConnectionPoint(IID_IPropertyNotifySink, point_.put())) &&
                FAILED(point_->Advise(this, &cookie_)))
                cookie_ = 0;
    }
    void Detach() {
        owner_ = nullptr;
        if (point_ && cookie_) point_->Unadvise(cookie_);
        cookie_ = 0;
        point_.reset();
    }

    STDMETHODIMP OnChanged(DISPID) override {
        if (owner_) owner_->pFontChanged();
        return S_OK;
    }
    STDMETHODIMP OnRequestEdit(DISPID) override { return S_OK; }

private:
    LumioListBox* owner_;
    ComPtr<IConnectionPoint> point_;
    DWORD cookie_ = 0;
};

void LumioListBox::pSetFont(ComPtr<IFontDisp> font) {
    if (m_FontWatch) {
        m_FontWatch->Detach();
        m_FontWatch->Release();
        m_FontWatch = nullptr;
    }
    m_Font = std::move(font);
    if (m_Font) SetFont(m_Font.get());
    if (m_Font) m_FontWatch = new FontWatch(this, m_Font.get());
}

LumioListBox::~LumioListBox() {
    if (m_FontWatch) {
        m_FontWatch->Detach();
        m_FontWatch->Release();
    }
}

void LumioListBox::pFontChanged() {
    try {
        if (m_Font) SetFont(m_Font.get());
        pResize();
    } catch (...) {
        // A font's notice is no place for the list's failure.
    }
}

COLORREF LumioListBox::pOleToRGB(OLE_COLOR c) { return TranslateSysColor(c, kSysColorAllBits); }

void LumioListBox::pTranslateColors() {
    m_BackNormalRGB = pOleToRGB(m_BackNormal);
    m_BackSelectedRGB = pOleToRGB(m_BackSelected);
    m_FontNormalRGB = pOleToRGB(m_FontNormal);
    m_FontSelectedRGB = pOleToRGB(m_FontSelected);
}

void LumioListBox::OnInitProperties() {
    SetAppearance(1);
    ListProperties& p = model_.Props();
    p = ListProperties{};
    pSetFont(Ambient().Font());
    m_FontNormal = 0;
    m_FontSelected = 0;
    m_BackNormal = kBackNormal;
    m_BackSelected = kBackSelected;
    SetSurfaceColors(m_BackNormal, m_FontNormal);
    m_Alignment = AlignmentCts::AlignLeft;
    p.itemHeight = static_cast<int16_t>(TextHeight(L""));
    pTranslateColors();
}

void LumioListBox::OnReadProperties(PropertyReader& bag) {
    ListProperties& p = model_.Props();
    SetAppearance(bag.ReadLong(L"Appearance", 1));
    p.borderStyle = bag.ReadLong(L"BorderStyle", 1);
    SetWindowEnabled(bag.ReadBool(L"Enabled", true));
    pSetFont(bag.ReadFont(L"Font", Ambient().Font().get()));
    m_FontNormal = static_cast<OLE_COLOR>(bag.ReadLong(L"FontNormal", 0));
    m_FontSelected = static_cast<OLE_COLOR>(bag.ReadLong(L"FontSelected", 0));
    m_BackNormal = static_cast<OLE_COLOR>(bag.ReadLong(L"BackNormal", static_cast<long>(kBackNormal)));
    SetSurfaceColors(m_BackNormal, m_FontNormal);
    m_BackSelected = static_cast<OLE_COLOR>(bag.ReadLong(L"BackSelected", static_cast<long>(kBackSelected)));
    m_Alignment = static_cast<AlignmentCts>(bag.ReadLong(L"Alignment", 0));
    p.focus = bag.ReadBool(L"Focus", true);
    p.hoverSelection = bag.ReadBool(L"HoverSelection", false);
    p.itemOffset = bag.ReadInteger(L"ItemOffset", 0);
    p.itemHeightAuto = bag.ReadBool(L"ItemHeightAuto", true);
    p.itemTextLeft = bag.ReadInteger(L"ItemTextLeft", 2);
    p.orderType = bag.ReadLong(L"OrderType", 0);
    p.selectMode = bag.ReadLong(L"SelectMode", 0);
    SetMousePointer(static_cast<short>(bag.ReadLong(L"MousePointer", 0)));
    SetMouseIcon(bag.ReadPicture(L"MouseIcon", nullptr).get());
    // Read as text: a height below the font's is the font's.
    const int textHeight = TextHeight(L"");
    const std::wstring stored = bag.ReadString(L"ItemHeight", L"0");
    long height = 0;
    try {
        height = std::stol(stored);
    } catch (...) {
        height = 0;
    }
    p.itemHeight = static_cast<int16_t>(height >= textHeight && height <= 32767 ? height : textHeight);
    pTranslateColors();
    pResize();
    if (Ambient().UserMode()) attached_ = true;
}

void LumioListBox::OnWriteProperties(PropertyWriter& bag) {
    const ListProperties& p = model_.Props();
    bag.Write(L"Appearance", Variant::Long(Appearance()), Variant::Long(1));
    bag.Write(L"BorderStyle", Variant::Long(p.borderStyle), Variant::Long(1));
    bag.Write(L"Enabled", Variant::Bool(WindowEnabled()), Variant::Bool(true));
    bag.Write(L"Font", Variant::Object(Font().get()), Variant::Object(Ambient().Font().get()));
    bag.Write(L"FontNormal", Variant::Long(static_cast<long>(m_FontNormal)), Variant::Long(0));
    bag.Write(L"FontSelected", Variant::Long(static_cast<long>(m_FontSelected)), Variant::Long(0));
    bag.Write(L"BackNormal", Variant::Long(static_cast<long>(m_BackNormal)), Variant::Long(static_cast<long>(kBackNormal)));
    bag.Write(L"BackSelected", Variant::Long(static_cast<long>(m_BackSelected)),
              Variant::Long(static_cast<long>(kBackSelected)));
    bag.Write(L"Alignment", Variant::Long(static_cast<long>(m_Alignment)), Variant::Long(0));
    bag.Write(L"Focus", Variant::Bool(p.focus), Variant::Bool(true));
    bag.Write(L"HoverSelection", Variant::Bool(p.hoverSelection), Variant::Bool(false));
    bag.Write(L"ItemHeight", Variant::Int(p.itemHeight), Variant::Int(0));
    bag.Write(L"ItemHeightAuto", Variant::Bool(p.itemHeightAuto), Variant::Bool(true));
    bag.Write(L"ItemOffset", Variant::Int(p.itemOffset), Variant::Int(0));
    bag.Write(L"ItemTextLeft", Variant::Int(p.itemTextLeft), Variant::Int(2));
    bag.Write(L"OrderType", Variant::Long(p.orderType), Variant::Long(0));
    bag.Write(L"SelectMode", Variant::Long(p.selectMode), Variant::Long(0));
    bag.Write(L"MousePointer", Variant::Long(MousePointer()), Variant::Long(0));
    bag.Write(L"MouseIcon", Variant::Object(MouseIcon().get()), Variant::Object(nullptr));
}

void LumioListBox::OnTerminate() {
    model_.Terminate();
    if (hWnd()) KillTimer(hWnd(), kDragTimer);
    if (bar_) {
        bar_->Close();
        bar_.reset();
    }
    pSetFont(nullptr);
    m_ImageList.reset();
    attached_ = false;
}

}  // namespace lumio::lists
