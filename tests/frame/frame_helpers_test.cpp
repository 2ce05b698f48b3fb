#include <gtest/gtest.h>

#include <vector>

#include "gradient_lines.h"
#include "word_helpers.h"

using namespace lumio;

namespace {

TEST(WordHelpers, BothHalvesAreSignExtended) {
    struct Case {
        int32_t value, lo, hi;
    } cases[] = {
        {0x00008000, -32768, 0},  {0x00007FFF, 32767, 0},           {static_cast<int32_t>(0xFFFF0000), 0, -1},
        {0x7FFF8001, -32767, 32767}, {static_cast<int32_t>(0x80000000), 0, -32768}, {0x0001FFFF, -1, 1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(LoWord(c.value), c.lo) << std::hex << c.value;
        EXPECT_EQ(HiWord(c.value), c.hi) << std::hex << c.value;
        EXPECT_EQ(MakeLong(static_cast<int16_t>(c.lo), static_cast<int16_t>(c.hi)), c.value) << std::hex << c.value;
    }
    EXPECT_EQ(MakeLong(-1, 1), 0x1FFFF);
    EXPECT_EQ(MakeLong(5, -1), static_cast<int32_t>(0xFFFF0005));
}

std::vector<GradientLine> Plan(uint32_t c1, uint32_t c2, int32_t X1, int32_t Y1, int32_t X2, int32_t Y2, uint8_t step) {
    std::vector<GradientLine> lines;
    PlanGradientLines(c1, c2, X1, Y1, X2, Y2, step, [&](const GradientLine& l) { lines.push_back(l); });
    return lines;
}

uint32_t Red(uint32_t r) { return r; }

TEST(GradientLines, ThinLinesOnePerColumnFirstTwoInColourOne) {
    const auto lines = Plan(Red(0), Red(255), 0, 2, 4, 10, 0);
    ASSERT_EQ(lines.size(), 5u);
    const uint32_t reds[] = {0, 0, 51, 102, 153};
    for (int k = 0; k < 5; ++k) {
        EXPECT_EQ(lines[k].x1, k);
        EXPECT_EQ(lines[k].x2, k);
        EXPECT_EQ(lines[k].y1, 2);
        EXPECT_EQ(lines[k].y2, 10);
        EXPECT_EQ(lines[k].penWidth, 1);
        EXPECT_EQ(lines[k].colour, reds[k]) << k;
    }
}

TEST(GradientLines, ThickLinesExtendOneStepAndRoundHalvesToEven) {
    // step 7 is held to 4: 9-pixel pens; span 30, increment 8.5 per pixel.
    const auto lines = Plan(Red(0), Red(255), 0, 0, 29, 5, 7);
    ASSERT_EQ(lines.size(), 5u);
    const int32_t xs[] = {0, 9, 18, 27, 36};
    const uint32_t reds[] = {0, 0, 76, 153, 230};  // 76.5 -> 76, 229.5 -> 230
    for (int k = 0; k < 5; ++k) {
        EXPECT_EQ(lines[k].x1, xs[k]);
        EXPECT_EQ(lines[k].penWidth, 9);
        EXPECT_EQ(lines[k].colour, reds[k]) << k;
    }
}

TEST(GradientLines, DirectionFromTheSignsOfY2AndX2) {
    struct Case {
        const char* name;
        int32_t X1, Y1, X2, Y2;
        uint8_t step;
        bool horizontal;
        std::vector<int32_t> positions;
        int32_t width, far;  // far: x2 of a horizontal line, y2 of a vertical one
    } cases[] = {
        {"Y2<0, X2>=0: from |Y2| up to Y1", 0, 0, 100, -4, 0, true, {4, 3, 2, 1, 0}, 1, 100},
        {"Y2<0, X2<0: from Y1 down to |Y2|", 3, 1, -100, -4, 0, true, {1, 2, 3, 4}, 1, 100},
        {"Y2>=0, X2<0: from |X2| left to X1", 2, 0, -5, 7, 0, false, {5, 4, 3, 2}, 1, 7},
        {"Y2>=0, X2>=0, step 1: 3-pixel lines, end extended", 0, 0, 5, 7, 1, false, {0, 3, 6}, 3, 7},
        {"span narrower than the pen: 1-pixel lines", 0, 0, 3, 7, 2, false, {0, 1, 2, 3}, 1, 7},
        {"Y2<0 and X2>=0 thick: counts down past Y1", 0, 0, 10, -6, 1, true, {6, 3, 0, -3}, 3, 10},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto lines = Plan(0x000000, 0xFFFFFF, c.X1, c.Y1, c.X2, c.Y2, c.step);
        ASSERT_EQ(lines.size(), c.positions.size());
        for (std::size_t k = 0; k < lines.size(); ++k) {
            const GradientLine& l = lines[k];
            EXPECT_EQ(l.penWidth, c.width);
            if (c.horizontal) {
                EXPECT_EQ(l.y1, c.positions[k]);
                EXPECT_EQ(l.y2, c.positions[k]);
                EXPECT_EQ(l.x1, c.X1);
                EXPECT_EQ(l.x2, c.far);
            } else {
                EXPECT_EQ(l.x1, c.positions[k]);
                EXPECT_EQ(l.x2, c.positions[k]);
                EXPECT_EQ(l.y1, c.Y1);
                EXPECT_EQ(l.y2, c.far);
            }
        }
        EXPECT_EQ(lines[0].colour, 0u);
        EXPECT_EQ(lines[1].colour, 0u);
    }
}

TEST(GradientLines, BottomLineHasColourOneWhenDrawnUpward) {
    // 21 rows from y = 20 to y = 0, colour 1 at the bottom.
    const auto lines = Plan(0x0000FF, 0xFF0000, 0, 0, 100, -20, 0);
    ASSERT_EQ(lines.size(), 21u);
    EXPECT_EQ(lines.front().y1, 20);
    EXPECT_EQ(lines.front().colour, 0x0000FFu);
    EXPECT_EQ(lines.back().y1, 0);
    // Channels move separately: red falls as blue rises.
    const uint32_t last = lines.back().colour;
    EXPECT_LT(last & 0xFF, 0xFFu);
    EXPECT_GT(last >> 16, 0u);
    EXPECT_EQ((last >> 8) & 0xFF, 0u);
}

}  // namespace
