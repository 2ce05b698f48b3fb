#pragma once
// LumioCheckBox: a three-state check box whose glyph comes from the bitmap
// strip "CHECKBOX" (13 x 156: Unchecked, Checked and Grayed groups of normal,
// hot, pressed and disabled cells).
#include "glyph_control.h"
#include "imaging/pc_mem_dc.h"

namespace lumio::buttons {

class LumioCheckBox : public GlyphControl {
public:
    LumioCheckBox();
    static HRESULT Create(IUnknown* outer, REFIID iid, void** out);

    long get_Value() { return m_Value; }
    // Any number is kept; those other than 0 and 1 draw as Grayed.
    void put_Value(long v);

protected:
    int32_t pValueGroup() const override { return CheckValueGroup(m_Value); }
    void pDrawCell(HDC dc, int32_t srcY) override;
    void pLoadGlyphs() override;
    void pReadValue(PropertyReader& bag) override { m_Value = bag.ReadLong(L"Value", 0); }
    Variant pValueForBag() const override { return Variant::Long(m_Value); }
    void pSetDesignFont() override;
    void pClickValue() override;
    void pSpaceValue() override;

private:
    long m_Value = 0;
    pcMemDC m_Glyphs;
};

}  // namespace lumio::buttons
