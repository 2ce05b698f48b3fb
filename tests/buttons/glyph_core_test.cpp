// The check box's and option button's cells, glyph and caption boxes and
// access keys, and the group box's defaults and geometry.
#include <gtest/gtest.h>

#include "glyph_layout.h"
#include "group_box_layout.h"
#include "run_time_error.h"
#include "shade_color.h"

namespace {

using namespace lumio::buttons;

TEST(GlyphCells, GroupPerValueAndCellPerState) {
    struct Case {
        int32_t value;
        int32_t group;
    } groups[] = {{0, 0}, {1, 52}, {2, 104}, {7, 104}, {-1, 104}};
    for (auto& c : groups) EXPECT_EQ(CheckValueGroup(c.value), c.group) << c.value;
    EXPECT_EQ(OptionValueGroup(false), 0);
    EXPECT_EQ(OptionValueGroup(true), 52);

    struct Cell {
        int32_t state;
        bool hover, enabled;
        int32_t y;  // in group 52
    } cells[] = {
        {kGlyphNormal, false, true, 52},  {kGlyphNormal, true, true, 65},   {kGlyphHot, false, true, 65},
        {kGlyphPressed, true, true, 78},  {kGlyphPressed, false, false, 91}, {kGlyphNormal, true, false, 91},
    };
    for (auto& c : cells) EXPECT_EQ(GlyphCellY(52, c.state, c.hover, c.enabled), c.y) << c.state << c.hover << c.enabled;
}

TEST(GlyphCells, ToggleTurnsGrayedAndUncheckedIntoChecked) {
    EXPECT_EQ(NextCheckValue(0), 1);
    EXPECT_EQ(NextCheckValue(1), 0);
    EXPECT_EQ(NextCheckValue(2), 1);
    EXPECT_EQ(NextCheckValue(7), 1);
}

TEST(GlyphLayout, GlyphAndCaptionBoxesPerAlign) {
    Box r;
    ASSERT_TRUE(pCalcGlyphRect(1, 100, 30, r));
    EXPECT_EQ(r, (Box{86, 8, 100, 21}));
    ASSERT_TRUE(pCalcGlyphRect(0, 100, 30, r));
    EXPECT_EQ(r, (Box{0, 8, 13, 21}));
    // Shorter than the glyph: the top truncates toward zero.
    ASSERT_TRUE(pCalcGlyphRect(0, 100, 10, r));
    EXPECT_EQ(r.top, -1);
    ASSERT_TRUE(pCalcGlyphRect(0, 100, 0, r));
    EXPECT_EQ(r.top, -6);
    // Any other alignment keeps the last rectangle.
    EXPECT_FALSE(pCalcGlyphRect(5, 100, 30, r));
    EXPECT_EQ(r, (Box{0, -6, 13, 7}));

    ASSERT_TRUE(CaptionFrame(0, 100, 30, r));
    EXPECT_EQ(r, (Box{16, 1, 98, 28}));
    ASSERT_TRUE(CaptionFrame(1, 100, 30, r));
    EXPECT_EQ(r, (Box{1, 1, 85, 28}));
    EXPECT_FALSE(CaptionFrame(-1, 100, 30, r));
    EXPECT_EQ(r, (Box{1, 1, 85, 28}));

    // Measured 14 high from top 1: moved down by (30 - 15) \ 2.
    Box measured{16, 1, 60, 15};
    CentreCaption(measured, 30);
    EXPECT_EQ(measured, (Box{16, 8, 60, 22}));
    // Taller than the control: moved up, truncating toward zero.
    Box tall{16, 1, 60, 40};
    CentreCaption(tall, 30);
    EXPECT_EQ(tall.top, -4);
}

TEST(GlyphLayout, AccessKeyLooksAtTheFirstTwoAmpersandsOnly) {
    struct Case {
        const wchar_t* caption;
        const wchar_t* key;
    } cases[] = {
        {L"&Save", L"s"},  {L"A&&B", L""},       {L"a&", L""},   {L"&&A&B", L"b"}, {L"A&&B&&C&D", L""},
        {L"", L""},        {L"&", L""},          {L"x", L""},    {L"Sa&ve &Now", L"v"}, {L"&&&x", L"x"},
        {L"A&&B&", L""},   {L"选项(&O)", L"o"},
    };
    for (auto& c : cases) EXPECT_EQ(CaptionAccessKey(c.caption), c.key) << std::wstring(c.caption).size();
}

TEST(GroupBoxColours, ShadesClampAndKeepTheWorkedValues) {
    EXPECT_EQ(lumio::pShadeColor(0xFF8000, 100), 0xFFB164);  // RGB(100, 177, 255)
    EXPECT_EQ(lumio::pShadeColor(0xFDF4E2, -700), 0xF7D592);  // RGB(146, 213, 247)
    // Dark channels under a strong negative offset stay at 0 instead of borrowing.
    EXPECT_EQ(lumio::pShadeColor(0x000A14, -350), 0);
    EXPECT_EQ(lumio::pShadeColor(0xFF0000, -350), 0xFF0000);

    const GroupBoxShades s = GroupBoxDefaults(0xF0F0F0, 0xF0F0F0);
    EXPECT_EQ(s.backColor2, 0xEAEAEA);   // 234
    EXPECT_EQ(s.borderColor, 0xDBDBDB);  // 219
    EXPECT_EQ(s.headColor2, 0xE4E4E4);   // 228
}

TEST(GroupBoxFrame, HeaderSeparatorBodyAndBorderRows) {
    const int32_t W = 120, H = 80;
    const FramePlan p = PlanFrame(W, H, 22, 0xF0F0F0, 0xE4E4E4, 0xF0F0F0, 0xEAEAEA);
    EXPECT_EQ(p.header.y1, 1);
    EXPECT_EQ(p.header.y2, 22);
    EXPECT_EQ(p.separator, (LineSpan{0, 23, W - 1, 23}));
    EXPECT_EQ(p.body.y1, 24);
    EXPECT_EQ(p.body.y2, H - 2);
    EXPECT_EQ(p.border[2], (LineSpan{0, H - 1, W, H - 1}));
    EXPECT_EQ(p.header.x1, 1);
    EXPECT_EQ(p.header.x2, W - 1);
    EXPECT_EQ(p.caption, (Box{6, 1, W - 6, 22}));
    // Band ends: the first row starts near c1 (f = y / s), the last is c2.
    EXPECT_EQ(p.body.RowColour(p.body.y2), 0xEAEAEA);
    EXPECT_EQ(p.header.RowColour(p.header.y2), 0xE4E4E4);
    // Mid colour rounded: (0xEA - 0xF0) * 0.5 + 0xF0 = 237.
    EXPECT_EQ(p.body.mid[0], 237);
}

TEST(GroupBoxFrame, BandsOutsideTheSurfaceCostNothing) {
    const int32_t H = 80;
    // A huge header: only the surface's rows are visited.
    FramePlan p = PlanFrame(120, H, 2000000000, 0, 0xFFFFFF, 0, 0xFFFFFF);
    RowRange r = VisibleRows(p.header, H);
    EXPECT_EQ(r.first, 1);
    EXPECT_EQ(r.last, H - 1);
    // A very negative one: the header is row 1 (its end clamped to its start),
    // the body from its clamped start.
    p = PlanFrame(120, H, -2000000000, 0, 0xFFFFFF, 0, 0xFFFFFF);
    r = VisibleRows(p.header, H);
    EXPECT_EQ(r.first, 1);
    EXPECT_EQ(r.last, 1);
    r = VisibleRows(p.body, H);
    EXPECT_EQ(r.first, 0);
    EXPECT_EQ(r.last, H - 2);
}

TEST(GroupBoxCaption, FlagsAndGap) {
    EXPECT_EQ(FrameCaptionFlags(0), 0x8024u);
    EXPECT_EQ(FrameCaptionFlags(1), 0x8025u);
    EXPECT_EQ(FrameCaptionFlags(2), 0x8026u);
    // Values that would switch on other text options draw left.
    for (int32_t a : {3, 0x10000, 0x400, -1}) EXPECT_EQ(FrameCaptionFlags(a), 0x8024u) << a;

    Box b;
    ASSERT_TRUE(GroupCaptionBox(1, 200, 50, 14, b));
    EXPECT_EQ(b, (Box{72, 0, 128, 14}));  // (200 - 50 - 6) \ 2 = 72
    EXPECT_EQ(b.left, 200 - b.right);
    ASSERT_TRUE(GroupCaptionBox(0, 200, 50, 14, b));
    EXPECT_EQ(b, (Box{6, 0, 62, 14}));
    ASSERT_TRUE(GroupCaptionBox(2, 200, 50, 14, b));
    EXPECT_EQ(b, (Box{138, 0, 194, 14}));
    EXPECT_FALSE(GroupCaptionBox(3, 200, 50, 14, b));
    EXPECT_EQ(b, (Box{138, 0, 194, 14}));
}

}  // namespace
