// The tab model against a fake window side: the switch and its events, the
// pages of contained controls, inserting and removing tabs, captions.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "run_time_error.h"
#include "tab_input.h"
#include "tab_model.h"

namespace {

using namespace lumio;
using namespace lumio::tab;

class FakeHost : public TabHost {
public:
    std::vector<std::wstring> log;
    std::vector<std::optional<double>> lefts;  // nullopt: a control without Left
    bool cancel = false;
    int locks = 0;
    std::wstring keys;
    int32_t pictures = 0;

    bool BeforeTabSwitch(int16_t n) override {
        log.push_back(L"BeforeTabSwitch " + std::to_wstring(n));
        return cancel;
    }
    void TabSwitch(int16_t last) override { log.push_back(L"TabSwitch " + std::to_wstring(last)); }
    void TabInsert(int32_t after) override { log.push_back(L"TabInsert " + std::to_wstring(after)); }
    void TabRemove(int32_t index) override { log.push_back(L"TabRemove " + std::to_wstring(index)); }
    int32_t ContainedCount() override { return static_cast<int32_t>(lefts.size()); }
    bool ContainedLeft(int32_t i, double& left) override {
        if (!lefts[i]) return false;
        left = *lefts[i];
        return true;
    }
    void SetContainedLeft(int32_t i, double left) override {
        lefts[i] = left;
        log.push_back(L"move");
    }
    void LockDrawing() override { ++locks; }
    void UnlockDrawing() override { --locks; }
    void DrawSwitch() override { log.push_back(L"draw"); }
    void Refresh() override {}
    void PropertyChanged(const wchar_t* name) override { log.push_back(std::wstring(L"notice ") + name); }
    void SetAccessKeys(const std::wstring& k) override { keys = k; }
    void RecordsResized(int32_t count) override { pictures = count; }
};

template <typename F>
std::pair<int32_t, std::wstring> ErrorOf(F&& f) {
    try {
        f();
    } catch (const RunTimeError& e) {
        return {e.number(), e.source()};
    }
    return {0, L""};
}

std::vector<std::wstring> Captions(const TabModel& m) {
    std::vector<std::wstring> c;
    for (const TabRecord& r : m.records()) c.push_back(r.caption);
    return c;
}

class TabModelTest : public ::testing::Test {
protected:
    FakeHost host;
    TabModel model{host};
    void SetUp() override { model.InitRecords(3); }
};

TEST_F(TabModelTest, NewControlHasThreeEnabledTabsCaptionedWithABlank) {
    EXPECT_EQ(Captions(model), (std::vector<std::wstring>{L"Tab 0", L"Tab 1", L"Tab 2"}));
    EXPECT_TRUE(model.TabEnabled(2));
    EXPECT_EQ(host.pictures, 3);
}

TEST_F(TabModelTest, SwitchRaisesBeforeMovesThenReportsTheTabLeft) {
    host.lefts = {120.0, -9880.0};
    model.SetActiveTab(1);
    EXPECT_EQ(host.log, (std::vector<std::wstring>{L"BeforeTabSwitch 1", L"move", L"move", L"draw", L"notice ActiveTab",
                                                   L"TabSwitch 0"}));
    EXPECT_EQ(model.ActiveTab(), 1);
    EXPECT_EQ(model.LastActiveTab(), 0);
    EXPECT_EQ(model.HoverIndex(), 1);
    EXPECT_EQ(*host.lefts[0], 10120.0);
    EXPECT_EQ(*host.lefts[1], 120.0);
}

TEST_F(TabModelTest, CancelledSwitchKeepsEverything) {
    host.lefts = {120.0};
    host.cancel = true;
    model.SetActiveTab(2);
    EXPECT_EQ(host.log, (std::vector<std::wstring>{L"BeforeTabSwitch 2"}));
    EXPECT_EQ(model.ActiveTab(), 0);
    EXPECT_EQ(*host.lefts[0], 120.0);
}

TEST_F(TabModelTest, SwitchTargets) {
    struct Case {
        int32_t from, write, shown;
        size_t events;
    } cases[] = {
        {0, 2, 2, 4}, {2, -1, 0, 4}, {2, 3, 0, 4},  // out of range selects tab 0
        {0, -1, 0, 0}, {1, 1, 1, 0},                // already shown: nothing
    };
    for (const Case& c : cases) {
        model.SetActiveTab(c.from);
        host.log.clear();
        model.SetActiveTab(c.write);
        EXPECT_EQ(model.ActiveTab(), c.shown) << c.from << " -> " << c.write;
        EXPECT_EQ(host.log.size(), c.events) << c.from << " -> " << c.write;
    }
}

TEST_F(TabModelTest, ZeroToTwoAddsTwiceTheOffsetAndBackRestores) {
    host.lefts = {120.0, -9880.0, -19880.0, std::nullopt};
    model.SetActiveTab(2);
    EXPECT_EQ(*host.lefts[0], 20120.0);
    EXPECT_EQ(*host.lefts[2], 120.0);
    EXPECT_FALSE(host.lefts[3]);
    model.SetActiveTab(0);
    EXPECT_EQ(*host.lefts[0], 120.0);
    EXPECT_EQ(*host.lefts[1], -9880.0);
}

TEST_F(TabModelTest, InsertAfterZeroShiftsLaterCaptionsAndControls) {
    model.SetTabCaption(0, L"A");
    model.SetTabCaption(1, L"B");
    model.SetTabCaption(2, L"C");
    model.SetTabEnabled(1, false);
    host.lefts = {120.0, -9880.0, -19880.0, 0.0};
    host.log.clear();
    model.InsertTab(0, L"X");
    EXPECT_EQ(Captions(model), (std::vector<std::wstring>{L"A", L"X", L"B", L"C"}));
    // Flags stay by index; the new last record is enabled.
    EXPECT_FALSE(model.TabEnabled(1));
    EXPECT_TRUE(model.TabEnabled(2));
    EXPECT_TRUE(model.TabEnabled(3));
    EXPECT_EQ(host.pictures, 4);
    EXPECT_EQ(*host.lefts[0], 120.0);
    EXPECT_EQ(*host.lefts[1], -19880.0);
    EXPECT_EQ(*host.lefts[2], -29880.0);
    EXPECT_EQ(*host.lefts[3], -10000.0);  // Left 0 is a tab-1 control
    EXPECT_EQ(host.log.back(), L"TabInsert 0");
    EXPECT_EQ(host.locks, 0);
}

TEST_F(TabModelTest, InsertKeepsTheShownTabShown) {
    struct Case {
        int32_t shown, after, expected;
    } cases[] = {{2, 0, 3}, {1, 0, 2}, {0, 0, 0}, {1, 2, 1}, {0, -1, 1}};
    for (const Case& c : cases) {
        FakeHost h;
        TabModel m(h);
        m.InitRecords(3);
        m.SetActiveTab(c.shown);
        std::wstring caption = m.TabCaption(c.shown);
        m.InsertTab(c.after, L"New");
        EXPECT_EQ(m.ActiveTab(), c.expected) << c.shown << " after " << c.after;
        EXPECT_EQ(m.TabCaption(m.ActiveTab()), caption);
    }
}

TEST_F(TabModelTest, InsertAndRemoveRejectIndexesOutsideTheTabsBeforeAnything) {
    struct Case {
        bool insert;
        int32_t index;
    } cases[] = {{true, -2}, {true, 3}, {false, -1}, {false, 3}};
    host.lefts = {-9880.0};
    model.SetActiveTab(1);
    host.log.clear();
    for (const Case& c : cases) {
        auto [number, source] = ErrorOf([&] { c.insert ? model.InsertTab(c.index, L"X") : model.RemoveTab(c.index); });
        EXPECT_EQ(number, 9) << c.index;
        EXPECT_EQ(source, c.insert ? L"LumioTab.InsertTab" : L"LumioTab.RemoveTab");
    }
    EXPECT_TRUE(host.log.empty());
    EXPECT_EQ(host.locks, 0);
    EXPECT_EQ(model.TabCount(), 3);
    EXPECT_EQ(model.ActiveTab(), 1);
}

TEST_F(TabModelTest, HostCancellingTheSwitchToTabZeroStopsInsertAndRemove) {
    model.SetActiveTab(2);
    host.cancel = true;
    host.log.clear();
    model.InsertTab(0, L"X");
    model.RemoveTab(1);
    EXPECT_EQ(model.TabCount(), 3);
    EXPECT_EQ(model.ActiveTab(), 2);
    EXPECT_EQ(host.locks, 0);
    EXPECT_EQ(host.log, (std::vector<std::wstring>{L"BeforeTabSwitch 0", L"BeforeTabSwitch 0"}));
}

TEST_F(TabModelTest, RemoveParksTheTabsControlsAndTheyStayParked) {
    model.SetTabCaption(0, L"A");
    model.SetTabCaption(1, L"B");
    model.SetTabCaption(2, L"C");
    host.lefts = {120.0, -9880.0, -19880.0};
    model.RemoveTab(1);
    EXPECT_EQ(Captions(model), (std::vector<std::wstring>{L"A", L"C"}));
    EXPECT_EQ(*host.lefts[0], 120.0);
    EXPECT_EQ(*host.lefts[1], 20120.0);  // parked TabCount (3) offsets to the right
    EXPECT_EQ(*host.lefts[2], -9880.0);  // C's control is now on tab 1
    EXPECT_EQ(host.log.back(), L"TabRemove 1");
    // Later inserts and removals leave the parked control where it is.
    model.InsertTab(1, L"Z");
    EXPECT_EQ(*host.lefts[1], 20120.0);
    model.RemoveTab(0);  // A, C, Z: A's control parks, C's comes to tab 0
    EXPECT_EQ(*host.lefts[1], 20120.0);
    EXPECT_EQ(*host.lefts[0], 30120.0);
    EXPECT_EQ(*host.lefts[2], 120.0);
}

TEST_F(TabModelTest, RemoveEndsOnTheShownTabOrItsNeighbour) {
    struct Case {
        int32_t count, shown, removed, expected;
    } cases[] = {{3, 2, 0, 1}, {3, 0, 2, 0}, {3, 1, 1, 1}, {3, 2, 2, 1}, {2, 0, 0, 0}};
    for (const Case& c : cases) {
        FakeHost h;
        TabModel m(h);
        m.InitRecords(c.count);
        m.SetActiveTab(c.shown);
        m.RemoveTab(c.removed);
        EXPECT_EQ(m.ActiveTab(), c.expected) << c.shown << " removing " << c.removed;
    }
}

TEST_F(TabModelTest, RemoveOnTheLastTabDoesNothing) {
    model.SetTabCount(1);
    host.log.clear();
    model.RemoveTab(0);
    model.RemoveTab(5);
    EXPECT_TRUE(host.log.empty());
    EXPECT_EQ(model.TabCount(), 1);
}

TEST_F(TabModelTest, TabCountGrowsWithNewCaptionsAndRejectsZero) {
    model.SetTabCount(5);
    EXPECT_EQ(model.TabCaption(3), L"Tab 3");
    EXPECT_EQ(model.TabCaption(4), L"Tab 4");
    EXPECT_EQ(host.log.back(), L"notice TabCount");
    auto [number, source] = ErrorOf([&] { model.SetTabCount(0); });
    EXPECT_EQ(number, 380);
    EXPECT_EQ(source, L"LumioTab.TabCount");
    EXPECT_EQ(model.TabCount(), 5);
}

TEST_F(TabModelTest, ShrinkingBelowTheShownTabShowsTheLastWithoutEventsAndBringsItsControls) {
    host.lefts = {20120.0, 10120.0, 120.0};  // tabs 0, 1, 2 with tab 2 shown
    model.StoreActiveTab(2);
    host.log.clear();
    model.SetTabCount(2);
    EXPECT_EQ(model.ActiveTab(), 1);
    for (const std::wstring& e : host.log) EXPECT_EQ(e.find(L"TabSwitch"), std::wstring::npos) << e;
    EXPECT_EQ(*host.lefts[1], 120.0);  // the tab now shown is in view
    EXPECT_EQ(*host.lefts[0], 10120.0);
}

TEST_F(TabModelTest, CaptionsGiveAccessKeysAndTheListFollowsEveryWrite) {
    struct Case {
        const wchar_t* caption;
        int32_t key;
    } cases[] = {{L"Save &as", 65}, {L"Fish && Chips", 0}, {L"End&", 0}, {L"&&&b", 66}};
    for (const Case& c : cases) {
        model.SetTabCaption(0, c.caption);
        EXPECT_EQ(model.records()[0].accessKey, c.key) << c.caption;
    }
    model.SetTabCaption(0, L"&Alpha");
    model.SetTabCaption(1, L"&Again");
    EXPECT_EQ(host.keys, L"AA");
    // Renaming one of two tabs with the same key keeps the other's.
    model.SetTabCaption(1, L"&Beta");
    EXPECT_EQ(host.keys, L"AB");
    auto [number, source] = ErrorOf([&] { model.SetTabCaption(7, L"x"); });
    EXPECT_EQ(number, 9);
    EXPECT_EQ(source, L"LumioTab.TabCaption");
    EXPECT_EQ(model.TabCaption(7), L"");
    EXPECT_FALSE(model.TabEnabled(-1));
}

TEST_F(TabModelTest, RecordAccessClampsReadsAndChecksWrites) {
    int32_t i = 9;
    EXPECT_EQ(model.AryTabs(i).caption, L"Tab 2");
    EXPECT_EQ(i, 2);
    i = -4;
    model.AryTabs(i);
    EXPECT_EQ(i, 0);
    EXPECT_EQ(ErrorOf([&] { model.SetAryTabs(3, TabRecord{}); }).first, 9);
}

TEST_F(TabModelTest, TabOffsetMustBePositiveAndAStoredOneFallsBack) {
    EXPECT_EQ(ErrorOf([&] { model.SetTabOffset(0); }).first, 380);
    EXPECT_EQ(ErrorOf([&] { model.SetTabOffset(-5); }).first, 380);
    model.StoreTabOffset(0);
    EXPECT_EQ(model.TabOffset(), 10000);
    model.SetTabOffset(12000);
    EXPECT_EQ(model.TabOffset(), 12000);
    EXPECT_EQ(host.log.back(), L"notice TabOffset");
}

TEST_F(TabModelTest, StoredCountBelowOneRaisesButKeepsOneTab) {
    model.StoreActiveTab(2);
    EXPECT_EQ(ErrorOf([&] { model.LoadRecords({}); }).first, 9);
    EXPECT_EQ(model.TabCount(), 1);
    EXPECT_EQ(model.ActiveTab(), 0);
    EXPECT_EQ(host.pictures, 1);
}

// A load that stopped at a bad value before the records leaves none, with
// the shown tab it had already read. What focus, pointer, keys and wheel
// reach then answers as for a control without tabs, never a read outside
// the records.
TEST(TabModelWithoutRecords, AnswersAsAControlWithoutTabs) {
    FakeHost host;
    TabModel model{host};
    model.StoreActiveTab(2);
    const std::vector<TabRecord>& none = model.records();
    for (int32_t i : {-5, 0, 2, 7}) {
        int32_t at = i;
        TabRecord r = model.AryTabs(at);
        EXPECT_FALSE(r.enabled) << i;
        EXPECT_EQ(r.tabRect.right, 0) << i;
        EXPECT_EQ(at, i);
        model.SetActiveTab(i);  // no tab to switch to: no events
        EXPECT_EQ(model.TabCaption(i), L"") << i;
        EXPECT_FALSE(model.TabEnabled(i)) << i;
        EXPECT_EQ(ErrorOf([&] { model.SetTabCaption(i, L"x"); }).first, 9) << i;
        EXPECT_EQ(ErrorOf([&] { model.SetTabEnabled(i, true); }).first, 9) << i;
        EXPECT_EQ(ErrorOf([&] { model.RemoveTab(i); }).first, 9) << i;
    }
    EXPECT_TRUE(host.log.empty());
    for (int32_t key : {33, 34, 37, 39}) EXPECT_EQ(KeyTarget(key, true, model.ActiveTab(), none), kNoTab) << key;
    EXPECT_EQ(AccessKeyTarget('a', model.ActiveTab(), none), kNoTab);
    EXPECT_EQ(PressedTab(5, 5, 20, none), kNoTab);
    EXPECT_EQ(HoveredTab(5, 5, 20, none), kNoTab);
    EXPECT_EQ(BoxAt(0, 0, none), kNoTab);
    model.ShiftContainedControls(model.ActiveTab());
    model.AssignAccessKeys();
    EXPECT_EQ(host.keys, L"");

    // Tabs given afterwards bring the control back, the first one shown.
    model.InsertTab(-1, L"First");
    EXPECT_EQ(model.TabCount(), 1);
    EXPECT_EQ(model.ActiveTab(), 0);
    EXPECT_EQ(model.TabCaption(0), L"First");
    EXPECT_EQ(host.pictures, 1);
}

}  // namespace
