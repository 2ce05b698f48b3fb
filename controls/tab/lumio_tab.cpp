// LumioTab's properties, its tabs and the controls on their pages.
#include "lumio_tab.h"

#include "error_source.h"
#include "run_time_error.h"
#include "simple_dispatch.h"

namespace lumio::tab {

namespace ev = tlb::dispid::LumioTabEvents;

namespace {
std::wstring SourceOf(const wchar_t* name) { return std::wstring(L"LumioTab.") + name; }

VARIANT Short(int16_t v) {
    VARIANT x{};
    x.vt = VT_I2;
    x.iVal = v;
    return x;
}
}  // namespace

// Store, redraw, tell the host.
template <class T>
void LumioTab::StandardWrite(const wchar_t* name, T& field, T value) {
    WithErrorSource(SourceOf(name).c_str(), [&] {
        field = std::move(value);
        Refresh();
        PropertyChanged(name);
    });
}

void LumioTab::put_ActiveTabBackEndColor(OLE_COLOR v) { StandardWrite(L"ActiveTabBackEndColor", m_ActiveTabBackEndColor, v); }
void LumioTab::put_ActiveTabBackStartColor(OLE_COLOR v) {
    StandardWrite(L"ActiveTabBackStartColor", m_ActiveTabBackStartColor, v);
}
void LumioTab::putref_ActiveTabFont(ComPtr<IFontDisp> v) { StandardWrite(L"ActiveTabFont", m_ActiveTabFont, v); }
void LumioTab::put_ActiveTabForeColor(OLE_COLOR v) { StandardWrite(L"ActiveTabForeColor", m_ActiveTabForeColor, v); }
void LumioTab::put_ActiveTab(long v) { model_.SetActiveTab(v); }
void LumioTab::put_ActiveTabHeight(long v) { StandardWrite(L"ActiveTabHeight", m_ActiveTabHeight, v); }
void LumioTab::put_BottomRightInnerBorderColor(OLE_COLOR v) {
    StandardWrite(L"BottomRightInnerBorderColor", m_BottomRightInnerBorderColor, v);
}
void LumioTab::put_DisabledTabBackColor(OLE_COLOR v) { StandardWrite(L"DisabledTabBackColor", m_DisabledTabBackColor, v); }
void LumioTab::put_DisabledTabForeColor(OLE_COLOR v) { StandardWrite(L"DisabledTabForeColor", m_DisabledTabForeColor, v); }

void LumioTab::put_Enabled(bool v) {
    WithErrorSource(L"LumioTab.Enabled", [&] {
        SetWindowEnabled(v);
        m_EnabledCopy = v;
        Refresh();
        PropertyChanged(L"Enabled");
    });
}

void LumioTab::put_FocusedColor(OLE_COLOR v) {
    WithErrorSource(L"LumioTab.FocusedColor", [&] {
        m_FocusedColor = v;
        Refresh();
    });
}

void LumioTab::putref_Font(ComPtr<IFontDisp> v) {
    WithErrorSource(L"LumioTab.Font", [&] {
        if (v) SetFont(v.get());
    });
}

void LumioTab::put_ForeColor(OLE_COLOR v) {
    WithErrorSource(L"LumioTab.ForeColor", [&] {
        SetPassFore(v);
        PropertyChanged(L"ForeColor");
    });
}

long LumioTab::get_hDC() {
    return WithErrorSource(L"LumioTab.hDC", [&] {
        m_Cache.hDC = Hdc();
        return static_cast<long>(reinterpret_cast<LONG_PTR>(m_Cache.hDC));
    });
}

long LumioTab::get_hWnd() {
    return WithErrorSource(L"LumioTab.hwnd", [&] {
        m_Cache.hWnd = hWnd();
        return static_cast<long>(reinterpret_cast<LONG_PTR>(m_Cache.hWnd));
    });
}

void LumioTab::put_HoverColor(OLE_COLOR v) { StandardWrite(L"HoverColor", m_HoverColor, v); }
void LumioTab::put_InActiveTabBackEndColor(OLE_COLOR v) {
    StandardWrite(L"InActiveTabBackEndColor", m_InActiveTabBackEndColor, v);
}
void LumioTab::put_InActiveTabBackStartColor(OLE_COLOR v) {
    StandardWrite(L"InActiveTabBackStartColor", m_InActiveTabBackStartColor, v);
}
void LumioTab::putref_InActiveTabFont(ComPtr<IFontDisp> v) { StandardWrite(L"InActiveTabFont", m_InActiveTabFont, v); }
void LumioTab::put_InActiveTabForeColor(OLE_COLOR v) { StandardWrite(L"InActiveTabForeColor", m_InActiveTabForeColor, v); }
void LumioTab::put_InActiveTabHeight(long v) { StandardWrite(L"InActiveTabHeight", m_InActiveTabHeight, v); }
void LumioTab::put_OuterBorderColor(OLE_COLOR v) { StandardWrite(L"OuterBorderColor", m_OuterBorderColor, v); }
void LumioTab::put_PictureAlign(PictureAlign v) { StandardWrite(L"PictureAlign", m_PictureAlign, v); }

void LumioTab::put_PictureMaskColor(OLE_COLOR v) {
    WithErrorSource(L"LumioTab.PictureMaskColor", [&] {
        m_SurfaceMask = v;
        Refresh();
        PropertyChanged(L"PictureMaskColor");
    });
}

void LumioTab::put_PictureSize(PictureSize v) { StandardWrite(L"PictureSize", m_PictureSize, v); }
long LumioTab::get_ScaleHeight() {
    return WithErrorSource(L"LumioTab.ScaleHeight", [&] { return static_cast<long>(ScaleHeight()); });
}
long LumioTab::get_ScaleWidth() {
    return WithErrorSource(L"LumioTab.ScaleWidth", [&] { return static_cast<long>(ScaleWidth()); });
}
void LumioTab::put_ShowFocusRect(bool v) { StandardWrite(L"ShowFocusRect", m_ShowFocusRect, v); }
void LumioTab::put_TabCaption(long i, std::wstring v) { model_.SetTabCaption(i, v); }
void LumioTab::put_TabCount(long v) { model_.SetTabCount(v); }
void LumioTab::put_TabEnabled(long i, bool v) {
    model_.SetTabEnabled(i, v);
    WithErrorSource(L"LumioTab.TabEnabled", [&] {
        if (m_UseControlBox) pDrawBoxNow(v ? 0 : 2, i);
    });
}
void LumioTab::put_TabOffset(long v) { model_.SetTabOffset(v); }

ComPtr<IPictureDisp> LumioTab::get_TabPicture(long i) {
    return WithErrorSource(L"LumioTab.TabPicture", [&] {
        if (!model_.ValidIndex(i)) Raise(kErrSubscriptOutOfRange);
        return m_Pictures[i];
    });
}

void LumioTab::putref_TabPicture(long i, ComPtr<IPictureDisp> v) {
    WithErrorSource(L"LumioTab.TabPicture", [&] {
        if (!model_.ValidIndex(i)) Raise(kErrSubscriptOutOfRange);
        m_Pictures[i] = std::move(v);
        Refresh();
        PropertyChanged(L"TabPicture");
    });
}

void LumioTab::put_TabStripBackColor(OLE_COLOR v) { StandardWrite(L"TabStripBackColor", m_TabStripBackColor, v); }
void LumioTab::put_TabStyle(Style v) { StandardWrite(L"TabStyle", m_TabStyle, v); }
void LumioTab::put_TopLeftInnerBorderColor(OLE_COLOR v) {
    StandardWrite(L"TopLeftInnerBorderColor", m_TopLeftInnerBorderColor, v);
}
void LumioTab::put_UseControlBox(bool v) { StandardWrite(L"UseControlBox", m_UseControlBox, v); }
void LumioTab::put_UseFocusedColor(bool v) { StandardWrite(L"UseFocusedColor", m_UseFocusedColor, v); }
void LumioTab::put_UseMaskColor(bool v) { StandardWrite(L"UseMaskColor", m_UseMaskColor, v); }

void LumioTab::put_UseMouseWheelScroll(bool v) {
    WithErrorSource(L"LumioTab.UseMouseWheelScroll", [&] {
        m_UseMouseWheelScroll = v;
        PropertyChanged(L"UseMouseWheelScroll");
    });
}

void LumioTab::put_XRadius(long v) { StandardWrite(L"XRadius", m_XRadius, v); }
void LumioTab::put_YRadius(long v) { StandardWrite(L"YRadius", m_YRadius, v); }

void LumioTab::put_BackColor(OLE_COLOR v) {
    WithErrorSource(L"LumioTab.BackColor", [&] {
        SetPassBack(v);
        PropertyChanged(L"BackColor");
    });
}

// As a form's surface does: a new back colour clears what was drawn.
void LumioTab::SetSurfaceBack(OLE_COLOR c) {
    m_SurfaceBack = c;
    SetSurfaceColors(m_SurfaceBack, m_SurfaceFore);
    Cls();
}

// ---------------------------------------------------------------- tabs

void LumioTab::InsertTab(long afterIndex, std::wstring caption) { model_.InsertTab(afterIndex, caption); }
void LumioTab::RemoveTab(long index) { model_.RemoveTab(index); }

void LumioTab::CopyTabImagesFromImageList(ComPtr<IDispatch> imageList) {
    for (size_t i = 0; i < m_Pictures.size(); ++i) {
        m_Pictures[i] = nullptr;
        if (!imageList) break;
        // ListImages(i + 1).Picture, late-bound.
        Variant index = Variant::Long(static_cast<long>(i + 1));
        DISPID listId = DISPID_UNKNOWN;
        LPOLESTR name = const_cast<LPOLESTR>(L"ListImages");
        if (FAILED(imageList->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &listId))) break;
        DISPPARAMS args{index.get(), nullptr, 1, 0};
        Variant image;
        if (FAILED(imageList->Invoke(listId, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD | DISPATCH_PROPERTYGET,
                                     &args, image.put(), nullptr, nullptr)) ||
            image.vt() != VT_DISPATCH || !image->pdispVal)
            break;
        Variant picture;
        if (FAILED(GetProperty(image->pdispVal, L"Picture", picture))) break;
        try {
            m_Pictures[i] = VariantValue<ComPtr<IPictureDisp>>::From(*picture);
        } catch (const ArgError&) {
            break;
        }
    }
    Refresh();
}

