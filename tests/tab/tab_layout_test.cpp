// Geometry of the two tab styles and the input rules, with no window.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "run_time_error.h"
#include "tab_input.h"
#include "tab_layout.h"

namespace {

using namespace lumio;
using namespace lumio::tab;

constexpr int32_t Rgb(int32_t r, int32_t g, int32_t b) { return r | g << 8 | b << 16; }

std::vector<TabRecord> Tabs(std::initializer_list<bool> enabled) {
    std::vector<TabRecord> tabs;
    for (bool e : enabled) {
        tabs.emplace_back();
        tabs.back().enabled = e;
    }
    return tabs;
}

TEST(TabbedDialogLayout, CellsRoundHalfToEvenAndTheLastEndsBeforeTheEdge) {
    struct Case {
        int32_t width, count;
        std::vector<std::pair<int32_t, int32_t>> spans;
    } cases[] = {
        {305, 3, {{0, 102}, {102, 204}, {204, 304}}},
        {250, 4, {{0, 62}, {62, 124}, {124, 186}, {186, 249}}},
        {100, 1, {{0, 99}}},
    };
    for (const Case& c : cases) {
        auto places = TabbedDialogLayout(c.width, c.count, 0, 20, 18);
        ASSERT_EQ(places.size(), c.spans.size());
        for (size_t i = 0; i < places.size(); ++i) {
            EXPECT_EQ(places[i].tab.left, c.spans[i].first) << c.width << " tab " << i;
            EXPECT_EQ(places[i].tab.right, c.spans[i].second) << c.width << " tab " << i;
        }
    }
}

TEST(TabbedDialogLayout, TabsStandOnTheStripWithTheirBoxesInside) {
    auto places = TabbedDialogLayout(300, 3, 1, 20, 18);
    EXPECT_EQ(StripHeight(20, 18), 20);
    // Active: rows 0 to 20; inactive: 2 to 20, boxes at rows 8 to 18.
    EXPECT_EQ(places[1].tab.top, 0);
    EXPECT_EQ(places[1].tab.bottom, 20);
    EXPECT_EQ(places[0].tab.top, 2);
    EXPECT_EQ(places[0].tab.bottom, 20);
    EXPECT_EQ(places[0].box.top, 8);
    EXPECT_EQ(places[0].box.bottom, 18);
    EXPECT_EQ(places[0].box.left, 100 - 13);
    EXPECT_EQ(places[0].box.right, 100 - 3);
    EXPECT_EQ(places[1].box.top, 6);
    // A taller inactive kind lifts the inactive tabs instead.
    places = TabbedDialogLayout(300, 2, 0, 15, 25);
    EXPECT_EQ(places[0].tab.top, 10);
    EXPECT_EQ(places[1].tab.top, 0);
    EXPECT_EQ(places[1].tab.bottom, 25);
}

TEST(TabbedDialogLayout, PicturesFitTheTabAndFollowTheirAlignment) {
    FillRect tab{0, 2, 100, 20};  // an inactive tab 18 high
    PicturePlace p = TabbedPictureSize(tab, 32);
    EXPECT_EQ(p.size, 16);
    EXPECT_EQ(p.y, 5);  // 5 + round(-0.5)
    struct Case {
        int32_t align;
        bool active;
        int32_t x, y;
    } edges[] = {{0, false, 3, 5}, {0, true, 4, 5}, {1, false, 82, 5}, {1, true, 81, 5}};
    for (const Case& c : edges) {
        PicturePlace e = TabbedEdgePicture(tab, 32, c.align, c.active);
        EXPECT_EQ(e.x, c.x) << c.align << c.active;
        EXPECT_EQ(e.y, c.y) << c.align << c.active;
    }
    // A small picture in the active tab moves up one pixel.
    EXPECT_EQ(TabbedEdgePicture({0, 0, 100, 20}, 10, 0, true).y, 6);
    FillRect caption{40, 5, 60, 18};
    EXPECT_EQ(TabbedCaptionPicture(tab, 16, 2, caption).x, 23);
    EXPECT_EQ(TabbedCaptionPicture(tab, 16, 2, {10, 5, 60, 18}).x, 3);  // not left of L + 3
    EXPECT_EQ(TabbedCaptionPicture(tab, 16, 3, caption).x, 61);
    EXPECT_EQ(TabbedCaptionPicture(tab, 16, 3, {40, 5, 90, 18}).x, 82);  // not beyond R - 2
}

TEST(TabbedDialogLayout, CaptionBoxHugsTheTextAboutTheMiddle) {
    // Text 30 by 13 measured in the box (3, 5, 98, 20) of the tab (0, 2, 100, 20).
    FillRect box = CentredCaptionBox({3, 5, 33, 18}, 100, 20);
    EXPECT_EQ(box.right - box.left, 32);
    EXPECT_EQ(box.bottom - box.top, 14);
    EXPECT_EQ(box.left, 36);  // round(2 + 50 - 16.5): 35.5 to even
    EXPECT_EQ(box.top, 6);    // round(10 + 5 - 9)
}

TEST(GlassFill, SplitsHalfwayWithTheMiddleRowShared) {
    GlassParts g = GlassFill({0, 2, 50, 20});
    EXPECT_EQ(g.upper.top, 3);
    EXPECT_EQ(g.upper.bottom, 12);
    EXPECT_EQ(g.lower.top, 12);
    EXPECT_EQ(g.lower.bottom, 20);
    g = GlassFill({0, 2, 50, 5});  // 3 rows high: (5 - 2) \ 2 = 1
    EXPECT_EQ(g.upper.bottom, 4);
    EXPECT_EQ(g.lower.top, 4);
}

TEST(PropertyPagesLayout, CaptionsAreMeasuredWithoutTheirKeyMark) {
    struct Case {
        const wchar_t *caption, *measured;
    } cases[] = {{L"Save &As", L"Save &A"}, {L"A && B", L"A & "}, {L"Plain", L"Plain"},
                 {L"&&&x", L"&&"},          {L"&", L""},          {L"", L""}};
    for (const Case& c : cases) EXPECT_EQ(MeasuredCaption(c.caption), c.measured) << c.caption;
}

TEST(PropertyPagesLayout, JoinsTheActiveTabToItsNeighbours) {
    std::vector<int32_t> widths;
    for (float text : {30.0f, 40.0f, 50.0f}) widths.push_back(PropertyPageWidth(text, false, 16));
    EXPECT_EQ(widths, (std::vector<int32_t>{44, 54, 64}));
    struct Case {
        int32_t active;
        std::vector<std::pair<int32_t, int32_t>> spans;
    } cases[] = {
        {1, {{2, 45}, {45, 99}, {99, 163}}},
        {0, {{0, 44}, {44, 98}, {99, 163}}},
        {2, {{2, 45}, {46, 100}, {100, 164}}},
    };
    for (const Case& c : cases) {
        auto places = PropertyPagesLayout(widths, c.active, false, 20, 18);
        for (size_t i = 0; i < places.size(); ++i) {
            EXPECT_EQ(places[i].tab.left, c.spans[i].first) << "active " << c.active << " tab " << i;
            EXPECT_EQ(places[i].tab.right, c.spans[i].second) << "active " << c.active << " tab " << i;
        }
    }
    // Close boxes: 21 more for the active tab, 15 for the others.
    auto boxed = PropertyPagesLayout(widths, 1, true, 20, 18);
    EXPECT_EQ(boxed[0].tab.right, 45 + 15);
    EXPECT_EQ(boxed[1].tab.left, 60);
    EXPECT_EQ(boxed[1].tab.right, 60 + 54 + 21);
    EXPECT_EQ(boxed[1].box.left, boxed[1].tab.right - 13);
    EXPECT_EQ(boxed[1].box.top, 6);
    EXPECT_EQ(boxed[0].box.bottom, 18);
    EXPECT_EQ(PropertyPageWidth(30.5f, true, 16), 62);  // 61.5 to even
}

TEST(PropertyPagesLayout, PicturesFitTheStrip) {
    EXPECT_EQ(PropertyPagePictureSize(32, 18), 16);
    EXPECT_EQ(PropertyPagePictureSize(16, 20), 16);
    EXPECT_EQ(PropertyPagePictureTop({2, 6, 60, 20}, 16), 5);  // 6 + round(-1)
    EXPECT_EQ(PropertyPagePictureTop({2, 6, 60, 20}, 11), 8);  // 6 + round(1.5)
}

TEST(ControlBox, StatesDarkenTheEndColour) {
    int32_t start = Rgb(240, 240, 240), end = Rgb(200, 200, 200);
    EXPECT_EQ(ControlBoxColours(0, start, end).end, end);
    EXPECT_EQ(ControlBoxColours(1, start, end).start, start);
    EXPECT_EQ(ControlBoxColours(1, start, end).end, Rgb(179, 179, 179));
    EXPECT_EQ(ControlBoxColours(2, start, end).start, Rgb(152, 152, 152));
    EXPECT_EQ(ControlBoxColours(2, start, end).end, Rgb(152, 152, 152));
    EXPECT_EQ(ControlBoxCross(Rgb(100, 100, 100)), 0);
    EXPECT_EQ(ControlBoxCross(Rgb(137, 140, 255)), Rgb(0, 0, 63));
}

TEST(TabKeys, NeighboursWrapAndADisabledOneStopsTheMove) {
    constexpr int32_t kRight = 39, kLeft = 37, kPgUp = 33, kPgDn = 34, kHome = 36;
    struct Case {
        int32_t key;
        bool ctrl;
        int32_t active;
        std::vector<TabRecord> tabs;
        int32_t target;
    } cases[] = {
        {kRight, false, 0, Tabs({true, true, true}), 1},
        {kRight, false, 2, Tabs({true, true, true}), 0},
        {kRight, false, 2, Tabs({false, true, true}), kNoTab},  // no move; KeyDown still comes
        {kRight, false, 0, Tabs({true, false, true}), kNoTab},  // not skipped
        {kLeft, false, 0, Tabs({true, true, true}), 2},
        {kLeft, false, 1, Tabs({true, true, true}), 0},
        {kLeft, false, 0, Tabs({true}), kNoTab},
        {kPgUp, true, 0, Tabs({true, true, true}), 2},
        {kPgDn, true, 1, Tabs({true, true, true}), 2},
        {kPgDn, false, 1, Tabs({true, true, true}), kNoTab},
        {kHome, false, 1, Tabs({true, true, true}), kNoTab},
    };
    for (const Case& c : cases)
        EXPECT_EQ(KeyTarget(c.key, c.ctrl, c.active, c.tabs), c.target) << c.key << " from " << c.active;
}

TEST(TabKeys, AccessKeysPickTheFirstOtherEnabledTab) {
    auto tabs = Tabs({true, true, true, true});
    tabs[1].accessKey = tabs[2].accessKey = 'A';
    tabs[3].accessKey = 'B';
    EXPECT_EQ(AccessKeyTarget('A', 1, tabs), 2);
    EXPECT_EQ(AccessKeyTarget('a', 0, tabs), 1);
    EXPECT_EQ(AccessKeyTarget('b', 3, tabs), kNoTab);
    tabs[2].enabled = false;
    EXPECT_EQ(AccessKeyTarget('A', 1, tabs), kNoTab);
    EXPECT_EQ(AccessKeyTarget('C', 0, tabs), kNoTab);
}

TEST(TabWheel, DeltaIsTheSignedHighWordWhateverTheUpperBits) {
    EXPECT_EQ(WheelDelta(0xFF880000u), -120);
    EXPECT_EQ(WheelDelta(0x00780000u), 120);
    EXPECT_EQ(WheelDelta(0x00000000FF880008ull), -120);  // zero-extended on 64 bits
    EXPECT_EQ(WheelTarget(-120, 2), 3);  // the switch wraps it to tab 0
    EXPECT_EQ(WheelTarget(120, 2), 1);
    EXPECT_EQ(WheelTarget(120, 0), kNoTab);
    EXPECT_EQ(WheelTarget(0, 1), 0);
}

TEST(TabPointer, HitsByTabRectangleAndCloseBox) {
    auto tabs = Tabs({true, false, true});
    tabs[0].tabRect = {0, 2, 100, 20};
    tabs[1].tabRect = {100, 2, 200, 20};
    tabs[2].tabRect = {200, 0, 299, 20};
    tabs[0].boxRect = {87, 8, 97, 18};
    tabs[2].boxRect = {286, 6, 296, 16};
    EXPECT_EQ(PressedTab(100, 10, 20, tabs), 0);  // shared edge: the first
    EXPECT_EQ(PressedTab(150, 10, 20, tabs), kNoTab);  // disabled, nothing after it
    EXPECT_EQ(PressedTab(250, 1, 20, tabs), 2);
    EXPECT_EQ(PressedTab(50, 1, 20, tabs), kNoTab);  // above the inactive tab
    EXPECT_EQ(PressedTab(50, 21, 20, tabs), kNoTab);
    EXPECT_EQ(HoveredTab(50, 1, 20, tabs), 0);  // y is not compared per tab
    EXPECT_EQ(HoveredTab(150, 10, 20, tabs), kNoTab);
    EXPECT_EQ(HoveredTab(150, 25, 20, tabs), kNoTab);
    EXPECT_EQ(BoxAt(87, 8, tabs), 0);
    EXPECT_EQ(BoxAt(97, 10, tabs), kNoTab);  // right edge excluded
    EXPECT_EQ(BoxAt(290, 15, tabs), 2);
    EXPECT_EQ(BoxAt(290, 16, tabs), kNoTab);
}

}  // namespace
