#pragma once
// The rows of the tab's chamfered fills: one horizontal line per row, the
// top corners cut at 45 degrees by the radius. The Windows side draws each row
// as a line from x1 up to (not including) x2.
#include <cstdint>
#include <vector>

namespace lumio::tab {

struct FillRect {
    int32_t left, top, right, bottom;
};

struct FillRow {
    int32_t y, x1, x2;
    int32_t colour;  // RGB
};

// Rows top..bottom blending start to end (RGB), the last row in the end
// colour. Radius -1 squares the corners; with cutLeft false only the right
// corner is cut, whatever cutRight says. A rectangle without height gives one
// row in the start colour. Only rows 0..clipBottom are returned (each in the
// colour it has in the whole fill), so a huge rectangle costs no more than
// the surface.
std::vector<FillRow> CurvedGradientRows(const FillRect& rect, int32_t startRgb, int32_t endRgb, int16_t radius,
                                        bool cutLeft, bool cutRight, int32_t clipBottom);

// The same rows in one colour.
std::vector<FillRow> CurvedSolidRows(const FillRect& rect, int32_t rgb, int16_t radius, bool cutLeft, bool cutRight,
                                     int32_t clipBottom);

}  // namespace lumio::tab
