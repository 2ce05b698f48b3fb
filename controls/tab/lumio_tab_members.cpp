// LumioTab's dispatch members, class description and registration.
#include "class_table.h"
#include "lumio_tab.h"

namespace lumio::tab {

namespace {

namespace id = tlb::dispid::LumioTab;

const MemberTable& Members() {
    static const MemberTable table = [] {
        using T = LumioTab;
        MemberTable t;
        t.Method(id::zSubclass_Proc, L"zSubclass_Proc", &T::MethodSubclassProc)
            .Method(id::About, L"About", &T::About)
            .Property(id::ActiveTabBackEndColor, L"ActiveTabBackEndColor", &T::get_ActiveTabBackEndColor,
                      &T::put_ActiveTabBackEndColor)
            .Property(id::ActiveTabBackStartColor, L"ActiveTabBackStartColor", &T::get_ActiveTabBackStartColor,
                      &T::put_ActiveTabBackStartColor)
            .Property(id::ActiveTabFont, L"ActiveTabFont", &T::get_ActiveTabFont, &T::putref_ActiveTabFont)
            .Property(id::ActiveTabForeColor, L"ActiveTabForeColor", &T::get_ActiveTabForeColor,
                      &T::put_ActiveTabForeColor)
            .Property(id::ActiveTab, L"ActiveTab", &T::get_ActiveTab, &T::put_ActiveTab)
            .Property(id::ActiveTabHeight, L"ActiveTabHeight", &T::get_ActiveTabHeight, &T::put_ActiveTabHeight)
            .Property(id::BottomRightInnerBorderColor, L"BottomRightInnerBorderColor",
                      &T::get_BottomRightInnerBorderColor, &T::put_BottomRightInnerBorderColor)
            .Property(id::DisabledTabBackColor, L"DisabledTabBackColor", &T::get_DisabledTabBackColor,
                      &T::put_DisabledTabBackColor)
            .Property(id::DisabledTabForeColor, L"DisabledTabForeColor", &T::get_DisabledTabForeColor,
                      &T::put_DisabledTabForeColor)
            .Property(id::Enabled, L"Enabled", &T::get_Enabled, &T::put_Enabled)
            .Property(id::FocusedColor, L"FocusedColor", &T::get_FocusedColor, &T::put_FocusedColor)
            .WriteOnly(id::Font, L"Font", &T::putref_Font)
            .Property(id::ForeColor, L"ForeColor", &T::get_ForeColor, &T::put_ForeColor)
            .ReadOnly(id::hDC, L"hDC", &T::get_hDC)
            .Property(id::HoverColor, L"HoverColor", &T::get_HoverColor, &T::put_HoverColor)
            .ReadOnly(id::hWnd, L"hWnd", &T::get_hWnd)
            .Property(id::InActiveTabBackEndColor, L"InActiveTabBackEndColor", &T::get_InActiveTabBackEndColor,
                      &T::put_InActiveTabBackEndColor)
            .Property(id::InActiveTabBackStartColor, L"InActiveTabBackStartColor",
                      &T::get_InActiveTabBackStartColor, &T::put_InActiveTabBackStartColor)
            .Property(id::InActiveTabFont, L"InActiveTabFont", &T::get_InActiveTabFont, &T::putref_InActiveTabFont)
            .Property(id::InActiveTabForeColor, L"InActiveTabForeColor", &T::get_InActiveTabForeColor,
                      &T::put_InActiveTabForeColor)
            .Property(id::InActiveTabHeight, L"InActiveTabHeight", &T::get_InActiveTabHeight,
                      &T::put_InActiveTabHeight)
            .ReadOnly(id::LastActiveTab, L"LastActiveTab", &T::get_LastActiveTab)
            .Property(id::OuterBorderColor, L"OuterBorderColor", &T::get_OuterBorderColor, &T::put_OuterBorderColor)
            .Property(id::PictureAlign, L"PictureAlign", &T::get_PictureAlign, &T::put_PictureAlign)
            .Property(id::PictureMaskColor, L"PictureMaskColor", &T::get_PictureMaskColor, &T::put_PictureMaskColor)
            .Property(id::PictureSize, L"PictureSize", &T::get_PictureSize, &T::put_PictureSize)
            .ReadOnly(id::ScaleHeight, L"ScaleHeight", &T::get_ScaleHeight)
            .ReadOnly(id::ScaleWidth, L"ScaleWidth", &T::get_ScaleWidth)
            .Property(id::ShowFocusRect, L"ShowFocusRect", &T::get_ShowFocusRect, &T::put_ShowFocusRect)
            .Property(id::TabCaption, L"TabCaption", &T::get_TabCaption, &T::put_TabCaption)
            .Property(id::TabCount, L"TabCount", &T::get_TabCount, &T::put_TabCount)
            .Property(id::TabEnabled, L"TabEnabled", &T::get_TabEnabled, &T::put_TabEnabled)
            .Property(id::TabOffset, L"TabOffset", &T::get_TabOffset, &T::put_TabOffset)
            .Property(id::TabPicture, L"TabPicture", &T::get_TabPicture, &T::putref_TabPicture)
            .Property(id::TabStripBackColor, L"TabStripBackColor", &T::get_TabStripBackColor,
                      &T::put_TabStripBackColor)
            .Property(id::TabStyle, L"TabStyle", &T::get_TabStyle, &T::put_TabStyle)
            .Property(id::TopLeftInnerBorderColor, L"TopLeftInnerBorderColor", &T::get_TopLeftInnerBorderColor,
                      &T::put_TopLeftInnerBorderColor)
            .Property(id::UseControlBox, L"UseControlBox", &T::get_UseControlBox, &T::put_UseControlBox)
            .Property(id::UseFocusedColor, L"UseFocusedColor", &T::get_UseFocusedColor, &T::put_UseFocusedColor)
            .Property(id::UseMaskColor, L"UseMaskColor", &T::get_UseMaskColor, &T::put_UseMaskColor)
            .Property(id::UseMouseWheelScroll, L"UseMouseWheelScroll", &T::get_UseMouseWheelScroll,
                      &T::put_UseMouseWheelScroll)
            .Property(id::XRadius, L"XRadius", &T::get_XRadius, &T::put_XRadius)
            .Property(id::YRadius, L"YRadius", &T::get_YRadius, &T::put_YRadius)
            .Method(id::Cls, L"Cls", &T::MethodCls)
            .Method(id::CopyTabImagesFromImageList, L"CopyTabImagesFromImageList", &T::CopyTabImagesFromImageList)
            .Method(id::DrawBackgroundPropertyPages, L"DrawBackgroundPropertyPages", &T::DrawBackgroundPropertyPages)
            .Method(id::DrawBackgroundTabbedDialog, L"DrawBackgroundTabbedDialog", &T::DrawBackgroundTabbedDialog)
            .Method(id::DrawImage, L"DrawImage", &T::DrawImage)
            .Method(id::DrawTabs, L"DrawTabs", &T::DrawTabs)
            .Method(id::DrawTabsPropertyPages, L"DrawTabsPropertyPages", &T::DrawTabsPropertyPages)
            .Method(id::DrawTabsTabbedDialog, L"DrawTabsTabbedDialog", &T::DrawTabsTabbedDialog)
            .Method(id::GetRGBFromOLE, L"GetRGBFromOLE", &T::GetRGBFromOLE)
            .Method(id::InsertTab, L"InsertTab", &T::InsertTab)
            .Method(id::Refresh, L"Refresh", &T::Refresh)
            .Method(id::RemoveTab, L"RemoveTab", &T::RemoveTab)
            .Method(id::RemoveTabImages, L"RemoveTabImages", &T::RemoveTabImages)
            .Method(id::ResetAllColors, L"ResetAllColors", &T::ResetAllColors)
            .Method(id::ResetColorsToDefault, L"ResetColorsToDefault", &T::ResetColorsToDefault)
            .Method(id::ShowHideFocus, L"ShowHideFocus", &T::ShowHideFocus)
            .Method(id::TimerEvent, L"TimerEvent", &T::TimerEvent);
        return t;
    }();
    return table;
}

const ControlClassInfo kInfo{&tlb::CLSID_LumioTab, &tlb::IID_LumioTab, &tlb::DIID_LumioTabEvents, L"LumioTab",
                             tlb::LumioTab_MiscStatus, true, &Members()};

const bool kRegistered = [] {
    RegisterControlClass({&tlb::CLSID_LumioTab, L"LumioTab", tlb::LumioTab_MiscStatus, tlb::LumioTab_ToolboxBitmap,
                          &LumioTab::Create});
    return true;
}();

}  // namespace

LumioTab::LumioTab() : ControlBase(kInfo) {}

HRESULT LumioTab::Create(IUnknown* outer, REFIID iid, void** out) { return ControlBase::Create<LumioTab>(outer, iid, out); }

}  // namespace lumio::tab
