// The status bar's shading, grip test and text room.
#include <gtest/gtest.h>

#include "status_plan.h"

namespace {

using namespace lumio::lists;

TEST(StatusPlan, ShadingRowsRunFromTheTopGreyToTheBack) {
    const lumio::GradientV g = StatusShading(300, 23);
    EXPECT_EQ(g.y1, 0);
    EXPECT_EQ(g.y2, 6);
    EXPECT_EQ(g.x2, 300);  // one past the last column: the line covers the bar
    const int expected[] = {215, 221, 227, 232, 236, 240, 244};
    for (int y = 0; y <= 6; ++y) {
        const int32_t c = g.RowColour(y);
        EXPECT_EQ(c, expected[y] * 0x010101) << "row " << y;
    }
}

TEST(StatusPlan, GripOnlyOnASizableNormalFormWithTheBarFlushAndFullWidth) {
    // Twips: a form 4500 wide and 3000 high inside, the bar 345 high at its bottom.
    const GripFacts flush{2, 0, 4500, 3000, 2655, 4500, 345};
    struct Case {
        const char* what;
        GripFacts f;
        bool shown;
    } cases[] = {
        {"flush", flush, true},
        {"fixed border", {1, 0, 4500, 3000, 2655, 4500, 345}, false},
        {"no border", {0, 0, 4500, 3000, 2655, 4500, 345}, false},
        {"minimised", {2, 1, 4500, 3000, 2655, 4500, 345}, false},
        {"maximised", {2, 2, 4500, 3000, 2655, 4500, 345}, false},
        {"narrower", {2, 0, 4500, 3000, 2655, 4485, 345}, false},
        {"raised", {2, 0, 4500, 3000, 2640, 4500, 345}, false},
        {"past the bottom", {2, 0, 4500, 3000, 2670, 4500, 345}, false},
    };
    for (const auto& c : cases) EXPECT_EQ(GripShown(c.f), c.shown) << c.what;
}

TEST(StatusPlan, TextStops14PixelsShortOfTheEdgeBesideTheGrip) {
    const StatusRect grip = GripRect(300, 23, true);
    EXPECT_EQ(grip.left, 285);
    EXPECT_EQ(grip.top, 8);
    EXPECT_EQ(grip.right, 299);
    EXPECT_EQ(grip.bottom, 22);
    EXPECT_EQ(GripLeft(300), 282);
    EXPECT_EQ(GripTop(23), 5);
    const StatusRect text = StatusTextRect(300, 23, grip);
    EXPECT_EQ(text.left, 5);
    EXPECT_EQ(text.right, 286);
    EXPECT_EQ(text.bottom, 23);
    const StatusRect none = GripRect(300, 23, false);
    EXPECT_TRUE(none.Empty());
    EXPECT_EQ(StatusTextRect(300, 23, none).right, 300);
}

TEST(StatusPlan, OverGripIsStrictlyInside) {
    const StatusRect grip = GripRect(300, 23, true);  // 285, 8 to 299, 22
    struct Case {
        float x, y;
        bool over;
    } cases[] = {
        {290, 15, true}, {285.5f, 8.5f, true}, {298, 21, true},
        {285, 15, false}, {299, 15, false}, {290, 8, false}, {290, 22, false}, {10, 10, false},
    };
    for (const auto& c : cases) EXPECT_EQ(OverGrip(grip, c.x, c.y), c.over) << c.x << "," << c.y;
    // No grip: nowhere is over it.
    EXPECT_FALSE(OverGrip(GripRect(300, 23, false), 0.5f, 0.5f));
    EXPECT_FALSE(OverGrip(GripRect(300, 23, false), -0.5f, -0.5f));
}

}  // namespace
