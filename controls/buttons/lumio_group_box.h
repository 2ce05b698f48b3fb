#pragma once
// LumioGroupBox: a framed container, drawn as a classic rounded group frame
// with its caption set into the top edge, or as a panel with a gradient
// header and body. It takes no focus and raises only mouse events.
#include <string>

#include "button_layout.h"
#include "about_hook.h"
#include "control_base.h"
#include "lumiokit_ids.h"

namespace lumio::buttons {

class LumioGroupBox : public ControlBase {
public:
    LumioGroupBox();
    static HRESULT Create(IUnknown* outer, REFIID iid, void** out);

    void About() { ShowAbout(); }
    long get_Alignment() { return m_Alignment; }
    void put_Alignment(long v);
    long get_Appearance() { return m_Appearance; }
    void put_Appearance(long v);
    OLE_COLOR get_BorderColor() { return m_BorderColor; }
    void put_BorderColor(OLE_COLOR v);
    OLE_COLOR get_BackColor() { return m_BackColor; }
    void put_BackColor(OLE_COLOR v);
    OLE_COLOR get_BackColor2() { return m_BackColor2; }
    void put_BackColor2(OLE_COLOR v);
    OLE_COLOR get_HeadColor1() { return m_HeadColor1; }
    void put_HeadColor1(OLE_COLOR v);
    OLE_COLOR get_HeadColor2() { return m_HeadColor2; }
    void put_HeadColor2(OLE_COLOR v);
    long get_HeaderHeight() { return m_HeaderHeight; }
    void put_HeaderHeight(long v);
    OLE_COLOR get_ForeColor() { return m_ForeColor; }
    void put_ForeColor(OLE_COLOR v);
    bool get_Enabled() { return WindowEnabled(); }
    void put_Enabled(bool v);
    ComPtr<IFontDisp> get_Font() { return Font(); }
    void putref_Font(ComPtr<IFontDisp> v);
    void Refresh();
    long get_hWnd() { return static_cast<long>(reinterpret_cast<LONG_PTR>(hWnd())); }
    std::wstring get_Caption() { return m_Caption; }
    void put_Caption(std::wstring v);

    Box captionRect() const { return m_CaptionRect; }
    // Times the painter ran, for tests of what repaints.
    int paintCount() const { return m_PaintCount; }

protected:
    void OnInitProperties() override;
    void OnReadProperties(PropertyReader& bag) override;
    void OnWriteProperties(PropertyWriter& bag) override;
    void OnResize() override { pPaint(); }
    void OnShow() override { pPaint(); }
    void OnPaint() override { pPaint(); }
    void OnAmbientChanged(const std::wstring&) override { pPaint(); }
    void OnClick() override;
    void OnDblClick() override;
    void OnMouseDown(short button, short shift, float x, float y) override;
    void OnMouseMove(short button, short shift, float x, float y) override;
    void OnMouseUp(short button, short shift, float x, float y) override;

private:
    void pSetColour(OLE_COLOR& field, OLE_COLOR v, const wchar_t* name);
    // The painter (lumio_group_box_paint.cpp): every failing step is skipped.
    void pPaint();
    void pPaintFrame(int32_t W, int32_t H, const std::wstring& caption);
    void pPaintGroupBox(int32_t W, int32_t H, const std::wstring& caption);
    // A line in colour (translated, and written back translated) without its end point.
    void pDrawLine(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t& colour);
    void pFillGradientV(int32_t c1, int32_t c2, float& split, int32_t x1, int32_t y1, int32_t x2, int32_t y2);

    long m_Alignment = 0;
    long m_Appearance = 0;
    std::wstring m_Caption;
    OLE_COLOR m_BorderColor = 0, m_ForeColor = 0, m_BackColor = 0, m_BackColor2 = 0;
    OLE_COLOR m_HeadColor1 = 0, m_HeadColor2 = 0;
    long m_HeaderHeight = 22;
    Box m_CaptionRect{};
    int m_PaintCount = 0;
};

}  // namespace lumio::buttons
