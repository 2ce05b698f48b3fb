// LumioOptionButton in our container: groups per container, selection by
// focus, click and space bar, its alpha-blended cells, bag and leaks.
#include <gtest/gtest.h>

#include <cstdlib>

#include "glyph_fixture.h"
#include "imaging/c32bpp_dib.h"
#include "imaging/picture_loading.h"
#include "live_objects.h"
#include "lumio_group_box.h"
#include "lumio_option_button.h"
#include "memory_property_bag.h"
#include "std_objects.h"

namespace {

using lumio::Variant;
using lumio::buttons::LumioGroupBox;
using lumio::buttons::LumioOptionButton;
using lumio::host::Site;
using namespace glyphtest;
using namespace testhost;

namespace id = lumio::tlb::dispid::LumioOptionButton;

class OptionButtonTest : public GlyphTest {
protected:
    static IDispatch* D(Site* s) { return s->Object().get(); }
    static LumioOptionButton* Control(Site* s) { return static_cast<LumioOptionButton*>(D(s)); }
    static bool Selected(Site* s) { return AsLong(Get(D(s), id::Value)) != 0; }
    Site* Option(const wchar_t* name, RECT rect, Site* container = nullptr, bool value = false) {
        Site* s = Add(LumioOptionButton::Create, name, rect, nullptr, container);
        EXPECT_NE(s, nullptr);
        if (s && value) Put(D(s), id::Value, Variant::Bool(true));
        return s;
    }

