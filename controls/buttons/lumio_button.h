#pragma once
// LumioButton: the library's glass push button. Properties, persistence and
// events here; painting and the message hook come in files of their own.
#include <functional>
#include <string>

#include "button_hook.h"
#include "about_hook.h"
#include "control_base.h"
#include "lumiokit_ids.h"

namespace lumio::buttons {

using tlb::eButtonShapes;
using tlb::ePicAlignments;
using tlb::ePictureSizes;

// State codes, also persisted under "State".
enum ButtonState : int32_t { kStateNormal = 0, kStateHot = 1, kStatePressed = 2, kStateDisabled = 3 };

// The button hooks its own window (mouse-leave notices) and its form
// (activation) and is the C++ owner of those hooks.
class LumioButton : public ControlBase, private ISubclassOwner {
public:
    LumioButton();
    static HRESULT Create(IUnknown* outer, REFIID iid, void** out);

    // _LumioButton
    OLE_COLOR get_BackColor() { return m_BackColor; }
    void put_BackColor(OLE_COLOR v);
    eButtonShapes get_ButtonShape() { return m_ButtonShape; }
    void put_ButtonShape(eButtonShapes v);
    std::wstring get_Caption() { return m_Caption; }
    void put_Caption(std::wstring v);
    bool get_CheckBoxMode() { return m_CheckBoxMode; }
    void put_CheckBoxMode(bool v);
    bool get_Enabled() { return m_Enabled; }
    void put_Enabled(bool v);
    OLE_COLOR get_ForeColor() { return m_ForeColor; }
    void put_ForeColor(OLE_COLOR v);
    bool get_HandPointer() { return m_HandPointer; }
    void put_HandPointer(bool v);
    OLE_COLOR get_MaskColor() { return m_MaskColor; }
    void put_MaskColor(OLE_COLOR v);
    ComPtr<IPictureDisp> get_MouseIcon() { return MouseIcon(); }
    void putref_MouseIcon(ComPtr<IPictureDisp> v);
    short get_MousePointer() { return MousePointer(); }
    void put_MousePointer(short v);
    ePicAlignments get_PictureAlignment() { return m_PicAlign; }
    void put_PictureAlignment(ePicAlignments v);
    ComPtr<IPictureDisp> get_PictureDown() { return m_PicDown; }
    void putref_PictureDown(ComPtr<IPictureDisp> v);
    ComPtr<IPictureDisp> get_PictureHot() { return m_PicHot; }
    void putref_PictureHot(ComPtr<IPictureDisp> v);
    ComPtr<IPictureDisp> get_PictureNormal() { return m_PicNormal; }
    void putref_PictureNormal(ComPtr<IPictureDisp> v);
    long get_PictureOpacity();
    void put_PictureOpacity(long v);
    ePictureSizes get_PictureSize() { return m_PicSize; }
    void put_PictureSize(ePictureSizes v);
    long get_PictureSizeH() { return m_PicSizeH; }
    void put_PictureSizeH(long v);
    long get_PictureSizeW() { return m_PicSizeW; }
    void put_PictureSizeW(long v);
    bool get_UseMaskColor() { return m_UseMask; }
    void put_UseMaskColor(bool v);
    bool get_Value() { return m_Value; }
    void put_Value(bool v);
    void Refresh();
    void AboutBox() { ShowAbout(); }

    // The drawing colours as the painting uses them (RGB).
    struct Palette {
        int32_t back, pressed_face, fore, disabled_face, disabled_text, hot_band_end, mask, checked_end;
    };
    Palette palette() const {
        return {m_cBack, m_cPressedFace, m_cFore, m_cDisabledFace, m_cDisabledText, m_cHotBandEnd, m_cMask, m_cCheckedEnd};
    }
    int32_t state() const { return m_State; }
    // The last layout, in client pixels (the picture's is empty without one).
    RECT captionRect() const { return m_CaptionRect; }
    RECT pictureRect() const { return m_PicRect; }

protected:
    // Life cycle (lumio_button_persist.cpp).
    void OnInitialize() override;
    void OnInitProperties() override;
    void OnReadProperties(PropertyReader& bag) override;
    void OnWriteProperties(PropertyWriter& bag) override;
    void OnTerminate() override;
    void OnResize() override;
    void OnShow() override { m_bHidden = false; }
    void OnHide() override { m_bHidden = true; }
    void OnPaint() override;
    // Input (lumio_button_input.cpp).
    void OnMouseDown(short button, short shift, float x, float y) override;
    void OnMouseMove(short button, short shift, float x, float y) override;
    void OnMouseUp(short button, short shift, float x, float y) override;
    void OnClick() override { pClick(); }
    void OnDblClick() override;
    void OnKeyDown(short& code, short shift) override;
    void OnKeyPress(short& ascii) override;
    void OnKeyUp(short& code, short shift) override;
    void OnGotFocus() override;
    void OnLostFocus() override;
    void OnAccessKeyPress(short key) override;
    void OnAmbientChanged(const std::wstring& name) override;

private:
    // The click handler: Click for mouse, Space, access keys and Value = True.
    void pClick();
    void pRunTimeSetup();
    void pRequestMouseLeave();

