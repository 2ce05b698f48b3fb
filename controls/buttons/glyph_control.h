#pragma once
// What the check box and the option button share: a 13 x 13 glyph beside a
// caption, hot, pressed and disabled looks, the focus rectangle, the caption's
// access key, the space bar and the arrows, and hover tracking through the
// self-subclassing facility. A control supplies its value's cell and how a
// click, the focus and the space bar change its value.
#include <cstdint>
#include <string>

#include "cThunkSubclass.h"
#include "about_hook.h"
#include "control_base.h"
#include "glyph_layout.h"
#include "lumiokit_ids.h"

namespace lumio::buttons {

class GlyphControl : public ControlBase, public ISubclassOwner {
public:
    // Members both controls publish, with the same dispatch identifiers.
    void About() { ShowAbout(); }
    long get_Align() { return m_Align; }
    void put_Align(long v);
    OLE_COLOR get_BackColor() { return m_BackColor; }
    void put_BackColor(OLE_COLOR v);
    OLE_COLOR get_ForeColor() { return m_ForeColor; }
    void put_ForeColor(OLE_COLOR v);
    std::wstring get_Caption() { return m_Caption; }
    void put_Caption(std::wstring v);
    bool get_Enabled() { return m_Enabled; }
    void put_Enabled(bool v);
    ComPtr<IFontDisp> get_Font() { return Font(); }
    void putref_Font(ComPtr<IFontDisp> v);
    bool get_FontBold();
    void put_FontBold(bool v);
    bool get_FontItalic();
    void put_FontItalic(bool v);
    bool get_FontUnderline();
    void put_FontUnderline(bool v);
    short get_FontSize();
    void put_FontSize(short v);
    std::wstring get_FontName();
    void put_FontName(std::wstring v);
    bool get_ShowFocusRect() { return m_ShowFocusRect; }
    void put_ShowFocusRect(bool v);
    long get_MousePointer() { return MousePointer(); }
    void put_MousePointer(long v);
    ComPtr<IPictureDisp> get_MouseIcon() { return MouseIcon(); }
    void putref_MouseIcon(ComPtr<IPictureDisp> v);
    long get_hWnd() { return static_cast<long>(reinterpret_cast<LONG_PTR>(hWnd())); }
    void DisableRefresh() { m_CanDraw = false; }
    void Refresh();

    // The window-message callback of the facility: the mouse-leave notice.
    void zSubclass_Proc(bool bBefore, bool& bHandled, LRESULT& lReturn, HWND& lng_hWnd, UINT& uMsg, WPARAM& wParam,
                        LPARAM& lParam) override;

    // The last layout, in client pixels, and what the tests look at.
    Box glyphRect() const { return m_GlyphRect; }
    Box captionRect() const { return m_CaptionRect; }
    bool hovering() const { return m_Hover; }
    bool subclassed() const;

protected:
    explicit GlyphControl(const ControlClassInfo& info);

    // The row of the value's first cell in the skin strip.
    virtual int32_t pValueGroup() const = 0;
    // Draws the 13 x 13 cell starting at row srcY at the glyph's place.
    virtual void pDrawCell(HDC dc, int32_t srcY) = 0;
    virtual void pLoadGlyphs() = 0;
    // "Value" in the bag.
    virtual void pReadValue(PropertyReader& bag) = 0;
    virtual Variant pValueForBag() const = 0;
    // The face a bag without "Font" leaves the control with.
    virtual void pSetDesignFont() {}
    // A click or an access key, after the left button (Enabled is checked here).
    virtual void pClickValue() = 0;
    // The space bar released after it was pressed.
    virtual void pSpaceValue() = 0;
    virtual bool pForcePressedLook() const { return false; }

    // The painter: nothing unless forced or the state or caption changed,
    // the control has a height and drawing is allowed.
    void pDraw(int32_t state, bool force);
    void pCalcCaptionRect();
    void pSetAccessKey();
    bool pIsMouseOver() const;
    // Shows the kept image at once.
    void pRefreshSurface();

    void OnInitialize() override;
    void OnInitProperties() override;
    void OnReadProperties(PropertyReader& bag) override;
    void OnWriteProperties(PropertyWriter& bag) override;
    void OnTerminate() override;
    void OnResize() override;
    void OnShow() override;
    void OnHide() override { m_CanDraw = false; }
    void OnAmbientChanged(const std::wstring&) override { pDraw(m_LastState, true); }
    void OnGotFocus() override;
    void OnLostFocus() override;
    void OnMouseDown(short button, short shift, float x, float y) override;
    void OnMouseMove(short button, short shift, float x, float y) override;
    void OnMouseUp(short button, short shift, float x, float y) override;
    void OnClick() override;
    void OnDblClick() override;
    void OnAccessKeyPress(short) override;
    void OnKeyDown(short& code, short shift) override;
    void OnKeyPress(short& ascii) override;
    void OnKeyUp(short& code, short shift) override;

    // Fields.
    long m_Align = 0;
    std::wstring m_Caption;
    bool m_Enabled = false;
    bool m_ShowFocusRect = false;
    bool m_HasFocus = false;
    bool m_Hover = false;
    bool m_CanDraw = false;
    int32_t m_LastState = kGlyphNormal;
    std::wstring m_LastCaption;
    short m_LastButton = 0;
    short m_LastKey = 0;
    int32_t m_Height = 0, m_Width = 0;
    Box m_GlyphRect{}, m_CaptionRect{};
    OLE_COLOR m_BackColor = 0, m_ForeColor = 0;

private:
    void pRunTimeSetup();
    void pDrawCaption();
    void pDrawFocusRect();
    // After a change of the surface's font or one of its attributes.
    void pFontChanged();

    cThunkSubclass m_Subclass{*this};
};

// The dispatch members both controls share; each adds its own Value.
template <class C>
void AddGlyphMembers(MemberTable& t);

}  // namespace lumio::buttons
