// LumioTab in a form designer: in a container whose ambient UserMode is
// False it draws its tabs once per paint and then rests; and a designer that
// keeps a control whose load stopped at a bad bag value gets one that answers
// as a control without tabs.
#include <chrono>

#include "idle_watch.h"
#include "shade_color.h"
#include "tab_fixture.h"
#include "tab_layout.h"

namespace {

using namespace tabtest;
using namespace std::chrono_literals;
using lumio::tab::FillRect;

// The colour a row of a square-cornered gradient has.
COLORREF RowColour(const FillRect& r, int32_t start, int32_t end, int y) {
    for (const auto& row : lumio::tab::CurvedGradientRows(r, start, end, -1, false, false, 10000))
        if (row.y == y) return static_cast<COLORREF>(row.colour);
    return 0xFFFFFFFF;
}

TEST_F(TabTest, AtDesignTimeDrawsItsTabsOncePerPaintThenRests) {
    Form& f = NewForm(false);
    Site* s = AddTab(f);
    ASSERT_NE(s, nullptr);
    LumioTab* tab = Tab(s);
    ASSERT_TRUE(Settle(&f)) << "the designer's queue never comes to rest";

    shots::Capture shot = shots::CaptureFromScreen(s->ControlWindow());
    shot.Save(L"tab_design_time.png");
    ASSERT_EQ(shot.width, 300);
    const COLORREF outer = 0x958C89, white = 0xFFFFFF, strip = GetSysColor(COLOR_BTNFACE);
    // Where our own layout puts three tabs across 300 pixels, tab 0 shown.
    const auto places = lumio::tab::TabbedDialogLayout(300, 3, 0, 20, 18);
    const FillRect active = places[0].tab, inactive = places[1].tab;
    EXPECT_EQ(shot.At(active.left, 10), outer);
    EXPECT_EQ(shot.At(active.left + 30, active.top), outer);
    EXPECT_EQ(shot.At(active.left + 5, 10), white);
    EXPECT_EQ(shot.At(inactive.left + 5, 0), strip);  // the strip above a lower tab
    EXPECT_EQ(shot.At(inactive.left + 5, inactive.top), outer);
    EXPECT_EQ(shot.At(inactive.left + 5, inactive.top + 1), white);
    EXPECT_EQ(shot.At(inactive.left, 10), outer);
    const auto glass = lumio::tab::GlassFill(inactive);
    const int32_t start = 0xEBEBEB, end = 0xCFCFCF;
    for (int y = glass.upper.top + 1; y < glass.upper.bottom; ++y)
        EXPECT_EQ(shot.At(inactive.left + 5, y), RowColour(glass.upper, lumio::pShadeColor(start, 100), start, y)) << y;
    for (int y = glass.lower.top; y < glass.lower.bottom; ++y)
        EXPECT_EQ(shot.At(inactive.left + 5, y), RowColour(glass.lower, lumio::pShadeColor(end, 70), end, y)) << y;
    EXPECT_EQ(shot.At(inactive.left + 5, inactive.bottom), outer);  // the body's top edge
    // The body in the active tab's end colour, framed.
    EXPECT_EQ(shot.At(150, 100), white);
    EXPECT_EQ(shot.At(0, 100), outer);
    EXPECT_EQ(shot.At(299, 100), outer);
    EXPECT_EQ(shot.At(150, 199), outer);

    std::vector<lumio::test::IdleActivity> idle = lumio::test::WatchIdle(f, {s}, 2s);
    EXPECT_LE(idle[0].paints, 3);
    EXPECT_EQ(idle[0].notices, 0u);

    // One paint, one pass, and the window shows it.
    const int passes = tab->drawPasses();
    InvalidateRect(s->ControlWindow(), nullptr, FALSE);
    UpdateWindow(s->ControlWindow());
    EXPECT_EQ(tab->drawPasses(), passes + 1);
    EXPECT_TRUE(Settle(&f));
    EXPECT_EQ(tab->drawPasses(), passes + 1);
    EXPECT_EQ(shots::CaptureFromScreen(s->ControlWindow()).At(active.left + 5, 10), white);
    // A property written at design time shows at once, with its own notice only.
    f.log().clear();
    ASSERT_EQ(Put(s->Object().get(), id::ActiveTabBackEndColor, Variant::Long(0xE0F0FF)), S_OK);
    EXPECT_TRUE(Settle(&f));
    EXPECT_EQ(shots::CaptureFromScreen(s->ControlWindow()).At(150, 100), 0xE0F0FFu);
    EXPECT_EQ(NoticesOf(id::ActiveTabBackEndColor), 1u);
    EXPECT_EQ(f.log().size(), 1u);
}

TEST_F(TabTest, AControlKeptAfterABadBagValueAnswersAsOneWithoutTabs) {
    struct Case {
        const wchar_t* key;
        Variant value;
        int error;
        long tabs;  // what the load left
    } cases[] = {
        {L"ActiveTabHeight", Variant::String(L"tall"), 13, 0},
        {L"TabEnabled(1)", Variant::String(L"maybe"), 13, 0},
        {L"TabCount", Variant::Long(0), 9, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << std::string(c.key, c.key + wcslen(c.key)));
        Form& f = NewForm();
        f.KeepFailedLoads(true);
        auto bag = lumio::MemoryPropertyBag::Create();
        Variant shown = Variant::Long(2);  // read before the bad value
        bag->Write(L"ActiveTab", const_cast<VARIANT*>(shown.get()));
        bag->Write(c.key, const_cast<VARIANT*>(c.value.get()));
        HRESULT hr = S_OK;
        Site* s = AddTab(f, bag.get(), &hr);
        ASSERT_NE(s, nullptr);
        EXPECT_EQ(hr, Err(c.error));
        IDispatch* t = s->Object().get();
        HWND w = s->ControlWindow();
        EXPECT_EQ(AsLong(Get(t, id::TabCount)), c.tabs);

        // Focus coming and going, the pointer over the strip and the body,
        // clicks, keys, the wheel, paints.
        SetFocus(w);
        for (LPARAM at : {MAKELPARAM(5, 5), MAKELPARAM(150, 10), MAKELPARAM(150, 100)}) {
            SendMessageW(w, WM_MOUSEMOVE, 0, at);
            SendMessageW(w, WM_LBUTTONDOWN, MK_LBUTTON, at);
            SendMessageW(w, WM_LBUTTONUP, 0, at);
        }
        for (WPARAM key : {VK_RIGHT, VK_LEFT}) SendMessageW(w, WM_KEYDOWN, key, 0);
        SendMessageW(w, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), 0);
        InvalidateRect(w, nullptr, FALSE);
        SetFocus(f.hWnd());
        EXPECT_TRUE(Settle(&f));
        EXPECT_FALSE(Tab(s)->busy());
        EXPECT_EQ(AsLong(Get(t, id::TabCount)), c.tabs);
        EXPECT_EQ(Tab(s)->get_TabCaption(1), L"");
        EXPECT_EQ(Call(t, id::Refresh, {}), S_OK);
        ComPtr<lumio::MemoryPropertyBag> saved = f.Save(s);
        EXPECT_TRUE(saved);

        // Tabs given afterwards make it a working control again.
        ASSERT_EQ(Put(t, id::TabCount, Variant::Long(3)), S_OK);
        ASSERT_EQ(Put(t, id::ActiveTab, Variant::Long(1)), S_OK);
        EXPECT_EQ(AsLong(Get(t, id::ActiveTab)), 1);
        f.Remove(s);
    }
}

}  // namespace