    // The message hook (lumio_button_hook.cpp).
    void pHookWindows();
    void zSubclass_Proc(bool bBefore, bool& bHandled, LRESULT& lReturn, HWND& hWnd, UINT& uMsg, WPARAM& wParam,
                        LPARAM& lParam) override;
    void pShowHand();
    void pHookCallback(bool bBefore, bool& bHandled, LRESULT& lReturn, HWND hWnd, UINT uMsg, WPARAM wParam,
                       LPARAM lParam);
    // The reaction to the hooked activation and mouse-leave messages.
    void pWndProc(bool bBefore, bool& bHandled, LRESULT& lReturn, HWND hWnd, UINT uMsg, WPARAM wParam,
                  LPARAM lParam);
    bool pHasNormalPicture() const;
    // PictureDown and PictureHot: stored, repainted while their state shows.
    void pPutStatePicture(ComPtr<IPictureDisp> &slot, ComPtr<IPictureDisp> v, bool showing, const wchar_t *name);

    // Painting (lumio_button_paint.cpp).
    void pRedraw(int32_t state, bool force);
    void pPaintState(int32_t state);
    void pSetColors();
    static bool pIsNT();
    void pSetButtonRegion(int32_t ellipseW, int32_t ellipseH);
    void pCalcLayout(int32_t marginV, int32_t marginH);
    void pFillGradientV(int32_t c1, int32_t c2, float& split, int32_t x1, int32_t y1, int32_t x2, int32_t y2);
    void pDrawCaption(int32_t colour);
    void pDrawStatePicture();
    void pDrawPicture(IPictureDisp* pic);
    void pFillBack(int32_t colour);
    void pDrawRect(int32_t colour, int32_t x1, int32_t y1, int32_t x2, int32_t y2);
    void pDrawLine(int32_t colour, int32_t x1, int32_t y1, int32_t x2, int32_t y2);

    // Property values.
    OLE_COLOR m_BackColor = 0;
    std::wstring m_Caption;
    bool m_CheckBoxMode = false;
    bool m_Enabled = false;
    OLE_COLOR m_ForeColor = 0;
    bool m_HandPointer = false;
    OLE_COLOR m_MaskColor = 0;
    ePicAlignments m_PicAlign = ePicAlignments::elaBehindText;
    ComPtr<IPictureDisp> m_PicDown, m_PicHot, m_PicNormal;
    float m_PicOpacity = 0;
    ePictureSizes m_PicSize = ePictureSizes::elpNormal;
    long m_PicSizeH = 0, m_PicSizeW = 0;
    eButtonShapes m_ButtonShape = eButtonShapes::elsCutNone;
    bool m_UseMask = false;
    bool m_Value = false;
    // Run-time state.
    int32_t m_State = kStateNormal;
    bool m_bHasFocus = false, m_bPressed = false, m_bMouseDown = false, m_bSpaceDown = false;
    bool m_bHover = false, m_bTracking = false, m_bFormActive = false, m_bDefault = false;
    int32_t m_LastButton = 0;
    bool m_bHidden = false, m_bIsNT = false, m_bRecalc = false, m_bReady = false, m_bUserTrack = false;
    HCURSOR m_hHandCursor = nullptr;
    int32_t m_Width = 0, m_Height = 0;
    // Palette.
    int32_t m_cBack = 0, m_cPressedFace = 0, m_cFore = 0, m_cDisabledFace = 0, m_cDisabledText = 0;
    int32_t m_cHotBandEnd = 0, m_cMask = 0, m_cCheckedEnd = 0;
    bool m_PaintedFocus = false;
    RECT m_CaptionRect{}, m_PicRect{};
    ButtonHook m_Hooks{*this};
};

}  // namespace lumio::buttons
