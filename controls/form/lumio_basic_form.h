#pragma once
// LumioBasicForm: invisible at run time, it gives the form it sits on the
// skinned custom frame, drawing the frame's pieces itself through the
// frame's callbacks, and offers the library's message and input boxes.
#include <memory>
#include <string>

#include "clsCustomWndow.h"
#include "control_base.h"
#include "form_skin.h"
#include "imaging/c32bpp_dib.h"
#include "lumiokit_ids.h"

namespace lumio::form {

class LumioBasicForm : public ControlBase {
public:
    LumioBasicForm();
    static HRESULT Create(IUnknown* outer, REFIID iid, void** out);

    // _LumioBasicForm
    long ShowMsgBox(Variant MainText, Variant ContentText, long MsgBoxButton, long MsgBoxIcon, Variant Title);
    std::wstring ShowInputBox(Variant Prompt, Variant Default, Variant Title);

    // _CustomWindowCalls; Modified and the region are the only out-arguments.
    void UserDrawnTitleBar(HDC dc, long cx, long cy, bool has_focus, bool& modified);
    void UserDrawnMenuBar(HDC dc, long cx, long cy, bool has_focus, bool& modified);
    void UserDrawnButton(const std::wstring& id, short state, HDC dc, long x, long y, bool has_focus, bool& modified);
    void UserDrawnBorder(HDC dc, long cx, long cy, bool has_focus, bool& modified);
    void BeforeDrawCaption(HDC dc, const std::wstring& caption, long x, long y);
    HRGN OnCreateRegion(long cx, long cy);

    clsCustomWndow* Window() const { return m_Window.get(); }
    long FormBorder() const { return m_FormBorder; }
    bool MaxButton() const { return m_MaxButton; }
    bool MinButton() const { return m_MinButton; }

protected:
    void OnInitialize() override;
    void OnInitProperties() override;
    void OnReadProperties(PropertyReader& bag) override;
    void OnTerminate() override;
    void OnResize() override;

private:
    HWND FormWindowNow() const;
    void StyleWindow(IDispatch* form);

    std::unique_ptr<clsCustomWndow> m_Window;
    long m_FormBorder = 2;
    bool m_MaxButton = true;
    bool m_MinButton = true;
    std::unique_ptr<c32bppDIB> m_CaptionDIB;
    ComPtr<IDispatch> form_;
    // The drawing sources, made on first use.
    std::unique_ptr<StripDC> pTop, pLeft, pRight, pBottom, pMenu, pBtn[4];
    HWND command1_ = nullptr;
    bool resizing_ = false;
};

}  // namespace lumio::form
