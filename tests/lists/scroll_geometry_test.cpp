#include <gtest/gtest.h>

#include <limits>

#include "scroll_geometry.h"

namespace {

using namespace lumio::lists;

TEST(ScrollLayout, CasesByLength) {
    struct Case {
        int32_t w, h;
        bool horizontal, buttons;
        PartRect tl, br;
        bool track;
        int32_t trackStart, trackLength;
    } cases[] = {
        // 2B + 8 = 44: the shortest bar with a track.
        {17, 44, false, true, {0, 0, 17, 18}, {0, 26, 17, 44}, true, 18, 8},
        // Buttons only, a 7-pixel gap between them.
        {17, 43, false, true, {0, 0, 17, 18}, {0, 25, 17, 43}, false, 18, 7},
        {17, 36, false, true, {0, 0, 17, 18}, {0, 18, 17, 36}, false, 18, 0},
        // Odd length: the middle row belongs to neither half button.
        {17, 35, false, true, {0, 0, 17, 17}, {0, 18, 17, 35}, false, 17, 1},
        {17, 0, false, true, {0, 0, 17, 0}, {0, 0, 17, 0}, false, 0, 0},
        // Horizontal: the axes exchanged.
        {100, 17, true, true, {0, 0, 18, 17}, {82, 0, 100, 17}, true, 18, 64},
        {35, 17, true, true, {0, 0, 17, 17}, {18, 0, 35, 17}, false, 17, 1},
        // Without buttons a bar of 8 or more is all track.
        {17, 8, false, false, {0, 0, 17, 0}, {0, 8, 17, 8}, true, 0, 8},
        {17, 7, false, false, {0, 0, 17, 0}, {0, 7, 17, 7}, false, 0, 7},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.w << "x" << c.h << (c.horizontal ? " h" : " v") << c.buttons);
        ScrollLayout l = LayoutParts(c.w, c.h, c.horizontal, c.buttons);
        EXPECT_EQ(l.tlButton, c.tl);
        EXPECT_EQ(l.brButton, c.br);
        EXPECT_EQ(l.trackShown, c.track);
        EXPECT_EQ(l.trackStart, c.trackStart);
        EXPECT_EQ(l.trackLength, c.trackLength);
    }
}

TEST(ScrollLayout, DragZoneIsWideAcrossAndShortAlong) {
    EXPECT_EQ(LayoutParts(17, 100, false, true).dragZone, (PartRect{-250, -25, 267, 125}));
    EXPECT_EQ(LayoutParts(100, 17, true, true).dragZone, (PartRect{-25, -250, 125, 267}));
}

TEST(ScrollThumb, SizeCases) {
    struct Case {
        int32_t track;
        int64_t range;
        int32_t large, size;
    } cases[] = {
        {100, 100, 10, 9},          // 100 \ 11
        {100, 100, 1000, 100},      // fills the track
        {100, 100, 1, 8},           // never below 8
        {100, 100, 0, 8},           // LargeChange 0 from a bag
        {100, -1, -1, 50},          // -1 \ -1 + 1 = 2
        {100, -2, 1, 8},            // negative page count
        {100, -1, 1, 8},            // zero pages
        {100, 4294967295LL, 1, 8},  // Min -2^31, Max 2^31 - 1
        {100, 4294967295LL, 2147483647, 33},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ThumbSize(c.track, c.range, c.large), c.size) << c.track << " " << c.range << " " << c.large;
}

TEST(ScrollThumb, PositionAndValueRoundTrip) {
    ScrollLayout l = LayoutParts(17, 136, false, true);  // track 18..118, length 100
    ASSERT_EQ(l.trackLength, 100);
    struct Case {
        int64_t range;
        int32_t min, value, size, pos, back;
    } cases[] = {
        {100, 0, 0, 9, 18, 0},
        {100, 0, 100, 9, 109, 100},
        {100, 0, 50, 9, 64, 51},  // 18 + 45.5 -> 64 (half to even); 46 / 91 * 100 -> 51
        {100, 0, 30, 9, 45, 30},  // 18 + 27.3
        {0, 5, 5, 100, 18, 0},    // empty range: the track start
        {4294967295LL, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max(), 8, 110,
         std::numeric_limits<int32_t>::max()},
        {4294967295LL, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::min(), 8, 18,
         std::numeric_limits<int32_t>::min()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.range << " " << c.value);
        EXPECT_EQ(ThumbPosFromValue(l, c.size, c.range, c.min, c.value), c.pos);
        if (c.range != 0) {
            EXPECT_EQ(ValueFromThumbPos(l, c.size, c.range, c.min, c.pos, -7), c.back);
        }
    }
    // A thumb filling the track has no position to value mapping: the fallback.
    EXPECT_EQ(ValueFromThumbPos(l, 100, 100, 0, 18, 42), 42);
}

TEST(ScrollThumb, PlacedPartsAndHitTest) {
    ScrollLayout l = LayoutParts(17, 136, false, true);
    PlaceThumb(l, false, 40, 9, 17);
    EXPECT_EQ(l.tlTrack, (PartRect{0, 18, 17, 40}));
    EXPECT_EQ(l.thumb, (PartRect{0, 40, 17, 49}));
    EXPECT_EQ(l.brTrack, (PartRect{0, 49, 17, 118}));
    struct Case {
        int32_t x, y;
        int part;
    } cases[] = {{0, 0, kPartTLButton}, {16, 17, kPartTLButton}, {17, 0, kPartNone}, {0, 18, kPartTLTrack},
                 {5, 39, kPartTLTrack}, {5, 40, kPartThumb},     {5, 48, kPartThumb}, {5, 49, kPartBRTrack},
                 {5, 118, kPartBRButton}, {5, 135, kPartBRButton}, {5, 136, kPartNone}, {-1, 50, kPartNone}};
    for (const auto& c : cases) EXPECT_EQ(HitTest(l, c.x, c.y), c.part) << c.x << "," << c.y;

    ScrollLayout h = LayoutParts(136, 17, true, true);
    PlaceThumb(h, true, 40, 9, 17);
    EXPECT_EQ(h.tlTrack, (PartRect{18, 0, 40, 17}));
    EXPECT_EQ(h.thumb, (PartRect{40, 0, 49, 17}));
    EXPECT_EQ(h.brTrack, (PartRect{49, 0, 118, 17}));

    // Without a track, no segments and no thumb to hit.
    ScrollLayout s = LayoutParts(17, 43, false, true);
    PlaceThumb(s, false, 18, 8, 17);
    EXPECT_EQ(s.thumb, PartRect{});
    EXPECT_EQ(HitTest(s, 5, 20), kPartNone);
}

}  // namespace
