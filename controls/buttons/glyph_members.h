#pragma once
// The dispatch members the check box and the option button share.
#include "glyph_control.h"
#include "variant_convert.h"

namespace lumio::buttons {

// zSubclass_Proc reached through IDispatch: the by-reference arguments are
// written back where the caller passed them by reference.
Member SubclassProcMember(DISPID id);

template <class C>
void AddGlyphMembers(MemberTable& t) {
    namespace id = tlb::dispid::LumioCheckBox;
    t.Add(SubclassProcMember(id::zSubclass_Proc))
        .Method(id::About, L"About", &C::About)
        .Property(id::Align, L"Align", &C::get_Align, &C::put_Align)
        .Property(id::BackColor, L"BackColor", &C::get_BackColor, &C::put_BackColor)
        .Property(id::ForeColor, L"ForeColor", &C::get_ForeColor, &C::put_ForeColor)
        .Property(id::Caption, L"Caption", &C::get_Caption, &C::put_Caption)
        .Property(id::Enabled, L"Enabled", &C::get_Enabled, &C::put_Enabled)
        .Property(id::Font, L"Font", &C::get_Font, &C::putref_Font)
        .Property(id::FontBold, L"FontBold", &C::get_FontBold, &C::put_FontBold)
        .Property(id::FontItalic, L"FontItalic", &C::get_FontItalic, &C::put_FontItalic)
        .Property(id::FontUnderline, L"FontUnderline", &C::get_FontUnderline, &C::put_FontUnderline)
        .Property(id::FontSize, L"FontSize", &C::get_FontSize, &C::put_FontSize)
        .Property(id::FontName, L"FontName", &C::get_FontName, &C::put_FontName)
        .Property(id::ShowFocusRect, L"ShowFocusRect", &C::get_ShowFocusRect, &C::put_ShowFocusRect)
        .Property(id::MousePointer, L"MousePointer", &C::get_MousePointer, &C::put_MousePointer)
        .Property(id::MouseIcon, L"MouseIcon", &C::get_MouseIcon, &C::putref_MouseIcon)
        .ReadOnly(id::hWnd, L"hWnd", &C::get_hWnd)
        .Method(id::DisableRefresh, L"DisableRefresh", &C::DisableRefresh)
        .Method(id::Refresh, L"Refresh", &C::Refresh);
}

}  // namespace lumio::buttons