    // The glyph's pixels expected over back: premultiplied cell + back * (255 - a) / 255.
    static COLORREF Expected(int x, int y, COLORREF back) {
        static lumio::c32bppDIB strip;
        if (strip.Width() == 0) lumio::LoadPicture_Resource(strip, L"OPTION", L"PNG", GetModuleHandleW(nullptr));
        const uint8_t* p = strip.BitsPointer() + (strip.Height() - 1 - y) * strip.scanWidth() + x * 4;
        auto mix = [&](int src, int dst) { return src + dst * (255 - p[3]) / 255; };
        return RGB(mix(p[2], GetRValue(back)), mix(p[1], GetGValue(back)), mix(p[0], GetBValue(back)));
    }
    // The cell row a control shows, allowing AlphaBlend's 1 per channel; -1 for none.
    static int ShownCell(Site* s, COLORREF back) {
        const auto shot = shots::CaptureWindow(s->ControlWindow());
        const auto g = Control(s)->glyphRect();
        auto close = [](COLORREF a, COLORREF b) {
            return std::abs(GetRValue(a) - GetRValue(b)) <= 1 && std::abs(GetGValue(a) - GetGValue(b)) <= 1 &&
                   std::abs(GetBValue(a) - GetBValue(b)) <= 1;
        };
        for (int cell = 0; cell < 8; ++cell) {
            bool same = true;
            for (int y = 0; y < 13 && same; ++y)
                for (int x = 0; x < 13 && same; ++x) same = close(shot.At(g.left + x, g.top + y), Expected(x, cell * 13 + y, back));
            if (same) return cell * 13;
        }
        return -1;
    }
};

TEST_F(OptionButtonTest, GroupsPerContainerAndTabbingSelectsTheThird) {
    MoveAway();
    NewForm(true);
    Site* frameA = Add(LumioGroupBox::Create, L"FrameA", RECT{5, 5, 195, 140});
    Site* frameB = Add(LumioGroupBox::Create, L"FrameB", RECT{200, 5, 395, 140});
    ASSERT_TRUE(frameA && frameB);
    Site* a1 = Option(L"A1", RECT{10, 25, 180, 45}, frameA);
    Site* a2 = Option(L"A2", RECT{10, 55, 180, 75}, frameA);
    Site* a3 = Option(L"A3", RECT{10, 85, 180, 105}, frameA);
    Site* b1 = Option(L"B1", RECT{10, 25, 180, 45}, frameB, true);
    Site* f1 = Option(L"F1", RECT{10, 150, 180, 170}, nullptr, true);
    Site* f2 = Option(L"F2", RECT{10, 180, 180, 200});
    SetFocus(a2->ControlWindow());
    Pump();
    EXPECT_TRUE(Selected(a2));
    form().log().clear();
    form().MoveFocus(false);
    Pump();
    ASSERT_EQ(GetFocus(), a3->ControlWindow());
    EXPECT_TRUE(Selected(a3));
    EXPECT_FALSE(Selected(a2));
    EXPECT_FALSE(Selected(a1));
    // Other containers and the form's own buttons are left alone.
    EXPECT_TRUE(Selected(b1));
    EXPECT_TRUE(Selected(f1));
    EXPECT_EQ(Events(L"A3"), (std::vector<DISPID>{DISPID_CLICK}));
    EXPECT_TRUE(Events(L"A2").empty());
    EXPECT_EQ(Notices(L"A2"), (std::vector<DISPID>{id::Value}));
    // A button directly on the form groups with the form's buttons only.
    SetFocus(f2->ControlWindow());
    Pump();
    EXPECT_TRUE(Selected(f2));
    EXPECT_FALSE(Selected(f1));
    EXPECT_TRUE(Selected(a3));
    EXPECT_TRUE(Selected(b1));
    shots::CaptureWindow(form().hWnd()).Save(L"option_groups.png");
}

TEST_F(OptionButtonTest, ValueFromCodeLeavesOthersAndSpaceKeepsItSelected) {
    MoveAway();
    NewForm(true);
    Site* o1 = Option(L"O1", RECT{10, 10, 180, 30}, nullptr, true);
    Site* o2 = Option(L"O2", RECT{10, 40, 180, 60}, nullptr, true);
    EXPECT_TRUE(Selected(o1));
    EXPECT_TRUE(Selected(o2));
    SetFocus(o2->ControlWindow());
    Pump();
    EXPECT_FALSE(Selected(o1));
    form().log().clear();
    Tap(VK_SPACE);
    EXPECT_TRUE(Selected(o2));
    EXPECT_EQ(Events(L"O2"), (std::vector<DISPID>{DISPID_KEYDOWN, DISPID_KEYPRESS, DISPID_KEYUP, DISPID_CLICK}));
    // A click on the focused, selected button raises no Click.
    form().log().clear();
    Click(o2->ControlWindow(), 6, 10);
    EXPECT_EQ(Events(L"O2"), (std::vector<DISPID>{1, DISPID_MOUSEDOWN, DISPID_MOUSEUP}));
}

TEST_F(OptionButtonTest, ClickSelectsThroughTheFocusAndDisabledIgnoresIt) {
    MoveAway();
    NewForm(true);
    Site* o1 = Option(L"O1", RECT{10, 10, 180, 30}, nullptr, true);
    Site* o2 = Option(L"O2", RECT{10, 40, 180, 60});
    Pump();
    form().log().clear();
    Click(o2->ControlWindow(), 6, 10);
    EXPECT_TRUE(Selected(o2));
    EXPECT_FALSE(Selected(o1));
    // The focus comes before MouseDown: Click from GotFocus, and none after MouseUp.
    EXPECT_EQ(Events(L"O2"), (std::vector<DISPID>{1, DISPID_CLICK, DISPID_MOUSEDOWN, DISPID_MOUSEUP}));
    Put(D(o1), id::Enabled, Variant::Bool(false));
    Click(o1->ControlWindow(), 6, 10);
    EXPECT_FALSE(Selected(o1));
    EXPECT_TRUE(Selected(o2));
}

TEST_F(OptionButtonTest, ShowsTheCellOfEachValueAndState) {
    MoveAway();
    NewForm(false);
    const COLORREF back = RGB(0xF0, 0xF0, 0xF0);
    form().SetAmbientBackColor(back);
    Site* o = Option(L"O", RECT{10, 10, 180, 30});
    Pump();
    struct Case {
        bool value, enabled;
        int cell;
    } cases[] = {{false, true, 0}, {true, true, 52}, {false, false, 39}, {true, false, 91}};
    for (auto& c : cases) {
        Put(D(o), id::Enabled, Variant::Bool(c.enabled));
        Put(D(o), id::Value, Variant::Bool(c.value));
        Pump();
        EXPECT_EQ(ShownCell(o, back), c.cell) << c.value << c.enabled;
    }
    // Hot and pressed by the pointer, on a dark back to show the blending.
    const COLORREF dark = RGB(40, 60, 80);
    Put(D(o), id::Enabled, Variant::Bool(true));
    Put(D(o), id::BackColor, Variant::Long(static_cast<long>(dark)));
    form().SetUserMode(true);
    MoveTo(ScreenPoint(o->ControlWindow(), 6, 10));
    Pump();
    EXPECT_EQ(ShownCell(o, dark), 52 + 13);
    Button(true);
    Pump();
    EXPECT_EQ(ShownCell(o, dark), 52 + 26);
    Button(false);
    Pump();
}

TEST_F(OptionButtonTest, ScreenshotOfEveryCell) {
    MoveAway();
    NewForm(false);
    Site* hot = nullptr;
    Site* pressed = nullptr;
    std::vector<Site*> selected;
    for (int v = 0; v < 2; ++v)
        for (int s = 0; s < 4; ++s) {
            std::wstring name = L"O" + std::to_wstring(v) + std::to_wstring(s);
            Site* site = Option(name.c_str(), RECT{10 + s * 95, 20 + v * 30, 100 + s * 95, 44 + v * 30}, nullptr, v == 1);
            Put(D(site), id::Caption, Variant::String(s == 0 ? L"Normal" : s == 1 ? L"Hot" : s == 2 ? L"Pressed" : L"Off"));
            if (s == 3) Put(D(site), id::Enabled, Variant::Bool(false));
            if (v == 1 && s == 1) hot = site;
            if (v == 1 && s == 2) pressed = site;
            if (v == 1) selected.push_back(site);
        }
    form().SetUserMode(true);
    MoveTo(ScreenPoint(hot->ControlWindow(), 30, 12));
    Pump();
    MoveTo(ScreenPoint(pressed->ControlWindow(), 30, 12));
    Pump();
    Button(true);
    Pump();
    // The press focused "Pressed", which cleared the row: select it again from code.
    for (Site* site : selected) Put(D(site), id::Value, Variant::Bool(true));
    Pump();
    for (Site* site : selected) EXPECT_TRUE(Selected(site));
    // A move with the button held shows the pressed cell again.
    MoveTo(ScreenPoint(pressed->ControlWindow(), 32, 12));
    Pump();
    shots::CaptureWindow(form().hWnd()).Save(L"option_cells.png");
    Button(false);
    Pump();
}

TEST_F(OptionButtonTest, ValueIsABooleanInTheBag) {
    MoveAway();
    NewForm(false);
    Site* o = Option(L"O", RECT{10, 10, 180, 30}, nullptr, true);
    auto bag = form().Save(o);
    ASSERT_TRUE(bag);
    Variant v;
    ASSERT_EQ(bag->Read(L"Value", v.put(), nullptr), S_OK);
    EXPECT_EQ(v.vt(), VT_BOOL);
    EXPECT_EQ(v->boolVal, VARIANT_TRUE);
    // Read back; a number in the bag counts as a Boolean.
    VARIANT seven = *Variant::Long(7);
    bag->Write(L"Value", &seven);
    Site* copy = Add(LumioOptionButton::Create, L"Copy", RECT{10, 40, 180, 60}, bag.get());
    ASSERT_NE(copy, nullptr);
    Variant read = Get(D(copy), id::Value);
    EXPECT_EQ(read.vt(), VT_BOOL);
    EXPECT_EQ(read->boolVal, VARIANT_TRUE);
    // No "Font" in the bag: the runtime's default font.
    auto empty = lumio::MemoryPropertyBag::Create();
    Site* plain = Add(LumioOptionButton::Create, L"Plain", RECT{10, 70, 180, 90}, empty.get());
    ASSERT_NE(plain, nullptr);
    Variant face;
    lumio::GetProperty(lumio::CreateStdFont().get(), L"Name", face);
    EXPECT_EQ(AsString(Get(D(plain), id::FontName)), AsString(face));
    EXPECT_EQ(AsLong(Get(D(plain), id::Value)), 0);
}

TEST_F(OptionButtonTest, NoGdiOrWindowGrowthOverAThousandLives) {
    NewForm(true);
    auto bag = lumio::MemoryPropertyBag::Create();
    EXPECT_TRUE(lumio::test::NoGrowth([&] {
        for (int i = 0; i < 250; ++i) {
            Site* s = form().Add(LumioOptionButton::Create, L"O", RECT{0, 0, 120, 20}, bag.get());
            ASSERT_NE(s, nullptr);
            form().Remove(s);
        }
    }));
}

}  // namespace
