#include "text_box_plan.h"

namespace lumio::lists {

uint32_t EditStyle(bool multiLine, int32_t scrollBars) {
    uint32_t style = kWsChildTabStop | kEsAutoHScroll | kEsAutoVScroll;
    if (!multiLine) return style;
    style |= kEsMultiLine;
    if (scrollBars == kScrollHorizontal || scrollBars == kScrollBoth) style |= kWsHScroll;
    if (scrollBars == kScrollVertical || scrollBars == kScrollBoth) style |= kWsVScroll;
    if (scrollBars == kScrollVertical) style &= ~kEsAutoHScroll;
    return style;
}

BoxRect DesignTextRect(int32_t width, int32_t height, int32_t border) {
    return {border + 2, border, width - border - 2, height - border};
}

EditPlace EditPlacement(int32_t width, int32_t height, int32_t border) {
    return {border, border, width - 2 * border, height - 2 * border};
}

bool MouseTrail::Moved(int32_t x, int32_t y) {
    if (x == x_ && y == y_) return false;
    x_ = x;
    y_ = y;
    return true;
}

std::size_t FaceNameKeep(const char16_t* name, std::size_t length) {
    if (length <= kFaceUnits) return length;
    std::size_t keep = kFaceUnits;
    // A high surrogate as the last unit kept would lose its partner.
    if (name[keep - 1] >= 0xD800 && name[keep - 1] <= 0xDBFF) --keep;
    return keep;
}

}  // namespace lumio::lists
