#include "progress_plan.h"

#include <cmath>
#include <limits>

namespace lumio::lists {
namespace {

// Nearest integer, halves to even (the default rounding mode).
double Round(double v) { return std::nearbyint(v); }

bool FitsLong(double v) {
    return v >= static_cast<double>(std::numeric_limits<int32_t>::min()) &&
           v <= static_cast<double>(std::numeric_limits<int32_t>::max());
}

}  // namespace

ProgressPaint PlanProgressPaint(int32_t width, const ProgressState& s) {
    ProgressPaint p;
    // An empty bar, and a Max of 0 (no proportion at all), show the track only.
    if (s.value < 1 || s.max == 0) return p;
    const double w = width;
    if (s.marquee) {
        const double x = Round((w + kMarqueeWidth) / s.max * s.value - 2 - kMarqueeWidth);
        // Far outside the 32-bit range the image would be off the bar anyway.
        if (FitsLong(x)) {
            p.marqueeShown = true;
            p.marqueeX = static_cast<int32_t>(x);
        }
        return p;
    }
    const double fill = Round(w / s.max * s.value - 2);
    // The chunk's columns are all alike, so a fill running past the bar's end
    // draws as one that ends there.
    if (fill >= 1) p.fillWidth = fill > w ? width : static_cast<int32_t>(fill);
    // The glint stops at the fill's end as the last step found it.
    const int32_t glintWidth = s.fillEnd < s.glintX + kGlintWidth ? s.fillEnd - s.glintX : 0;
    if (s.fillEnd < s.glintX + kGlintWidth && glintWidth <= 0) return p;
    p.glintShown = true;
    p.glintX = s.glintX;
    p.glintWidth = glintWidth;
    return p;
}

bool ProgressStep(int32_t width, ProgressState& s) {
    if (s.max == 0) return false;
    double end = Round(static_cast<double>(width) / s.max * s.value - 1);
    // A Value far above a lowered Max: the end saturates instead of overflowing.
    if (end > std::numeric_limits<int16_t>::max()) end = std::numeric_limits<int16_t>::max();
    if (end < std::numeric_limits<int16_t>::min()) end = std::numeric_limits<int16_t>::min();
    s.fillEnd = static_cast<int16_t>(end);
    const int32_t x = s.glintX + kGlintStep;  // at most 32767 + 10 before the test below
    s.glintX = s.fillEnd < x ? kGlintRest : static_cast<int16_t>(x);
    return true;
}

}  // namespace lumio::lists
