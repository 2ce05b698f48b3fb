// LumioProgressBar in our container: its keys, its 18 px, its painting and its animation.
#include <gtest/gtest.h>

#include "bar_test_support.h"
#include "live_objects.h"
#include "lumio_progress_bar.h"
#include "test_host.h"
#include "window_capture.h"

namespace {

using lumio::Variant;
using lumio::host::Site;
using lumio::lists::LumioProgressBar;
using namespace testhost;
using shots::CaptureWindow;
using shots::SkinPixel;

namespace id = lumio::tlb::dispid::LumioProgressBar;

constexpr int kWidth = 200;

class ProgressBarTest : public OleTest {
protected:
    Site* bar_ = nullptr;
    HWND hwnd_ = nullptr;
    IDispatch* Bar() { return bar_->Object().get(); }

    // Design mode by default: no timer runs, so ticks come only from the test.
    void Start(bool userMode = false, IPropertyBag* bag = nullptr, RECT rect = {10, 10, 10 + kWidth, 40}) {
        auto& f = NewForm(userMode);
        bar_ = f.Add(LumioProgressBar::Create, L"ProgressBar1", rect, bag);
        ASSERT_NE(bar_, nullptr);
        hwnd_ = bar_->ControlWindow();
        Settle(form_.get());
        f.log().clear();
    }
    shots::Capture Look() {
        Settle(form_.get());
        return CaptureWindow(hwnd_);
    }
    void Tick() { SendMessageW(hwnd_, WM_TIMER, LumioProgressBar::kTimerId, 0); }
    static COLORREF Track(int x, int y) { return SkinPixel(L"PROGBACK", x, y); }
    static COLORREF Chunk(int y) { return SkinPixel(L"PROGCHUNK", 0, y); }
    // The track's middle as the bar shows it at x.
    void ExpectTrackAt(const shots::Capture& c, int x) {
        for (int y = 0; y < 18; ++y) EXPECT_EQ(c.At(x, y), Track(x == 0 ? 0 : x == c.width - 1 ? 3 : 1, y)) << x << "," << y;
    }
};

TEST_F(ProgressBarTest, NewBarIsFullAndEveryKeyRoundTrips) {
    Start();
    EXPECT_EQ(AsLong(Get(Bar(), id::Max)), 100);
    EXPECT_EQ(AsLong(Get(Bar(), id::Value)), 100);
    EXPECT_EQ(AsLong(Get(Bar(), id::MarqueeStyle)), 0);
    auto empty = form().Save(bar_);
    ASSERT_TRUE(empty);
    EXPECT_TRUE(empty->Keys().empty());  // defaults are left out

    ASSERT_EQ(Put(Bar(), id::Max, Variant::Long(5000)), S_OK);
    ASSERT_EQ(Put(Bar(), id::Value, Variant::Long(-7)), S_OK);
    ASSERT_EQ(Put(Bar(), id::MarqueeStyle, Variant::Bool(true)), S_OK);
    std::vector<DISPID> notices;
    for (auto& e : form().log())
        if (e.notice) notices.push_back(e.id);
    EXPECT_EQ(notices, (std::vector<DISPID>{id::Max, id::Value, id::MarqueeStyle}));

    auto bag = form().Save(bar_);
    ASSERT_TRUE(bag);
    Site* copy = form().Add(LumioProgressBar::Create, L"ProgressBar2", RECT{10, 50, 100, 70}, bag.get());
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(AsLong(Get(copy->Object().get(), id::Max)), 5000);
    EXPECT_EQ(AsLong(Get(copy->Object().get(), id::Value)), -7);
    EXPECT_EQ(AsLong(Get(copy->Object().get(), id::MarqueeStyle)), -1);
}

TEST_F(ProgressBarTest, ValueAboveMaxRaises380AndKeepsTheBar) {
    Start();
    ASSERT_EQ(Put(Bar(), id::Value, Variant::Long(40)), S_OK);
    const auto before = Look();
    EXPECT_EQ(bars::PutError(Bar(), id::Value, Variant::Long(101)), 380);
    EXPECT_EQ(AsLong(Get(Bar(), id::Value)), 40);
    EXPECT_EQ(Look().bgra, before.bgra);
    // Lowering Max below Value is accepted.
    EXPECT_EQ(bars::PutError(Bar(), id::Max, Variant::Long(10)), 0);
    EXPECT_EQ(AsLong(Get(Bar(), id::Value)), 40);
}

TEST_F(ProgressBarTest, KeepsItsHeightAt18Pixels) {
    Start(false, nullptr, RECT{10, 10, 150, 90});
    RECT rc;
    GetClientRect(hwnd_, &rc);
    EXPECT_EQ(rc.bottom, 18);
    EXPECT_EQ(rc.right, 140);
    bar_->Move(RECT{10, 10, 260, 15});
    Settle(form_.get());
    GetClientRect(hwnd_, &rc);
    EXPECT_EQ(rc.bottom, 18);
    EXPECT_EQ(rc.right, 250);
}

// A host that places its controls in pixels gets 18 of them, not 270.
TEST_F(ProgressBarTest, KeepsItsHeightAt18PixelsInAHostThatWorksInPixels) {
    auto& f = NewForm(false);
    f.SetScaleUnit(lumio::ScaleUnit::Pixels);
    bar_ = f.Add(LumioProgressBar::Create, L"ProgressBar1", RECT{10, 10, 150, 90});
    ASSERT_NE(bar_, nullptr);
    hwnd_ = bar_->ControlWindow();
    Settle(form_.get());
    RECT rc;
    GetClientRect(hwnd_, &rc);
    EXPECT_EQ(rc.bottom, 18);
    Variant height;
    ASSERT_EQ(lumio::GetProperty(bar_->ExtenderObject().get(), L"Height", height), S_OK);
    EXPECT_EQ(AsLong(height), 18);
}

TEST_F(ProgressBarTest, PaintsTrackFillAndMarquee) {
    Start();
    struct Case {
        const wchar_t* shot;
        long max, value;
        bool marquee;
        int fillEnd;  // last filled column, 0 for none
    } cases[] = {
        {L"progress_empty.png", 100, 0, false, 0},
        {L"progress_full.png", 100, 100, false, kWidth - 2},
        {L"progress_half.png", 100, 50, false, 98},
        {L"progress_max0.png", 0, 0, false, 0},
        {L"progress_marquee.png", 100, 50, true, 0},
    };
    for (const auto& c : cases) {
        Put(Bar(), id::MarqueeStyle, Variant::Bool(c.marquee));
        Put(Bar(), id::Max, Variant::Long(100));
        Put(Bar(), id::Value, Variant::Long(c.value));
        Put(Bar(), id::Max, Variant::Long(c.max));
        const auto shot = Look();
        shot.Save(c.shot);
        ASSERT_EQ(shot.height, 18);
        // The edges are the track's at every value.
        ExpectTrackAt(shot, 0);
        ExpectTrackAt(shot, kWidth - 1);
        if (c.marquee) {
            // (200 + 198) / 100 * 50 - 2 - 198 = -1: the image covers x 0 to 196;
            // its solid middle shows the fill colour.
            EXPECT_EQ(shot.At(100, 8), Chunk(7));
            continue;
        }
        for (int x = 1; x < kWidth - 1; x += 7) {
            // The glint rests left of the bar: the fill shows as drawn.
            if (x <= c.fillEnd)
                EXPECT_EQ(shot.At(x, 9), Chunk(8)) << c.shot << " x " << x;
            else
                EXPECT_EQ(shot.At(x, 9), Track(1, 9)) << c.shot << " x " << x;
        }
        if (c.fillEnd) {
            EXPECT_EQ(shot.At(c.fillEnd, 1), Chunk(0));
            EXPECT_EQ(shot.At(c.fillEnd + 1, 9), c.fillEnd + 1 == kWidth - 1 ? Track(3, 9) : Track(1, 9));
        }
    }
}

TEST_F(ProgressBarTest, GlintSweepsTheFillStopsAtItsEndAndRests) {
    Start();
    Put(Bar(), id::Value, Variant::Long(50));  // fill x 1..98, the step's end 99
    // The glint is brighter than the fill where its alpha is high (its middle).
    auto glintAt = [&](const shots::Capture& c, int x) { return GetGValue(c.At(x, 6)) > GetGValue(Chunk(5)); };
    Tick();  // glint at -113: middle at -52
    EXPECT_FALSE(glintAt(Look(), 5));
    for (int i = 0; i < 11; ++i) Tick();  // -3: middle at 58
    auto c = Look();
    c.Save(L"progress_glint.png");
    EXPECT_TRUE(glintAt(c, 58));
    // At 47 its middle (108) lies past the fill's end: cut there, the track untouched.
    for (int i = 0; i < 5; ++i) Tick();
    c = Look();
    c.Save(L"progress_glint_end.png");
    EXPECT_TRUE(glintAt(c, 97));
    for (int x = 99; x < 112; ++x) EXPECT_EQ(c.At(x, 6), Track(1, 6)) << x;
    // On to 97 (the last left edge before 99); the next tick rests it.
    for (int i = 0; i < 6; ++i) Tick();
    c = Look();
    for (int x = 1; x <= 98; x += 5) EXPECT_FALSE(glintAt(c, x)) << x;
    // It stays out of sight for 73 ticks.
    for (int i = 0; i < 73; ++i) Tick();
    EXPECT_EQ(Look().bgra, c.bgra);
}

TEST_F(ProgressBarTest, TimerRunsAtRunTimeAndFollowsTheMarqueeSwitch) {
    auto bag = lumio::MemoryPropertyBag::Create();
    Start(true, bag.get());
    // Read with MarqueeStyle False at run time: the glint moves by itself.
    auto first = Look();
    EXPECT_TRUE(WaitUntil(form_.get(), [&] { return CaptureWindow(hwnd_).bgra != first.bgra; }));
    // Marquee: the timer stops.
    Put(Bar(), id::MarqueeStyle, Variant::Bool(true));
    EXPECT_FALSE(KillTimer(hwnd_, LumioProgressBar::kTimerId));
    // Back to fill: the timer runs again, the glint from its start.
    Put(Bar(), id::MarqueeStyle, Variant::Bool(false));
    first = Look();
    EXPECT_TRUE(WaitUntil(form_.get(), [&] { return CaptureWindow(hwnd_).bgra != first.bgra; }));
    // A design-time bar runs no timer, whatever its style.
    Start(false, bag.get());
    Put(Bar(), id::MarqueeStyle, Variant::Bool(true));
    Put(Bar(), id::MarqueeStyle, Variant::Bool(false));
    EXPECT_FALSE(KillTimer(hwnd_, LumioProgressBar::kTimerId));
}

TEST_F(ProgressBarTest, NoGdiOrWindowGrowthOverCreateAndDestroy) {
    NewForm(true);
    auto bag = lumio::MemoryPropertyBag::Create();
    EXPECT_TRUE(lumio::test::NoGrowth([&] {
        for (int i = 0; i < 100; ++i) {
            Site* s = form().Add(LumioProgressBar::Create, L"P", RECT{0, 0, 120, 18}, bag.get());
            ASSERT_NE(s, nullptr);
            form().Remove(s);
        }
    }, 10));
}

}  // namespace
