// LumioTab's life cycle: a new control, reading and writing the bag, the
// standard palette, tear-down.
#include "error_source.h"
#include "lumio_tab.h"
#include "run_time_error.h"
#include "simple_dispatch.h"
#include "tab_pages.h"

namespace lumio::tab {

namespace {

constexpr OLE_COLOR kButtonFace = 0x8000000F, kButtonText = 0x80000012, kButtonShadow = 0x80000010,
                    kButtonHighlight = 0x80000014, kDarkShadow = 0x80000015;
constexpr OLE_COLOR kFocused = 0xEE8269, kHover = 0x3BC7FF, kMask = 0xC0C0C0;

// A value the bag holds but that will not convert stops the read (13).
template <class T>
T ReadStrict(PropertyReader& bag, const wchar_t* name, const T& def) {
    Variant v = bag.Read(name, VariantValue<T>::To(def));
    try {
        return VariantValue<T>::From(*v);
    } catch (const ArgError&) {
        Raise(kErrTypeMismatch);
    }
}

OLE_COLOR ReadColour(PropertyReader& bag, const wchar_t* name, OLE_COLOR def) {
    return static_cast<OLE_COLOR>(ReadStrict<long>(bag, name, static_cast<long>(def)));
}

Variant Colour(OLE_COLOR c) { return Variant::Long(static_cast<long>(c)); }

std::wstring Indexed(const wchar_t* key, int32_t i) { return std::wstring(key) + L"(" + std::to_wstring(i) + L")"; }

}  // namespace

void LumioTab::OnInitProperties() {
    WithErrorSource(L"LumioTab.UserControl_InitProperties", [&] {
        m_EnabledCopy = m_ShowFocusRect = m_UseFocusedColor = m_UseMaskColor = m_UseMouseWheelScroll = true;
        m_PictureAlign = PictureAlign{};
        m_PictureSize = PictureSize{};
        m_TabStyle = Style{};
        model_.StoreActiveTab(0);
        m_ActiveTabBackEndColor = m_ActiveTabBackStartColor = kButtonFace;
        m_ActiveTabForeColor = kButtonText;
        m_ActiveTabHeight = 20;
        m_BottomRightInnerBorderColor = m_DisabledTabBackColor = kButtonShadow;
        m_DisabledTabForeColor = kButtonHighlight;
        m_FocusedColor = kFocused;
        m_HoverColor = kHover;
        m_InActiveTabBackEndColor = m_InActiveTabBackStartColor = kButtonFace;
        m_InActiveTabForeColor = kButtonText;
        m_InActiveTabHeight = 18;
        m_OuterBorderColor = kDarkShadow;
        m_TabStripBackColor = Ambient().BackColor();
        m_TopLeftInnerBorderColor = kButtonHighlight;
        m_XRadius = m_YRadius = 10;
        m_ActiveTabFont = Ambient().Font();
        m_InActiveTabFont = Ambient().Font();
        if (ComPtr<IFont> bold = m_ActiveTabFont.As<IFont>()) bold->put_Bold(TRUE);
        m_SurfaceMask = kMask;
        // A parent that gives no width (a host of its own kind) leaves the default.
        double width = 0;
        Variant w;
        ComPtr<IDispatch> parent = Parent();
        if (parent && SUCCEEDED(GetProperty(parent.get(), L"Width", w))) {
            try {
                width = VariantValue<double>::From(*w);
            } catch (const ArgError&) {
            }
        }
        model_.StoreTabOffset(DefaultTabOffset(width));
        model_.InitRecords(3);
        ResetColorsToDefault();
    });
}

void LumioTab::OnReadProperties(PropertyReader& bag) {
    WithErrorSource(L"LumioTab.UserControl_ReadProperties", [&] {
        model_.StoreActiveTab(ReadStrict<long>(bag, L"ActiveTab", 0));
        m_UseControlBox = ReadStrict(bag, L"UseControlBox", false);
        m_ShowFocusRect = ReadStrict(bag, L"ShowFocusRect", true);
        m_UseFocusedColor = ReadStrict(bag, L"UseFocusedColor", true);
        m_EnabledCopy = ReadStrict(bag, L"Enabled", true);
        m_UseMaskColor = ReadStrict(bag, L"UseMaskColor", true);
        m_UseMouseWheelScroll = ReadStrict(bag, L"UseMouseWheelScroll", true);
        m_PictureAlign = static_cast<PictureAlign>(ReadStrict<long>(bag, L"PictureAlign", 0));
        m_PictureSize = static_cast<PictureSize>(ReadStrict<long>(bag, L"PictureSize", 0));
        m_TabStyle = static_cast<Style>(ReadStrict<long>(bag, L"TabStyle", 0));
        m_ActiveTabBackEndColor = ReadColour(bag, L"ActiveTabBackEndColor", kButtonFace);
        m_ActiveTabBackStartColor = ReadColour(bag, L"ActiveTabBackStartColor", kButtonFace);
        m_ActiveTabForeColor = ReadColour(bag, L"ActiveTabForeColor", kButtonText);
        m_ActiveTabHeight = ReadStrict<long>(bag, L"ActiveTabHeight", 20);
        m_BottomRightInnerBorderColor = ReadColour(bag, L"BottomRightInnerBorderColor", kButtonShadow);
        m_DisabledTabBackColor = ReadColour(bag, L"DisabledTabBackColor", kButtonShadow);
        m_DisabledTabForeColor = ReadColour(bag, L"DisabledTabForeColor", kButtonHighlight);
        m_FocusedColor = ReadColour(bag, L"FocusedColor", kFocused);
        m_HoverColor = ReadColour(bag, L"HoverColor", kHover);
        m_InActiveTabBackEndColor = ReadColour(bag, L"InActiveTabBackEndColor", kButtonFace);
        m_InActiveTabBackStartColor = ReadColour(bag, L"InActiveTabBackStartColor", kButtonFace);
        m_InActiveTabForeColor = ReadColour(bag, L"InActiveTabForeColor", kButtonText);
        m_InActiveTabHeight = ReadStrict<long>(bag, L"InActiveTabHeight", 18);
        m_OuterBorderColor = ReadColour(bag, L"OuterBorderColor", kDarkShadow);
        long count = ReadStrict<long>(bag, L"TabCount", 3);
        m_TabStripBackColor = ReadColour(bag, L"TabStripBackColor", Ambient().BackColor());
        m_TopLeftInnerBorderColor = ReadColour(bag, L"TopLeftInnerBorderColor", kButtonHighlight);
        m_XRadius = ReadStrict<long>(bag, L"XRadius", 10);
        m_YRadius = ReadStrict<long>(bag, L"YRadius", 10);
        m_ActiveTabFont = ReadStrict(bag, L"ActiveTabFont", Ambient().Font());
        m_InActiveTabFont = ReadStrict(bag, L"InActiveTabFont", Ambient().Font());
        m_SurfaceBack = ReadColour(bag, L"BackColor", kButtonFace);
        SetWindowEnabled(ReadStrict(bag, L"Enabled", true));
        m_SurfaceFore = ReadColour(bag, L"ForeColor", 0);
        SetSurfaceColors(m_SurfaceBack, m_SurfaceFore);
        m_SurfaceMask = ReadColour(bag, L"PictureMaskColor", kMask);
        model_.StoreTabOffset(ReadStrict<long>(bag, L"TabOffset", TabModel::kDefaultTabOffset));
        model_.ShiftContainedControls(model_.ActiveTab());
        std::vector<TabRecord> records(static_cast<size_t>(count > 0 ? count : 0));
        std::vector<ComPtr<IPictureDisp>> pictures(records.size());
        for (int32_t i = 0; i < static_cast<int32_t>(records.size()); ++i) {
            records[i].caption = ReadStrict<std::wstring>(bag, Indexed(L"TabCaption", i).c_str(), L"Tab" + std::to_wstring(i));
            records[i].enabled = ReadStrict(bag, Indexed(L"TabEnabled", i).c_str(), true);
            records[i].accessKey = ReadStrict<long>(bag, Indexed(L"TabAccessKey", i).c_str(), 0);
            pictures[i] = ReadStrict(bag, Indexed(L"TabPicture", i).c_str(), ComPtr<IPictureDisp>());
        }
        model_.LoadRecords(std::move(records));
        m_Pictures = std::move(pictures);
        ResetColorsToDefault();
        model_.AssignAccessKeys();
        if (pIsUserMode()) pRunTimeSetUp();
    });
}

void LumioTab::OnWriteProperties(PropertyWriter& bag) {
    WithErrorSource(L"LumioTab.UserControl_WriteProperties", [&] {
        bag.Write(L"TabCount", Variant::Long(model_.TabCount()), Variant::Long(3));
        for (int32_t i = 0; i < model_.TabCount(); ++i) {
            const TabRecord& r = model_.records()[i];
            bag.Write(Indexed(L"TabCaption", i).c_str(), Variant::String(r.caption),
                      Variant::String(L"Tab" + std::to_wstring(i)));
            bag.Write(Indexed(L"TabEnabled", i).c_str(), Variant::Bool(r.enabled), Variant::Bool(true));
            bag.Write(Indexed(L"TabAccessKey", i).c_str(), Variant::Long(r.accessKey), Variant::Long(0));
            bag.Write(Indexed(L"TabPicture", i).c_str(), Variant::Object(m_Pictures[i].get()), Variant::Object(nullptr));
        }
        ComPtr<IFontDisp> ambientFont = Ambient().Font();
        OLE_COLOR ambientBack = Ambient().BackColor();
        bag.Write(L"ActiveTab", Variant::Long(model_.ActiveTab()), Variant::Long(0));
        bag.Write(L"ActiveTabBackEndColor", Colour(m_ActiveTabBackEndColor), Colour(kButtonFace));
        bag.Write(L"ActiveTabBackStartColor", Colour(m_ActiveTabBackStartColor), Colour(kButtonFace));
        bag.Write(L"ActiveTabFont", Variant::Object(m_ActiveTabFont.get()), Variant::Object(ambientFont.get()));
        bag.Write(L"ActiveTabForeColor", Colour(m_ActiveTabForeColor), Colour(kButtonText));
        bag.Write(L"ActiveTabHeight", Variant::Long(m_ActiveTabHeight), Variant::Long(20));
        bag.Write(L"BackColor", Colour(m_SurfaceBack), Colour(kButtonFace));
        bag.Write(L"BottomRightInnerBorderColor", Colour(m_BottomRightInnerBorderColor), Colour(kButtonShadow));
        bag.Write(L"DisabledTabBackColor", Colour(m_DisabledTabBackColor), Colour(kButtonShadow));
        bag.Write(L"DisabledTabForeColor", Colour(m_DisabledTabForeColor), Colour(kButtonHighlight));
        bag.Write(L"Enabled", Variant::Bool(m_EnabledCopy), Variant::Bool(true));
        bag.Write(L"FocusedColor", Colour(m_FocusedColor), Colour(kFocused));
        bag.Write(L"ForeColor", Colour(m_SurfaceFore), Colour(0));
        bag.Write(L"HoverColor", Colour(m_HoverColor), Colour(kHover));
        bag.Write(L"InActiveTabBackEndColor", Colour(m_InActiveTabBackEndColor), Colour(kButtonFace));
        bag.Write(L"InActiveTabBackStartColor", Colour(m_InActiveTabBackStartColor), Colour(kButtonFace));
        bag.Write(L"InActiveTabFont", Variant::Object(m_InActiveTabFont.get()), Variant::Object(ambientFont.get()));
        bag.Write(L"InActiveTabForeColor", Colour(m_InActiveTabForeColor), Colour(kButtonText));
        bag.Write(L"InActiveTabHeight", Variant::Long(m_InActiveTabHeight), Variant::Long(18));
        bag.Write(L"OuterBorderColor", Colour(m_OuterBorderColor), Colour(kDarkShadow));
        bag.Write(L"PictureAlign", Variant::Long(static_cast<long>(m_PictureAlign)), Variant::Long(0));
        bag.Write(L"PictureMaskColor", Colour(m_SurfaceMask), Colour(kMask));
        bag.Write(L"PictureSize", Variant::Long(static_cast<long>(m_PictureSize)), Variant::Long(0));
        bag.Write(L"ShowFocusRect", Variant::Bool(m_ShowFocusRect), Variant::Bool(true));
        bag.Write(L"TabStripBackColor", Colour(m_TabStripBackColor), Colour(ambientBack));
        bag.Write(L"TabStyle", Variant::Long(static_cast<long>(m_TabStyle)), Variant::Long(0));
        bag.Write(L"TopLeftInnerBorderColor", Colour(m_TopLeftInnerBorderColor), Colour(kButtonHighlight));
        bag.Write(L"UseControlBox", Variant::Bool(m_UseControlBox), Variant::Bool(false));
        bag.Write(L"UseFocusedColor", Variant::Bool(m_UseFocusedColor), Variant::Bool(true));
        bag.Write(L"UseMaskColor", Variant::Bool(m_UseMaskColor), Variant::Bool(true));
        bag.Write(L"UseMouseWheelScroll", Variant::Bool(m_UseMouseWheelScroll), Variant::Bool(true));
        bag.Write(L"XRadius", Variant::Long(m_XRadius), Variant::Long(10));
        bag.Write(L"YRadius", Variant::Long(m_YRadius), Variant::Long(10));
        bag.Write(L"TabOffset", Variant::Long(model_.TabOffset()), Variant::Long(TabModel::kDefaultTabOffset));
    });
}

void LumioTab::ResetColorsToDefault() {
    WithErrorSource(L"LumioTab.ResetColorsToDefault", [&] {
        SetAutoRedraw(false);
        m_ActiveTabBackStartColor = 0xFFFFFF;
        m_ActiveTabBackEndColor = 0xFFFFFF;
        m_InActiveTabBackStartColor = 0xEBEBEB;
        m_InActiveTabBackEndColor = 0xCFCFCF;
        m_HoverColor = kHover;
        m_FocusedColor = kFocused;
        m_ActiveTabForeColor = 0;
        m_InActiveTabForeColor = 0;
        m_DisabledTabBackColor = 0xCBCAC9;
        m_DisabledTabForeColor = 0xA0A0A0;
        m_OuterBorderColor = 0x958C89;
    });
}

void LumioTab::ResetAllColors() {
    WithErrorSource(L"LumioTab.ResetAllColors", [&] {
        m_Busy = true;
        try {
            ResetColorsToDefault();
        } catch (...) {
            m_Busy = false;
            throw;
        }
        m_Busy = false;
        Refresh();
    });
}

void LumioTab::OnTerminate() {
    pTearDown();
    m_Contained = nullptr;
}

}  // namespace lumio::tab
