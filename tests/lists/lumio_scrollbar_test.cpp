// LumioScrollbar in our container, under real mouse input.
#include <gtest/gtest.h>

#include <vector>

#include "live_objects.h"
#include "lumio_scrollbar.h"
#include "real_input.h"
#include "test_host.h"
#include "window_capture.h"

namespace {

using lumio::Variant;
using lumio::host::Form;
using lumio::host::Site;
using lumio::lists::LumioScrollbar;
using namespace testhost;

namespace id = lumio::tlb::dispid::LumioScrollbar;
namespace ev = lumio::tlb::dispid::LumioScrollbarEvents;

class ScrollbarTest : public OleTest {
protected:
    Site* bar_ = nullptr;
    HWND hwnd_ = nullptr;
    RECT screen_{};
    IDispatch* Bar() { return bar_->Object().get(); }

    void Start(RECT rect = {20, 20, 37, 156}, IPropertyBag* bag = nullptr, bool userMode = true) {
        Form& f = NewForm(userMode);
        bar_ = f.Add(LumioScrollbar::Create, L"VScroll1", rect, bag);
        ASSERT_NE(bar_, nullptr);
        hwnd_ = bar_->ControlWindow();
        GetWindowRect(hwnd_, &screen_);
        MoveTo(screen_.left - 60, screen_.top - 10);
        Settle(form_.get());
        f.log().clear();
    }
    long Value() { return AsLong(Get(Bar(), id::Value)); }
    int Count(DISPID which) const {
        int n = 0;
        for (auto& e : form_->log())
            if (!e.notice && e.id == which) ++n;
        return n;
    }
    int Notices() const {
        int n = 0;
        for (auto& e : form_->log()) n += e.notice ? 1 : 0;
        return n;
    }
    static void Send(DWORD flags, int x = 0, int y = 0) { realinput::SendMouse(flags, x, y); }
    static void MoveTo(int x, int y) { realinput::MoveTo(x, y); }
    void PressAt(int x, int y) {
        MoveTo(screen_.left + x, screen_.top + y);
        Send(MOUSEEVENTF_LEFTDOWN);
    }
    void Release() { Send(MOUSEEVENTF_LEFTUP); }
    bool Wait(const std::function<bool()>& done) { return WaitUntil(form_.get(), done); }

