#include <gtest/gtest.h>

#include "tab_fill_rows.h"
#include "run_time_error.h"
#include "shade_color.h"
#include "tab_colours.h"
#include "tab_pages.h"

namespace {

using namespace lumio;
using namespace lumio::tab;

constexpr int32_t Rgb(int32_t r, int32_t g, int32_t b) { return r | g << 8 | b << 16; }

template <typename F>
int32_t ErrorOf(F&& f) {
    try {
        f();
    } catch (const RunTimeError& e) {
        return e.number();
    }
    return 0;
}

TEST(TabColours, ChannelsIgnoreTheSystemColourBit) {
    EXPECT_EQ(pGetRValue(static_cast<int32_t>(0x8000000F)), 0x0F);
    EXPECT_EQ(pGetGValue(static_cast<int32_t>(0x8000000F)), 0);
    EXPECT_EQ(pGetBValue(static_cast<int32_t>(0x8000000F)), 0);
    EXPECT_EQ(pGetGValue(static_cast<int32_t>(0xFF00AB00)), 0xAB);
    EXPECT_EQ(pGetBValue(Rgb(1, 2, 3)), 3);
}

TEST(TabColours, OffsetColorClampsEachChannel) {
    struct Case {
        int32_t colour, offset, expected;
    } cases[] = {
        {Rgb(10, 200, 250), 48, Rgb(58, 248, 255)},
        {Rgb(10, 200, 250), -48, Rgb(0, 152, 202)},
        {Rgb(0, 0, 0), INT32_MAX, Rgb(255, 255, 255)},  // no overflow for a huge offset
        {Rgb(255, 255, 255), INT32_MIN, Rgb(0, 0, 0)},
    };
    for (auto c : cases) EXPECT_EQ(OffsetColor(c.colour, c.offset), c.expected) << c.offset;
}

TEST(TabColours, AlphaBlendEndsAndMiddle) {
    int32_t a = Rgb(200, 100, 0), b = Rgb(0, 100, 200);
    EXPECT_EQ(pAlphaBlendColor(a, b, 255), a);
    EXPECT_EQ(pAlphaBlendColor(a, b, 0), b);
    // 128/255 of 200 is 100.39 -> 100; of 200 the other way 99.6 -> 100.
    EXPECT_EQ(pAlphaBlendColor(a, b, 128), Rgb(100, 100, 100));
}

TEST(ShadeColor, LightensTowardWhiteAndKeepsDarkeningInRange) {
    struct Case {
        int32_t colour, offset, expected;
    } cases[] = {
        {Rgb(0, 128, 255), 100, Rgb(100, 177, 255)},
        {Rgb(0, 128, 255), 70, Rgb(70, 162, 255)},
        {Rgb(255, 255, 255), 100, Rgb(255, 255, 255)},
        {Rgb(255, 255, 255), -350, Rgb(255, 255, 255)},
        // A dark channel under a negative offset stays black instead of
        // borrowing from its neighbour.
        {Rgb(0, 128, 255), -100, Rgb(0, 78, 255)},
        {Rgb(10, 10, 10), -700, Rgb(0, 0, 0)},
        {Rgb(200, 200, 200), -700, Rgb(49, 49, 49)},  // -700 + 955 * 200 \ 255
    };
    for (auto c : cases) EXPECT_EQ(pShadeColor(c.colour, c.offset), c.expected) << std::hex << c.colour << " " << std::dec << c.offset;
    EXPECT_EQ(ErrorOf([] { pShadeColor(Rgb(255, 255, 255), INT32_MIN); }), kErrOverflow);
}

TEST(GradientRows, SquareCornersEndInTheEndColour) {
    FillRect r{5, 2, 40, 12};
    auto rows = CurvedGradientRows(r, Rgb(0, 0, 0), Rgb(255, 100, 10), -1, true, true, 1000);
    ASSERT_EQ(rows.size(), 11u);  // B - T + 1
    for (size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(rows[i].y, 2 + static_cast<int32_t>(i));
        EXPECT_EQ(rows[i].x1, 5);
        EXPECT_EQ(rows[i].x2, 40);
    }
    EXPECT_EQ(rows.front().colour, Rgb(0, 0, 0));
    EXPECT_EQ(rows.back().colour, Rgb(255, 100, 10));
    EXPECT_EQ(rows[5].colour, Rgb(128, 50, 5));  // 127.5 -> 128, 50, 5
}

TEST(GradientRows, ChamferInsetsByCut) {
    FillRect r{10, 0, 50, 8};
    struct Case {
        const char* name;
        bool cutLeft, cutRight;
        int32_t x1[5], x2[5];  // rows 0..4
    } cases[] = {
        {"both", true, true, {14, 13, 12, 11, 11}, {47, 48, 49, 50, 50}},
        {"left only", true, false, {14, 13, 12, 11, 11}, {50, 50, 50, 50, 50}},
        {"none cuts the right", false, false, {10, 10, 10, 10, 10}, {47, 48, 49, 50, 50}},
        {"right flag alone", false, true, {10, 10, 10, 10, 10}, {47, 48, 49, 50, 50}},
    };
    for (const auto& c : cases) {
        auto rows = CurvedSolidRows(r, Rgb(1, 2, 3), 3, c.cutLeft, c.cutRight, 1000);
        ASSERT_EQ(rows.size(), 9u) << c.name;
        for (int i = 0; i < 5; ++i) {
            EXPECT_EQ(rows[i].x1, c.x1[i]) << c.name << " row " << i;
            EXPECT_EQ(rows[i].x2, c.x2[i]) << c.name << " row " << i;
            EXPECT_EQ(rows[i].colour, Rgb(1, 2, 3));
        }
    }
}

TEST(GradientRows, NoHeightDrawsOneRowInTheStartColour) {
    auto rows = CurvedGradientRows({0, 7, 20, 7}, Rgb(9, 9, 9), Rgb(9, 9, 9), -1, false, false, 100);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].y, 7);
    EXPECT_EQ(rows[0].colour, Rgb(9, 9, 9));
    rows = CurvedGradientRows({0, 7, 20, 7}, Rgb(0, 0, 0), Rgb(255, 255, 255), -1, false, false, 100);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].colour, Rgb(0, 0, 0));
}