void LumioTab::RemoveTabImages(long index, bool removeAll) {
    if (index == -1 && removeAll) {
        for (auto& p : m_Pictures) p = nullptr;
    } else if (model_.ValidIndex(index)) {
        m_Pictures[index] = nullptr;
    }
    Refresh();
}

void LumioTab::pReleaseTabPictures() {
    for (auto& p : m_Pictures) p = nullptr;
}

bool LumioTab::BeforeTabSwitch(int16_t newTab) {
    VARIANT_BOOL cancel = VARIANT_FALSE;
    RaiseEvent(ev::BeforeTabSwitch, {Short(newTab), ByRefBool(cancel)});
    return cancel != VARIANT_FALSE;
}

void LumioTab::TabSwitch(int16_t lastTab) { RaiseEvent(ev::TabSwitch, {Short(lastTab)}); }

void LumioTab::TabInsert(int32_t afterIndex) {
    long after = afterIndex;
    RaiseEvent(ev::TabInsert, {ByRef(after)});
}

void LumioTab::TabRemove(int32_t index) {
    long removed = index;
    RaiseEvent(ev::TabRemove, {ByRef(removed)});
}

// The host's list is taken once per pass: ContainedCount starts a pass.
int32_t LumioTab::ContainedCount() {
    m_Contained = ContainedControls();
    Variant count;
    if (!m_Contained || FAILED(GetProperty(m_Contained.get(), L"Count", count))) return 0;
    try {
        return VariantValue<long>::From(*count);
    } catch (const ArgError&) {
        return 0;
    }
}

