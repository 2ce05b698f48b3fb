#pragma once
// LumioTab: a container whose contained controls sit on tab pages. The tab
// rules live in core/tab_model.h; this is the control around them: its
// properties and persistence, the contained controls through the host's
// extenders, pictures, and the drawing toolkit.
#include <functional>
#include <string>
#include <vector>

#include "about_hook.h"
#include "control_base.h"
#include "lumiokit_ids.h"
#include "cThunkSubclass.h"
#include "tab_model.h"

namespace lumio::tab {

using tlb::PictureAlign;
using tlb::PictureSize;
using tlb::Style;

class LumioTab : public ControlBase, private TabHost, private ISubclassOwner {
public:
    LumioTab();
    static HRESULT Create(IUnknown* outer, REFIID iid, void** out);

    // Colours and sizes (standard writes unless noted).
    OLE_COLOR get_ActiveTabBackEndColor() { return m_ActiveTabBackEndColor; }
    void put_ActiveTabBackEndColor(OLE_COLOR v);
    OLE_COLOR get_ActiveTabBackStartColor() { return m_ActiveTabBackStartColor; }
    void put_ActiveTabBackStartColor(OLE_COLOR v);
    ComPtr<IFontDisp> get_ActiveTabFont() { return m_ActiveTabFont; }
    void putref_ActiveTabFont(ComPtr<IFontDisp> v);
    OLE_COLOR get_ActiveTabForeColor() { return m_ActiveTabForeColor; }
    void put_ActiveTabForeColor(OLE_COLOR v);
    long get_ActiveTab() { return model_.ActiveTab(); }
    void put_ActiveTab(long v);
    long get_ActiveTabHeight() { return m_ActiveTabHeight; }
    void put_ActiveTabHeight(long v);
    OLE_COLOR get_BottomRightInnerBorderColor() { return m_BottomRightInnerBorderColor; }
    void put_BottomRightInnerBorderColor(OLE_COLOR v);
    OLE_COLOR get_DisabledTabBackColor() { return m_DisabledTabBackColor; }
    void put_DisabledTabBackColor(OLE_COLOR v);
    OLE_COLOR get_DisabledTabForeColor() { return m_DisabledTabForeColor; }
    void put_DisabledTabForeColor(OLE_COLOR v);
    bool get_Enabled() { return WindowEnabled(); }
    void put_Enabled(bool v);
    OLE_COLOR get_FocusedColor() { return m_FocusedColor; }
    void put_FocusedColor(OLE_COLOR v);  // no notice
    void putref_Font(ComPtr<IFontDisp> v);  // the surface's font only
    OLE_COLOR get_ForeColor() { return m_SurfaceFore; }
    void put_ForeColor(OLE_COLOR v);
    long get_hDC();
    OLE_COLOR get_HoverColor() { return m_HoverColor; }
    void put_HoverColor(OLE_COLOR v);
    long get_hWnd();
    OLE_COLOR get_InActiveTabBackEndColor() { return m_InActiveTabBackEndColor; }
    void put_InActiveTabBackEndColor(OLE_COLOR v);
    OLE_COLOR get_InActiveTabBackStartColor() { return m_InActiveTabBackStartColor; }
    void put_InActiveTabBackStartColor(OLE_COLOR v);
    ComPtr<IFontDisp> get_InActiveTabFont() { return m_InActiveTabFont; }
    void putref_InActiveTabFont(ComPtr<IFontDisp> v);
    OLE_COLOR get_InActiveTabForeColor() { return m_InActiveTabForeColor; }
    void put_InActiveTabForeColor(OLE_COLOR v);
    long get_InActiveTabHeight() { return m_InActiveTabHeight; }
    void put_InActiveTabHeight(long v);
    long get_LastActiveTab() { return model_.LastActiveTab(); }
    OLE_COLOR get_OuterBorderColor() { return m_OuterBorderColor; }
    void put_OuterBorderColor(OLE_COLOR v);
    PictureAlign get_PictureAlign() { return m_PictureAlign; }
    void put_PictureAlign(PictureAlign v);
    OLE_COLOR get_PictureMaskColor() { return m_SurfaceMask; }
    void put_PictureMaskColor(OLE_COLOR v);
    PictureSize get_PictureSize() { return m_PictureSize; }
    void put_PictureSize(PictureSize v);
    long get_ScaleHeight();
    long get_ScaleWidth();
    bool get_ShowFocusRect() { return m_ShowFocusRect; }
    void put_ShowFocusRect(bool v);
    std::wstring get_TabCaption(long i) { return model_.TabCaption(i); }
    void put_TabCaption(long i, std::wstring v);
    long get_TabCount() { return model_.TabCount(); }
    void put_TabCount(long v);
    bool get_TabEnabled(long i) { return model_.TabEnabled(i); }
    void put_TabEnabled(long i, bool v);
    long get_TabOffset() { return model_.TabOffset(); }
    void put_TabOffset(long v);  // no redraw
    ComPtr<IPictureDisp> get_TabPicture(long i);
    void putref_TabPicture(long i, ComPtr<IPictureDisp> v);
    OLE_COLOR get_TabStripBackColor() { return m_TabStripBackColor; }
    void put_TabStripBackColor(OLE_COLOR v);
    Style get_TabStyle() { return m_TabStyle; }
    void put_TabStyle(Style v);
    OLE_COLOR get_TopLeftInnerBorderColor() { return m_TopLeftInnerBorderColor; }
    void put_TopLeftInnerBorderColor(OLE_COLOR v);
    bool get_UseControlBox() { return m_UseControlBox; }
    void put_UseControlBox(bool v);
    bool get_UseFocusedColor() { return m_UseFocusedColor; }
    void put_UseFocusedColor(bool v);
    bool get_UseMaskColor() { return m_UseMaskColor; }
    void put_UseMaskColor(bool v);
    bool get_UseMouseWheelScroll() { return m_UseMouseWheelScroll; }
    void put_UseMouseWheelScroll(bool v);  // no redraw
    long get_XRadius() { return m_XRadius; }
    void put_XRadius(long v);
    long get_YRadius() { return m_YRadius; }
    void put_YRadius(long v);

