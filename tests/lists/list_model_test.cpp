// The list box's behaviour against a recording host whose bar is the real
// scroll-bar machine, on a clock of its own.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "list_model.h"
#include "run_time_error.h"
#include "scroll_machine.h"
#include "shade_color.h"

namespace {

using namespace lumio::lists;
using Trace = std::vector<std::string>;

class FakeList;

// The bar's own host: its Change and Scroll go to the list.
class BarHost : public ScrollHost {
public:
    explicit BarHost(FakeList& list) : list_(list) {}
    void Invalidate() override {}
    void RaiseChange() override;
    void RaiseScroll() override;
    void StartTimer(int, int32_t) override {}
    void StopTimer(int) override {}
    bool CursorPos(int32_t&, int32_t&) override { return false; }
    bool CursorOverBar() override { return false; }

private:
    FakeList& list_;
};

class FakeList : public ListHost {
public:
    BarHost barHost{*this};
    ScrollMachine bar{barHost};
    ListModel model{*this};
    Trace trace;
    bool barVisible = false, shown = true, drawTrace = false;
    int32_t dragMs = 0;  // 0: the drag timer is off
    int64_t now = 0, dragDue = 0;

    FakeList(int items = 0, int rows = 3) {
        for (int i = 0; i < items; ++i) model.AddItem(u"item" + std::u16string(1, char16_t(u'A' + i)), -1, -1);
        model.SetGeometry(16, rows, 100);
        trace.clear();
    }

    // ListHost
    void DrawItem(int32_t i) override {
        if (drawTrace && model.RowOf(i) >= 0) trace.push_back("row" + std::to_string(model.RowOf(i)));
    }
    void DrawFocus(int32_t i) override {
        if (drawTrace && model.FocusRow(i) >= 0) trace.push_back("focus" + std::to_string(model.FocusRow(i)));
    }
    void Repaint() override {}
    void ClearSurface() override {}
    bool Shown() override { return shown; }
    bool BarVisible() override { return barVisible; }
    void SetBarVisible(bool v) override { barVisible = v; }
    void BarRefresh() override {}
    int32_t BarValue() override { return bar.Properties().value; }
    void SetBarValue(int32_t v) override { bar.SetValue(v); }
    int32_t BarMax() override { return bar.Properties().max; }
    void SetBarMax(int32_t v) override { bar.SetMax(v); }
    void SetBarLargeChange(int32_t v) override { bar.SetLargeChange(v); }
    int32_t BarWidth() override { return 17; }
    void RaiseListIndexChange() override { trace.push_back("ListIndexChange"); }
    void RaiseScroll() override { trace.push_back("Scroll"); }
    void RaiseTopIndexChange() override { trace.push_back("TopIndexChange"); }
    void RaiseClick() override { trace.push_back("Click"); }
    void StartDragTimer(int32_t ms) override {
        dragMs = ms;
        dragDue = now + ms;
    }
    void StopDragTimer() override { dragMs = 0; }

