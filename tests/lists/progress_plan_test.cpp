// The progress bar's geometry and animation step.
#include <gtest/gtest.h>

#include "progress_plan.h"

namespace {

using namespace lumio::lists;

TEST(ProgressPlan, FillIsProportionalAndEmptyBelowOne) {
    struct Case {
        int32_t width, max, value, fill;
    } cases[] = {
        {200, 100, 100, 198},  // full: x 1 to W - 2
        {200, 100, 50, 98},    {200, 100, 0, 0}, {200, 100, -5, 0},
        {200, 100, 1, 0},      // 2 - 2: nothing to stretch
        {201, 100, 25, 48},    // 50.25 - 2
        {100, 8, 3, 36},       // 37.5 - 2 = 35.5: half to even
        {100, 8, 5, 60},       // 62.5 - 2 = 60.5: half to even
        {200, 10, 1000, 200},  // far past Max: ends at the bar's end
        {200, 1, 2147483647, 200},
        {200, -10, 5, 0},      // negative proportion
    };
    for (const auto& c : cases) {
        ProgressState s;
        s.max = c.max;
        s.value = c.value;
        EXPECT_EQ(PlanProgressPaint(c.width, s).fillWidth, c.fill) << c.width << " " << c.max << " " << c.value;
    }
}

TEST(ProgressPlan, MaxZeroDrawsTheTrackOnlyAndTheStepChangesNothing) {
    for (bool marquee : {false, true}) {
        ProgressState s;
        s.max = 0;
        s.value = 5;
        s.marquee = marquee;
        const ProgressPaint p = PlanProgressPaint(200, s);
        EXPECT_FALSE(p.marqueeShown);
        EXPECT_EQ(p.fillWidth, 0);
        EXPECT_FALSE(p.glintShown);
        const ProgressState before = s;
        EXPECT_FALSE(ProgressStep(200, s));
        EXPECT_EQ(s.glintX, before.glintX);
        EXPECT_EQ(s.fillEnd, before.fillEnd);
    }
}

TEST(ProgressPlan, MarqueeIsPlacedByValue) {
    struct Case {
        int32_t width, max, value, x;
    } cases[] = {
        {300, 100, 100, 298},  // (300 + 198) - 2 - 198: right edge at W - 2
        {300, 100, 50, 49},    // 249 - 200
        {300, 100, 1, -195},   // 4.98 -> 5
        {300, 100, 0, 0},      // empty: not shown
    };
    for (const auto& c : cases) {
        ProgressState s;
        s.marquee = true;
        s.max = c.max;
        s.value = c.value;
        const ProgressPaint p = PlanProgressPaint(c.width, s);
        EXPECT_EQ(p.marqueeShown, c.value >= 1);
        if (p.marqueeShown) {
            EXPECT_EQ(p.marqueeX, c.x) << c.value;
        }
        EXPECT_EQ(p.fillWidth, 0);
        EXPECT_FALSE(p.glintShown);
    }
}

TEST(ProgressPlan, GlintSweepsIsClippedAtTheFillEndAndComesBackAfterItsPause) {
    ProgressState s;  // 100 of 100 on 200 px: the fill ends at 199
    s.value = 60;     // fill end 119
    ASSERT_EQ(s.glintX, -123);
    // Before any step the glint rests with its right edge at 0.
    ProgressPaint p = PlanProgressPaint(200, s);
    EXPECT_TRUE(p.glintShown);
    EXPECT_EQ(p.glintX + kGlintWidth, 0);
    std::vector<int> xs;
    for (int i = 0; i < 30 && s.glintX != kGlintRest; ++i) {
        ASSERT_TRUE(ProgressStep(200, s));
        EXPECT_EQ(s.fillEnd, 119);
        xs.push_back(s.glintX);
        p = PlanProgressPaint(200, s);
        if (s.glintX == kGlintRest) break;
        EXPECT_EQ(p.glintX, s.glintX);
        // Near the end of the fill only the part before it is drawn.
        EXPECT_EQ(p.glintWidth, s.glintX + kGlintWidth > 119 ? 119 - s.glintX : 0);
    }
    ASSERT_GE(xs.size(), 3u);
    EXPECT_EQ(xs[0], -113);
    EXPECT_EQ(xs[1], -103);
    // 117 is the last left edge before the end; the next step rests it.
    EXPECT_EQ(xs[xs.size() - 2], 117);
    EXPECT_EQ(xs.back(), kGlintRest);
    // 73 steps later it is still out of sight, after 74 it shows again.
    for (int i = 0; i < 73; ++i) ProgressStep(200, s);
    EXPECT_LE(s.glintX + kGlintWidth, 0);
    ProgressStep(200, s);
    EXPECT_GT(s.glintX + kGlintWidth, 0);
}

TEST(ProgressPlan, StepSaturatesTheFillEndAndTheGlintNeverOverflows) {
    ProgressState s;
    s.max = 1;
    s.value = 2000000;  // 400 million pixels at 200 px per unit
    s.glintX = 32760;
    ASSERT_TRUE(ProgressStep(200, s));
    EXPECT_EQ(s.fillEnd, 32767);
    EXPECT_EQ(s.glintX, kGlintRest);  // 32770 is past the end
    s.value = -2000000;
    s.max = 1;
    ASSERT_TRUE(ProgressStep(200, s));
    EXPECT_EQ(s.fillEnd, -32768);
    EXPECT_EQ(s.glintX, kGlintRest);
}

}  // namespace
