#include <gtest/gtest.h>

#include "scroll_skin_plan.h"

namespace {

using namespace lumio::lists;

const SkinCopy* Find(const std::vector<SkinCopy>& plan, int skin) {
    for (const auto& c : plan)
        if (c.skin == skin) return &c;
    return nullptr;
}

TEST(ScrollSkinPlan, StateCellsPickTheirSourceOffsets) {
    struct Case {
        const char* what;
        std::vector<SkinCopy> plan;
        int skin;
        int32_t sx, sy;
    } cases[] = {
        {"horizontal track pressed", PlanTrack(1, 1, {18, 0, 60, 17}), kSkinBackH, 2, 0},
        {"vertical track pressed", PlanTrack(0, 1, {0, 18, 17, 60}), kSkinBackV, 0, 2},
        {"vertical thumb disabled", PlanThumb(0, 3, {0, 30, 17, 60}), kSkinThumbV, 51, 0},
        {"vertical grip disabled", PlanThumb(0, 3, {0, 30, 17, 60}), kSkinGripV, 0, 30},
        {"horizontal thumb hot", PlanThumb(1, 1, {30, 0, 60, 17}), kSkinThumbH, 0, 17},
        {"horizontal grip dragged", PlanThumb(1, 2, {30, 0, 60, 17}), kSkinGripH, 0, 18},
        {"left button pressed", PlanTLButton(1, 3, {0, 0, 18, 17}), kSkinArrowH, 54, 0},
        {"left glyph pressed", PlanTLButton(1, 3, {0, 0, 18, 17}), kSkinArrowHL, 54, 0},
        {"down glyph disabled", PlanBRButton(0, 4, {0, 100, 17, 118}), kSkinArrowVB, 0, 72},
        {"up glyph, any other orientation is vertical", PlanTLButton(7, 2, {0, 0, 17, 18}), kSkinArrowVT, 0, 36},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const SkinCopy* copy = Find(c.plan, c.skin);
        ASSERT_NE(copy, nullptr);
        EXPECT_EQ(copy->sx, c.sx);
        EXPECT_EQ(copy->sy, c.sy);
    }
}

TEST(ScrollSkinPlan, GripFromSixteenPixelsCentred) {
    EXPECT_EQ(Find(PlanThumb(0, 0, {0, 40, 17, 55}), kSkinGripV), nullptr);
    const auto plan = PlanThumb(0, 0, {0, 40, 17, 56});
    const SkinCopy* grip = Find(plan, kSkinGripV);
    ASSERT_NE(grip, nullptr);
    EXPECT_TRUE(grip->masked);
    EXPECT_EQ(grip->dx, 4);   // (17 - 9) / 2
    EXPECT_EQ(grip->dy, 43);  // 40 + 3
    // Halves go to even: 40 + 6.5 -> 46.
    const auto odd = PlanThumb(0, 0, {0, 40, 17, 63});
    ASSERT_NE(Find(odd, kSkinGripV), nullptr);
    EXPECT_EQ(Find(odd, kSkinGripV)->dy, 46);
    const auto horizontal = PlanThumb(1, 0, {30, 0, 47, 17});
    const SkinCopy* h = Find(horizontal, kSkinGripH);
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(h->dx, 34);  // 30 + 3.5 -> 34
    EXPECT_EQ(h->dy, 4);
}

TEST(ScrollSkinPlan, MinimumThumbKeepsCornersAndStretchesTwoPixels) {
    const auto plan = PlanThumb(0, 0, {0, 50, 17, 58});
    ASSERT_EQ(plan.size(), 9u);
    const SkinCopy centre{kSkinThumbV, true, false, 3, 3, 11, 9, 3, 53, 11, 2};
    EXPECT_EQ(plan[5], centre);
    EXPECT_EQ(plan[6], (SkinCopy{kSkinThumbV, false, false, 0, 12, 3, 3, 0, 55, 3, 3}));
}

TEST(ScrollSkinPlan, SlicesBelowOnePixelAreLeftOut) {
    // A bar 5 pixels thick: the stretched middle would be -1 wide.
    const auto track = PlanTrack(0, 0, {0, 18, 5, 60});
    EXPECT_EQ(track.size(), 2u);
    // An empty thumb draws only its fixed corners.
    const auto thumb = PlanThumb(1, 0, {30, 0, 30, 0});
    for (const auto& c : thumb) EXPECT_FALSE(c.stretch);
    // A button always draws 18 pixels along from its start, whatever its length.
    const auto button = PlanBRButton(0, 0, {0, 18, 17, 35});
    EXPECT_EQ(button[2].dh, 18);
    EXPECT_EQ(button[3].dy, 18);
}

}  // namespace
