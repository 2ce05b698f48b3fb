#pragma once
// The group box's geometry and colours: the defaults a new one takes from the
// host's back colour, the panel look's lines and gradient bands, and the
// classic look's caption gap.
#include <array>
#include <cstdint>

#include "button_layout.h"
#include "gradient_rows.h"

namespace lumio::buttons {

struct GroupBoxShades {
    int32_t backColor2, borderColor, headColor2;  // RGB
};
// back and head are the RGB values of BackColor and HeadColor1.
GroupBoxShades GroupBoxDefaults(int32_t back, int32_t head);

// A line from (x1, y1) towards (x2, y2), the end point itself left out.
struct LineSpan {
    int32_t x1, y1, x2, y2;
    bool operator==(const LineSpan&) const = default;
};

// The panel look (any Appearance but 0) on a width x height surface.
struct FramePlan {
    std::array<LineSpan, 4> border;  // top, left, bottom, right
    LineSpan separator;              // under the header
    GradientV header, body;          // rows y1..y2, the x range x1..x2 - 1
    Box caption;                     // when there is a caption
};
FramePlan PlanFrame(int32_t width, int32_t height, int32_t headerHeight, int32_t head1, int32_t head2,
                    int32_t back1, int32_t back2);

// The rows of a band that lie on a surface of the given height: [first, last],
// empty (first > last) when none does. A band far outside costs nothing.
struct RowRange {
    int32_t first, last;
};
RowRange VisibleRows(const GradientV& band, int32_t height);

// DrawText flags of the panel's caption: one line, centred vertically, ended
// with an ellipsis; an alignment outside 0-2 draws left.
uint32_t FrameCaptionFlags(int32_t alignment);

// The classic look's caption box for a caption TW x TH on a surface W wide;
// false (box untouched) for an alignment outside 0-2.
bool GroupCaptionBox(int32_t alignment, int32_t width, int32_t textWidth, int32_t textHeight, Box& box);

}  // namespace lumio::buttons
