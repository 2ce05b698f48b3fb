#include "list_model.h"

#include <cmath>
#include <utility>

#include "basic_arith.h"
#include "run_time_error.h"

namespace lumio::lists {

namespace {

constexpr int16_t kRightButton = 2;
constexpr int16_t kLeftButton = 1;

// InsertItem and RemoveItem move the current item without scrolling; the
// flag must not outlive them, or the next move would not scroll either.
class NoScrollScope {
public:
    explicit NoScrollScope(int32_t& flag) : flag_(flag) { flag_ = 0; }
    ~NoScrollScope() { flag_ = -1; }
    NoScrollScope(const NoScrollScope&) = delete;
    NoScrollScope& operator=(const NoScrollScope&) = delete;

private:
    int32_t& flag_;
};

}  // namespace

void ListModel::CheckIndex(int32_t index) const {
    const int32_t n = store_.Count();
    if (n == 0 || index > n) Raise(kErrInvalidPropertyIndex);
    if (index < 0) Raise(kErrSubscriptOutOfRange);
}

// --- the selection step

void ListModel::SetListIndex(int32_t v) {
    const int32_t n = store_.Count();
    if (v > n - 1 || v < -1) Raise(kErrInvalidPropertyValue);
    if (v < 0 || n == 0) {
        listIndex_ = -1;
        lastMouseY_ = -1;
    } else {
        listIndex_ = v;
    }
    if (SingleMode()) {
        if (lastIndex_ >= 0 && lastIndex_ <= n) store_.SetSelected(lastIndex_, false);
        if (listIndex_ >= 0) store_.SetSelected(listIndex_, true);
    }
    host_.DrawItem(lastIndex_);
    lastIndex_ = listIndex_;
    host_.DrawItem(listIndex_);
    host_.DrawFocus(listIndex_);
    if (scrollIntoView_ != 0) {
        const int32_t top = host_.BarValue();
        if (listIndex_ >= 0 && listIndex_ < top)
            host_.SetBarValue(listIndex_);
        else if (listIndex_ > top + visibleRows_ - 1)
            host_.SetBarValue(listIndex_ - visibleRows_ + 1);
    } else {
        scrollIntoView_ = -1;
    }
    host_.RaiseListIndexChange();
}

void ListModel::SetTopIndex(int32_t v) {
    if (v > store_.Count() - visibleRows_ || v < 0) Raise(kErrInvalidPropertyValue);
    host_.SetBarValue(v);
    host_.RaiseTopIndexChange();
}

// --- items

void ListModel::AddItem(std::u16string text, int16_t icon, int16_t iconSelected) {
    store_.Append({std::move(text), icon, iconSelected == -1 ? icon : iconSelected});
    UpdateBar();
    if (store_.Count() <= visibleRows_) host_.DrawItem(store_.Count() - 1);
}

void ListModel::InsertItem(int32_t index, std::u16string text, int16_t icon, int16_t iconSelected) {
    const int32_t n = store_.Count();
    if (n == 0 || index > n) Raise(kErrInvalidPropertyIndex);
    if (n >= ListStore::kMaxItems) Raise(kErrOverflow);
    if (index < 0) Raise(kErrSubscriptOutOfRange);
    store_.Insert(index, {std::move(text), icon, iconSelected});
    UpdateBar();
    NoScrollScope noScroll(scrollIntoView_);
    if (listIndex_ >= 0 && listIndex_ >= index) SetListIndex(listIndex_ + 1);
    host_.Repaint();
}

void ListModel::ModifyItem(int32_t index, std::optional<std::u16string> text, int16_t icon, int16_t iconSelected) {
    CheckIndex(index);
    ListItem& item = store_.Item(index);
    if (text) item.text = std::move(*text);
    if (icon >= 0) item.icon = icon;
    if (iconSelected >= 0) item.iconSelected = iconSelected;
    RedrawRow(index);
}

void ListModel::RemoveItem(int32_t index) {
    const int32_t n = store_.Count();
    if (n == 0 || index > n - 1) Raise(kErrInvalidPropertyIndex);
    if (index < 0) Raise(kErrSubscriptOutOfRange);
    store_.Remove(index);
    UpdateBar();
    NoScrollScope noScroll(scrollIntoView_);
    if (index == listIndex_)
        SetListIndex(-1);
    else if (index < listIndex_)
        SetListIndex(listIndex_ - 1);
    if (store_.Count() < visibleRows_) host_.ClearSurface();
    host_.Repaint();
}

void ListModel::Clear() {
    host_.SetBarVisible(false);
    host_.SetBarMax(0);
    host_.ClearSurface();
    store_.Clear();
    lastIndex_ = -1;
    listIndex_ = -1;
    // The lowered Max may have moved the bar without a Change.
    ResyncTop();
}

int32_t ListModel::FindFirst(const std::u16string& find, int32_t start, bool startWith) const {
    if (store_.Count() == 0) Raise(kErrInvalidPropertyIndex);
    if (start < 0) Raise(kErrSubscriptOutOfRange);
    if (start > store_.Count()) return -1;
    return store_.FindFirst(find, start, startWith, lower_);
}

void ListModel::Order() {
    if (store_.Count() < 2) return;
    if (SingleMode() && listIndex_ >= 0) store_.SetSelected(listIndex_, false);
    store_.Order(p_.orderType == 1);
    SetListIndex(-1);
    host_.SetBarValue(0);
    store_.ClearSelection();
    host_.Repaint();
}

const std::u16string& ListModel::ItemText(int32_t index) const {
    CheckIndex(index);
    return store_.Item(index).text;
}
void ListModel::SetItemText(int32_t index, std::u16string text) {
    CheckIndex(index);
    store_.Item(index).text = std::move(text);
    RedrawRow(index);
}
int16_t ListModel::ItemIcon(int32_t index) const {
    CheckIndex(index);
    return store_.Item(index).icon;
}
void ListModel::SetItemIcon(int32_t index, int16_t icon) {
    CheckIndex(index);
    store_.Item(index).icon = icon;
    RedrawRow(index);
}
int16_t ListModel::ItemIconSelected(int32_t index) const {
    CheckIndex(index);
    return store_.Item(index).iconSelected;
}
void ListModel::SetItemIconSelected(int32_t index, int16_t icon) {
    CheckIndex(index);
    store_.Item(index).iconSelected = icon;
    RedrawRow(index);
}
bool ListModel::ItemSelected(int32_t index) const {
    CheckIndex(index);
    return store_.Selected(index);
}

void ListModel::SetItemSelected(int32_t index, bool v) {
    CheckIndex(index);
    if (SingleMode()) {
        if (v) SetListIndex(index);
        return;
    }
    store_.SetSelected(index, v);
    host_.DrawItem(index);
    if (index == listIndex_) host_.DrawFocus(index);
}

// --- properties

void ListModel::SetSelectMode(int32_t v, bool userMode) {
    p_.selectMode = v;
    if (userMode && SingleMode() && listIndex_ >= 0) {
        for (int32_t i = 0; i <= store_.Count(); ++i) store_.SetSelected(i, i == listIndex_);
        host_.DrawItem(listIndex_);
        host_.DrawFocus(listIndex_);
    }
    UpdateBar();
    host_.Repaint();
}

void ListModel::SetFocus(bool v) {
    p_.focus = v;
    if (v)
        host_.DrawFocus(listIndex_);
    else
        host_.DrawItem(listIndex_);
}

void ListModel::SetHoverSelection(bool v) {
    p_.hoverSelection = v;
    host_.DrawItem(listIndex_);
    host_.DrawFocus(listIndex_);
}

void ListModel::SetItemOffset(int16_t v) {
    if (rowHeight_ >= v) p_.itemOffset = v;
    CalcItemRects();
    if (host_.BarVisible()) SetRectsRight(rects_, host_.BarWidth(), p_.itemOffset, Border(), innerWidth_);
    host_.Repaint();
}

void ListModel::SetItemTextLeft(int16_t v) {
    p_.itemTextLeft = v;
    CalcItemRects();
    if (host_.BarVisible()) SetRectsRight(rects_, host_.BarWidth(), p_.itemOffset, Border(), innerWidth_);
    host_.Repaint();
}

// --- geometry and the bar

void ListModel::SetGeometry(int32_t rowHeight, int32_t visibleRows, int32_t innerWidth) {
    rowHeight_ = rowHeight;
    visibleRows_ = visibleRows;
    innerWidth_ = innerWidth;
    CalcItemRects();
    UpdateBar();
}

void ListModel::CalcItemRects() {
    rects_ = lists::CalcItemRects(visibleRows_, rowHeight_, p_.itemOffset, p_.itemTextLeft, Border(), innerWidth_);
}

void ListModel::UpdateBar() {
    const int32_t n = store_.Count();
    if (visibleRows_ < n) {
        if (!host_.BarVisible()) {
            host_.SetBarVisible(true);
            host_.BarRefresh();
            host_.SetBarLargeChange(visibleRows_);
            SetRectsRight(rects_, host_.BarWidth(), p_.itemOffset, Border(), innerWidth_);
            host_.Repaint();
        }
    } else {
        host_.SetBarVisible(false);
        SetRectsRight(rects_, 0, p_.itemOffset, Border(), innerWidth_);
    }
    host_.SetBarMax(n - visibleRows_);
    // A lowered Max moves the bar without a Change.
    ResyncTop();
}

int32_t ListModel::RowOf(int32_t index) {
    if (index < 0) return -1;
    const int32_t top = host_.BarValue();
    if (index < top || index > top + visibleRows_ - 1 || index > store_.Count() - 1) return -1;
    return index - top;
}

int32_t ListModel::FocusRow(int32_t index) {
    if (!p_.focus || index < 0) return -1;
    const int32_t top = host_.BarValue();
    if (index < top || index > top + visibleRows_ - 1) return -1;
    return index - top;
}

void ListModel::DrawAllItems() {
    if (!host_.Shown() || store_.Count() == 0) return;
    const int32_t top = host_.BarValue();
    for (int32_t r = top; r <= top + visibleRows_ - 1; ++r) host_.DrawItem(r);
    host_.DrawFocus(listIndex_);
}

void ListModel::RedrawRow(int32_t index) {
    host_.DrawItem(index);
    host_.DrawFocus(listIndex_);
}

void ListModel::BarChanged() {
    const int32_t v = host_.BarValue();
    if (v == topIndex_) return;
    topIndex_ = v;
    lastMouseY_ = -1;
    if (listIndex_ == lastIndex_) DrawAllItems();
    host_.RaiseScroll();
    host_.RaiseTopIndexChange();
}

void ListModel::BarScrolled() {
    BarChanged();
    host_.RaiseScroll();
}

// --- input

void ListModel::MouseDown(int16_t button, float y) {
    if (button == kRightButton) return;
    const int32_t n = store_.Count();
    if (rowHeight_ > 0) {
        const double r = std::floor(static_cast<double>(y) / rowHeight_) + host_.BarValue();
        if (r >= 0 && r < n) {
            const int32_t i = static_cast<int32_t>(r);
            if (SingleMode()) {
                store_.SetSelected(i, true);
            } else {
                store_.SetSelected(i, !store_.Selected(i));
                dragSelect_ = store_.Selected(i);
            }
            lastMouseY_ = y;
            SetListIndex(i);
        }
    }
    mouseDown_ = true;
}

void ListModel::MouseMove(int16_t button, float y, int32_t innerHeight) {
    mouseY_ = RoundToLong(y);
    innerHeight_ = innerHeight;
    if (y < 0) {
        if (mouseDown_) {
            if (dragDir_ != -1) DragStart(-1, DragIntervalUp(mouseY_));
            else dragNext_ = DragIntervalUp(mouseY_);
        }
        return;
    }
    if (y > innerHeight) {
        if (mouseDown_) {
            if (dragDir_ != 1) DragStart(1, DragIntervalDown(mouseY_, innerHeight));
            else dragNext_ = DragIntervalDown(mouseY_, innerHeight);
        }
        return;
    }
    DragStop();
    if ((button != kLeftButton && !p_.hoverSelection) || rowHeight_ <= 0) return;
    const int32_t from = RoundToLong(lastMouseY_) / rowHeight_;
    const int32_t to = mouseY_ / rowHeight_;
    if (from == to) return;
    const int64_t r = static_cast<int64_t>(host_.BarValue()) + to;
    if (r < 0 || r >= store_.Count()) return;
    store_.SetSelected(static_cast<int32_t>(r), dragSelect_);
    SetListIndex(static_cast<int32_t>(r));
    lastMouseY_ = y;
}

void ListModel::MouseUp() {
    mouseDown_ = false;
    dragSelect_ = true;
    DragStop();
}

void ListModel::CaptureLost() {
    mouseDown_ = false;
    DragStop();
}

void ListModel::DragStart(int dir, int32_t interval) {
    DragStop();
    dragDir_ = dir;
    dragInterval_ = dragNext_ = interval;
    DragStep();
    if (dragDir_ != 0) host_.StartDragTimer(interval);
}

void ListModel::DragStop() {
    if (dragDir_ == 0) return;
    dragDir_ = 0;
    host_.StopDragTimer();
}

void ListModel::DragTimer() {
    if (dragDir_ == 0 || !mouseDown_) {
        dragDir_ = 0;
        host_.StopDragTimer();
        return;
    }
    DragStep();
    if (dragDir_ != 0 && dragNext_ != dragInterval_) {
        dragInterval_ = dragNext_;
        host_.StartDragTimer(dragInterval_);
    }
}

void ListModel::DragStep() {
    const int32_t l = listIndex_;
    if (dragDir_ < 0) {
        if (l <= 0) return;
        if (!SingleMode()) store_.SetSelected(l - 1, dragSelect_);
        SetListIndex(l - 1);
    } else if (dragDir_ > 0) {
        if (l >= store_.Count() - 1) return;
        if (!SingleMode()) store_.SetSelected(l + 1, dragSelect_);
        SetListIndex(l + 1);
    }
}

void ListModel::KeyDown(int16_t keyCode) {
    const int32_t n = store_.Count();
    if (n <= 0 || listIndex_ == -1) return;
    const int32_t r = visibleRows_, l = listIndex_;
    switch (keyCode) {
    case kKeyEnter:
        if (l > 0) SetListIndex(l);
        host_.RaiseClick();
        break;
    case kKeySpace:
        if (!SingleMode()) {
            store_.SetSelected(l, !store_.Selected(l));
            host_.DrawItem(l);
            host_.DrawFocus(l);
        }
        host_.RaiseClick();
        break;
    case kKeyPageUp: SetListIndex(l <= r ? 0 : l - r + 1); break;
    case kKeyPageDown: SetListIndex(l < n - r - 1 ? l + r - 1 : n - 1); break;
    case kKeyEnd: SetListIndex(n - 1); break;
    case kKeyHome: SetListIndex(0); break;
    case kKeyUp:
        if (l > 0) SetListIndex(l - 1);
        break;
    case kKeyDown:
        if (l < n - 1) SetListIndex(l + 1);
        break;
    default: break;
    }
}

void ListModel::Wheel(uint32_t wparam) {
    if (!host_.BarVisible()) return;
    const int32_t v = host_.BarValue();
    if (wparam == kWheelNotchUp) {
        if (v > 0) host_.SetBarValue(v - 1);
    } else if (wparam == kWheelNotchDown) {
        if (v < host_.BarMax()) host_.SetBarValue(v + 1);
    }
}

void ListModel::Terminate() {
    mouseDown_ = false;
    DragStop();
}

}  // namespace lumio::lists