    // Runs the drag timer up to `until`; the times of the steps.
    std::vector<int64_t> RunUntil(int64_t until) {
        std::vector<int64_t> steps;
        while (dragMs && dragDue <= until) {
            now = dragDue;
            dragDue = now + dragMs;
            const int32_t before = model.ListIndex();
            model.DragTimer();
            if (model.ListIndex() != before) steps.push_back(now);
        }
        now = until;
        return steps;
    }
    std::vector<bool> Flags() const {
        std::vector<bool> f;
        for (int32_t i = 0; i < model.ListCount(); ++i) f.push_back(model.Store().Selected(i));
        return f;
    }
};

void BarHost::RaiseChange() { list_.model.BarChanged(); }
void BarHost::RaiseScroll() { list_.model.BarScrolled(); }

int ErrorOf(const std::function<void()>& f) {
    try {
        f();
    } catch (const lumio::RunTimeError& e) {
        return e.number();
    }
    return 0;
}

TEST(ListModel, NewListAndFirstItem) {
    FakeList l;
    EXPECT_EQ(l.model.ListCount(), 0);
    EXPECT_EQ(l.model.ListIndex(), -1);
    EXPECT_EQ(l.model.SelectedCount(), 0);
    EXPECT_EQ(ErrorOf([&] { l.model.FindFirst(u"a", 0, false); }), 381);
    EXPECT_EQ(ErrorOf([&] { l.model.InsertItem(0, u"a", 0, 0); }), 381);
    EXPECT_EQ(ErrorOf([&] { l.model.ItemText(0); }), 381);
    l.model.AddItem(u"a", 3, -1);
    EXPECT_EQ(l.model.ListCount(), 1);
    EXPECT_EQ(l.model.ListIndex(), -1);
    EXPECT_EQ(l.model.ItemIconSelected(0), 3);
    EXPECT_TRUE(l.trace.empty());
}

TEST(ListModel, BadIndexesRaiseBeforeAnyChange) {
    struct Case {
        const char* what;
        std::function<void(ListModel&)> op;
        int error;
    } cases[] = {
        {"ItemText(ListCount) read", [](ListModel& m) { m.ItemText(3); }, 0},
        {"ItemText(ListCount) write", [](ListModel& m) { m.SetItemText(3, u""); }, 0},
        {"ItemText(ListCount + 1)", [](ListModel& m) { m.ItemText(4); }, 381},
        {"ItemIcon(-1)", [](ListModel& m) { m.ItemIcon(-1); }, 9},
        {"ItemSelected(-1) write", [](ListModel& m) { m.SetItemSelected(-1, true); }, 9},
        {"ModifyItem(4)", [](ListModel& m) { m.ModifyItem(4, u"x", 1, 1); }, 381},
        {"ModifyItem(-2)", [](ListModel& m) { m.ModifyItem(-2, u"x", 1, 1); }, 9},
        {"RemoveItem(ListCount)", [](ListModel& m) { m.RemoveItem(3); }, 381},
        {"RemoveItem(-1)", [](ListModel& m) { m.RemoveItem(-1); }, 9},
        {"InsertItem(4)", [](ListModel& m) { m.InsertItem(4, u"x", 0, 0); }, 381},
        {"InsertItem(-1)", [](ListModel& m) { m.InsertItem(-1, u"x", 0, 0); }, 9},
        {"FindFirst from -1", [](ListModel& m) { m.FindFirst(u"item", -1, false); }, 9},
        {"FindFirst past the end", [](ListModel& m) { EXPECT_EQ(m.FindFirst(u"item", 5, false), -1); }, 0},
        {"ListIndex = ListCount", [](ListModel& m) { m.SetListIndex(3); }, 380},
        {"ListIndex = -2", [](ListModel& m) { m.SetListIndex(-2); }, 380},
        {"TopIndex when all fit", [](ListModel& m) { m.SetTopIndex(0); }, 380},
        {"single: ItemSelected(ListCount) = True", [](ListModel& m) { m.SetItemSelected(3, true); }, 380},
    };
    for (const auto& c : cases) {
        FakeList l(3, 4);
        l.model.SetListIndex(1);
        l.trace.clear();
        EXPECT_EQ(ErrorOf([&] { c.op(l.model); }), c.error) << c.what;
        if (!c.error) continue;
        EXPECT_EQ(l.model.ListCount(), 3) << c.what;
        EXPECT_EQ(l.model.ListIndex(), 1) << c.what;
        EXPECT_EQ(l.model.ItemText(0), u"itemA") << c.what;
        EXPECT_EQ(l.Flags(), (std::vector<bool>{false, true, false})) << c.what;
        EXPECT_TRUE(l.trace.empty()) << c.what;
    }
}

TEST(ListModel, ItemWrites) {
    FakeList l(2);
    l.model.InsertItem(1, u"mid", 0, 0);
    EXPECT_EQ(l.model.ItemIcon(1), 0);
    EXPECT_EQ(l.model.ItemIconSelected(1), 0);
    l.model.InsertItem(3, u"end", 4, -1);  // Index = ListCount appends, icons as given
    EXPECT_EQ(l.model.ItemText(3), u"end");
    EXPECT_EQ(l.model.ItemIconSelected(3), -1);
    struct Case {
        std::optional<std::u16string> text;
        int16_t icon, iconSelected;
        std::u16string wantText;
        int16_t wantIcon, wantSelected;
    } cases[] = {
        {std::nullopt, -1, -1, u"itemA", -1, -1},
        {u"", -1, -1, u"", -1, -1},
        {std::nullopt, 5, -1, u"", 5, -1},
        {u"z", -3, 7, u"z", 5, 7},
    };
    for (const auto& c : cases) {
        l.model.ModifyItem(0, c.text, c.icon, c.iconSelected);
        EXPECT_EQ(l.model.ItemText(0), c.wantText);
        EXPECT_EQ(l.model.ItemIcon(0), c.wantIcon);
        EXPECT_EQ(l.model.ItemIconSelected(0), c.wantSelected);
    }
}

TEST(ListModel, SingleSelection) {
    FakeList l(6);
    l.model.SetListIndex(2);
    l.model.SetListIndex(4);
    EXPECT_EQ(l.Flags(), (std::vector<bool>{false, false, false, false, true, false}));
    l.trace.clear();
    l.model.SetItemSelected(1, false);
    EXPECT_TRUE(l.trace.empty());
    l.model.SetItemSelected(1, true);
    EXPECT_EQ(l.model.ListIndex(), 1);
    EXPECT_EQ(l.model.SelectedCount(), 1);
    l.trace.clear();
    l.model.SetListIndex(1);
    EXPECT_EQ(l.trace, (Trace{"ListIndexChange"}));
    l.model.SetListIndex(-1);
    EXPECT_EQ(l.model.SelectedCount(), 0);
}

TEST(ListModel, MultipleSelectionThenSingle) {
    FakeList l(4);
    l.model.SetSelectMode(1, true);
    l.model.SetItemSelected(0, true);
    l.model.SetItemSelected(3, true);
    l.model.SetItemSelected(0, false);
    l.model.SetListIndex(2);
    EXPECT_EQ(l.Flags(), (std::vector<bool>{false, false, false, true}));
    l.model.SetSelectMode(0, true);
    EXPECT_EQ(l.Flags(), (std::vector<bool>{false, false, true, false}));
}

TEST(ListModel, OrderClearsSelectionWithOneChange) {
    FakeList l(0, 2);
    for (auto t : {u"beta", u"Alpha", u"alpha", u"gamma"}) l.model.AddItem(t, -1, -1);
    l.model.SetListIndex(3);
    l.trace.clear();
    l.model.Order();
    EXPECT_EQ(l.model.ItemText(0), u"Alpha");
    EXPECT_EQ(l.model.ItemText(3), u"gamma");
    EXPECT_EQ(l.model.ListIndex(), -1);
    EXPECT_EQ(l.model.SelectedCount(), 0);
    EXPECT_EQ(l.model.TopIndex(), 0);
    // The bar went back to the top too.
    EXPECT_EQ(l.trace, (Trace{"ListIndexChange", "Scroll", "TopIndexChange"}));
    l.model.Props().orderType = 1;
    l.model.Order();
    EXPECT_EQ(l.model.ItemText(0), u"gamma");
}

TEST(ListModel, RemoveAndInsertMoveTheCurrentItemWithoutScrolling) {
    FakeList l(10);
    l.model.SetListIndex(5);  // scrolled: rows 3..5
    EXPECT_EQ(l.model.TopIndex(), 3);
    l.model.RemoveItem(0);
    EXPECT_EQ(l.model.ListIndex(), 4);
    EXPECT_EQ(l.model.TopIndex(), 3);
    l.model.InsertItem(0, u"new", 0, 0);
    l.model.InsertItem(0, u"new", 0, 0);
    EXPECT_EQ(l.model.ListIndex(), 6);  // below the rows shown, not scrolled to
    EXPECT_EQ(l.model.TopIndex(), 3);
    l.model.RemoveItem(6);
    EXPECT_EQ(l.model.ListIndex(), -1);
    // A remove or insert that moves nothing leaves the next move scrolling.
    l.model.RemoveItem(9);
    l.model.InsertItem(9, u"x", 0, 0);
    l.model.SetListIndex(9);
    EXPECT_EQ(l.model.TopIndex(), 7);
}

TEST(ListModel, BarShowsWhenItemsOverflowTheRows) {
    FakeList l(3);
    EXPECT_FALSE(l.barVisible);
    EXPECT_EQ(l.model.Rects().rows[0].right, 98);
    l.model.AddItem(u"four", -1, -1);
    EXPECT_TRUE(l.barVisible);
    EXPECT_EQ(l.bar.Properties().largeChange, 3);
    EXPECT_EQ(l.bar.Properties().max, 1);
    EXPECT_EQ(l.model.Rects().rows[0].right, 81);
    l.model.RemoveItem(3);
    EXPECT_FALSE(l.barVisible);
    EXPECT_EQ(l.model.Rects().rows[0].right, 98);
}

TEST(ListModel, ClearKeepsTheTopIndexInStepWithTheBar) {
    FakeList l(10);
    l.model.SetTopIndex(5);
    l.model.Clear();
    EXPECT_EQ(l.model.TopIndex(), 0);
    for (int i = 0; i < 10; ++i) l.model.AddItem(u"again", -1, -1);
    l.trace.clear();
    l.model.SetTopIndex(5);
    EXPECT_EQ(l.trace, (Trace{"Scroll", "TopIndexChange", "TopIndexChange"}));
}

TEST(ListModel, Keys) {
    struct Case {
        int32_t start;
        int16_t key;
        int32_t end;
        Trace events;
    } cases[] = {
        {-1, kKeyDown, -1, {}},
        {0, kKeyEnter, 0, {"Click"}},
        {2, kKeyEnter, 2, {"ListIndexChange", "Click"}},
        {1, kKeySpace, 1, {"Click"}},
        {0, kKeyUp, 0, {}},
        {1, kKeyUp, 0, {"ListIndexChange"}},
        {2, kKeyDown, 3, {"Scroll", "TopIndexChange", "ListIndexChange"}},
        {9, kKeyDown, 9, {}},
        {2, kKeyPageUp, 0, {"ListIndexChange"}},
        {3, kKeyPageUp, 0, {"Scroll", "TopIndexChange", "ListIndexChange"}},
        {6, kKeyPageUp, 4, {"ListIndexChange"}},
        {0, kKeyPageDown, 2, {"ListIndexChange"}},
        {5, kKeyPageDown, 7, {"Scroll", "TopIndexChange", "ListIndexChange"}},
        {6, kKeyPageDown, 9, {"Scroll", "TopIndexChange", "ListIndexChange"}},
        {1, kKeyEnd, 9, {"Scroll", "TopIndexChange", "ListIndexChange"}},
        {0, kKeyHome, 0, {"ListIndexChange"}},
        {4, kKeyHome, 0, {"Scroll", "TopIndexChange", "ListIndexChange"}},
        {0, 65, 0, {}},
    };
    for (const auto& c : cases) {
        FakeList l(10);
        // The current row ends up the last one shown when it had to scroll.
        if (c.start >= 0) l.model.SetListIndex(c.start);
        l.trace.clear();
        l.model.KeyDown(c.key);
        EXPECT_EQ(l.model.ListIndex(), c.end) << c.start << " key " << c.key;
        EXPECT_EQ(l.trace, c.events) << c.start << " key " << c.key;
    }
    FakeList m(3);
    m.model.SetSelectMode(1, true);
    m.model.SetListIndex(1);
    m.model.KeyDown(kKeySpace);
    m.model.KeyDown(kKeySpace);
    m.model.KeyDown(kKeySpace);
    EXPECT_EQ(m.Flags(), (std::vector<bool>{false, true, false}));
}

TEST(ListModel, WheelMovesOneRowPerNotchOnly) {
    struct Case {
        uint32_t wparam;
        int32_t top;
    } cases[] = {{kWheelNotchDown, 3}, {kWheelNotchUp, 1}, {0x00F00000u, 2}, {0xFF100000u, 2},
                 {0x00780004u, 2},     {0xFF880008u, 2}};
    for (const auto& c : cases) {
        FakeList l(10);
        l.model.SetTopIndex(2);
        l.model.Wheel(c.wparam);
        EXPECT_EQ(l.model.TopIndex(), c.top) << std::hex << c.wparam;
    }
    FakeList edge(10);
    edge.model.Wheel(kWheelNotchUp);
    EXPECT_EQ(edge.model.TopIndex(), 0);
    edge.model.SetTopIndex(7);
    edge.model.Wheel(kWheelNotchDown);
    EXPECT_EQ(edge.model.TopIndex(), 7);
    FakeList hidden(3);
    hidden.model.Wheel(kWheelNotchDown);
    EXPECT_EQ(hidden.model.TopIndex(), 0);
}

TEST(ListModel, BarDragScrollsWithEventsAroundTheTopIndex) {
    FakeList l(10);
    l.bar.SetClientSize(17, 48);
    l.trace.clear();
    l.model.BarChanged();  // nothing moved
    EXPECT_TRUE(l.trace.empty());
    l.bar.Load({0, 7, 4, 1, 3, 500, 50, 0, true});
    l.model.BarScrolled();
    EXPECT_EQ(l.trace, (Trace{"Scroll", "TopIndexChange", "Scroll"}));
    EXPECT_EQ(l.model.TopIndex(), 4);
}

TEST(ListModel, SelectionRedrawsOnlyTheRowsConcerned) {
    FakeList l(10);
    l.drawTrace = true;
    l.model.SetListIndex(0);
    l.trace.clear();
    l.model.SetListIndex(1);
    EXPECT_EQ(l.trace, (Trace{"row0", "row1", "focus1", "ListIndexChange"}));
    l.model.SetFocus(false);
    l.trace.clear();
    l.model.SetListIndex(2);
    EXPECT_EQ(l.trace, (Trace{"row1", "row2", "ListIndexChange"}));
}

TEST(ListModel, MousePressAndDragSelect) {
    FakeList few(2);
    few.model.MouseDown(2, 5);  // right button
    EXPECT_EQ(few.model.ListIndex(), -1);
    EXPECT_FALSE(few.model.MouseIsDown());
    few.model.MouseMove(2, -10, 48);
    EXPECT_FALSE(few.model.DragScrolling());
    few.model.MouseDown(1, 40);  // below the items: still a press
    EXPECT_EQ(few.model.ListIndex(), -1);
    EXPECT_TRUE(few.model.MouseIsDown());

    FakeList l(6);
    // Multiple mode: a press on a selected item and a drag down clear every row crossed.
    l.model.SetSelectMode(1, true);
    for (int i = 0; i < 3; ++i) l.model.SetItemSelected(i, true);
    l.model.MouseDown(1, 2);
    EXPECT_EQ(l.model.ListIndex(), 0);
    l.model.MouseMove(1, 17, 48);
    l.model.MouseMove(1, 40, 48);
    l.model.MouseUp();
    EXPECT_EQ(l.Flags(), (std::vector<bool>{false, false, false, false, false, false}));
    EXPECT_EQ(l.model.ListIndex(), 2);
    // After a release, hover selection selects the rows passed over.
    l.model.SetHoverSelection(true);
    l.model.MouseMove(0, 20, 48);
    EXPECT_EQ(l.model.ListIndex(), 1);
    EXPECT_TRUE(l.model.Store().Selected(1));
}

TEST(ListModel, DragScrollingPacesByDistanceAndStops) {
    FakeList l(40);
    l.model.SetTopIndex(30);
    l.model.MouseDown(1, 40);  // item 32
    ASSERT_EQ(l.model.ListIndex(), 32);
    l.model.MouseMove(1, -10, 48);  // first step at once, then every 300 ms
    EXPECT_EQ(l.model.ListIndex(), 31);
    EXPECT_EQ(l.RunUntil(900), (std::vector<int64_t>{300, 600, 900}));
    l.model.MouseMove(1, -23, 48);  // further out: the next period is 40 ms
    EXPECT_EQ(l.RunUntil(1300), (std::vector<int64_t>{1200, 1240, 1280}));
    EXPECT_EQ(l.model.ListIndex(), 25);
    l.model.MouseMove(1, 20, 48);  // back inside: stops
    EXPECT_FALSE(l.model.DragScrolling());
    EXPECT_EQ(l.dragMs, 0);
    l.model.MouseMove(1, 60, 48);  // below: steps down
    EXPECT_EQ(l.dragMs, 280);
    l.model.MouseUp();
    EXPECT_EQ(l.dragMs, 0);
    l.model.MouseDown(1, 0);
    l.model.MouseMove(1, -30, 48);
    l.model.CaptureLost();
    EXPECT_EQ(l.dragMs, 0);
    EXPECT_FALSE(l.model.MouseIsDown());
    const int32_t at = l.model.ListIndex();
    l.model.DragTimer();  // a tick already queued changes nothing
    EXPECT_EQ(l.model.ListIndex(), at);
}

TEST(ListModel, FocusOutlineShadeOfTheDefaultSelectedBack) {
    EXPECT_EQ(lumio::pShadeColor(0xFDF4E2, -700), 0xF7D592);  // RGB(146, 213, 247)
}

}  // namespace
