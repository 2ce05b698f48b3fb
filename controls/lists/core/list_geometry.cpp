#include "list_geometry.h"

#include <algorithm>

namespace lumio::lists {

int32_t RowHeightFor(bool itemHeightAuto, int32_t itemHeight, int32_t textHeight) {
    if (itemHeightAuto) return textHeight;
    return itemHeight >= textHeight ? itemHeight : textHeight;
}

int32_t VisibleRowsFor(int32_t innerHeight, int32_t rowHeight) {
    if (rowHeight <= 0 || innerHeight <= 0) return 0;
    return innerHeight / rowHeight;
}

int32_t InnerHeightFor(int32_t rows, int32_t rowHeight, int32_t border) {
    const int64_t h = static_cast<int64_t>(rows) * rowHeight + 4 * static_cast<int64_t>(border);
    return static_cast<int32_t>(std::clamp<int64_t>(h, 0, INT32_MAX));
}

RowRects CalcItemRects(int32_t visibleRows, int32_t h, int32_t o, int32_t t, int32_t b, int32_t w) {
    RowRects r;
    const int32_t n = std::max(visibleRows, 0);
    r.rows.resize(static_cast<size_t>(n));
    r.texts.resize(static_cast<size_t>(n));
    for (int32_t i = 0; i < n; ++i) {
        const int32_t top = i * h + 2 * b, bottom = (i + 1) * h + 2 * b;
        r.rows[static_cast<size_t>(i)] = {2 * b, top, w, bottom};
        r.texts[static_cast<size_t>(i)] = {o + t + 2 * b, top + o, w - o, bottom - o};
    }
    return r;
}

void SetRectsRight(RowRects& rects, int32_t barWidth, int32_t o, int32_t b, int32_t w) {
    for (auto& r : rects.rows) r.right = w - barWidth - 2 * b;
    for (auto& r : rects.texts) r.right = w - o - barWidth - 2 * b;
}

int32_t DragIntervalUp(int32_t y) {
    return static_cast<int32_t>(std::max<int64_t>(40, 500 + 20 * static_cast<int64_t>(y)));
}

int32_t DragIntervalDown(int32_t y, int32_t h) {
    return static_cast<int32_t>(std::max<int64_t>(40, 500 - 20 * (static_cast<int64_t>(y) - h - 1)));
}

}  // namespace lumio::lists
