#include <gtest/gtest.h>

#include "imaging/region_rects.h"
#include "surface_fixture.h"

using namespace lumio;
using test::Paint;
using test::Px;

namespace {
constexpr Px O{1, 1, 1, 255}, H{0, 0, 0, 1}, _{0, 0, 0, 0};  // opaque, barely opaque, clear
}

TEST(RegionRects, StylesOfOneRow) {
    MemorySurface s;
    Paint(s, {{O, _, O}});
    EXPECT_EQ(RegionRectsFromAlpha(s, kRegionExactRuns), (std::vector<RegionRect>{{0, 0, 1, 1}, {2, 0, 3, 1}}));
    EXPECT_EQ(RegionRectsFromAlpha(s, kRegionRowSpans), (std::vector<RegionRect>{{0, 0, 3, 1}}));
    EXPECT_EQ(OpaqueBounds(s), (RegionRect{0, 0, 3, 1}));
    EXPECT_TRUE(RegionRectsFromAlpha(s, kRegionBoundingBox).empty()) << "style 0 is a box, not a list";
    EXPECT_TRUE(RegionRectsFromAlpha(s, 3).empty());
}

TEST(RegionRects, RowsFromTheBottomUp) {
    MemorySurface s;
    Paint(s, {
                 {_, _, _, _, _},
                 {_, H, H, _, O},  // alpha 1 counts as opaque
                 {_, _, _, _, _},
                 {O, O, _, _, _},
             });
    EXPECT_EQ(RegionRectsFromAlpha(s, kRegionExactRuns),
              (std::vector<RegionRect>{{0, 3, 2, 4}, {1, 1, 3, 2}, {4, 1, 5, 2}}));
    EXPECT_EQ(RegionRectsFromAlpha(s, kRegionRowSpans), (std::vector<RegionRect>{{0, 3, 2, 4}, {1, 1, 5, 2}}));
    EXPECT_EQ(OpaqueBounds(s), (RegionRect{0, 1, 5, 4}));
}

TEST(RegionRects, OneColumnAndNothingOpaque) {
    MemorySurface s;
    Paint(s, {{_, _, O, _}, {_, _, _, _}, {_, _, O, _}});
    EXPECT_EQ(OpaqueBounds(s), (RegionRect{2, 0, 3, 3}));
    EXPECT_EQ(RegionRectsFromAlpha(s, kRegionExactRuns), (std::vector<RegionRect>{{2, 2, 3, 3}, {2, 0, 3, 1}}));

    Paint(s, {{_, _}, {_, _}});
    EXPECT_FALSE(OpaqueBounds(s).has_value());
    EXPECT_TRUE(RegionRectsFromAlpha(s, kRegionRowSpans).empty());
    EXPECT_TRUE(RegionRectsFromAlpha(s, kRegionExactRuns).empty());
    MemorySurface none;
    EXPECT_FALSE(OpaqueBounds(none).has_value());
}

TEST(RegionDataBlock, HeaderHoldsTheTrueBounds) {
    // Collected from the bottom up, so the first rectangle is the lowest.
    const std::vector<RegionRect> rects = {{3, 9, 4, 10}, {1, 5, 6, 6}, {2, 2, 3, 3}};
    const std::vector<std::int32_t> block = RegionDataBlock(rects, 0, 8);
    const std::vector<std::int32_t> header = {32, 1, 3, 48, 0, 2, 8, 10};
    ASSERT_EQ(block.size(), 8u + 12u);
    EXPECT_EQ(std::vector<std::int32_t>(block.begin(), block.begin() + 8), header);
    EXPECT_EQ(std::vector<std::int32_t>(block.begin() + 8, block.begin() + 12), (std::vector<std::int32_t>{3, 9, 4, 10}));
    EXPECT_EQ(block.back(), 3);
}
