#include <gtest/gtest.h>

#include <limits>
#include <map>
#include <string>
#include <vector>

#include "scroll_machine.h"

namespace {

using namespace lumio::lists;

constexpr int32_t kLongMin = std::numeric_limits<int32_t>::min();
constexpr int32_t kLongMax = std::numeric_limits<int32_t>::max();

// Window timers on a clock of its own; events noted with the time they came.
class FakeHost : public ScrollHost {
public:
    void Invalidate() override { ++invalidations; }
    void RaiseChange() override { events.push_back("Change@" + std::to_string(now)); }
    void RaiseScroll() override { events.push_back("Scroll@" + std::to_string(now)); }
    void StartTimer(int id, int32_t ms) override { timers[id] = {ms, now + ms}; }
    void StopTimer(int id) override { timers.erase(id); }
    bool CursorPos(int32_t& x, int32_t& y) override {
        x = cursorX;
        y = cursorY;
        return true;
    }
    bool CursorOverBar() override { return overBar; }

    void Advance(ScrollMachine& m, int64_t until) {
        for (;;) {
            int id = 0;
            int64_t due = until + 1;
            for (auto& [i, t] : timers)
                if (t.due < due) {
                    due = t.due;
                    id = i;
                }
            if (id == 0) break;
            now = due;
            timers[id].due += timers[id].interval;
            m.Timer(id);
        }
        now = until;
    }