TEST(GradientRows, HugeRectangleGivesOnlyTheVisibleRowsInTheirColours) {
    FillRect huge{0, 0, 10, INT32_MAX};
    auto clipped = CurvedGradientRows(huge, Rgb(0, 0, 0), Rgb(255, 255, 255), 2, true, true, 49);
    ASSERT_EQ(clipped.size(), 50u);
    EXPECT_EQ(clipped.back().y, 49);
    // Same rectangle, fewer rows visible: the common rows agree.
    auto fewer = CurvedGradientRows(huge, Rgb(0, 0, 0), Rgb(255, 255, 255), 2, true, true, 9);
    ASSERT_EQ(fewer.size(), 10u);
    for (size_t i = 0; i < fewer.size(); ++i) {
        EXPECT_EQ(fewer[i].colour, clipped[i].colour);
        EXPECT_EQ(fewer[i].x1, clipped[i].x1);
    }
    // Rows above the surface are left out but still count for the colours.
    auto partial = CurvedGradientRows({0, -4, 10, 4}, Rgb(0, 0, 0), Rgb(80, 80, 80), -1, false, false, 100);
    ASSERT_EQ(partial.size(), 5u);
    EXPECT_EQ(partial[0].y, 0);
    EXPECT_EQ(partial[0].colour, Rgb(40, 40, 40));
    EXPECT_EQ(partial.back().colour, Rgb(80, 80, 80));
}

TEST(TabPages, TabOfAControlByItsLeft) {
    struct Case {
        double left;
        int32_t tab;
    } cases[] = {{120, 0}, {-9880, 1}, {-19880, 2}, {0, 1}, {9999, 0}, {10000, 1}, {0.4, 1}, {0.6, 0}, {-10000, 2}};
    for (auto c : cases) EXPECT_EQ(TabOfLeft(c.left, 10000), c.tab) << c.left;
    EXPECT_EQ(ErrorOf([] { TabOfLeft(-2147483648.0, 10000); }), kErrOverflow);
}

TEST(TabPages, SwitchShiftsByWholePages) {
    EXPECT_EQ(ShiftDelta(2, 0, 10000), 20000);
    EXPECT_EQ(ShiftDelta(0, 2, 10000), -20000);
    // A control of tab 1 at -9880 comes into view at 120 and goes back.
    EXPECT_EQ(-9880 + ShiftDelta(1, 0, 10000), 120);
    EXPECT_EQ(ErrorOf([] { ShiftDelta(300000, 0, 10000); }), kErrOverflow);
}

TEST(TabPages, DefaultOffsetFollowsWideParents) {
    struct Case {
        double width;
        int32_t offset;
    } cases[] = {{12000, 13000}, {10000, 10000}, {10001, 11001}, {0, 10000}, {-5, 10000}};
    for (auto c : cases) EXPECT_EQ(DefaultTabOffset(c.width), c.offset) << c.width;
}

TEST(TabPages, AccessKeys) {
    struct Case {
        const wchar_t* caption;
        int32_t key;
    } cases[] = {
        {L"Save &as", 65}, {L"Fish && Chips", 0}, {L"Ends in &", 0}, {L"&One &two", 'T'},
        {L"R&&&D", 'D'},   {L"&&&", 0},           {L"", 0},          {L"&1", '1'},
    };
    for (auto c : cases) EXPECT_EQ(TabAccessKey(c.caption), c.key) << c.caption;
    EXPECT_EQ(AccessKeyList({65, 0, 'F', 0}), L"AF");
}

}  // namespace
