// LumioButton's dispatch members, class description and registration.
#include "class_table.h"
#include "lumio_button.h"
#include "stock_members.h"

namespace lumio::buttons {

namespace {

namespace id = tlb::dispid::LumioButton;

const MemberTable& Members() {
    static const MemberTable table = [] {
        using B = LumioButton;
        MemberTable t;
        t.Property(id::BackColor, L"BackColor", &B::get_BackColor, &B::put_BackColor)
            .Property(id::ButtonShape, L"ButtonShape", &B::get_ButtonShape, &B::put_ButtonShape)
            .Property(id::Caption, L"Caption", &B::get_Caption, &B::put_Caption)
            .Property(id::CheckBoxMode, L"CheckBoxMode", &B::get_CheckBoxMode, &B::put_CheckBoxMode)
            .Property(id::Enabled, L"Enabled", &B::get_Enabled, &B::put_Enabled)
            .Property(id::ForeColor, L"ForeColor", &B::get_ForeColor, &B::put_ForeColor)
            .Property(id::HandPointer, L"HandPointer", &B::get_HandPointer, &B::put_HandPointer)
            .Property(id::MaskColor, L"MaskColor", &B::get_MaskColor, &B::put_MaskColor)
            .Property(id::MouseIcon, L"MouseIcon", &B::get_MouseIcon, &B::putref_MouseIcon)
            .Property(id::MousePointer, L"MousePointer", &B::get_MousePointer, &B::put_MousePointer)
            .Property(id::PictureAlignment, L"PictureAlignment", &B::get_PictureAlignment, &B::put_PictureAlignment)
            .Property(id::PictureDown, L"PictureDown", &B::get_PictureDown, &B::putref_PictureDown)
            .Property(id::PictureHot, L"PictureHot", &B::get_PictureHot, &B::putref_PictureHot)
            .Property(id::PictureNormal, L"PictureNormal", &B::get_PictureNormal, &B::putref_PictureNormal)
            .Property(id::PictureOpacity, L"PictureOpacity", &B::get_PictureOpacity, &B::put_PictureOpacity)
            .Property(id::PictureSize, L"PictureSize", &B::get_PictureSize, &B::put_PictureSize)
            .Property(id::PictureSizeH, L"PictureSizeH", &B::get_PictureSizeH, &B::put_PictureSizeH)
            .Property(id::PictureSizeW, L"PictureSizeW", &B::get_PictureSizeW, &B::put_PictureSizeW)
            .Property(id::UseMaskColor, L"UseMaskColor", &B::get_UseMaskColor, &B::put_UseMaskColor)
            .Property(id::Value, L"Value", &B::get_Value, &B::put_Value)
            .Method(id::Refresh, L"Refresh", &B::Refresh)
            .Method(id::AboutBox, L"AboutBox", &B::AboutBox);
        StockMembers(t, &B::Refresh)
            .Font({id::Font, id::FontBold, id::FontItalic, id::FontName, id::FontSize, id::FontStrikethru,
                   id::FontUnderline})
            .hWnd(id::hWnd);
        return t;
    }();
    return table;
}

const ControlClassInfo kInfo{&tlb::CLSID_LumioButton, &tlb::IID_LumioButton, &tlb::DIID_LumioButtonEvents,
                             L"LumioButton", tlb::LumioButton_MiscStatus, true, &Members()};

const bool kRegistered = [] {
    RegisterControlClass({&tlb::CLSID_LumioButton, L"LumioButton", tlb::LumioButton_MiscStatus,
                          tlb::LumioButton_ToolboxBitmap, &LumioButton::Create});
    return true;
}();

}  // namespace

LumioButton::LumioButton() : ControlBase(kInfo) {}

HRESULT LumioButton::Create(IUnknown* outer, REFIID iid, void** out) {
    return ControlBase::Create<LumioButton>(outer, iid, out);
}

}  // namespace lumio::buttons
