#pragma once
// Row geometry of a list box: row height, whole visible rows, row and text
// rectangles, and the pacing of drag-scrolling beyond the edges.
#include <cstdint>
#include <vector>

namespace lumio::lists {

struct ListRect {
    int32_t left = 0, top = 0, right = 0, bottom = 0;
    bool operator==(const ListRect&) const = default;
};

// The text height of one line, or ItemHeight when that is at least as tall
// (ItemHeightAuto off).
int32_t RowHeightFor(bool itemHeightAuto, int32_t itemHeight, int32_t textHeight);

// Whole rows in an inner height (no row at all below one row height).
int32_t VisibleRowsFor(int32_t innerHeight, int32_t rowHeight);

// Inner height that shows exactly `rows` rows with the border's allowance.
int32_t InnerHeightFor(int32_t rows, int32_t rowHeight, int32_t border);

struct RowRects {
    std::vector<ListRect> rows, texts;
};

// Rectangles of each visible row position; border b is 0 or 1, W the inner width.
RowRects CalcItemRects(int32_t visibleRows, int32_t rowHeight, int32_t itemOffset, int32_t itemTextLeft,
                       int32_t border, int32_t innerWidth);
// Right edges leaving barWidth pixels for the bar (0: none).
void SetRectsRight(RowRects& rects, int32_t barWidth, int32_t itemOffset, int32_t border, int32_t innerWidth);

// Milliseconds between drag-scroll steps with the pointer at y, above the top
// (y < 0) or below an inner height of h (y > h): 500 at the edge, 20 less per
// pixel further out, 40 at least.
int32_t DragIntervalUp(int32_t y);
int32_t DragIntervalDown(int32_t y, int32_t h);

// The wheel's whole-word values that move by one row; anything else is ignored.
inline constexpr uint32_t kWheelNotchUp = 0x00780000u;
inline constexpr uint32_t kWheelNotchDown = 0xFF880000u;

}  // namespace lumio::lists
