#include "tab_fill_rows.h"

#include <algorithm>

#include "basic_arith.h"
#include "run_time_error.h"
#include "tab_colours.h"

namespace lumio::tab {

namespace {

// The running channel values; single precision as the painters always had.
struct Running {
    float value[3];
    float step[3];

    int32_t Colour() const {
        return RoundToLong(value[0]) | (RoundToLong(value[1]) << 8) | (RoundToLong(value[2]) << 16);
    }
    void Advance() {
        for (int c = 0; c < 3; ++c) value[c] += step[c];
    }
};

int32_t ToLong(int64_t v) {
    if (v < INT32_MIN || v > INT32_MAX) Raise(kErrOverflow);
    return static_cast<int32_t>(v);
}

template <typename ColourAt>
std::vector<FillRow> Rows(const FillRect& r, int16_t radius, bool cutLeft, bool cutRight, int32_t clipBottom,
                          ColourAt&& colourAt) {
    std::vector<FillRow> rows;
    int64_t last = std::min<int64_t>(r.bottom, clipBottom);
    int32_t inset = radius;
    for (int64_t y = r.top; y <= last; ++y) {
        int64_t x1 = r.left, x2 = r.right;
        if (radius != -1) {
            if (cutLeft) x1 = int64_t{r.left} + inset + 1;
            if (cutLeft && !cutRight) x2 = r.right;
            else x2 = int64_t{r.right} - inset;
        }
        int32_t colour = colourAt();
        if (y >= 0) rows.push_back({static_cast<int32_t>(y), ToLong(x1), ToLong(x2), colour});
        if (inset > 0) --inset;
    }
    return rows;
}

}  // namespace

std::vector<FillRow> CurvedGradientRows(const FillRect& rect, int32_t startRgb, int32_t endRgb, int16_t radius,
                                        bool cutLeft, bool cutRight, int32_t clipBottom) {
    Running run{};
    int32_t start[3] = {pGetRValue(startRgb), pGetGValue(startRgb), pGetBValue(startRgb)};
    int32_t end[3] = {pGetRValue(endRgb), pGetGValue(endRgb), pGetBValue(endRgb)};
    float height = static_cast<float>(int64_t{rect.bottom} - rect.top);
    for (int c = 0; c < 3; ++c) {
        run.value[c] = static_cast<float>(start[c]);
        // No height: one row in the start colour rather than a division error.
        run.step[c] = height == 0 ? 0.0f : static_cast<float>(end[c] - start[c]) / height;
    }
    return Rows(rect, radius, cutLeft, cutRight, clipBottom, [&run] {
        int32_t colour = run.Colour();
        run.Advance();
        return colour;
    });
}

std::vector<FillRow> CurvedSolidRows(const FillRect& rect, int32_t rgb, int16_t radius, bool cutLeft, bool cutRight,
                                     int32_t clipBottom) {
    return Rows(rect, radius, cutLeft, cutRight, clipBottom, [rgb] { return rgb; });
}

}  // namespace lumio::tab