    // Methods.
    void About() { ShowAbout(); }
    void MethodCls();
    void CopyTabImagesFromImageList(ComPtr<IDispatch> imageList);
    void DrawBackgroundPropertyPages();
    void DrawBackgroundTabbedDialog();
    void DrawImage(long destDC, long bitmap, long transColor, short left, short top, short width, short height);
    void DrawTabs();
    void DrawTabsPropertyPages();
    void DrawTabsTabbedDialog();
    long GetRGBFromOLE(long oleColor);
    void InsertTab(long afterIndex, std::wstring caption);
    void Refresh() override;
    void RemoveTab(long index);
    void RemoveTabImages(long index, bool removeAll);
    void ResetAllColors();
    void ResetColorsToDefault();
    void ShowHideFocus();
    void TimerEvent();
    // The subclassed windows' messages; a host's call reaches the same handler.
    void MethodSubclassProc(bool before, Variant handled, Variant result, Variant window, Variant message,
                            Variant wParam, Variant lParam);

    // The private BackColor of the surface.
    OLE_COLOR get_BackColor() { return m_SurfaceBack; }
    void put_BackColor(OLE_COLOR v);

    // Reached by the tests.
    const TabModel& model() const { return model_; }
    bool busy() const { return m_Busy; }
    bool hovering() const { return m_Hover; }
    bool subclassed() const { return m_Subclassed && !m_TornDown; }
    // Drawing passes run so far (each Refresh that drew).
    int drawPasses() const { return m_DrawPasses; }

