// LumioTab's two tab styles and close boxes on screen, pixel by pixel against
// our own layout and colour arithmetic.
#include "shade_color.h"
#include "tab_colours.h"
#include "tab_fixture.h"
#include "tab_layout.h"

namespace {

using namespace tabtest;
using lumio::tab::CurvedGradientRows;
using lumio::tab::FillRect;

constexpr COLORREF kOuter = 0x958C89, kWhite = 0xFFFFFF, kStrip = 0x80FF80;

class TabStyleTest : public TabTest {
protected:
    Site* tab_ = nullptr;
    IDispatch* t_ = nullptr;
    void Start(long style) {
        Form& f = NewForm();
        tab_ = AddTab(f);
        ASSERT_NE(tab_, nullptr);
        t_ = tab_->Object().get();
        ASSERT_EQ(Put(t_, id::TabStripBackColor, Variant::Long(kStrip)), S_OK);
        ASSERT_EQ(Put(t_, id::TabStyle, Variant::Long(style)), S_OK);
    }
    shots::Capture Capture() {
        EXPECT_TRUE(Settle(form_.get()));
        return shots::CaptureFromScreen(tab_->ControlWindow());
    }
    const lumio::tab::TabRecord& Record(int i) { return Tab(tab_)->model().records()[i]; }
    // The colour each row of a square-cornered gradient has.
    static COLORREF RowColour(const FillRect& r, int32_t start, int32_t end, int y) {
        for (const auto& row : CurvedGradientRows(r, start, end, -1, false, false, 10000))
            if (row.y == y) return static_cast<COLORREF>(row.colour);
        return 0xFFFFFFFF;
    }
};

TEST_F(TabStyleTest, TabbedDialogCellsOutlinesAndGlass) {
    Start(0);
    shots::Capture s = Capture();
    EXPECT_EQ(Record(1).tabRect.left, 100);
    EXPECT_EQ(Record(1).tabRect.top, 2);
    EXPECT_EQ(Record(2).tabRect.right, 299);
    EXPECT_EQ(Record(1).boxRect.top, 8);
    // The strip shows above the lower inactive tabs only.
    EXPECT_EQ(s.At(150, 0), kStrip);
    EXPECT_EQ(s.At(150, 1), kStrip);
    // Active tab 0: white fill, outline on three sides, open into the body.
    EXPECT_EQ(s.At(0, 10), kOuter);
    EXPECT_EQ(s.At(50, 0), kOuter);
    EXPECT_EQ(s.At(5, 10), kWhite);
    EXPECT_EQ(s.At(5, 20), kWhite);
    EXPECT_EQ(s.At(5, 100), kWhite);  // the body continues the active end colour
    // Inactive tab 1 at x = 105: top line, white highlight, then two gradients.
    EXPECT_EQ(s.At(105, 2), kOuter);
    EXPECT_EQ(s.At(105, 3), kWhite);
    EXPECT_EQ(s.At(101, 10), kWhite);  // left highlight
    EXPECT_EQ(s.At(100, 10), kOuter);
    EXPECT_EQ(s.At(199, 10), kWhite);  // right highlight
    EXPECT_EQ(s.At(105, 20), kOuter);  // its bottom is the body's top edge
    const int32_t start = 0xEBEBEB, end = 0xCFCFCF;
    FillRect upper{100, 3, 200, 12}, lower{100, 12, 200, 20};
    for (int y = 4; y <= 11; ++y)
        EXPECT_EQ(s.At(105, y), RowColour(upper, lumio::pShadeColor(start, 100), start, y)) << y;
    for (int y = 12; y <= 19; ++y)
        EXPECT_EQ(s.At(105, y), RowColour(lower, lumio::pShadeColor(end, 70), end, y)) << y;
    // Connectors below the strip at both edges.
    EXPECT_EQ(s.At(299, 22), kOuter);

    // A disabled inactive tab is flat.
    ASSERT_EQ(InvokeWith(t_, id::TabEnabled, DISPATCH_PROPERTYPUT, {Variant::Long(2), Variant::Bool(false)}), S_OK);
    s = Capture();
    for (int y : {4, 12, 19}) EXPECT_EQ(s.At(205, y), 0xCBCAC9u) << y;
    EXPECT_EQ(s.At(205, 3), kWhite);
}

TEST_F(TabStyleTest, PropertyPagesJoinTheActiveTabAndCloseTheStrip) {
    Start(1);
    ASSERT_EQ(Put(t_, id::ActiveTab, Variant::Long(1)), S_OK);
    shots::Capture s = Capture();
    const auto &a = Record(0).tabRect, &b = Record(1).tabRect, &c = Record(2).tabRect;
    EXPECT_EQ(a.left, 2);
    EXPECT_EQ(b.left, a.right);
    EXPECT_EQ(c.left, b.right);
    EXPECT_EQ(b.top, 0);
    EXPECT_EQ(a.top, 2);
    // Same captions, same widths; the active tab's top edge and inner right line.
    EXPECT_EQ(a.right - a.left + 1, b.right - b.left);
    EXPECT_EQ(s.At(b.left + 3, 0), kOuter);
    EXPECT_EQ(s.At(b.right - 1, 10), kOuter);
    EXPECT_EQ(s.At(b.left + 3, 10), kWhite);
    // Tab 0's short line to the left, and the strip's edge carried to the right.
    EXPECT_EQ(s.At(0, 20), kOuter);
    EXPECT_EQ(s.At(c.right + 20, 20), kOuter);
    EXPECT_EQ(s.At(299, 20), kOuter);
    EXPECT_EQ(s.At(c.right + 20, 10), kStrip);
    // With tab 0 shown, only tab 2 keeps a gap.
    ASSERT_EQ(Put(t_, id::ActiveTab, Variant::Long(0)), S_OK);
    Capture();
    EXPECT_EQ(Record(0).tabRect.left, 0);
    EXPECT_EQ(Record(1).tabRect.left, Record(0).tabRect.right);
    EXPECT_EQ(Record(2).tabRect.left, Record(1).tabRect.right + 1);
    // Close boxes widen the tabs.
    long before = Record(1).tabRect.right - Record(1).tabRect.left;
    ASSERT_EQ(Put(t_, id::UseControlBox, Variant::Bool(true)), S_OK);
    Capture();
    EXPECT_EQ(Record(1).tabRect.right - Record(1).tabRect.left, before + 15);
}

TEST_F(TabStyleTest, CloseBoxesFillByTheirTabsKindAndState) {
    Start(0);
    ASSERT_EQ(Put(t_, id::UseControlBox, Variant::Bool(true)), S_OK);
    ASSERT_EQ(InvokeWith(t_, id::TabEnabled, DISPATCH_PROPERTYPUT, {Variant::Long(2), Variant::Bool(false)}), S_OK);
    shots::Capture s = Capture();
    struct Case {
        int tab;
        COLORREF top, bottom;
    } cases[] = {
        {0, 0xFFFFFF, 0xFFFFFF},  // the active tab's colours
        {1, 0xEBEBEB, 0xCFCFCF},  // an inactive tab's
        {2, static_cast<COLORREF>(lumio::tab::OffsetColor(0xCFCFCF, -48)),
         static_cast<COLORREF>(lumio::tab::OffsetColor(0xCFCFCF, -48))},  // disabled
    };
    for (const Case& c : cases) {
        const FillRect& box = Record(c.tab).boxRect;
        EXPECT_EQ(box.right - box.left, 10);
        EXPECT_EQ(s.At(box.left + 1, box.top + 1), c.top) << c.tab;
        EXPECT_EQ(s.At(box.left + 1, box.bottom - 3), RowColour({box.left + 1, box.top + 1, box.right - 1, box.bottom - 2},
                                                                static_cast<int32_t>(c.top), static_cast<int32_t>(c.bottom),
                                                                box.bottom - 3))
            << c.tab;
        EXPECT_EQ(s.At(box.left, box.top + 4), kOuter) << c.tab;  // outline in the border colour
        EXPECT_EQ(s.At(box.left + 3, box.top + 3), 0u) << c.tab;  // the cross: black from this border
    }
}

TEST_F(TabStyleTest, AnErrorInADrawingPassLeavesTheControlWorking) {
    Start(0);
    Settle(form_.get());
    LumioTab* tab = Tab(tab_);
    ComPtr<IPictureDisp> broken = BrokenPicture::Create();
    EXPECT_EQ(InvokeWith(t_, id::TabPicture, DISPATCH_PROPERTYPUTREF, {Variant::Long(1), Variant::Object(broken.get())}),
              DISP_E_EXCEPTION);
    EXPECT_FALSE(tab->busy());
    EXCEPINFO info{};
    EXPECT_EQ(Call(t_, id::ResetAllColors, {}, &info), DISP_E_EXCEPTION);
    EXPECT_EQ(lumio::Bstr(info.bstrSource).str(), L"LumioTab.ResetAllColors");
    SysFreeString(info.bstrDescription);
    SysFreeString(info.bstrHelpFile);
    EXPECT_FALSE(tab->busy());
    // Once the picture is gone, drawing and switching work again.
    ASSERT_EQ(Call(t_, id::RemoveTabImages, {}), S_OK);
    ASSERT_EQ(Call(t_, id::Refresh, {}), S_OK);
    ASSERT_EQ(Put(t_, id::ActiveTab, Variant::Long(2)), S_OK);
    EXPECT_EQ(AsLong(Get(t_, id::ActiveTab)), 2);
    EXPECT_FALSE(tab->busy());
}

TEST_F(TabStyleTest, ScreenshotsOfBothStyles) {
    for (long style : {0L, 1L}) {
        Start(style);
        HBITMAP bmp = CreateBitmap(16, 16, 1, 32, nullptr);
        {
            // Our own little picture: a blue square with a yellow centre.
            HDC dc = CreateCompatibleDC(nullptr);
            HGDIOBJ old = SelectObject(dc, bmp);
            RECT all{0, 0, 16, 16}, mid{4, 4, 12, 12};
            HBRUSH blue = CreateSolidBrush(RGB(40, 80, 200)), yellow = CreateSolidBrush(RGB(250, 210, 40));
            ::FillRect(dc, &all, blue);
            ::FillRect(dc, &mid, yellow);
            DeleteObject(blue);
            DeleteObject(yellow);
            SelectObject(dc, old);
            DeleteDC(dc);
        }
        ComPtr<IPictureDisp> pic = lumio::PictureFromBitmap(bmp);
        ASSERT_EQ(InvokeWith(t_, id::TabPicture, DISPATCH_PROPERTYPUTREF, {Variant::Long(0), Variant::Object(pic.get())}),
                  S_OK);
        ASSERT_EQ(InvokeWith(t_, id::TabCaption, DISPATCH_PROPERTYPUT, {Variant::Long(1), Variant::String(L"Save &As")}),
                  S_OK);
        ASSERT_EQ(InvokeWith(t_, id::TabEnabled, DISPATCH_PROPERTYPUT, {Variant::Long(2), Variant::Bool(false)}), S_OK);
        ASSERT_EQ(Put(t_, id::UseControlBox, Variant::Bool(true)), S_OK);
        SetFocus(tab_->ControlWindow());
        shots::Capture s = Capture();
        s.Save(style == 0 ? L"tab_tabbed_dialog.png" : L"tab_property_pages.png");
        EXPECT_EQ(s.width, 300);
    }
}

}  // namespace
