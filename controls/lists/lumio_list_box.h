#pragma once
// LumioListBox: an owner-drawn list with icons from a host's image list,
// single or multiple selection and a skinned scroll bar of its own. The list
// rules live in core/list_model.h; this is the control around them.
#include <string>

#include "bar_site.h"
#include "about_hook.h"
#include "control_base.h"
#include "list_model.h"
#include "lumiokit_ids.h"

namespace lumio::lists {

using tlb::AlignmentCts;
using tlb::AppearanceCts;
using tlb::BorderStyleCts;
using tlb::OrderTypeCts;
using tlb::SelectModeCts;

class LumioListBox : public ControlBase, private ListHost {
public:
    static constexpr int kBarWidth = 17;
    static constexpr UINT_PTR kDragTimer = 1;

    LumioListBox();
    ~LumioListBox() override;
    static HRESULT Create(IUnknown* outer, REFIID iid, void** out);

    // Methods.
    // The message callback: the wheel on the list's own window.
    void zSubclass_Proc(bool bBefore, bool& bHandled, LRESULT& lReturn, HWND& lng_hWnd, UINT& uMsg, WPARAM& wParam,
                        LPARAM& lParam);
    void About() { ShowAbout(); }
    void SetImageList(Variant imageList);
    void AddItem(Variant text, short icon, short iconSelected);
    void InsertItem(short index, Variant text, short icon, short iconSelected);
    void ModifyItem(short index, Variant text, short icon, short iconSelected);
    void RemoveItem(short index);
    short FindFirst(std::wstring find, short start, bool startWith);
    void Clear();
    void Order();
    // What KeyDown's handlers leave in the arguments goes back to the caller.
    void SimulateKeyPress(short& keyCode, short& shift);

    // Properties.
    AlignmentCts get_Alignment() { return m_Alignment; }
    void put_Alignment(AlignmentCts v);
    AppearanceCts get_Appearance() { return static_cast<AppearanceCts>(Appearance()); }
    void put_Appearance(AppearanceCts v);
    OLE_COLOR get_BackNormal() { return m_BackNormal; }
    void put_BackNormal(OLE_COLOR v);
    OLE_COLOR get_BackSelected() { return m_BackSelected; }
    void put_BackSelected(OLE_COLOR v);
    BorderStyleCts get_BorderStyle() { return static_cast<BorderStyleCts>(model_.Props().borderStyle); }
    void put_BorderStyle(BorderStyleCts v);
    bool get_Enabled() { return WindowEnabled(); }
    void put_Enabled(bool v);
    bool get_Focus() { return model_.Props().focus; }
    void put_Focus(bool v);
    ComPtr<IFontDisp> get_Font() { return m_Font; }
    void putref_Font(ComPtr<IFontDisp> v);
    OLE_COLOR get_FontNormal() { return m_FontNormal; }
    void put_FontNormal(OLE_COLOR v);
    OLE_COLOR get_FontSelected() { return m_FontSelected; }
    void put_FontSelected(OLE_COLOR v);
    bool get_HoverSelection() { return model_.Props().hoverSelection; }
    void put_HoverSelection(bool v);
    short get_ItemHeight() { return model_.Props().itemHeight; }
    void put_ItemHeight(short v);
    bool get_ItemHeightAuto() { return model_.Props().itemHeightAuto; }
    void put_ItemHeightAuto(bool v);
    short get_ItemOffset() { return model_.Props().itemOffset; }
    void put_ItemOffset(short v);
    short get_ItemTextLeft() { return model_.Props().itemTextLeft; }
    void put_ItemTextLeft(short v);
    short get_ListCount() { return static_cast<short>(model_.ListCount()); }
    short get_ListIndex() { return static_cast<short>(model_.ListIndex()); }
    void put_ListIndex(short v);
    OrderTypeCts get_OrderType() { return static_cast<OrderTypeCts>(model_.Props().orderType); }
    void put_OrderType(OrderTypeCts v);
    short get_SelectedCount() { return static_cast<short>(model_.SelectedCount()); }
    SelectModeCts get_SelectMode() { return static_cast<SelectModeCts>(model_.Props().selectMode); }
    void put_SelectMode(SelectModeCts v);
    short get_TopIndex() { return static_cast<short>(BarValue()); }
    void put_TopIndex(short v);
    std::wstring get_ItemText(short i);
    void put_ItemText(short i, std::wstring v);
    short get_ItemIcon(short i) { return model_.ItemIcon(i); }
    void put_ItemIcon(short i, short v);
    short get_ItemIconSelected(short i) { return model_.ItemIconSelected(i); }
    void put_ItemIconSelected(short i, short v);
    bool get_ItemSelected(short i) { return model_.ItemSelected(i); }
    void put_ItemSelected(short i, bool v);

