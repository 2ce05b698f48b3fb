// LumioGroupBox in our container: defaults from the host, its keys, both
// looks against our own arithmetic, the repaint rules and contained controls.
#include <gtest/gtest.h>

#include <chrono>

#include "glyph_fixture.h"
#include "group_box_layout.h"
#include "live_objects.h"
#include "lumio_group_box.h"
#include "memory_property_bag.h"

namespace {

using lumio::Variant;
using lumio::buttons::LumioGroupBox;
using lumio::host::Site;
using namespace glyphtest;
using namespace testhost;

namespace id = lumio::tlb::dispid::LumioGroupBox;

constexpr int kW = 200, kH = 120;

class GroupBoxTest : public GlyphTest {
protected:
    Site* box_ = nullptr;
    HWND hwnd_ = nullptr;
    IDispatch* Box() { return box_->Object().get(); }
    LumioGroupBox* Control() { return static_cast<LumioGroupBox*>(Box()); }
    void Start(IPropertyBag* bag = nullptr, bool userMode = false) {
        MoveAway();
        auto& f = NewForm(userMode);
        f.SetAmbientBackColor(RGB(240, 240, 240));
        box_ = Add(LumioGroupBox::Create, L"Frame1", RECT{10, 10, 10 + kW, 10 + kH}, bag);
        ASSERT_NE(box_, nullptr);
        hwnd_ = box_->ControlWindow();
        Pump();
        f.log().clear();
    }
    long L(DISPID d) { return AsLong(Get(Box(), d)); }
};

TEST_F(GroupBoxTest, NewControlShadesTheHostBackColour) {
    Start();
    EXPECT_EQ(L(id::BackColor), 0xF0F0F0);
    EXPECT_EQ(L(id::HeadColor1), 0xF0F0F0);
    EXPECT_EQ(L(id::BackColor2), 0xEAEAEA);
    EXPECT_EQ(L(id::BorderColor), 0xDBDBDB);
    EXPECT_EQ(L(id::HeadColor2), 0xE4E4E4);
    EXPECT_EQ(L(id::HeaderHeight), 22);
    EXPECT_EQ(L(id::Appearance), 0);
    EXPECT_EQ(AsString(Get(Box(), id::Caption)), L"Frame1");
}

TEST_F(GroupBoxTest, KeysRoundTripAndMissingColoursReadAsBlack) {
    Start();
    const struct {
        DISPID id;
        long value;
    } writes[] = {{id::Alignment, 2},       {id::Appearance, 1},     {id::BorderColor, 0x112233},
                  {id::BackColor, 0x445566}, {id::BackColor2, 0x778899}, {id::HeadColor1, 0x0A0B0C},
                  {id::HeadColor2, 0x0D0E0F}, {id::HeaderHeight, 30},   {id::ForeColor, 0x00FF00}};
    for (auto& w : writes) ASSERT_EQ(Put(Box(), w.id, Variant::Long(w.value)), S_OK);
    ASSERT_EQ(Put(Box(), id::Enabled, Variant::Bool(false)), S_OK);
    ASSERT_EQ(Put(Box(), id::Caption, Variant::String(L"Options")), S_OK);
    auto bag = form().Save(box_);
    ASSERT_TRUE(bag);
    Site* copy = Add(LumioGroupBox::Create, L"Copy", RECT{10, 140, 100, 200}, bag.get());
    ASSERT_NE(copy, nullptr);
    for (auto& w : writes) EXPECT_EQ(AsLong(Get(copy->Object().get(), w.id)), w.value) << w.id;
    EXPECT_EQ(AsLong(Get(copy->Object().get(), id::Enabled)), 0);
    EXPECT_EQ(AsString(Get(copy->Object().get(), id::Caption)), L"Options");

    auto empty = lumio::MemoryPropertyBag::Create();
    Site* blank = Add(LumioGroupBox::Create, L"Blank", RECT{110, 140, 200, 200}, empty.get());
    ASSERT_NE(blank, nullptr);
    for (DISPID d : {id::BorderColor, id::BackColor, id::BackColor2, id::HeadColor1, id::HeadColor2})
        EXPECT_EQ(AsLong(Get(blank->Object().get(), d)), 0) << d;
    EXPECT_EQ(AsLong(Get(blank->Object().get(), id::HeaderHeight)), 22);
    // The five colours are written even at 0; the others only when not default.
    auto saved = form().Save(blank);
    for (const wchar_t* key : {L"BorderColor", L"BackColor", L"BackColor2", L"HeadColor1", L"HeadColor2"}) {
        Variant v;
        EXPECT_EQ(saved->Read(key, v.put(), nullptr), S_OK);
    }
    Variant v;
    EXPECT_NE(saved->Read(L"HeaderHeight", v.put(), nullptr), S_OK);
}

TEST_F(GroupBoxTest, PanelRowsFollowOurGradientArithmetic) {
    Start();
    Put(Box(), id::Caption, Variant::String(L""));
    Put(Box(), id::Appearance, Variant::Long(1));
    const auto shot = Look(hwnd_);
    shot.Save(L"group_box_frame.png");
    const int32_t border = 0xDBDBDB;
    const auto plan = lumio::buttons::PlanFrame(kW, kH, 22, 0xF0F0F0, 0xE4E4E4, 0xF0F0F0, 0xEAEAEA);
    for (int y = 0; y < kH; ++y) {
        COLORREF expect;
        if (y == 0 || y == 23 || y == kH - 1) expect = static_cast<COLORREF>(border);
        else if (y <= 22) expect = static_cast<COLORREF>(plan.header.RowColour(y));
        else expect = static_cast<COLORREF>(plan.body.RowColour(y));
        EXPECT_EQ(shot.At(kW / 2, y), expect) << "row " << y;
        EXPECT_EQ(shot.At(0, y), static_cast<COLORREF>(border)) << "left, row " << y;
        EXPECT_EQ(shot.At(kW - 1, y), static_cast<COLORREF>(border)) << "right, row " << y;
    }
}

TEST_F(GroupBoxTest, ExtremeHeaderHeightsPaintAtOnce) {
    Start();
    Put(Box(), id::Appearance, Variant::Long(1));
    for (long hh : {2000000000L, -2000000000L, 2147483647L}) {
        const auto start = std::chrono::steady_clock::now();
        ASSERT_EQ(Put(Box(), id::HeaderHeight, Variant::Long(hh)), S_OK);
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5)) << hh;
        EXPECT_EQ(L(id::HeaderHeight), hh);
    }
    // A header taller than the surface fills it with the header's first band.
    Put(Box(), id::HeaderHeight, Variant::Long(2000000000));
    const auto shot = Look(hwnd_);
    EXPECT_EQ(shot.At(kW / 2, kH - 2), shot.At(kW / 2, 1));
}

