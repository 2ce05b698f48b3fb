#pragma once
// LumioStatusBar: a light grey band at the bottom of its form with one line of
// text and, while it spans the bottom of a sizable form, a size grip that
// sizes the form when dragged.
#include <string>

#include "about_hook.h"
#include "control_base.h"
#include "imaging/pc_mem_dc.h"
#include "lumiokit_ids.h"
#include "status_plan.h"

namespace lumio::lists {

using tlb::SbarStyleConstants;

class LumioStatusBar : public ControlBase {
public:
    LumioStatusBar();
    static HRESULT Create(IUnknown* outer, REFIID iid, void** out);

    // _LumioStatusBar
    void About() { ShowAbout(); }
    OLE_COLOR get_ForeColor() { return m_ForeColor; }
    void put_ForeColor(OLE_COLOR v);
    bool get_Enabled() { return WindowEnabled(); }
    void put_Enabled(bool v);
    ComPtr<IFontDisp> get_Font() { return Font(); }
    void putref_Font(ComPtr<IFontDisp> v);
    void Refresh();
    SbarStyleConstants get_Style() { return m_Style; }
    void put_Style(SbarStyleConstants v);
    std::wstring get_SimpleText() { return m_SimpleText; }
    void put_SimpleText(std::wstring v);
    bool get_ShowTips() { return m_ShowTips; }
    void put_ShowTips(bool v);

    const StatusRect& GripArea() const { return m_GripRect; }

protected:
    void OnInitialize() override;
    void OnInitProperties() override;
    void OnReadProperties(PropertyReader& bag) override;
    void OnWriteProperties(PropertyWriter& bag) override;
    void OnResize() override { pRedraw(); }
    void OnShow() override { pRedraw(); }
    void OnAmbientChanged(const std::wstring&) override { pRedraw(); }
    void OnMouseDown(short button, short shift, float x, float y) override;
    void OnMouseMove(short button, short shift, float x, float y) override;
    void OnMouseUp(short button, short shift, float x, float y) override;
    void OnClick() override;
    void OnDblClick() override;

private:
    void pRedraw();
    void pDrawGradient(HDC dc, const GradientV& g);
    bool pGripTest();
    void pRaiseMouse(DISPID id, short button, short shift, float x, float y);

    SbarStyleConstants m_Style = SbarStyleConstants::sbrNormal;
    std::wstring m_SimpleText;
    bool m_ShowTips = true;
    OLE_COLOR m_ForeColor = 0x80000012;
    StatusRect m_GripRect;
    bool m_OverGrip = false;
    pcMemDC m_Grip;
};

}  // namespace lumio::lists
