#include <gtest/gtest.h>

#include "menu_layout.h"

using namespace lumio;

namespace {

TEST(MenuLayout, ItemsWrapToANewRowSixBelowTheText) {
    std::vector<FrameBox> cells;
    // Text widths 60, 70, 50, 30 at height 13 in a strip 200 wide: 72 + 82 = 154, +62 = 216 wraps.
    const int32_t height = LayoutMenuCells({{60, 13}, {70, 13}, {50, 13}, {30, 13}}, 200, cells);
    ASSERT_EQ(cells.size(), 4u);
    EXPECT_EQ(cells[0], (FrameBox{0, 0, 72, 19}));
    EXPECT_EQ(cells[1], (FrameBox{72, 0, 154, 19}));
    EXPECT_EQ(cells[2], (FrameBox{0, 19, 62, 38})) << "6 below the first row's text";
    EXPECT_EQ(cells[3], (FrameBox{62, 19, 104, 38}));
    EXPECT_EQ(height, 38);

    EXPECT_EQ(LayoutMenuCells({{300, 13}}, 200, cells), 19) << "a first item too wide stays in its row";
    EXPECT_EQ(cells[0], (FrameBox{0, 0, 312, 19}));
    EXPECT_EQ(LayoutMenuCells({{60, 13}, {116, 13}}, 200, cells), 38) << "reaching the width exactly wraps";
    EXPECT_EQ(LayoutMenuCells({}, 200, cells), 0);
    EXPECT_TRUE(cells.empty());
}

TEST(MenuLayout, ItemFromPoint) {
    std::vector<FrameBox> cells;
    LayoutMenuCells({{60, 13}, {70, 13}, {50, 13}}, 200, cells);
    const struct {
        int32_t x, y, item;
    } cases[] = {{0, 0, 1}, {71, 18, 1}, {72, 0, 2}, {153, 5, 2}, {154, 5, 0}, {10, 19, 3}, {70, 30, 0}, {-1, 5, 0}};
    for (const auto& c : cases) EXPECT_EQ(MenuCellFromPoint(cells, c.x, c.y), c.item) << c.x << "," << c.y;
}

TEST(MenuMnemonics, AccessKeysSkipDoubledAmpersandsAndDisabledItems) {
    const std::string keys = BuildMnemonics({"&File", "&Edit", "Save && Exit", "a&&b&C", "&", "&View"},
                                            {false, false, false, false, false, true});
    EXPECT_EQ(keys, std::string("fe\0c\0\0", 6));
}

TEST(MenuMnemonics, SharedKeysMoveToTheNextItem) {
    const std::string keys("fefxf", 5);
    const struct {
        char ch;
        int32_t after, found;
    } cases[] = {{'f', -1, 0}, {'F', -1, 0}, {'f', 0, 2}, {'f', 2, 4}, {'f', 4, 0},
                 {'e', 3, 1},  {'x', -1, 3}, {'q', -1, -1}, {'\0', -1, -1}};
    for (const auto& c : cases) EXPECT_EQ(FindMnemonic(keys, c.ch, c.after), c.found) << c.ch << " " << c.after;
}

TEST(MenuNavigation, NextMenuIndex) {
    const struct {
        int32_t hot, count;
        bool left, wrapToSystem;
        int32_t next;
        bool oneShot;
    } cases[] = {
        {-2, 3, false, true, 0, true},   {-2, 3, true, true, 2, true},    {-2, 0, false, true, -1, false},
        {0, 3, true, true, -99, false},  {2, 3, false, true, -99, false}, {0, 3, true, false, 2, false},
        {2, 3, false, false, 0, false},  {1, 3, true, true, 0, false},    {1, 3, false, false, 2, false},
    };
    for (const auto& c : cases) {
        bool oneShot = false;
        EXPECT_EQ(NextMenuIndex(c.hot, c.count, c.left, c.wrapToSystem, oneShot), c.next)
            << c.hot << " " << c.left << " " << c.wrapToSystem;
        EXPECT_EQ(oneShot, c.oneShot);
    }
}

}  // namespace
