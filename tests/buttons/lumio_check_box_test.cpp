// LumioCheckBox in our container: bag keys, the cells it shows, mouse, space
// bar and access key, hover, DisableRefresh, run-time subclassing and leaks.
#include <gtest/gtest.h>

#include <algorithm>

#include "glyph_fixture.h"
#include "export_probe.h"
#include "live_objects.h"
#include "lumio_check_box.h"
#include "memory_property_bag.h"
#include "std_objects.h"

namespace {

using lumio::Variant;
using lumio::buttons::LumioCheckBox;
using lumio::host::Site;
using namespace glyphtest;
using namespace testhost;

namespace id = lumio::tlb::dispid::LumioCheckBox;
constexpr DISPID kMouseEnter = 1, kMouseLeave = 2;

std::wstring FaceOf(const lumio::ComPtr<IFontDisp>& font) {
    Variant v;
    lumio::GetProperty(font.get(), L"Name", v);
    return AsString(v);
}

class CheckBoxTest : public GlyphTest {
protected:
    Site* box_ = nullptr;
    HWND hwnd_ = nullptr;
    IDispatch* Box() { return box_->Object().get(); }
    LumioCheckBox* Control() { return static_cast<LumioCheckBox*>(Box()); }

    void Start(bool userMode = true, IPropertyBag* bag = nullptr, RECT rect = {20, 20, 180, 44}) {
        MoveAway();
        auto& f = NewForm(userMode);
        box_ = Add(LumioCheckBox::Create, L"Check1", rect, bag);
        ASSERT_NE(box_, nullptr);
        hwnd_ = box_->ControlWindow();
        Pump();
        f.log().clear();
    }
    // A control read from a bag (the run-time set-up runs only then).
    void StartFromBag(const wchar_t* caption = L"&Save") {
        auto bag = lumio::MemoryPropertyBag::Create();
        VARIANT v = *Variant::String(caption);
        bag->Write(L"Caption", &v);
        Start(true, bag.get());
    }
    // The cell row the control shows, found by comparing its glyph with the strip.
    int ShownCell() {
        const auto shot = Look(hwnd_);
        const auto g = Control()->glyphRect();
        for (int cell = 0; cell < 12; ++cell) {
            bool same = true;
            for (int y = 0; y < 13 && same; ++y)
                for (int x = 0; x < 13 && same; ++x)
                    same = shot.At(g.left + x, g.top + y) == shots::SkinPixel(L"CHECKBOX", x, cell * 13 + y);
            if (same) return cell * 13;
        }
        return -1;
    }
    long Value() { return AsLong(Get(Box(), id::Value)); }
};

TEST_F(CheckBoxTest, NewControlTakesTheAmbientsAndSavesEveryKey) {
    Start();
    form().SetAmbientBackColor(0x00C0D0E0);
    Site* fresh = Add(LumioCheckBox::Create, L"Check2", RECT{20, 60, 180, 84});
    ASSERT_NE(fresh, nullptr);
    IDispatch* d = fresh->Object().get();
    EXPECT_EQ(AsString(Get(d, id::Caption)), L"Check2");
    EXPECT_EQ(AsLong(Get(d, id::BackColor)), 0x00C0D0E0);
    EXPECT_EQ(AsLong(Get(d, id::ForeColor)), 0);
    EXPECT_EQ(AsLong(Get(d, id::Enabled)), -1);
    EXPECT_EQ(AsLong(Get(d, id::ShowFocusRect)), -1);
    auto bag = form().Save(fresh);
    ASSERT_TRUE(bag);
    // Every key is written, defaults too.
    for (const wchar_t* key : {L"Align", L"Caption", L"Enabled", L"Font", L"ShowFocusRect", L"BackColor", L"ForeColor",
                               L"MousePointer", L"MouseIcon", L"Value"}) {
        Variant v;
        EXPECT_EQ(bag->Read(key, v.put(), nullptr), S_OK) << std::wstring(key).size();
    }
}

TEST_F(CheckBoxTest, EmptyBagGivesTheBagDefaults) {
    auto bag = lumio::MemoryPropertyBag::Create();
    Start(false, bag.get());
    EXPECT_EQ(AsString(Get(Box(), id::Caption)), L"");
    EXPECT_EQ(AsLong(Get(Box(), id::BackColor)), 0xF0F0F0);
    // Arial as asked for: the system may answer with the face it substituted.
    EXPECT_EQ(AsString(Get(Box(), id::FontName)), FaceOf(lumio::CreateStdFont(L"Arial", 9)));
    EXPECT_EQ(AsLong(Get(Box(), id::FontSize)), 9);
    EXPECT_EQ(AsLong(Get(Box(), id::Value)), 0);
    EXPECT_EQ(AsLong(Get(Box(), id::Align)), 0);
}

TEST_F(CheckBoxTest, EveryKeyRoundTrips) {
    Start(false);
    HBITMAP bmp = CreateBitmap(32, 32, 1, 1, nullptr);
    ICONINFO ii{TRUE, 0, 0, bmp, bmp};
    auto icon = lumio::PictureFromIcon(CreateIconIndirect(&ii));
    DeleteObject(bmp);
    auto font = lumio::CreateStdFont(L"Courier New", 12, true);
    ASSERT_EQ(Put(Box(), id::Align, Variant::Long(1)), S_OK);
    ASSERT_EQ(Put(Box(), id::Caption, Variant::String(L"A&&B")), S_OK);
    ASSERT_EQ(Put(Box(), id::Enabled, Variant::Bool(false)), S_OK);
    ASSERT_EQ(lumio::PutPropertyById(Box(), id::Font, Variant::Object(font.get())), S_OK);
    ASSERT_EQ(Put(Box(), id::ShowFocusRect, Variant::Bool(false)), S_OK);
    ASSERT_EQ(Put(Box(), id::BackColor, Variant::Long(0x123456)), S_OK);
    ASSERT_EQ(Put(Box(), id::ForeColor, Variant::Long(0x80000008)), S_OK);
    ASSERT_EQ(Put(Box(), id::MousePointer, Variant::Long(99)), S_OK);
    ASSERT_EQ(lumio::PutPropertyById(Box(), id::MouseIcon, Variant::Object(icon.get())), S_OK);
    ASSERT_EQ(Put(Box(), id::Value, Variant::Long(7)), S_OK);
    auto bag = form().Save(box_);
    ASSERT_TRUE(bag);
    Site* copy = Add(LumioCheckBox::Create, L"Copy", RECT{20, 60, 180, 84}, bag.get());
    ASSERT_NE(copy, nullptr);
    IDispatch* c = copy->Object().get();
    EXPECT_EQ(AsLong(Get(c, id::Align)), 1);
    EXPECT_EQ(AsString(Get(c, id::Caption)), L"A&&B");
    EXPECT_EQ(AsLong(Get(c, id::Enabled)), 0);
    EXPECT_EQ(AsString(Get(c, id::FontName)), FaceOf(font));
    EXPECT_EQ(AsLong(Get(c, id::FontSize)), 12);
    EXPECT_EQ(AsLong(Get(c, id::FontBold)), -1);
    EXPECT_EQ(AsLong(Get(c, id::ShowFocusRect)), 0);
    EXPECT_EQ(AsLong(Get(c, id::BackColor)), 0x123456);
    EXPECT_EQ(static_cast<unsigned long>(AsLong(Get(c, id::ForeColor))), 0x80000008ul);
    EXPECT_EQ(AsLong(Get(c, id::MousePointer)), 99);
    Variant pic = Get(c, id::MouseIcon);
    EXPECT_EQ(pic.vt(), VT_DISPATCH);
    EXPECT_NE(pic->pdispVal, nullptr);
    EXPECT_EQ(AsLong(Get(c, id::Value)), 7);
}

TEST_F(CheckBoxTest, WritesNotifyAndValueIsNeitherCheckedNorAnEvent) {
    Start(false);
    ASSERT_EQ(Put(Box(), id::Value, Variant::Long(-5)), S_OK);
    EXPECT_EQ(Value(), -5);
    ASSERT_EQ(Put(Box(), id::FontBold, Variant::Bool(true)), S_OK);
    ASSERT_EQ(Put(Box(), id::FontSize, Variant::Int(14)), S_OK);
    ASSERT_EQ(Put(Box(), id::FontName, Variant::String(L"Courier New")), S_OK);
    ASSERT_EQ(Put(Box(), id::FontItalic, Variant::Bool(true)), S_OK);
    ASSERT_EQ(Put(Box(), id::FontUnderline, Variant::Bool(true)), S_OK);
    ASSERT_EQ(Put(Box(), id::MousePointer, Variant::Long(2)), S_OK);
    EXPECT_TRUE(Events().empty());
    // Font attribute writes are reported as "Font", so the host saves them.
    EXPECT_EQ(Notices(), (std::vector<DISPID>{id::Value, id::Font, id::Font, id::Font, id::Font, id::Font,
                                              id::MousePointer}));
    EXPECT_EQ(AsLong(Get(Box(), id::FontSize)), 14);
    EXPECT_EQ(AsLong(Get(Box(), id::FontItalic)), -1);
    EXPECT_EQ(AsLong(Get(Box(), id::FontUnderline)), -1);
}

TEST_F(CheckBoxTest, ShowsTheCellOfEachValueAndState) {
    Start(true, nullptr, RECT{20, 20, 180, 44});
    struct Case {
        long value;
        bool enabled;
        int cell;
    } cases[] = {{0, true, 0}, {1, true, 52}, {2, true, 104}, {7, true, 104}, {-1, true, 104},
                 {0, false, 39}, {1, false, 91}, {2, false, 143}};
    for (auto& c : cases) {
        Put(Box(), id::Enabled, Variant::Bool(c.enabled));
        Put(Box(), id::Value, Variant::Long(c.value));
        EXPECT_EQ(ShownCell(), c.cell) << c.value << " " << c.enabled;
    }
    // Align right: the glyph ends one pixel short of the right edge.
    Put(Box(), id::Align, Variant::Long(1));
    EXPECT_EQ(Control()->glyphRect().left, 160 - 14);
    EXPECT_EQ(Control()->captionRect().left, 1);
    EXPECT_EQ(ShownCell(), 143);
}

TEST_F(CheckBoxTest, ScreenshotOfEveryCell) {
    // Twelve boxes, one per cell, in one shot of the form.
    Start(false);
    Site* hot = nullptr;
    Site* pressed = nullptr;
    for (int v = 0; v < 3; ++v)
        for (int s = 0; s < 4; ++s) {
            std::wstring name = L"C" + std::to_wstring(v) + std::to_wstring(s);
            Site* site = Add(LumioCheckBox::Create, name.c_str(), RECT{10 + s * 95, 60 + v * 30, 100 + s * 95, 84 + v * 30});
            ASSERT_NE(site, nullptr);
            IDispatch* d = site->Object().get();
            Put(d, id::Value, Variant::Long(v));
            Put(d, id::Caption, Variant::String(s == 0 ? L"Normal" : s == 1 ? L"Hot" : s == 2 ? L"Pressed" : L"Off"));
            if (s == 3) Put(d, id::Enabled, Variant::Bool(false));
            if (v == 1 && s == 1) hot = site;
            if (v == 1 && s == 2) pressed = site;
        }
    // The hot and pressed looks come from the pointer and the left button.
    form().SetUserMode(true);
    Pump();
    MoveTo(ScreenPoint(hot->ControlWindow(), 40, 10));
    Pump();
    // The glyph's top is (24 - 13) \ 2 = 5; the hot Checked cell starts at row 65.
    EXPECT_EQ(shots::CaptureWindow(hot->ControlWindow()).At(6, 5 + 6), shots::SkinPixel(L"CHECKBOX", 6, 65 + 6));
    auto shot = shots::CaptureWindow(form().hWnd());
    shot.Save(L"check_box_cells_hot.png");
    MoveTo(ScreenPoint(pressed->ControlWindow(), 6, 12));
    Pump();
    Button(true);
    Pump();
    shot = shots::CaptureWindow(form().hWnd());
    shot.Save(L"check_box_cells.png");
    Button(false);
    Pump();
}

TEST_F(CheckBoxTest, ClickSpaceAndAccessKeyToggleWithClickAfterEach) {
    StartFromBag();
    EXPECT_TRUE(Control()->subclassed());
    Click(hwnd_, 6, 12);
    EXPECT_EQ(Value(), 1);
    EXPECT_EQ(Events(), (std::vector<DISPID>{kMouseEnter, DISPID_MOUSEDOWN, DISPID_MOUSEUP, DISPID_CLICK}));
    form().log().clear();
    Tap(VK_SPACE);
    EXPECT_EQ(Value(), 0);
    EXPECT_EQ(Events(), (std::vector<DISPID>{DISPID_KEYDOWN, DISPID_KEYPRESS, DISPID_KEYUP, DISPID_CLICK}));
    // Grayed and Unchecked both become Checked.
    Put(Box(), id::Value, Variant::Long(2));
    form().log().clear();
    PostMessageW(hwnd_, WM_SYSKEYDOWN, 'S', 0x20000000);
    Pump();
    EXPECT_EQ(Value(), 1);
    EXPECT_EQ(Events(), (std::vector<DISPID>{DISPID_CLICK}));
    EXPECT_TRUE(Notices().empty());
    // Disabled: a click does nothing.
    Put(Box(), id::Enabled, Variant::Bool(false));
    form().log().clear();
    Click(hwnd_, 6, 12);
    EXPECT_EQ(Value(), 1);
    EXPECT_TRUE(Events().empty());
}

TEST_F(CheckBoxTest, DoubleClickTogglesOnceAndPressesAgainAtTheOrigin) {
    StartFromBag();
    MoveTo(ScreenPoint(hwnd_, 6, 12));
    Pump();
    form().log().clear();
    Button(true);
    Button(false);
    Button(true);
    Button(false);
    Pump();
    EXPECT_EQ(Value(), 1);
    EXPECT_EQ(Events(), (std::vector<DISPID>{DISPID_MOUSEDOWN, DISPID_MOUSEUP, DISPID_CLICK, DISPID_MOUSEDOWN,
                                             DISPID_MOUSEUP}));
    // The second press is reported as button 1 at (0, 0).
    std::vector<lumio::host::LogEntry> downs;
    for (auto& e : form().log())
        if (!e.notice && e.id == DISPID_MOUSEDOWN) downs.push_back(e);
    ASSERT_EQ(downs.size(), 2u);
    EXPECT_EQ(AsLong(downs[1].args[0]), 1);
    EXPECT_EQ(downs[1].args[2]->fltVal, 0.0f);
    EXPECT_EQ(downs[1].args[3]->fltVal, 0.0f);
}

TEST_F(CheckBoxTest, PressedCellWhileHeldAndHoverWhileOver) {
    StartFromBag();
    MoveTo(ScreenPoint(hwnd_, 6, 12));
    Pump();
    EXPECT_EQ(ShownCell(), 13);  // hot
    Button(true);
    Pump();
    EXPECT_EQ(ShownCell(), 26);  // pressed
    // A move inside with the button held keeps the pressed cell and clears
    // the hover flag, so out with the button still down shows normal.
    MoveTo(ScreenPoint(hwnd_, 9, 12));
    Pump();
    EXPECT_EQ(ShownCell(), 26);
    EXPECT_FALSE(Control()->hovering());
    MoveTo(ScreenPoint(hwnd_, 6, -30));
    Pump();
    EXPECT_EQ(ShownCell(), 0);
    EXPECT_FALSE(Control()->hovering());
    Button(false);
    Pump();
    EXPECT_EQ(Value(), 0);  // released outside: no click
    form().log().clear();
    // Back in without a button: MouseEnter again; out: MouseLeave.
    MoveTo(ScreenPoint(hwnd_, 8, 12));
    Pump();
    EXPECT_EQ(Events(), (std::vector<DISPID>{kMouseEnter}));
    MoveAway();
    EXPECT_TRUE(WaitFor([&] { return !Events().empty() && Events().back() == kMouseLeave; }));
    EXPECT_EQ(ShownCell(), 0);
}

TEST_F(CheckBoxTest, KeyDownHandlerZeroingSpaceSuppressesLookAndToggle) {
    StartFromBag();
    SetFocus(hwnd_);
    Pump();
    form().OnEvent([](Site&, DISPID id, DISPPARAMS* p) {
        // KeyDown(KeyCode, Shift): KeyCode is the last of the reversed arguments.
        if (id == DISPID_KEYDOWN && p->cArgs == 2 && (p->rgvarg[1].vt & VT_BYREF) && *p->rgvarg[1].piVal == VK_SPACE)
            *p->rgvarg[1].piVal = 0;
    });
    Key(VK_SPACE, false);
    Pump();
    EXPECT_EQ(ShownCell(), 0);
    Key(VK_SPACE, true);
    Pump();
    EXPECT_EQ(Value(), 0);
    const auto events = Events();
    EXPECT_EQ(std::count(events.begin(), events.end(), DISPID_CLICK), 0);
    form().OnEvent(nullptr);
}

TEST_F(CheckBoxTest, ArrowsMoveTheFocus) {
    StartFromBag();
    Site* next = Add(LumioCheckBox::Create, L"Check2", RECT{20, 60, 180, 84});
    ASSERT_NE(next, nullptr);
    SetFocus(hwnd_);
    Pump();
    Tap(VK_DOWN);
    EXPECT_EQ(GetFocus(), next->ControlWindow());
    Tap(VK_UP);
    EXPECT_EQ(GetFocus(), hwnd_);
}

TEST_F(CheckBoxTest, DisableRefreshHoldsDrawingUntilRefresh) {
    Start(false);
    const auto before = Look(hwnd_).bgra;
    ASSERT_EQ(Call(Box(), id::DisableRefresh, {}), S_OK);
    Put(Box(), id::Value, Variant::Long(1));
    Put(Box(), id::Caption, Variant::String(L"Changed"));
    Put(Box(), id::BackColor, Variant::Long(0x0000FF));
    EXPECT_EQ(Look(hwnd_).bgra, before);
    ASSERT_EQ(Call(Box(), id::Refresh, {}), S_OK);
    const auto after = Look(hwnd_);
    EXPECT_NE(after.bgra, before);
    EXPECT_EQ(after.At(100, 2), RGB(255, 0, 0));
    EXPECT_EQ(ShownCell(), 52);
}

TEST_F(CheckBoxTest, LongCaptionWrapsWhereItWasMeasured) {
    Start(false, nullptr, RECT{20, 20, 120, 70});
    Put(Box(), id::ForeColor, Variant::Long(0));
    Put(Box(), id::Caption, Variant::String(L"one two three four five six"));
    const auto r = Control()->captionRect();
    ASSERT_GT(r.bottom - r.top, 20);  // more than one line
    const auto shot = Look(hwnd_);
    shot.Save(L"check_box_wrapped.png");
    // Ink in the second half of the measured rectangle: the text wrapped.
    int ink = 0;
    for (int y = (r.top + r.bottom) / 2; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x) ink += shot.At(x, y) != shot.At(99, 0);
    EXPECT_GT(ink, 10);
}

TEST_F(CheckBoxTest, RunTimeSetUpOnlyWhenReadInUserMode) {
    StartFromBag();
    EXPECT_TRUE(Control()->subclassed());
    Start(true);  // new at run time: InitProperties, no subclassing
    EXPECT_FALSE(Control()->subclassed());
    auto bag = lumio::MemoryPropertyBag::Create();
    Start(false, bag.get());
    EXPECT_FALSE(Control()->subclassed());
    // Neither mouse-leave service: no subclassing, no error.
    lumio::HideExportForTesting("TrackMouseEvent", "User32", true);
    lumio::HideExportForTesting("_TrackMouseEvent", "Comctl32", true);
    Start(true, bag.get());
    lumio::HideExportForTesting("TrackMouseEvent", "User32", false);
    lumio::HideExportForTesting("_TrackMouseEvent", "Comctl32", false);
    EXPECT_FALSE(Control()->subclassed());
}

TEST_F(CheckBoxTest, SubclassProcThroughDispatchRaisesMouseLeave) {
    StartFromBag();
    VARIANT_BOOL handled = VARIANT_FALSE;
    LONGLONG ret = 5, hwnd = 0, wp = 0, lp = 0;
    long msg = WM_MOUSELEAVE;
    VARIANT args[7];
    // Reversed: lParam first.
    args[0].vt = VT_BYREF | VT_I8; args[0].pllVal = &lp;
    args[1].vt = VT_BYREF | VT_I8; args[1].pllVal = &wp;
    args[2].vt = VT_BYREF | VT_I4; args[2].plVal = &msg;
    args[3].vt = VT_BYREF | VT_I8; args[3].pllVal = &hwnd;
    args[4].vt = VT_BYREF | VT_I8; args[4].pllVal = &ret;
    args[5].vt = VT_BYREF | VT_BOOL; args[5].pboolVal = &handled;
    args[6].vt = VT_BOOL; args[6].boolVal = VARIANT_FALSE;
    DISPPARAMS p{args, nullptr, 7, 0};
    ASSERT_EQ(Box()->Invoke(id::zSubclass_Proc, IID_NULL, 0, DISPATCH_METHOD, &p, nullptr, nullptr, nullptr), S_OK);
    EXPECT_EQ(Events(), (std::vector<DISPID>{kMouseLeave}));
    EXPECT_EQ(handled, VARIANT_FALSE);
    EXPECT_EQ(ret, 5);
}

TEST_F(CheckBoxTest, NoGdiOrWindowGrowthOverAThousandLives) {
    NewForm(true);
    auto bag = lumio::MemoryPropertyBag::Create();
    EXPECT_TRUE(lumio::test::NoGrowth([&] {
        for (int i = 0; i < 250; ++i) {
            Site* s = form().Add(LumioCheckBox::Create, L"C", RECT{0, 0, 120, 20}, bag.get());
            ASSERT_NE(s, nullptr);
            form().Remove(s);
        }
    }));
}

}  // namespace
