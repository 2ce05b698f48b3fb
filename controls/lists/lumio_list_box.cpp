// LumioListBox's members, its scroll bar and the list's host services.
#include "lumio_list_box.h"

#include "class_table.h"
#include "run_time_error.h"
#include "lumio_scrollbar.h"
#include "simple_dispatch.h"
#include "std_objects.h"
#include "stock_members.h"
#include "subclass_proc_member.h"

namespace lumio::lists {

namespace {

namespace id = tlb::dispid::LumioListBox;
namespace ev = tlb::dispid::LumioListBoxEvents;
namespace bar = tlb::dispid::LumioScrollbar;

const MemberTable& Members() {
    static const MemberTable table = [] {
        using L = LumioListBox;
        MemberTable t;
        t.Add(SubclassProcMember<L>(id::zSubclass_Proc))
            .Method(id::About, L"About", &L::About)
            .Method(id::SetImageList, L"SetImageList", &L::SetImageList)
            .Method(id::AddItem, L"AddItem", &L::AddItem)
            .Method(id::InsertItem, L"InsertItem", &L::InsertItem)
            .Method(id::ModifyItem, L"ModifyItem", &L::ModifyItem)
            .Method(id::RemoveItem, L"RemoveItem", &L::RemoveItem)
            .Method(id::FindFirst, L"FindFirst", &L::FindFirst)
            .Method(id::Clear, L"Clear", &L::Clear)
            .Method(id::Order, L"Order", &L::Order)
            .Property(id::Alignment, L"Alignment", &L::get_Alignment, &L::put_Alignment)
            .Property(id::Appearance, L"Appearance", &L::get_Appearance, &L::put_Appearance)
            .Property(id::BackNormal, L"BackNormal", &L::get_BackNormal, &L::put_BackNormal)
            .Property(id::BackSelected, L"BackSelected", &L::get_BackSelected, &L::put_BackSelected)
            .Property(id::BorderStyle, L"BorderStyle", &L::get_BorderStyle, &L::put_BorderStyle)
            .Property(id::Enabled, L"Enabled", &L::get_Enabled, &L::put_Enabled)
            .Property(id::Focus, L"Focus", &L::get_Focus, &L::put_Focus)
            .Property(id::Font, L"Font", &L::get_Font, &L::putref_Font)
            .Property(id::FontNormal, L"FontNormal", &L::get_FontNormal, &L::put_FontNormal)
            .Property(id::FontSelected, L"FontSelected", &L::get_FontSelected, &L::put_FontSelected)
            .Property(id::HoverSelection, L"HoverSelection", &L::get_HoverSelection, &L::put_HoverSelection)
            .Property(id::ItemHeight, L"ItemHeight", &L::get_ItemHeight, &L::put_ItemHeight)
            .Property(id::ItemHeightAuto, L"ItemHeightAuto", &L::get_ItemHeightAuto, &L::put_ItemHeightAuto)
            .Property(id::ItemOffset, L"ItemOffset", &L::get_ItemOffset, &L::put_ItemOffset)
            .Property(id::ItemTextLeft, L"ItemTextLeft", &L::get_ItemTextLeft, &L::put_ItemTextLeft)
            .ReadOnly(id::ListCount, L"ListCount", &L::get_ListCount)
            .Property(id::ListIndex, L"ListIndex", &L::get_ListIndex, &L::put_ListIndex)
            .Property(id::OrderType, L"OrderType", &L::get_OrderType, &L::put_OrderType)
            .ReadOnly(id::SelectedCount, L"SelectedCount", &L::get_SelectedCount)
            .Property(id::SelectMode, L"SelectMode", &L::get_SelectMode, &L::put_SelectMode)
            .Property(id::TopIndex, L"TopIndex", &L::get_TopIndex, &L::put_TopIndex)
            .Property(id::ItemText, L"ItemText", &L::get_ItemText, &L::put_ItemText)
            .Property(id::ItemIcon, L"ItemIcon", &L::get_ItemIcon, &L::put_ItemIcon)
            .Property(id::ItemIconSelected, L"ItemIconSelected", &L::get_ItemIconSelected, &L::put_ItemIconSelected)
            .Property(id::ItemSelected, L"ItemSelected", &L::get_ItemSelected, &L::put_ItemSelected)
            .Method(id::SimulateKeyPress, L"SimulateKeyPress", &L::SimulateKeyPress);
        StockMembers(t, {}, StockMembers::Report::DirtyOnly)
            .Mouse(id::MousePointer, id::MouseIcon, StockMembers::IconPointer::Kept);
        return t;
    }();
    return table;
}

const ControlClassInfo kInfo{&tlb::CLSID_LumioListBox, &tlb::IID_LumioListBox, &tlb::DIID_LumioListBoxEvents,
                             L"LumioListBox", tlb::LumioListBox_MiscStatus, true, &Members()};

const bool kRegistered = [] {
    RegisterControlClass({&tlb::CLSID_LumioListBox, L"LumioListBox", tlb::LumioListBox_MiscStatus,
                          tlb::LumioListBox_ToolboxBitmap, &LumioListBox::Create});
    return true;
}();

std::u16string ToU16(const std::wstring& s) { return std::u16string(s.begin(), s.end()); }
std::wstring FromU16(const std::u16string& s) { return std::wstring(s.begin(), s.end()); }

// The system's lower case, as a case-insensitive search of the user's texts expects.
void LowerCaseSystem(std::u16string& text) {
    if (!text.empty()) CharLowerBuffW(reinterpret_cast<wchar_t*>(text.data()), static_cast<DWORD>(text.size()));
}

// A Variant argument as text, the way a late-bound caller's value converts.
std::u16string TextOf(const Variant& v) {
    VARIANT copy;
    VariantInit(&copy);
    if (FAILED(VariantChangeType(&copy, const_cast<VARIANT*>(v.get()), VARIANT_ALPHABOOL, VT_BSTR))) Raise(kErrTypeMismatch);
    std::u16string text(reinterpret_cast<const char16_t*>(copy.bstrVal), SysStringLen(copy.bstrVal));
    VariantClear(&copy);
    return text;
}

// ModifyItem's omitted text is the number 0; a string never is.
bool IsNumberZero(const Variant& v) {
    VARIANT d;
    VariantInit(&d);
    const VARIANT* p = v.get();
    if (p->vt & VT_BYREF) {
        if (FAILED(VariantCopyInd(&d, const_cast<VARIANT*>(p)))) return false;
        p = &d;
    }
    bool zero = false;
    switch (p->vt) {
    case VT_I1: case VT_UI1: case VT_I2: case VT_UI2: case VT_I4: case VT_UI4: case VT_INT: case VT_UINT:
    case VT_I8: case VT_UI8: case VT_R4: case VT_R8: case VT_CY: case VT_DECIMAL: case VT_BOOL: {
        VARIANT r;
        VariantInit(&r);
        if (SUCCEEDED(VariantChangeType(&r, const_cast<VARIANT*>(p), 0, VT_R8))) zero = r.dblVal == 0;
        break;
    }
    default: break;
    }
    VariantClear(&d);
    return zero;
}

}  // namespace

LumioListBox::LumioListBox() : ControlBase(kInfo) {}

HRESULT LumioListBox::Create(IUnknown* outer, REFIID iid, void** out) {
    return ControlBase::Create<LumioListBox>(outer, iid, out);
}

// --- the bar

void LumioListBox::OnInitialize() {
    model_.SetLowerCase(&LowerCaseSystem);
    // The list's own font exists from the start: Font reads a font before
    // the properties are given.
    pSetFont(CreateStdFont());
    bar_ = ChildSite::Create(hWnd(), [this](DISPID e) { pBarEvent(e); });
    if (FAILED(bar_->Start(&LumioScrollbar::Create, tlb::DIID_LumioScrollbarEvents, RECT{0, 0, kBarWidth, 100},
                           false))) {
        bar_->Close();
        bar_.reset();
    }
}

void LumioListBox::pBarEvent(DISPID e) {
    if (e == 1) model_.BarChanged();
    else if (e == 2) model_.BarScrolled();
}

bool LumioListBox::BarVisible() { return bar_ && bar_->Visible(); }
void LumioListBox::SetBarVisible(bool v) {
    if (bar_) bar_->SetVisible(v);
}
void LumioListBox::BarRefresh() {
    if (!bar_ || !bar_->Object()) return;
    DISPPARAMS none{};
    bar_->Object()->Invoke(bar::Refresh, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &none, nullptr, nullptr,
                           nullptr);
}
int32_t LumioListBox::BarValue() {
    Variant v;
    if (!bar_ || !bar_->Object() || FAILED(GetPropertyById(bar_->Object(), bar::Value, v)) || v.vt() != VT_I4)
        return 0;
    return v->lVal;
}
void LumioListBox::SetBarValue(int32_t value) {
    if (bar_ && bar_->Object()) PutPropertyById(bar_->Object(), bar::Value, Variant::Long(value));
}
int32_t LumioListBox::BarMax() {
    Variant v;
    if (!bar_ || !bar_->Object() || FAILED(GetPropertyById(bar_->Object(), bar::Max, v)) || v.vt() != VT_I4)
        return 0;
    return v->lVal;
}
void LumioListBox::SetBarMax(int32_t max) {
    if (bar_ && bar_->Object()) PutPropertyById(bar_->Object(), bar::Max, Variant::Long(max));
}
void LumioListBox::SetBarLargeChange(int32_t value) {
    if (bar_ && bar_->Object()) PutPropertyById(bar_->Object(), bar::LargeChange, Variant::Long(value));
}
int32_t LumioListBox::BarWidth() {
    if (!bar_) return 0;
    const RECT r = bar_->Rect();
    return r.right - r.left;
}

// --- events and timer

void LumioListBox::RaiseListIndexChange() { RaiseEvent(ev::ListIndexChange); }
void LumioListBox::RaiseScroll() { RaiseEvent(ev::Scroll); }
void LumioListBox::RaiseTopIndexChange() { RaiseEvent(ev::TopIndexChange); }
void LumioListBox::RaiseClick() { RaiseEvent(ev::Click); }
void LumioListBox::StartDragTimer(int32_t ms) {
    if (hWnd()) SetTimer(hWnd(), kDragTimer, static_cast<UINT>(ms), nullptr);
}
void LumioListBox::StopDragTimer() {
    if (hWnd()) KillTimer(hWnd(), kDragTimer);
}

// --- methods

void LumioListBox::SetImageList(Variant imageList) {
    ComPtr<IDispatch> list;
    const VARIANT* v = imageList.get();
    if (v->vt == VT_DISPATCH) list = v->pdispVal;
    else if (v->vt == (VT_DISPATCH | VT_BYREF) && v->ppdispVal) list = *v->ppdispVal;
    else if (v->vt == (VT_VARIANT | VT_BYREF) && v->pvarVal && v->pvarVal->vt == VT_DISPATCH) list = v->pvarVal->pdispVal;
    m_ImageList = list;
    Variant parent, mode;
    if (list && SUCCEEDED(GetProperty(list.get(), L"Parent", parent)) && parent.vt() == VT_DISPATCH && parent->pdispVal &&
        SUCCEEDED(GetProperty(parent->pdispVal, L"ScaleMode", mode))) {
        VARIANT n;
        VariantInit(&n);
        if (SUCCEEDED(VariantChangeType(&n, mode.get(), 0, VT_I4))) m_ImageScaleMode = n.lVal;
    }
    Repaint();
}

void LumioListBox::AddItem(Variant text, short icon, short iconSelected) {
    model_.AddItem(TextOf(text), icon, iconSelected);
}

void LumioListBox::InsertItem(short index, Variant text, short icon, short iconSelected) {
    model_.InsertItem(index, TextOf(text), icon, iconSelected);
}

void LumioListBox::ModifyItem(short index, Variant text, short icon, short iconSelected) {
    std::optional<std::u16string> t;
    if (!IsNumberZero(text)) t = TextOf(text);
    model_.ModifyItem(index, std::move(t), icon, iconSelected);
}

void LumioListBox::RemoveItem(short index) { model_.RemoveItem(index); }

short LumioListBox::FindFirst(std::wstring find, short start, bool startWith) {
    return static_cast<short>(model_.FindFirst(ToU16(find), start, startWith));
}

void LumioListBox::Clear() { model_.Clear(); }
void LumioListBox::Order() { model_.Order(); }

void LumioListBox::SimulateKeyPress(short& keyCode, short& shift) { KeyDown(keyCode, shift); }

// --- properties

void LumioListBox::put_Alignment(AlignmentCts v) {
    m_Alignment = v;
    Repaint();
    pWritten();
}

void LumioListBox::put_Appearance(AppearanceCts v) {
    SetAppearance(static_cast<long>(v));
    pWritten();
}

void LumioListBox::put_BackNormal(OLE_COLOR v) {
    m_BackNormal = v;
    m_BackNormalRGB = pOleToRGB(v);
    SetSurfaceColors(m_BackNormalRGB, m_FontNormal);
    Repaint();
    pWritten();
}

void LumioListBox::put_BackSelected(OLE_COLOR v) {
    m_BackSelected = v;
    m_BackSelectedRGB = pOleToRGB(v);
    Repaint();
    pWritten();
}

void LumioListBox::put_BorderStyle(BorderStyleCts v) {
    model_.Props().borderStyle = static_cast<int32_t>(v);
    pResize();
    pWritten();
}

void LumioListBox::put_Enabled(bool v) {
    SetWindowEnabled(v);
    if (bar_ && bar_->Object()) PutPropertyById(bar_->Object(), bar::Enabled, Variant::Bool(v));
    pWritten();
}

void LumioListBox::put_Focus(bool v) {
    model_.SetFocus(v);
    pWritten();
}

void LumioListBox::putref_Font(ComPtr<IFontDisp> v) {
    ComPtr<IFont> from = v.As<IFont>();
    ComPtr<IFont> to = m_Font.As<IFont>();
    if (from && to) {
        Bstr name;
        CY size{};
        BOOL flag = FALSE;
        if (SUCCEEDED(from->get_Name(name.put()))) to->put_Name(name.get());
        if (SUCCEEDED(from->get_Size(&size))) to->put_Size(size);
        if (SUCCEEDED(from->get_Bold(&flag))) to->put_Bold(flag);
        if (SUCCEEDED(from->get_Italic(&flag))) to->put_Italic(flag);
        if (SUCCEEDED(from->get_Underline(&flag))) to->put_Underline(flag);
        if (SUCCEEDED(from->get_Strikethrough(&flag))) to->put_Strikethrough(flag);
    }
    Repaint();
    pWritten();
}

void LumioListBox::put_FontNormal(OLE_COLOR v) {
    m_FontNormal = v;
    m_FontNormalRGB = pOleToRGB(v);
    SetSurfaceColors(m_BackNormal, m_FontNormalRGB);
    Repaint();
    pWritten();
}

void LumioListBox::put_FontSelected(OLE_COLOR v) {
    m_FontSelected = v;
    m_FontSelectedRGB = pOleToRGB(v);
    Repaint();
    pWritten();
}

void LumioListBox::put_HoverSelection(bool v) {
    model_.SetHoverSelection(v);
    pWritten();
}

void LumioListBox::put_ItemHeight(short v) {
    model_.Props().itemHeight = v;
    pResize();
    Repaint();
    pWritten();
}

void LumioListBox::put_ItemHeightAuto(bool v) {
    model_.Props().itemHeightAuto = v;
    pResize();
    Repaint();
    pWritten();
}

void LumioListBox::put_ItemOffset(short v) {
    model_.SetItemOffset(v);
    pWritten();
}

void LumioListBox::put_ItemTextLeft(short v) {
    model_.SetItemTextLeft(v);
    pWritten();
}

void LumioListBox::put_ListIndex(short v) {
    model_.SetListIndex(v);
    pWritten();
}

void LumioListBox::put_OrderType(OrderTypeCts v) {
    model_.Props().orderType = static_cast<int32_t>(v);
    pWritten();
}

void LumioListBox::put_SelectMode(SelectModeCts v) {
    model_.SetSelectMode(static_cast<int32_t>(v), Ambient().UserMode());
    pWritten();
}

void LumioListBox::put_TopIndex(short v) {
    model_.SetTopIndex(v);
    pWritten();
}

std::wstring LumioListBox::get_ItemText(short i) { return FromU16(model_.ItemText(i)); }
void LumioListBox::put_ItemText(short i, std::wstring v) {
    model_.SetItemText(i, ToU16(v));
    pWritten();
}
void LumioListBox::put_ItemIcon(short i, short v) {
    model_.SetItemIcon(i, v);
    pWritten();
}
void LumioListBox::put_ItemIconSelected(short i, short v) {
    model_.SetItemIconSelected(i, v);
    pWritten();
}
void LumioListBox::put_ItemSelected(short i, bool v) {
    model_.SetItemSelected(i, v);
    pWritten();
}

}  // namespace lumio::lists
