#include "status_plan.h"

namespace lumio::lists {

GradientV StatusShading(int32_t width, int32_t height) {
    float middle = 50;
    return PlanGradientV(kStatusShadeTop, kStatusBack, middle, 0, 0, width, 6, width, height);
}

bool GripShown(const GripFacts& f) {
    return f.formBorderStyle == 2 && f.formWindowState == 0 && f.formScaleWidth == f.barWidth &&
           f.formScaleHeight == f.barTop + f.barHeight;
}

StatusRect GripRect(int32_t width, int32_t height, bool shown) {
    if (!shown) return {};
    return {width - 15, height - 15, width - 1, height - 1};
}

StatusRect StatusTextRect(int32_t width, int32_t height, const StatusRect& grip) {
    return {kStatusTextLeft, 0, width - (grip.right - grip.left), height};
}

bool OverGrip(const StatusRect& grip, float x, float y) {
    return x > static_cast<float>(grip.left) && y > static_cast<float>(grip.top) &&
           x < static_cast<float>(grip.right) && y < static_cast<float>(grip.bottom);
}

}  // namespace lumio::lists
