#pragma once
// The progress bar's arithmetic: where its repaint puts the fill, the glint
// and the marquee for a bar of a given width, and its animation step.
#include <cstdint>

namespace lumio::lists {

inline constexpr int32_t kProgressHeight = 18;
inline constexpr int32_t kGlintWidth = 123;
inline constexpr int32_t kMarqueeWidth = 198;
// The glint starts with its right edge at 0 and, once past the fill's end,
// rests this far left so that it comes back after 74 steps.
inline constexpr int16_t kGlintStart = -kGlintWidth;
inline constexpr int16_t kGlintRest = -861;
inline constexpr int16_t kGlintStep = 10;

struct ProgressState {
    int32_t max = 100;
    int32_t value = 100;
    bool marquee = false;
    int16_t glintX = kGlintStart;
    int16_t fillEnd = 0;  // as the last animation step found it
};

// What a repaint draws over the track; widths of 0 mean "not drawn".
struct ProgressPaint {
    bool marqueeShown = false;  // the marquee image, then the track's edge columns again
    int32_t marqueeX = 0;
    int32_t fillWidth = 0;      // rows 0-15 of the chunk stretched over (1, 1, fillWidth, 16)
    bool glintShown = false;
    int32_t glintX = 0;
    int32_t glintWidth = 0;     // 0: the whole glint
};

ProgressPaint PlanProgressPaint(int32_t width, const ProgressState& s);

// One tick of the animation; false when it changed nothing (a Max of 0).
bool ProgressStep(int32_t width, ProgressState& s);

}  // namespace lumio::lists
