// Row height, whole rows, rectangles and drag-scroll pacing.
#include <gtest/gtest.h>

#include "list_geometry.h"

namespace {

using namespace lumio::lists;

TEST(ListGeometry, RowHeightAndWholeRows) {
    struct Case {
        bool autoHeight;
        int32_t itemHeight, text, row;
    } cases[] = {{false, 5, 16, 16}, {false, 24, 16, 24}, {true, 24, 16, 16}, {true, 5, 16, 16}, {false, 16, 16, 16}};
    for (const auto& c : cases) EXPECT_EQ(RowHeightFor(c.autoHeight, c.itemHeight, c.text), c.row);
    // 3.5 rows of 16 shrink to 3, plus 4 pixels for a border.
    EXPECT_EQ(VisibleRowsFor(56, 16), 3);
    EXPECT_EQ(InnerHeightFor(3, 16, 1), 52);
    EXPECT_EQ(InnerHeightFor(3, 16, 0), 48);
    EXPECT_EQ(VisibleRowsFor(15, 16), 0);
    EXPECT_EQ(VisibleRowsFor(100, 0), 0);
}

TEST(ListGeometry, RectsWithBorderOffsetAndBar) {
    RowRects r = CalcItemRects(3, 16, 1, 2, 1, 100);
    ASSERT_EQ(r.rows.size(), 3u);
    EXPECT_EQ(r.rows[0], (ListRect{2, 2, 100, 18}));
    EXPECT_EQ(r.rows[2], (ListRect{2, 34, 100, 50}));
    EXPECT_EQ(r.texts[1], (ListRect{5, 19, 99, 33}));
    SetRectsRight(r, 17, 1, 1, 100);
    EXPECT_EQ(r.rows[1].right, 81);
    EXPECT_EQ(r.texts[1].right, 80);
    SetRectsRight(r, 0, 1, 1, 100);
    EXPECT_EQ(r.rows[1].right, 98);
    EXPECT_TRUE(CalcItemRects(0, 16, 0, 2, 0, 50).rows.empty());
}

TEST(ListGeometry, DragIntervals) {
    struct Case {
        int32_t y, h, up, down;
    } cases[] = {
        {-1, 0, 480, 0}, {-10, 0, 300, 0}, {-22, 0, 60, 0}, {-23, 0, 40, 0}, {-500, 0, 40, 0},
        {101, 100, 0, 500}, {111, 100, 0, 300}, {124, 100, 0, 40}, {100000, 100, 0, 40},
    };
    for (const auto& c : cases) {
        if (c.up) {
            EXPECT_EQ(DragIntervalUp(c.y), c.up) << c.y;
        } else {
            EXPECT_EQ(DragIntervalDown(c.y, c.h), c.down) << c.y;
        }
    }
}

}  // namespace