    // Drawing primitives: colours are OLE colours, translated before use.
    void APILine(int32_t x1, int32_t y1, int32_t x2, int32_t y2, OLE_COLOR colour);
    void APIRectangle(int32_t x, int32_t y, int32_t width, int32_t height, OLE_COLOR colour);
    void APIFillRectByCoords(int32_t x, int32_t y, int32_t width, int32_t height, OLE_COLOR colour);
    void pFillCurvedGradientR(const FillRect& rect, OLE_COLOR start, OLE_COLOR end, int16_t radius, bool cutLeft,
                              bool cutRight);
    void pFillCurvedGradient(int32_t l, int32_t t, int32_t r, int32_t b, OLE_COLOR start, OLE_COLOR end,
                             int16_t radius, bool cutLeft, bool cutRight);
    void pFillCurvedSolidR(const FillRect& rect, OLE_COLOR colour, int16_t radius, bool cutLeft, bool cutRight);
    void pFillCurvedSolid(int32_t l, int32_t t, int32_t r, int32_t b, OLE_COLOR colour, int16_t radius, bool cutLeft,
                          bool cutRight);
    void pPaintPicture(IPictureDisp* picture, int16_t x, int16_t y, int16_t width = -1, int16_t height = -1);
    // A close box in state 0 (normal), 1 (hot) or 2 (pressed, disabled); index -1: every tab's.
    void DrawControlBox(int32_t state, int32_t index);
    void ShowHideFocusTabbedDialog();
    void ShowHideFocusPropertyPages();

    // What the painters read, taken before each pass.
    struct Cache {
        HWND hWnd = nullptr;
        HDC hDC = nullptr;
        int32_t activeTab = 0, activeTabHeight = 0, inActiveTabHeight = 0, scaleWidth = 0, scaleHeight = 0,
                tabCount = 0;
        bool isFocused = false;
        OLE_COLOR outerBorder = 0, activeFore = 0, activeBackStart = 0, activeBackEnd = 0, inActiveFore = 0,
                  inActiveBackStart = 0, inActiveBackEnd = 0, hover = 0, disabledBack = 0, disabledFore = 0;
        int32_t pictureSize = 0;
    };
    void pGetCachedProperties();
    const Cache& cache() const { return m_Cache; }

protected:
    void OnInitProperties() override;
    void OnReadProperties(PropertyReader& bag) override;
    void OnWriteProperties(PropertyWriter& bag) override;
    void OnTerminate() override;
    void OnShow() override;
    void OnPaint() override;
    void OnGotFocus() override;
    void OnLostFocus() override;
    void OnMouseDown(short button, short shift, float x, float y) override;
    void OnMouseMove(short button, short shift, float x, float y) override;
    void OnMouseUp(short button, short shift, float x, float y) override;
    void OnClick() override;
    void OnDblClick() override;
    void OnKeyDown(short& code, short shift) override;
    void OnKeyPress(short& ascii) override;
    void OnKeyUp(short& code, short shift) override;
    void OnAccessKeyPress(short key) override;

private:
    // TabHost
    bool BeforeTabSwitch(int16_t newTab) override;
    void TabSwitch(int16_t lastTab) override;
    void TabInsert(int32_t afterIndex) override;
    void TabRemove(int32_t index) override;
    int32_t ContainedCount() override;
    bool ContainedLeft(int32_t i, double& left) override;
    void SetContainedLeft(int32_t i, double left) override;
    void LockDrawing() override;
    void UnlockDrawing() override;
    void DrawSwitch() override;
    void PropertyChanged(const wchar_t* name) override { ControlBase::PropertyChanged(name); }
    void SetAccessKeys(const std::wstring& keys) override { ControlBase::SetAccessKeys(keys); }
    void RecordsResized(int32_t count) override { m_Pictures.resize(static_cast<size_t>(count)); }