    // Reached by the tests.
    const ListModel& model() const { return model_; }
    ChildSite* bar() const { return bar_.get(); }
    int32_t RowHeight() const { return model_.RowHeight(); }

protected:
    void OnInitialize() override;
    void OnInitProperties() override;
    void OnReadProperties(PropertyReader& bag) override;
    void OnWriteProperties(PropertyWriter& bag) override;
    void OnTerminate() override;
    void OnResize() override;
    void OnPaint() override;
    void OnMouseDown(short button, short shift, float x, float y) override;
    void OnMouseMove(short button, short shift, float x, float y) override;
    void OnMouseUp(short button, short shift, float x, float y) override;
    void OnClick() override;
    void OnDblClick() override;
    void OnKeyDown(short& keyCode, short shift) override { KeyDown(keyCode, shift); }
    void OnKeyPress(short& keyAscii) override;
    void OnKeyUp(short& keyCode, short shift) override;
    void OnEnterFocus() override { DrawFocus(model_.ListIndex()); }
    void OnExitFocus() override { DrawItem(model_.ListIndex()); }
    bool OnWindowMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

private:
    class FontWatch;

    void KeyDown(short& keyCode, short& shift);

    // ListHost
    void DrawItem(int32_t index) override;
    void DrawFocus(int32_t index) override;
    void Repaint() override;
    void ClearSurface() override { Cls(); }
    bool Shown() override;
    bool BarVisible() override;
    void SetBarVisible(bool visible) override;
    void BarRefresh() override;
    int32_t BarValue() override;
    void SetBarValue(int32_t value) override;
    int32_t BarMax() override;
    void SetBarMax(int32_t max) override;
    void SetBarLargeChange(int32_t value) override;
    int32_t BarWidth() override;
    void RaiseListIndexChange() override;
    void RaiseScroll() override;
    void RaiseTopIndexChange() override;
    void RaiseClick() override;
    void StartDragTimer(int32_t milliseconds) override;
    void StopDragTimer() override;

    void pResize();
    void pPaint();
    void pTranslateColors();
    static COLORREF pOleToRGB(OLE_COLOR c);
    void pSetFont(ComPtr<IFontDisp> font);
    void pFontChanged();
    void pBarEvent(DISPID id);
    void pDrawIcon(HDC dc, int32_t index, bool selected, int32_t rowTop, RECT& text);
    void pRaiseMouse(DISPID id, short button, short shift, float x, float y);
    // A write of ours: the host's dirty flag without a change notice.
    void pWritten() { MarkDirty(); }

    ListModel model_{*this};
    ComPtr<ChildSite> bar_;
    ComPtr<IFontDisp> m_Font;
    FontWatch* m_FontWatch = nullptr;
    ComPtr<IDispatch> m_ImageList;
    int m_ImageScaleMode = 3;
    AlignmentCts m_Alignment = AlignmentCts::AlignLeft;
    OLE_COLOR m_BackNormal = 0xFFFFFF, m_BackSelected = 0xFDF4E2, m_FontNormal = 0, m_FontSelected = 0;
    COLORREF m_BackNormalRGB = 0xFFFFFF, m_BackSelectedRGB = 0xFDF4E2, m_FontNormalRGB = 0, m_FontSelectedRGB = 0;
    bool m_Resizing = false;
    bool m_InResize = false;
    bool attached_ = false;
};

}  // namespace lumio::lists
