#include "group_box_layout.h"

#include <algorithm>

#include "basic_arith.h"
#include "shade_color.h"

namespace lumio::buttons {

namespace {
constexpr uint32_t kVCentre = 0x4, kSingleLine = 0x20, kEndEllipsis = 0x8000;
constexpr float kHeaderSplit = 60, kBodySplit = 50;
}  // namespace

GroupBoxShades GroupBoxDefaults(int32_t back, int32_t head) {
    return {pShadeColor(back, -100), pShadeColor(back, -350), pShadeColor(head, -200)};
}

FramePlan PlanFrame(int32_t width, int32_t height, int32_t headerHeight, int32_t head1, int32_t head2,
                    int32_t back1, int32_t back2) {
    const int32_t W = width, H = height, HH = headerHeight;
    FramePlan p;
    p.border = {LineSpan{0, 0, W - 1, 0}, LineSpan{0, 0, 0, H - 1}, LineSpan{0, H - 1, W, H - 1},
                LineSpan{W - 1, 0, W - 1, H}};
    p.separator = {0, CheckedAdd(HH, 1), W - 1, CheckedAdd(HH, 1)};
    float split = kHeaderSplit;
    p.header = PlanGradientV(head1, head2, split, 1, 1, W - 1, HH, W, H);
    split = kBodySplit;
    p.body = PlanGradientV(back1, back2, split, 1, CheckedAdd(HH, 2), W - 1, H - 2, W, H);
    p.caption = {6, 1, W - 6, HH};
    return p;
}

RowRange VisibleRows(const GradientV& band, int32_t height) {
    if (band.Empty()) return {0, -1};
    return {std::max(band.y1, 0), std::min(band.y2, height - 1)};
}

uint32_t FrameCaptionFlags(int32_t alignment) {
    const uint32_t horizontal = alignment >= 0 && alignment <= 2 ? static_cast<uint32_t>(alignment) : 0;
    return horizontal | kVCentre | kSingleLine | kEndEllipsis;
}

bool GroupCaptionBox(int32_t alignment, int32_t width, int32_t textWidth, int32_t textHeight, Box& box) {
    switch (alignment) {
    case 0:
        box = {6, 0, CheckedAdd(textWidth, 12), textHeight};
        return true;
    case 1: {
        const int32_t left = IntDiv(CheckedSub(CheckedSub(width, textWidth), 6), 2);
        box = {left, 0, width - left, textHeight};
        return true;
    }
    case 2:
        box = {CheckedSub(CheckedSub(width, textWidth), 12), 0, width - 6, textHeight};
        return true;
    default:
        return false;
    }
}

}  // namespace lumio::buttons