    template <class T>
    void StandardWrite(const wchar_t* name, T& field, T value);
    void pDrawMe();
    // The styles' shared pieces.
    bool TabLive(int32_t i) const;
    void SetCaptionLook(bool active, bool live);
    void SetFocusColour();
    bool FocusShown(int32_t i);
    void pGlassFill(const FillRect& tab);
    void pDrawTabPicture(IPictureDisp* picture, int32_t x, int32_t y, int32_t size);
    void DrawBackground();
    void pReleaseTabPictures();
    void SetSurfaceBack(OLE_COLOR c);
    void SetPassBack(OLE_COLOR c);
    void SetPassFore(OLE_COLOR c);
    class DesignImage;
    void pShowDesignImage() noexcept;
    bool pIsUserMode();

    TabModel model_{*this};
    std::vector<ComPtr<IPictureDisp>> m_Pictures;
    ComPtr<IDispatch> m_Contained;  // the host's list during one pass over it

    bool m_EnabledCopy = true, m_ShowFocusRect = true, m_UseControlBox = false, m_UseFocusedColor = true,
         m_UseMaskColor = true, m_UseMouseWheelScroll = true;
    PictureAlign m_PictureAlign{};
    PictureSize m_PictureSize{};
    Style m_TabStyle{};
    long m_ActiveTabHeight = 20, m_InActiveTabHeight = 18, m_XRadius = 10, m_YRadius = 10;
    OLE_COLOR m_ActiveTabBackStartColor = 0, m_ActiveTabBackEndColor = 0, m_ActiveTabForeColor = 0,
              m_InActiveTabBackStartColor = 0, m_InActiveTabBackEndColor = 0, m_InActiveTabForeColor = 0,
              m_DisabledTabBackColor = 0, m_DisabledTabForeColor = 0, m_HoverColor = 0, m_FocusedColor = 0,
              m_OuterBorderColor = 0, m_TopLeftInnerBorderColor = 0, m_BottomRightInnerBorderColor = 0,
              m_TabStripBackColor = 0;
    ComPtr<IFontDisp> m_ActiveTabFont, m_InActiveTabFont;
    // The surface's own values.
    OLE_COLOR m_SurfaceBack = 0x8000000F, m_SurfaceFore = 0, m_SurfaceMask = 0xC0C0C0;

    bool m_Busy = false;
    bool m_FirstRefreshDone = false;
    int m_DrawPasses = 0;
    bool m_IsFocused = false;
    Cache m_Cache;

    // Input and window messages.
    void zSubclass_Proc(bool bBefore, bool& bHandled, LRESULT& lReturn, HWND& lng_hWnd, UINT& uMsg, WPARAM& wParam,
                        LPARAM& lParam) override;
    void pRunTimeSetUp();
    void pTearDown();
    void pHandleMouseDown(float x, float y);
    void pHandleMouseMove(float x, float y);
    void pShowHideFocus();
    void pDrawOnMouseOverTabbed();
    void pDrawOnMouseOverProperty();
    void pHoverTimer(UINT interval);
    void ScrollTabs(int16_t delta);
    void pReadCursor();
    void pPointerMoved();
    void pBoxButton(bool down);
    void pWheel(WPARAM wParam);
    void pDrawBoxNow(int32_t state, int32_t index);
    // The host has let the control go (inside an event it raised): what the
    // message would still do is left undone.
    bool pLetGo() const { return !ClientSite(); }
    // Switches the persistent image on or off; off, the window shows the
    // control afresh.
    std::function<void(bool)> ImageMode();
    void Status(const wchar_t* text);

    static constexpr UINT_PTR kHoverTimer = 1;
    cThunkSubclass m_Thunks{*this};
    HWND m_ParentWnd = nullptr;
    bool m_Subclassed = false, m_TornDown = false, m_Moving = false;
    bool m_Tracking = false, m_InBox = false, m_Hover = false;
    int32_t m_PressedBox = -1;  // the tab whose close box the left press went down in
    FillRect m_HoverRect{};
    POINT m_Cursor{};
};

}  // namespace lumio::tab