    void Shot(const wchar_t* name) { shots::CaptureWindow(hwnd_).Save(name); }
};

TEST_F(ScrollbarTest, WritesClampWithoutNoticesButMarkTheBarDirty) {
    Start();
    struct Case {
        DISPID member;
        long write, read;
    } cases[] = {
        {id::ChangeFrequency, 10, 25}, {id::ChangeDelay, -5, 0}, {id::SmallChange, 0, 1}, {id::LargeChange, 0, 1},
        {id::Orientation, 3, 1},       {id::Orientation, 0, 0},  {id::Value, 500, 100},  {id::Max, -7, 0},
    };
    for (const auto& c : cases) {
        ASSERT_EQ(Put(Bar(), c.member, Variant::Long(c.write)), S_OK);
        EXPECT_EQ(AsLong(Get(Bar(), c.member)), c.read) << c.member;
    }
    // Max below the value lowered it silently: one Change, from the Value write.
    EXPECT_EQ(Value(), 0);
    EXPECT_EQ(Count(ev::Change), 1);
    EXPECT_EQ(Notices(), 0);
    lumio::ComPtr<IPersistPropertyBag> persist;
    ASSERT_EQ(Bar()->QueryInterface(IID_IPersistStreamInit, reinterpret_cast<void**>(persist.put())), S_OK);
    EXPECT_EQ(reinterpret_cast<IPersistStreamInit*>(persist.get())->IsDirty(), S_OK);
}

TEST_F(ScrollbarTest, EveryKeyRoundTripsUnclamped) {
    Start();
    struct Case {
        DISPID member;
        long value;
    } cases[] = {{id::Min, -2147483647 - 1}, {id::Max, 2147483647}, {id::Value, 12345}, {id::SmallChange, 7},
                 {id::LargeChange, 70},      {id::ChangeDelay, 900},  {id::ChangeFrequency, 30}, {id::Orientation, 1}};
    for (const auto& c : cases) ASSERT_EQ(Put(Bar(), c.member, Variant::Long(c.value)), S_OK);
    Put(Bar(), id::ShowButtons, Variant::Bool(false));
    Put(Bar(), id::Enabled, Variant::Bool(false));
    auto bag = form().Save(bar_);
    ASSERT_TRUE(bag);
    Site* copy = form().Add(LumioScrollbar::Create, L"VScroll2", RECT{60, 20, 200, 37}, bag.get());
    ASSERT_NE(copy, nullptr);
    for (const auto& c : cases) EXPECT_EQ(AsLong(Get(copy->Object().get(), c.member)), c.value) << c.member;
    EXPECT_EQ(AsLong(Get(copy->Object().get(), id::ShowButtons)), 0);
    EXPECT_EQ(AsLong(Get(copy->Object().get(), id::Enabled)), 0);
}

TEST_F(ScrollbarTest, HeldArrowRepeatsStopsAtTheLimitAndNeverTakesTheFocus) {
    Start();
    Put(Bar(), id::Max, Variant::Long(4));
    Put(Bar(), id::ChangeDelay, Variant::Long(100));
    form_->log().clear();
    PressAt(8, 130);
    EXPECT_TRUE(Wait([&] { return Value() == 4; }));
    Shot(L"scrollbar_pressed.png");
    Release();
    Settle(form_.get());
    EXPECT_EQ(Count(ev::Change), 4);
    EXPECT_NE(GetFocus(), hwnd_);
    EXPECT_NE(GetCapture(), hwnd_);
}

TEST_F(ScrollbarTest, ReleaseOutsideEndsThePress) {
    Start();
    Put(Bar(), id::ChangeDelay, Variant::Long(50));
    Put(Bar(), id::ChangeFrequency, Variant::Long(25));
    PressAt(8, 130);
    EXPECT_TRUE(Wait([&] { return Value() >= 3; }));
    MoveTo(screen_.left + 300, screen_.top + 130);
    Release();
    Settle(form_.get());
    const long after = Value();
    MoveTo(screen_.left + 8, screen_.top + 130);
    // Back over the arrow the repeat would step every 25 ms: eight of its periods go by without a step.
    EXPECT_FALSE(lumio::test::WaitUntil([&] { return Value() != after; }, std::chrono::milliseconds(200)));
    EXPECT_EQ(Value(), after);
    EXPECT_EQ(lumio::lists::kPartNone,
              static_cast<LumioScrollbar*>(Bar())->machine().PressedPart());
}

TEST_F(ScrollbarTest, DoubleClickStepsTwiceAndLeavesTheButtonUp) {
    Start();
    PressAt(8, 130);
    Release();
    Send(MOUSEEVENTF_LEFTDOWN);
    Release();
    EXPECT_TRUE(Wait([&] { return Value() == 2; }));
    Settle(form_.get());
    EXPECT_EQ(Value(), 2);
    EXPECT_EQ(static_cast<LumioScrollbar*>(Bar())->machine().PressedPart(), lumio::lists::kPartNone);
}

TEST_F(ScrollbarTest, ThumbDragScrollsThenChangesOnce) {
    Start();
    PressAt(8, 21);  // the thumb at 18..27
    Settle(form_.get());
    MoveTo(screen_.left + 8, screen_.top + 60);
    Settle(form_.get());
    MoveTo(screen_.left + 8, screen_.top + 80);
    Settle(form_.get());
    Shot(L"scrollbar_drag.png");
    Release();
    Settle(form_.get());
    EXPECT_GE(Count(ev::Scroll), 1);
    EXPECT_EQ(Count(ev::Change), 1);
    EXPECT_GT(Value(), 40);
    // The last event is the Change of the release.
    ASSERT_FALSE(form_->log().empty());
    EXPECT_EQ(form_->log().back().id, ev::Change);
}

TEST_F(ScrollbarTest, LooksHorizontalAndDisabled) {
    Start({20, 20, 220, 37});
    Put(Bar(), id::Orientation, Variant::Long(1));
    Put(Bar(), id::Value, Variant::Long(50));
    Settle(form_.get());
    Shot(L"scrollbar_horizontal.png");
    Put(Bar(), id::Enabled, Variant::Bool(false));
    Settle(form_.get());
    Shot(L"scrollbar_disabled.png");
    // The painter found all twelve skins.
    EXPECT_EQ(IsWindowEnabled(hwnd_), FALSE);
}

TEST_F(ScrollbarTest, HoverEndsWhenThePointerLeaves) {
    Start();
    auto& machine = static_cast<LumioScrollbar*>(Bar())->machine();
    MoveTo(screen_.left + 8, screen_.top + 60);
    ASSERT_TRUE(Wait([&] { return machine.BarHover(); }));
    EXPECT_EQ(machine.PaintStates(true).tlButton, 1);
    EXPECT_EQ(machine.PaintStates(true).brButton, 1);
    MoveTo(screen_.left - 60, screen_.top - 10);
    ASSERT_TRUE(Wait([&] { return !machine.BarHover(); }));
    EXPECT_EQ(machine.PaintStates(true).tlButton, 0);
    // Both polling timers are gone once the pointer left.
    EXPECT_FALSE(KillTimer(hwnd_, lumio::lists::kTimerHot));
    EXPECT_FALSE(KillTimer(hwnd_, lumio::lists::kTimerLeave));
}

// An arrow lit by a real pointer move stays lit while the pointer rests on it
// (the hot test's cursor read agrees with the move), and goes dark once the
// pointer moves on to the track, which lights nothing itself.
TEST_F(ScrollbarTest, ArrowStaysHotWhileThePointerRestsOnIt) {
    Start();
    auto& machine = static_cast<LumioScrollbar*>(Bar())->machine();
    MoveTo(screen_.left + 8, screen_.top + 60);  // entering lights the bar only
    ASSERT_TRUE(Wait([&] { return machine.BarHover(); }));
    int ticks = 0;
    auto count_hot_ticks = [&](MSG& m) {
        if (m.hwnd == hwnd_ && m.message == WM_TIMER && m.wParam == lumio::lists::kTimerHot) ++ticks;
        return form_->PreTranslate(m);
    };
    for (int y : {screen_.bottom - 8, screen_.top + 8}) {
        MoveTo(screen_.left + 8, y);
        ASSERT_TRUE(Wait([&] { return machine.PaintStates(true).brButton == 2 || machine.PaintStates(true).tlButton == 2; }));
        const bool bottom = y > screen_.top + 60;
        auto lit = [&] { return (bottom ? machine.PaintStates(true).brButton : machine.PaintStates(true).tlButton) == 2; };
        ticks = 0;
        ASSERT_TRUE(lumio::test::WaitUntil([&] { return ticks >= 4 || !lit(); }, lumio::test::kDeadline, count_hot_ticks));
        EXPECT_TRUE(lit()) << "after " << ticks << " hot tests, arrow at " << y - screen_.top;
        if (!bottom) Shot(L"scrollbar_arrow_hot.png");
        MoveTo(screen_.left + 8, screen_.top + 60);
        ASSERT_TRUE(Wait([&] { return !lit(); }));
        EXPECT_FALSE(KillTimer(hwnd_, lumio::lists::kTimerHot));
        EXPECT_TRUE(machine.BarHover());
    }
}

// Real input arrives faster than the hot test: a pointer that leaves a lit
// arrow and clicks the track at once must not leave the arrow lit for good.
TEST_F(ScrollbarTest, QuickTrackClickAfterALitArrowLeavesItDark) {
    Start();
    auto& machine = static_cast<LumioScrollbar*>(Bar())->machine();
    MoveTo(screen_.left + 8, screen_.top + 60);
    ASSERT_TRUE(Wait([&] { return machine.BarHover(); }));
    MoveTo(screen_.left + 8, screen_.bottom - 8);
    ASSERT_TRUE(Wait([&] { return machine.PaintStates(true).brButton == 2; }));
    PressAt(8, 60);  // one batch: the move, the press, the release
    Release();
    ASSERT_TRUE(Wait([&] { return Count(ev::Change) == 1; }));
    MoveTo(screen_.left - 60, screen_.top - 10);
    EXPECT_TRUE(Wait([&] { return !machine.BarHover() && machine.PaintStates(true).brButton == 0; }))
        << "arrow state " << machine.PaintStates(true).brButton;
}

TEST_F(ScrollbarTest, NoGdiOrWindowGrowthOverCreateAndDestroy) {
    NewForm(true);
    auto bag = lumio::MemoryPropertyBag::Create();
    EXPECT_TRUE(lumio::test::NoGrowth([&] {
        for (int i = 0; i < 100; ++i) {
            Site* s = form().Add(LumioScrollbar::Create, L"S", RECT{0, 0, 17, 120}, bag.get());
            ASSERT_NE(s, nullptr);
            form().Remove(s);
        }
    }, 10));
}

}  // namespace