TEST_F(GroupBoxTest, ClassicGapIsSymmetricAndUnknownAlignmentsDrawLeft) {
    Start();
    Put(Box(), id::Caption, Variant::String(L"Group"));
    Put(Box(), id::Alignment, Variant::Long(1));
    auto r = Control()->captionRect();
    EXPECT_EQ(r.left, kW - r.right);
    auto shot = Look(hwnd_);
    shot.Save(L"group_box_classic.png");
    // The pale frame line runs at row h \ 2, broken by the gap.
    const int h = r.bottom - r.top;
    EXPECT_EQ(shot.At(3, h / 2), RGB(213, 223, 229));
    EXPECT_EQ(shot.At(r.left, h / 2), RGB(240, 240, 240));
    EXPECT_EQ(shot.At(r.right - 1, h / 2), RGB(240, 240, 240));
    EXPECT_EQ(shot.At(kW - 4, h / 2), RGB(213, 223, 229));
    // No caption: the frame stays closed.
    Put(Box(), id::Caption, Variant::String(L""));
    shot = Look(hwnd_);
    EXPECT_EQ(shot.At(kW / 2, h / 2), RGB(213, 223, 229));

    // The panel's caption: values beyond 0-2 are kept but draw like 0.
    Put(Box(), id::Appearance, Variant::Long(1));
    Put(Box(), id::Caption, Variant::String(L"Header caption"));
    Put(Box(), id::Alignment, Variant::Long(0));
    const auto left = Look(hwnd_).bgra;
    for (long a : {3L, 0x10000L, 0x400L}) {
        EXPECT_EQ(Put(Box(), id::Alignment, Variant::Long(a)), S_OK);
        EXPECT_EQ(L(id::Alignment), a);
        EXPECT_EQ(Look(hwnd_).bgra, left) << a;
    }
    Put(Box(), id::Caption, Variant::String(L"A caption far too long for a header of two hundred pixels"));
    Look(hwnd_).Save(L"group_box_frame_ellipsis.png");
}

TEST_F(GroupBoxTest, EnabledDoesNotRepaintAndMouseEventsPassThrough) {
    Start(nullptr, true);
    const int before = Control()->paintCount();
    Put(Box(), id::Enabled, Variant::Bool(false));
    EXPECT_EQ(Control()->paintCount(), before);
    Put(Box(), id::Caption, Variant::String(L"x"));
    EXPECT_EQ(Control()->paintCount(), before + 1);
    Put(Box(), id::Enabled, Variant::Bool(true));
    form().log().clear();
    Click(hwnd_, 50, 50);
    EXPECT_EQ(Events(), (std::vector<DISPID>{DISPID_MOUSEDOWN, DISPID_MOUSEUP, DISPID_CLICK}));
    // It takes no focus of its own.
    EXPECT_NE(GetFocus(), hwnd_);
}

TEST_F(GroupBoxTest, HoldsControlsAndScreenshotsOfBothLooks) {
    Start();
    Put(Box(), id::Caption, Variant::String(L"Classic"));
    Site* panel = Add(LumioGroupBox::Create, L"Panel", RECT{215, 10, 395, 130});
    ASSERT_NE(panel, nullptr);
    Put(panel->Object().get(), id::Appearance, Variant::Long(1));
    Put(panel->Object().get(), id::Caption, Variant::String(L"Panel"));
    Site* inner = Add(LumioGroupBox::Create, L"Inner", RECT{10, 40, 120, 90}, nullptr, panel);
    ASSERT_NE(inner, nullptr);
    EXPECT_EQ(GetParent(inner->ControlWindow()), panel->ControlWindow());
    Pump();
    shots::CaptureWindow(form().hWnd()).Save(L"group_box_looks.png");
}

TEST_F(GroupBoxTest, NoGdiOrWindowGrowthOverAThousandLives) {
    NewForm(true);
    auto bag = lumio::MemoryPropertyBag::Create();
    EXPECT_TRUE(lumio::test::NoGrowth([&] {
        for (int i = 0; i < 250; ++i) {
            Site* s = form().Add(LumioGroupBox::Create, L"G", RECT{0, 0, 120, 80}, bag.get());
            ASSERT_NE(s, nullptr);
            form().Remove(s);
        }
    }));
}

}  // namespace
