#pragma once
// LumioOptionButton: a radio button whose glyph comes from the PNG strip
// "OPTION" (13 x 104 with alpha: unselected and selected groups of normal,
// hot, pressed and disabled cells). Selecting it by click, focus or the
// space bar sets it True; gaining the focus clears the other option buttons
// of its container.
#include "glyph_control.h"
#include "imaging/c32bpp_dib.h"

namespace lumio::buttons {

class LumioOptionButton : public GlyphControl {
public:
    LumioOptionButton();
    static HRESULT Create(IUnknown* outer, REFIID iid, void** out);

    bool get_Value() { return m_Value; }
    // Leaves the other option buttons alone.
    void put_Value(bool v);

protected:
    int32_t pValueGroup() const override { return OptionValueGroup(m_Value); }
    void pDrawCell(HDC dc, int32_t srcY) override;
    void pLoadGlyphs() override;
    void pReadValue(PropertyReader& bag) override { m_Value = bag.ReadLong(L"Value", 0) != 0; }
    Variant pValueForBag() const override { return Variant::Bool(m_Value); }
    void pClickValue() override;
    void pSpaceValue() override;
    bool pForcePressedLook() const override { return true; }
    void OnGotFocus() override;

private:
    // Sets value on the other selected option buttons of this one's container.
    void pClearSiblings(bool value);
    void pClearSiblingsIn(IDispatch* form, IDispatch* container, bool value);

    bool m_Value = false;
    c32bppDIB m_Glyphs;
};

}  // namespace lumio::buttons
