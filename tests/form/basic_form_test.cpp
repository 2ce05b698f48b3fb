// LumioBasicForm: the frame's callbacks against the skin's own pixels, the
// region, the frame set-up per form style, and design mode.
#include <gtest/gtest.h>

#include "CustomWindowCalls.h"
#include "form_skin.h"
#include "gdi_scope.h"
#include "lumio_basic_form.h"
#include "memory_property_bag.h"
#include "test_host.h"

namespace {

using lumio::ComPtr;
using lumio::Variant;
using lumio::form::LumioBasicForm;
using lumio::form::Strip;
using lumio::host::ControlDesign;
using lumio::host::Form;
using lumio::host::FormDesign;

COLORREF StripPixel(Strip which, int x, int y) {
    const auto& s = lumio::form::StripData(which);
    const unsigned char* p = s.bgr + (y * s.width + x) * 3;
    return RGB(p[2], p[1], p[0]);
}

// A 24-bit memory DC to draw the callbacks into.
struct Canvas {
    lumio::gdi::OwnedDC dc{CreateCompatibleDC(nullptr)};
    lumio::gdi::OwnedObject<HBITMAP> bitmap;
    HGDIOBJ old = nullptr;
    Canvas(int w, int h) {
        BITMAPINFO bi{};
        bi.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        void* bits = nullptr;
        bitmap.reset(CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
        old = SelectObject(dc.get(), bitmap.get());
        RECT rc{0, 0, w, h};
        FillRect(dc.get(), &rc, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    }
    ~Canvas() { SelectObject(dc.get(), old); }
    COLORREF At(int x, int y) const { return GetPixel(dc.get(), x, y); }
    LONG_PTR handle() const { return reinterpret_cast<LONG_PTR>(dc.get()); }
};

class BasicFormTest : public testhost::OleTest {
protected:
    // A designed form carrying the control, read from a bag in user mode.
    LumioBasicForm* Load(Form& form) {
        ControlDesign d;
        d.create = &LumioBasicForm::Create;
        d.name = L"BasicForm1";
        d.rect = RECT{0, 0, 48, 48};
        d.bag = ComPtr<IPropertyBag>(lumio::MemoryPropertyBag::Create().get());
        EXPECT_TRUE(form.Load({d}));
        site_ = form.Find(L"BasicForm1");
        if (!site_) return nullptr;
        return static_cast<LumioBasicForm*>(static_cast<lumio::ControlBase*>(site_->Object().get()));
    }
    ComPtr<lumio::_CustomWindowCalls> Calls() {
        ComPtr<lumio::_CustomWindowCalls> calls;
        site_->Object()->QueryInterface(lumio::IID__CustomWindowCalls, calls.put_void());
        return calls;
    }
    lumio::host::Site* site_ = nullptr;
};

TEST_F(BasicFormTest, ButtonsCopyTheirCellAndReportModifiedForAnyId) {
    Form form(FormDesign{});
    ASSERT_NE(Load(form), nullptr);
    auto calls = Calls();
    ASSERT_TRUE(calls);
    struct Case {
        const wchar_t* id;
        short state;
        bool focus;
        Strip strip;
        int cell;
    };
    const Case cases[] = {
        {L"1", 0, true, Strip::Close, 0},    {L"1", 2, false, Strip::Close, 6},
        {L"2", 1, true, Strip::Maximise, 1}, {L"3", 3, false, Strip::Minimise, 7},
        {L"3", 3, true, Strip::Minimise, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "id " << c.id << " state " << c.state << " focus " << c.focus);
        Canvas canvas(60, 30);
        VARIANT_BOOL modified = VARIANT_FALSE;
        BSTR id = SysAllocString(c.id);
        ASSERT_EQ(calls->UserDrawnButton(id, c.state, canvas.handle(), 5, 7, 99, 99,
                                         c.focus ? VARIANT_TRUE : VARIANT_FALSE, &modified),
                  S_OK);
        SysFreeString(id);
        EXPECT_EQ(modified, VARIANT_TRUE);
        for (auto [x, y] : {std::pair{0, 0}, {13, 7}, {27, 14}, {10, 4}})
            EXPECT_EQ(canvas.At(5 + x, 7 + y), StripPixel(c.strip, c.cell * 28 + x, y)) << x << "," << y;
        EXPECT_EQ(canvas.At(5 + 28, 7), RGB(0, 0, 0));  // one cell only
    }
    Canvas canvas(40, 20);
    VARIANT_BOOL modified = VARIANT_FALSE;
    BSTR other = SysAllocString(L"7");
    EXPECT_EQ(calls->UserDrawnButton(other, 0, canvas.handle(), 0, 0, 28, 15, VARIANT_TRUE, &modified), S_OK);
    SysFreeString(other);
    EXPECT_EQ(modified, VARIANT_TRUE);
    EXPECT_EQ(canvas.At(3, 3), RGB(0, 0, 0));
}

TEST_F(BasicFormTest, BorderIsCopiedFromTheStripsOfItsFocusState) {
    Form form(FormDesign{});
    ASSERT_NE(Load(form), nullptr);
    auto calls = Calls();
    for (bool focus : {true, false}) {
        SCOPED_TRACE(focus);
        const int f = focus ? 1 : 0;
        Canvas canvas(120, 90);
        VARIANT_BOOL modified = VARIANT_FALSE;
        ASSERT_EQ(calls->UserDrawnBorder(canvas.handle(), 33, 44, 120, 90, focus ? VARIANT_TRUE : VARIANT_FALSE,
                                         &modified),
                  S_OK);
        EXPECT_EQ(modified, VARIANT_TRUE);
        // Corners are plain copies; X and Y are not used.
        for (auto [x, y] : {std::pair{0, 0}, {7, 28}, {3, 12}})
            EXPECT_EQ(canvas.At(x, y), StripPixel(Strip::Top, x, f * 29 + y));
        EXPECT_EQ(canvas.At(119, 0), StripPixel(Strip::Top, 20, f * 29));
        EXPECT_EQ(canvas.At(0, 89), StripPixel(Strip::Bottom, 0, f * 8 + 7));
        EXPECT_EQ(canvas.At(119, 89), StripPixel(Strip::Bottom, 20, f * 8 + 7));
        // Edges: every column of the 8-wide block is one colour down its rows.
        EXPECT_EQ(canvas.At(0, 50), StripPixel(Strip::Left, f * 8, 30));
        EXPECT_EQ(canvas.At(119, 50), StripPixel(Strip::Right, f * 8 + 7, 30));
        // The client stays untouched.
        EXPECT_EQ(canvas.At(60, 50), RGB(0, 0, 0));
    }
}

TEST_F(BasicFormTest, RegionRoundsOnlyTheTopCorners) {
    Form form(FormDesign{});
    ASSERT_NE(Load(form), nullptr);
    auto calls = Calls();
    LONG_PTR handle = 0;
    ASSERT_EQ(calls->OnCreateRegion(&handle, 0, 0, 200, 150), S_OK);
    HRGN region = reinterpret_cast<HRGN>(handle);
    ASSERT_NE(region, nullptr);
    EXPECT_FALSE(PtInRegion(region, 0, 0));
    EXPECT_FALSE(PtInRegion(region, 199, 0));
    EXPECT_TRUE(PtInRegion(region, 100, 0));
    EXPECT_TRUE(PtInRegion(region, 0, 149));
    EXPECT_TRUE(PtInRegion(region, 199, 149));
    EXPECT_TRUE(PtInRegion(region, 0, 29));
    DeleteObject(region);
}

TEST_F(BasicFormTest, FrameFollowsTheFormStyle) {
    struct Case {
        int border;
        bool max, min, mdi;
        long mapped;
        bool sizing, sysmenu, hide_disabled;
    };
    const Case cases[] = {
        {2, true, true, false, 2, true, true, false},   {3, false, false, false, 3, false, false, true},
        {4, true, false, false, 1, false, true, false}, {5, false, true, false, 2, true, true, false},
        {3, false, false, true, 2, true, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "border " << c.border << " mdi " << c.mdi);
        FormDesign d;
        d.border_style = c.border;
        d.max_button = c.max;
        d.min_button = c.min;
        d.mdi_parent = c.mdi;
        Form form(d);
        LumioBasicForm* control = Load(form);
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(control->FormBorder(), c.mapped);
        EXPECT_EQ(control->MaxButton(), c.mdi || c.max);
        EXPECT_EQ(control->MinButton(), c.mdi || c.min);
        auto* w = control->Window();
        ASSERT_NE(w, nullptr);
        EXPECT_EQ(w->EnableTBarBtns(16), c.sizing);
        EXPECT_EQ(w->EnableTBarBtns(8), c.mdi || c.max);
        EXPECT_EQ(w->EnableTBarBtns(4), c.mdi || c.min);
        EXPECT_EQ(w->EnableTBarBtns(64), c.sysmenu);
        EXPECT_EQ(w->HideDisabledButtons(), c.hide_disabled);
        EXPECT_EQ(w->IsSubclassed(form.hWnd()).boolVal, VARIANT_TRUE);
        form.Unload();
    }
}

// The maximise button draws the restore strip while the form is zoomed. A
// skinned form cannot stay maximised under Wine here (setting a window region
// restores a zoomed window), so the form is zoomed without the frame.
TEST_F(BasicFormTest, MaximiseButtonDrawsTheRestoreStripWhileZoomed) {
    Form form(FormDesign{});
    ShowWindow(form.hWnd(), SW_SHOW);
    ShowWindow(form.hWnd(), SW_MAXIMIZE);
    ASSERT_TRUE(testhost::WaitUntil(&form, [&] { return IsZoomed(form.hWnd()) != FALSE; }));
    site_ = form.Add(&LumioBasicForm::Create, L"BasicForm1", RECT{0, 0, 48, 48});
    ASSERT_NE(site_, nullptr);
    auto calls = Calls();
    ASSERT_TRUE(calls);
    ASSERT_NE(StripPixel(Strip::Restore, 28 + 13, 7), StripPixel(Strip::Maximise, 28 + 13, 7)) << "the glyphs differ";
    for (bool zoomed : {true, false}) {
        SCOPED_TRACE(zoomed ? "zoomed" : "restored");
        if (!zoomed) {
            ShowWindow(form.hWnd(), SW_RESTORE);
            ASSERT_TRUE(testhost::WaitUntil(&form, [&] { return !IsZoomed(form.hWnd()); }));
        }
        Canvas canvas(40, 20);
        VARIANT_BOOL modified = VARIANT_FALSE;
        BSTR id = SysAllocString(L"2");
        ASSERT_EQ(calls->UserDrawnButton(id, 1, canvas.handle(), 2, 3, 28, 15, VARIANT_TRUE, &modified), S_OK);
        SysFreeString(id);
        const Strip strip = zoomed ? Strip::Restore : Strip::Maximise;
        for (auto [x, y] : {std::pair{0, 0}, {13, 7}, {27, 14}})
            EXPECT_EQ(canvas.At(2 + x, 3 + y), StripPixel(strip, 28 + x, y)) << x << "," << y;
    }
}

TEST_F(BasicFormTest, DesignModeShowsTheTileAndGreysTheForm) {
    Form form(FormDesign{});
    form.SetUserMode(false);
    auto* site = form.Add(&LumioBasicForm::Create, L"BasicForm1", RECT{10, 10, 110, 60});
    ASSERT_NE(site, nullptr);
    EXPECT_EQ(form.AmbientBackColor(), 0xF0F0F0u);
    RECT rc = site->rect();
    EXPECT_EQ(rc.right - rc.left, 48);
    EXPECT_EQ(rc.bottom - rc.top, 48);
    HWND tile = FindWindowExW(site->ControlWindow(), nullptr, L"BUTTON", L"Lumio Form");
    EXPECT_NE(tile, nullptr);
    auto* control = static_cast<LumioBasicForm*>(static_cast<lumio::ControlBase*>(site->Object().get()));
    EXPECT_FALSE(control->Window()->IsSubclassed(form.hWnd()).boolVal == VARIANT_TRUE);
}

}  // namespace