    struct Timer {
        int32_t interval;
        int64_t due;
    };
    std::map<int, Timer> timers;
    std::vector<std::string> events;
    int invalidations = 0;
    int64_t now = 0;
    int32_t cursorX = 0, cursorY = 0;
    bool overBar = true;
};

constexpr uint32_t kLeft = 1;  // MK_LBUTTON

// A vertical bar 17 x 136: buttons 0..18 and 118..136, a 100-pixel track.
struct Bar {
    FakeHost host;
    ScrollMachine m{host};
    Bar() { m.SetClientSize(17, 136); }
};

TEST(ScrollMachine, WriteRules) {
    enum Op { kMin, kMax, kValue, kSmall, kLarge, kDelay, kFrequency, kOrientation };
    struct Case {
        const char* what;
        std::vector<std::pair<Op, int32_t>> writes;
        int32_t min, max, value, small, large, delay, frequency, orientation;
        int changes;
    } cases[] = {
        {"max below min becomes min, value lowered silently", {{kValue, 50}, {kMin, 40}, {kMax, 10}}, 40, 40, 40, 1, 10, 500, 50, 0, 1},
        {"min above max becomes max, value raised silently", {{kMax, 60}, {kMin, 90}}, 60, 60, 60, 1, 10, 500, 50, 0, 0},
        {"value clamped both ways", {{kValue, 500}, {kValue, -3}}, 0, 100, 0, 1, 10, 500, 50, 0, 2},
        {"writing the current value raises nothing", {{kValue, 0}, {kValue, 7}, {kValue, 7}}, 0, 100, 7, 1, 10, 500, 50, 0, 1},
        {"steps of 0 or less become 1", {{kSmall, 0}, {kLarge, -4}}, 0, 100, 0, 1, 1, 500, 50, 0, 0},
        {"delay and frequency floors", {{kDelay, -5}, {kFrequency, 10}}, 0, 100, 0, 1, 10, 0, 25, 0, 0},
        {"orientation clamped", {{kOrientation, 7}}, 0, 100, 0, 1, 10, 500, 50, 1, 0},
        {"orientation below 0", {{kOrientation, -2}}, 0, 100, 0, 1, 10, 500, 50, 0, 0},
        {"the whole 32-bit range", {{kMin, kLongMin}, {kMax, kLongMax}, {kValue, kLongMax}}, kLongMin, kLongMax, kLongMax, 1, 10, 500, 50, 0, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Bar b;
        for (auto [op, v] : c.writes) {
            switch (op) {
            case kMin: b.m.SetMin(v); break;
            case kMax: b.m.SetMax(v); break;
            case kValue: b.m.SetValue(v); break;
            case kSmall: b.m.SetSmallChange(v); break;
            case kLarge: b.m.SetLargeChange(v); break;
            case kDelay: b.m.SetChangeDelay(v); break;
            case kFrequency: b.m.SetChangeFrequency(v); break;
            case kOrientation: b.m.SetOrientation(v); break;
            }
        }
        const auto& p = b.m.Properties();
        EXPECT_EQ(p.min, c.min);
        EXPECT_EQ(p.max, c.max);
        EXPECT_EQ(p.value, c.value);
        EXPECT_EQ(p.smallChange, c.small);
        EXPECT_EQ(p.largeChange, c.large);
        EXPECT_EQ(p.changeDelay, c.delay);
        EXPECT_EQ(p.changeFrequency, c.frequency);
        EXPECT_EQ(p.orientation, c.orientation);
        EXPECT_EQ(b.m.Range(), static_cast<int64_t>(c.max) - c.min);
        EXPECT_EQ(static_cast<int>(b.host.events.size()), c.changes);
    }
}

TEST(ScrollMachine, StoredValuesAreKeptUnclamped) {
    Bar b;
    ScrollProperties stored;
    stored.min = 50;
    stored.max = 10;
    stored.value = 300;
    stored.largeChange = 0;
    b.m.Load(stored);
    EXPECT_EQ(b.m.Properties().value, 300);
    EXPECT_EQ(b.m.Range(), -40);
    EXPECT_EQ(b.m.ThumbSize(), 8);
}

TEST(ScrollMachine, StepsSaturateAtTheLimitsWithoutError) {
    Bar b;
    b.m.SetMin(kLongMin);
    b.m.SetMax(kLongMax);
    b.m.SetValue(kLongMax - 1);
    b.m.SetSmallChange(kLongMax);
    EXPECT_TRUE(b.m.StepUp(kLongMax, false));
    EXPECT_EQ(b.m.Properties().value, kLongMax);
    EXPECT_FALSE(b.m.StepUp(kLongMax, false));
    EXPECT_TRUE(b.m.StepDown(kLongMax, false));
    EXPECT_TRUE(b.m.StepDown(kLongMax, false));
    EXPECT_EQ(b.m.Properties().value, kLongMin + 1);
    EXPECT_TRUE(b.m.StepDown(kLongMax, false));
    EXPECT_EQ(b.m.Properties().value, kLongMin);
    // A forced step that changes nothing still repaints, without Change.
    const int before = b.host.invalidations;
    const size_t events = b.host.events.size();
    EXPECT_FALSE(b.m.StepDown(1, true));
    EXPECT_EQ(b.host.invalidations, before + 1);
    EXPECT_EQ(b.host.events.size(), events);
}

TEST(ScrollMachine, HeldArrowRepeatsAfterTheDelayAndStopsAtTheLimit) {
    Bar b;
    b.m.SetMax(5);
    b.m.MouseDown(kLeft, 8, 130);
    b.host.Advance(b.m, 2000);
    EXPECT_EQ(b.host.events, (std::vector<std::string>{"Change@0", "Change@550", "Change@600", "Change@650", "Change@700"}));
    EXPECT_TRUE(b.host.timers.empty());
    EXPECT_EQ(b.m.PaintStates(true).brButton, 3);
    b.m.MouseUp();
    EXPECT_EQ(b.m.PaintStates(true).brButton, 0);
}

TEST(ScrollMachine, HeldArrowPausesWhileTheCursorIsOutsideTheButton) {
    Bar b;
    b.m.MouseDown(kLeft, 8, 130);
    b.m.MouseMove(kLeft, 8, 60);  // into the track: the button looks released
    EXPECT_EQ(b.m.PaintStates(true).brButton, 0);
    b.host.Advance(b.m, 700);
    EXPECT_EQ(b.host.events, (std::vector<std::string>{"Change@0"}));
    b.m.MouseMove(kLeft, 8, 130);
    b.host.Advance(b.m, 750);
    EXPECT_EQ(b.host.events, (std::vector<std::string>{"Change@0", "Change@750"}));
    b.m.MouseUp();
    EXPECT_TRUE(b.host.timers.count(kTimerRepeat) == 0 && b.host.timers.count(kTimerDelay) == 0);
}

TEST(ScrollMachine, HeldTrackPagesUntilTheThumbReachesTheCursor) {
    Bar b;  // thumb 9 px at 18
    b.m.MouseDown(kLeft, 8, 60);
    EXPECT_EQ(b.m.Properties().value, 10);
    b.host.Advance(b.m, 700);
    // Thumb starts 27, 36, 45, 54 for 10 to 40; at 40 its end (63) passed the cursor.
    EXPECT_EQ(b.m.Properties().value, 40);
    EXPECT_EQ(b.m.PaintStates(true).brTrack, 0);
    EXPECT_TRUE(b.host.timers.count(kTimerRepeat));
    b.m.MouseMove(kLeft, 8, 100);
    b.host.Advance(b.m, 1000);
    EXPECT_EQ(b.m.Properties().value, 80);  // thumb 91..100 reached the cursor
}

TEST(ScrollMachine, ThumbDragSnapsBackOutsideTheZoneAndChangesOnceAtRelease) {
    Bar b;
    b.m.MouseDown(kLeft, 8, 20);  // thumb 18..27, offset -2
    EXPECT_EQ(b.m.PaintStates(true).thumb, 2);
    b.m.MouseMove(kLeft, 8, 66);  // thumb at 64 -> value 51
    EXPECT_EQ(b.m.Properties().value, 51);
    b.m.MouseMove(kLeft, 8 + 260, 66);  // beyond 250 across: back to 0
    EXPECT_EQ(b.m.Properties().value, 0);
    EXPECT_EQ(b.m.ThumbPos(), 18);
    b.m.MouseMove(kLeft, 8, 150);  // back inside the zone, beyond the track's end: clamped to the end
    EXPECT_EQ(b.m.ThumbPos(), 109);
    EXPECT_EQ(b.m.Properties().value, 100);
    EXPECT_EQ(b.host.events, (std::vector<std::string>{"Scroll@0", "Scroll@0", "Scroll@0"}));
    b.m.MouseUp();
    EXPECT_EQ(b.host.events.back(), "Change@0");

    // A drag that ends where it began raises no Change.
    Bar c;
    c.m.MouseDown(kLeft, 8, 20);
    c.m.MouseMove(kLeft, 8, 66);
    c.m.MouseMove(kLeft, 8, 20);
    c.m.MouseUp();
    EXPECT_EQ(c.host.events, (std::vector<std::string>{"Scroll@0", "Scroll@0"}));
}

TEST(ScrollMachine, ThumbFillingTheTrackKeepsTheDragStartValue) {
    Bar b;
    b.m.SetLargeChange(1000);
    b.m.SetValue(40);
    b.m.MouseDown(kLeft, 8, 50);
    b.m.MouseMove(kLeft, 8, 90);
    b.m.MouseUp();
    EXPECT_EQ(b.m.Properties().value, 40);
    EXPECT_EQ(b.host.events, (std::vector<std::string>{"Change@0"}));
}

TEST(ScrollMachine, HoverLightsAPartOnTheSecondMoveAndLeaves) {
    Bar b;
    b.m.MouseMove(0, 8, 5);
    auto s = b.m.PaintStates(true);
    EXPECT_TRUE(b.m.BarHover());
    EXPECT_EQ(s.tlButton, 1);
    EXPECT_EQ(s.brButton, 1);
    b.m.MouseMove(0, 8, 6);
    EXPECT_EQ(b.m.PaintStates(true).tlButton, 2);
    // The hot test reads the cursor: it left the button.
    b.host.cursorX = 8;
    b.host.cursorY = 22;
    b.host.Advance(b.m, 25);
    EXPECT_EQ(b.m.PaintStates(true).tlButton, 1);
    EXPECT_EQ(b.host.timers.count(kTimerHot), 0u);
    // The leave test: another window under the cursor.
    b.host.overBar = false;
    b.host.Advance(b.m, 50);
    EXPECT_FALSE(b.m.BarHover());
    EXPECT_TRUE(b.host.timers.empty());
}

// A click on the track before the hot test ran: the release stops the hot
// test's timer, yet the arrow it was watching must still go dark.
TEST(ScrollMachine, QuickClickAfterLeavingALitArrowLeavesItDark) {
    Bar b;
    b.m.MouseMove(0, 8, 125);
    b.m.MouseMove(0, 8, 126);
    ASSERT_EQ(b.m.PaintStates(true).brButton, 2);
    b.host.cursorX = 8;
    b.host.cursorY = 60;
    b.m.MouseMove(0, 8, 60);  // the track lights nothing
    b.m.MouseDown(kLeft, 8, 60);
    b.m.MouseUp();
    EXPECT_EQ(b.m.PaintStates(true).brButton, 2);  // until the hot test runs
    b.host.Advance(b.m, 25);
    EXPECT_EQ(b.m.PaintStates(true).brButton, 1);
    EXPECT_EQ(b.host.timers.count(kTimerHot), 0u);
    // A release with nothing lit starts no hot test.
    b.m.MouseDown(kLeft, 8, 60);
    b.m.MouseUp();
    EXPECT_EQ(b.host.timers.count(kTimerHot), 0u);
}

TEST(ScrollMachine, PaintStateCells) {
    Bar b;
    EXPECT_EQ(b.m.PaintStates(true).thumb, 0);
    auto d = b.m.PaintStates(false);
    EXPECT_EQ(d.tlButton, 4);
    EXPECT_EQ(d.brButton, 4);
    EXPECT_EQ(d.tlTrack, 0);
    EXPECT_EQ(d.thumb, 3);
    EXPECT_TRUE(d.trackShown);
    b.m.MouseDown(kLeft, 8, 60);
    EXPECT_EQ(b.m.PaintStates(true).brTrack, 1);
    // A press without the button held is no press.
    Bar c;
    c.m.MouseDown(0, 8, 130);
    EXPECT_EQ(c.m.PressedPart(), kPartNone);
    EXPECT_TRUE(c.host.events.empty());
}

}  // namespace
