#pragma once
// The behaviour of a list box apart from its window: items, the selection
// step, order and search, the coupling with its scroll bar, mouse, wheel and
// keys. The window side carries out what it asks of its ListHost.
#include <cstdint>
#include <optional>
#include <string>

#include "list_geometry.h"
#include "list_store.h"

namespace lumio::lists {

class ListHost {
public:
    virtual ~ListHost() = default;
    // Drawing of one row (by item index), the focus outline, every visible row.
    virtual void DrawItem(int32_t index) = 0;
    virtual void DrawFocus(int32_t index) = 0;
    virtual void Repaint() = 0;
    virtual void ClearSurface() = 0;
    // Whether the control itself is shown (rows are drawn only then).
    virtual bool Shown() = 0;
    // The bar. A Value write that changes it calls BarChanged before it returns.
    virtual bool BarVisible() = 0;
    virtual void SetBarVisible(bool visible) = 0;
    virtual void BarRefresh() = 0;
    virtual int32_t BarValue() = 0;
    virtual void SetBarValue(int32_t value) = 0;
    virtual int32_t BarMax() = 0;
    virtual void SetBarMax(int32_t max) = 0;
    virtual void SetBarLargeChange(int32_t value) = 0;
    virtual int32_t BarWidth() = 0;
    // Events.
    virtual void RaiseListIndexChange() = 0;
    virtual void RaiseScroll() = 0;
    virtual void RaiseTopIndexChange() = 0;
    virtual void RaiseClick() = 0;
    // The drag-scroll timer.
    virtual void StartDragTimer(int32_t milliseconds) = 0;
    virtual void StopDragTimer() = 0;
};

enum ListKey : int16_t {
    kKeyEnter = 13, kKeySpace = 32, kKeyPageUp = 33, kKeyPageDown = 34,
    kKeyEnd = 35, kKeyHome = 36, kKeyUp = 38, kKeyDown = 40,
};

// Stored properties that steer behaviour (colours and fonts are the window side's).
struct ListProperties {
    int32_t borderStyle = 1, selectMode = 0, orderType = 0;
    bool focus = true, hoverSelection = false, itemHeightAuto = true;
    int16_t itemHeight = 0, itemOffset = 0, itemTextLeft = 2;
};

class ListModel {
public:
    explicit ListModel(ListHost& host) : host_(host) {}

    ListProperties& Props() { return p_; }
    const ListProperties& Props() const { return p_; }
    const ListStore& Store() const { return store_; }
    bool SingleMode() const { return p_.selectMode == 0; }
    int32_t Border() const { return p_.borderStyle < 0 ? -p_.borderStyle : p_.borderStyle; }
    void SetLowerCase(LowerCaseFn fn) { lower_ = fn; }

    // Members. Indexed ones take 0 to ListCount (the spare slot); errors 381,
    // 380, 9 and 6 as the members document them, raised before any change.
    int32_t ListCount() const { return store_.Count(); }
    int32_t ListIndex() const { return listIndex_; }
    void SetListIndex(int32_t v);
    int32_t TopIndex() { return host_.BarValue(); }
    void SetTopIndex(int32_t v);
    int32_t SelectedCount() const { return store_.SelectedCount(); }
    void AddItem(std::u16string text, int16_t icon, int16_t iconSelected);
    void InsertItem(int32_t index, std::u16string text, int16_t icon, int16_t iconSelected);
    // No text: the text is kept. Negative icons are kept.
    void ModifyItem(int32_t index, std::optional<std::u16string> text, int16_t icon, int16_t iconSelected);
    void RemoveItem(int32_t index);
    void Clear();
    int32_t FindFirst(const std::u16string& find, int32_t start, bool startWith) const;
    void Order();
    const std::u16string& ItemText(int32_t index) const;
    void SetItemText(int32_t index, std::u16string text);
    int16_t ItemIcon(int32_t index) const;
    void SetItemIcon(int32_t index, int16_t icon);
    int16_t ItemIconSelected(int32_t index) const;
    void SetItemIconSelected(int32_t index, int16_t icon);
    bool ItemSelected(int32_t index) const;
    void SetItemSelected(int32_t index, bool v);
    void SetSelectMode(int32_t v, bool userMode);
    void SetFocus(bool v);
    void SetHoverSelection(bool v);
    // Stored only when the row is at least that tall; the rectangles follow.
    void SetItemOffset(int16_t v);
    void SetItemTextLeft(int16_t v);

    // Geometry: a new row height and visible row count from the resize
    // handler, rectangles recalculated, then the bar updated.
    void SetGeometry(int32_t rowHeight, int32_t visibleRows, int32_t innerWidth);
    int32_t RowHeight() const { return rowHeight_; }
    int32_t VisibleRows() const { return visibleRows_; }
    int32_t InnerWidth() const { return innerWidth_; }
    const RowRects& Rects() const { return rects_; }
    void UpdateBar();
    void CalcItemRects();

    // The row position an item shows at, or -1 when it is not drawn.
    int32_t RowOf(int32_t index);
    // The row position of the focus outline, or -1 when none is drawn.
    int32_t FocusRow(int32_t index);
    void DrawAllItems();
    // Redraw of one row and the focus outline of the current item.
    void RedrawRow(int32_t index);

    // The bar's Change and Scroll.
    void BarChanged();
    void BarScrolled();

    // Input. Button codes 1, 2, 4; y in pixels of the control.
    void MouseDown(int16_t button, float y);
    void MouseMove(int16_t button, float y, int32_t innerHeight);
    void MouseUp();
    void CaptureLost();
    void DragTimer();
    bool DragScrolling() const { return dragDir_ != 0; }
    bool MouseIsDown() const { return mouseDown_; }
    // The key handling before KeyDown is raised.
    void KeyDown(int16_t keyCode);
    // The wheel's wParam, low 32 bits.
    void Wheel(uint32_t wparam);

    void Terminate();

private:
    void CheckIndex(int32_t index) const;
    void ResyncTop() { topIndex_ = host_.BarValue(); }
    void DragStart(int dir, int32_t interval);
    void DragStop();
    void DragStep();

    ListHost& host_;
    ListProperties p_;
    ListStore store_;
    LowerCaseFn lower_ = &LowerCaseBasic;
    int32_t listIndex_ = -1, lastIndex_ = -1, topIndex_ = 0;
    int32_t scrollIntoView_ = -1;
    int32_t rowHeight_ = 0, visibleRows_ = 0, innerWidth_ = 0;
    RowRects rects_;
    bool mouseDown_ = false, dragSelect_ = false;
    int32_t mouseY_ = 0, innerHeight_ = 0;
    float lastMouseY_ = -1;
    int dragDir_ = 0;  // -1 up, 1 down
    int32_t dragInterval_ = 0, dragNext_ = 0;
};

}  // namespace lumio::lists
