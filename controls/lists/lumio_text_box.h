#pragma once
// LumioTextBox: a native edit window inside the control's own window. The
// control draws only a thin border (and a preview at design time); typing is
// the edit window's, and its keyboard and mouse messages come back as the
// control's events before the edit window sees them.
#include <string>

#include "cThunkSubclass.h"
#include "control_base.h"
#include "gdi_scope.h"
#include "lumiokit_ids.h"
#include "text_box_plan.h"

namespace lumio::lists {

using tlb::eScrollBar;

class LumioTextBox : public ControlBase, public ISubclassOwner {
public:
    LumioTextBox();
    static HRESULT Create(IUnknown* outer, REFIID iid, void** out);

    // _LumioTextBox
    void zSubclass_Proc(bool bBefore, bool& bHandled, LRESULT& lReturn, HWND& lng_hWnd, UINT& uMsg, WPARAM& wParam,
                        LPARAM& lParam) override;
    OLE_COLOR get_BackColor() { return m_BackColor; }
    void put_BackColor(OLE_COLOR v);
    OLE_COLOR get_ForeColor() { return m_ForeColor; }
    void put_ForeColor(OLE_COLOR v);
    bool get_Enabled() { return WindowEnabled(); }
    void put_Enabled(bool v);
    ComPtr<IFontDisp> get_Font() { return Font(); }
    void putref_Font(ComPtr<IFontDisp> v);
    void Refresh();
    std::wstring get_PasswordChar() { return m_PasswordChar; }
    void put_PasswordChar(std::wstring v);
    std::wstring get_Text();
    void put_Text(std::wstring v);
    bool get_MultiLine() { return m_MultiLine; }
    void put_MultiLine(bool v);
    short get_BorderStyle() { return m_BorderStyle; }
    void put_BorderStyle(short v);
    eScrollBar get_ScrollBars() { return m_ScrollBars; }
    void put_ScrollBars(eScrollBar v);
    bool Initialize();

    HWND EditWindow() const { return m_hEdit; }

protected:
    void OnInitialize() override;
    void OnInitProperties() override;
    void OnReadProperties(PropertyReader& bag) override;
    void OnWriteProperties(PropertyWriter& bag) override;
    void OnTerminate() override;
    void OnResize() override;
    void OnShow() override { pPaint(); }

private:
    bool pCreateEdit();
    void pDestroyEdit();
    void pApplyFont();
    void pApplyPasswordChar();
    void pPaint();
    void pMouseEvent(DISPID id, UINT uMsg);
    short pMouseButton(UINT uMsg) const;
    static short pShiftState();
    POINT pCursorInEdit() const;

    OLE_COLOR m_BackColor = 0x80000005;
    OLE_COLOR m_ForeColor = 0x80000008;
    std::wstring m_Text;
    std::wstring m_PasswordChar;
    bool m_MultiLine = false;
    short m_BorderStyle = 1;
    eScrollBar m_ScrollBars = eScrollBar::None;
    HWND m_hEdit = nullptr;
    bool m_Initialized = false;
    gdi::OwnedObject<HFONT> m_hFont;
    MouseTrail m_Mouse;
    BoxRect m_TextRect;
    cThunkSubclass m_Subclass{*this};
};

}  // namespace lumio::lists
