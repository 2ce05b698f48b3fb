// LumioCheckBox's members, skin and value changes.
#include "lumio_check_box.h"

#include "class_table.h"
#include "glyph_members.h"
#include "imaging/skin_bitmap.h"
#include "std_objects.h"

namespace lumio::buttons {

namespace {

namespace id = tlb::dispid::LumioCheckBox;

const MemberTable& Members() {
    static const MemberTable table = [] {
        MemberTable t;
        AddGlyphMembers<GlyphControl>(t);
        t.Property(id::Value, L"Value", &LumioCheckBox::get_Value, &LumioCheckBox::put_Value);
        return t;
    }();
    return table;
}

const ControlClassInfo kInfo{&tlb::CLSID_LumioCheckBox, &tlb::IID_LumioCheckBox, &tlb::DIID_LumioCheckBoxEvents,
                             L"LumioCheckBox", tlb::LumioCheckBox_MiscStatus, true, &Members()};

const bool kRegistered = [] {
    RegisterControlClass({&tlb::CLSID_LumioCheckBox, L"LumioCheckBox", tlb::LumioCheckBox_MiscStatus,
                          tlb::LumioCheckBox_ToolboxBitmap, &LumioCheckBox::Create});
    return true;
}();

}  // namespace

LumioCheckBox::LumioCheckBox() : GlyphControl(kInfo) {}

HRESULT LumioCheckBox::Create(IUnknown* outer, REFIID iid, void** out) {
    return ControlBase::Create<LumioCheckBox>(outer, iid, out);
}

void LumioCheckBox::put_Value(long v) {
    m_Value = v;
    pDraw(kGlyphNormal, true);
    PropertyChanged(L"Value");
}

void LumioCheckBox::pLoadGlyphs() { LoadBitmapSkin(m_Glyphs, L"CHECKBOX"); }

void LumioCheckBox::pSetDesignFont() { SetFont(CreateStdFont(L"Arial", 9).get()); }

void LumioCheckBox::pDrawCell(HDC dc, int32_t srcY) {
    m_Glyphs.Draw(dc, 0, srcY, kGlyphSize, kGlyphSize, m_GlyphRect.left, m_GlyphRect.top, false);
}

void LumioCheckBox::pClickValue() {
    m_Value = NextCheckValue(m_Value);
    pDraw(kGlyphNormal, true);
    pRefreshSurface();
    RaiseEvent(DISPID_CLICK);
}

void LumioCheckBox::pSpaceValue() {
    m_Value = NextCheckValue(m_Value);
    pDraw(kGlyphNormal, false);
    pRefreshSurface();
    RaiseEvent(DISPID_CLICK);
}

}  // namespace lumio::buttons