namespace {
ComPtr<IDispatch> Item(IDispatch* list, int32_t i) {
    if (!list) return {};
    Variant index = Variant::Long(i);
    DISPPARAMS args{index.get(), nullptr, 1, 0};
    Variant item;
    if (FAILED(list->Invoke(DISPID_VALUE, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD | DISPATCH_PROPERTYGET, &args,
                            item.put(), nullptr, nullptr)) ||
        item.vt() != VT_DISPATCH)
        return {};
    return ComPtr<IDispatch>(item->pdispVal);
}
}  // namespace

bool LumioTab::ContainedLeft(int32_t i, double& left) {
    ComPtr<IDispatch> control = Item(m_Contained.get(), i);
    Variant v;
    if (!control || FAILED(GetProperty(control.get(), L"Left", v))) return false;
    try {
        left = VariantValue<double>::From(*v);
        return true;
    } catch (const ArgError&) {
        return false;
    }
}

void LumioTab::SetContainedLeft(int32_t i, double left) {
    // A control that refuses the move is skipped.
    if (ComPtr<IDispatch> control = Item(m_Contained.get(), i)) PutProperty(control.get(), L"Left", Variant::Double(left));
}

void LumioTab::LockDrawing() { LockWindowUpdate(hWnd()); }
void LumioTab::UnlockDrawing() { LockWindowUpdate(nullptr); }

void LumioTab::DrawSwitch() {
    DrawBackground();
    DrawTabs();
}

}  // namespace lumio::tab
