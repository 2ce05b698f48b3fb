#pragma once
// The status bar's arithmetic: its top shading, when the size grip shows,
// where the grip and the text go, and whether a point is over the grip.
#include <cstdint>

#include "gradient_rows.h"

namespace lumio::lists {

inline constexpr int32_t kStatusBarHeight = 23;  // a new bar's height in pixels
inline constexpr int32_t kStatusBack = 0xF4F4F4;  // RGB(244, 244, 244)
inline constexpr int32_t kStatusShadeTop = 0xD7D7D7;  // RGB(215, 215, 215)
inline constexpr int32_t kGripSize = 17;
inline constexpr int32_t kStatusTextLeft = 5;

struct StatusRect {
    int32_t left = 0, top = 0, right = 0, bottom = 0;
    bool Empty() const { return right <= left || bottom <= top; }
};

// The shading rows 0 to 6 across the bar, drawn one line per row through x = width.
GradientV StatusShading(int32_t width, int32_t height);

// What the grip test reads of the parent form and of the bar's extender, in
// the container's own scale.
struct GripFacts {
    int32_t formBorderStyle = 0;
    int32_t formWindowState = 0;
    double formScaleWidth = 0, formScaleHeight = 0;
    double barTop = 0, barWidth = 0, barHeight = 0;
};

// A sizable form in its normal state with the bar flush at its bottom and as wide as it.
bool GripShown(const GripFacts& f);

// The grip's hot area, empty when it is not shown.
StatusRect GripRect(int32_t width, int32_t height, bool shown);
// Where the grip bitmap's top-left corner goes.
inline int32_t GripLeft(int32_t width) { return width - (kGripSize + 1); }
inline int32_t GripTop(int32_t height) { return height - (kGripSize + 1); }

// The simple text's rectangle: from x 5 to the grip's width before the right edge.
StatusRect StatusTextRect(int32_t width, int32_t height, const StatusRect& grip);

// Strictly inside the grip's hot area.
bool OverGrip(const StatusRect& grip, float x, float y);

}  // namespace lumio::lists
