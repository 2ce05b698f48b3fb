#pragma once
// Render's argument rules and its choice of drawing path, apart from any
// device context, so that they can be checked on their own.
#include <cstdint>

namespace lumio::render {

struct RenderArgs {
    int32_t destX = 0, destY = 0, destWidth = 0, destHeight = 0;
    int32_t srcX = 0, srcY = 0, srcWidth = 0, srcHeight = 0;
    int32_t opacity = 100;
    int32_t grayScale = -1;
    float lightness = 0;
    float angle = 0;
    bool centerOnDestXY = false;
};

enum class RenderStep {
    DoneTrue,    // nothing to draw, and that counts as success (opacity below 1)
    DoneFalse,   // nothing to draw: no image, no destination or unusable arguments
    Rotated,     // hand over to the rotation with the normalised arguments
    Unrotated,   // one of the three unrotated paths
};

// Fills in defaults, turns negative sizes into mirroring, clips the source to
// the image, reduces opacity and lightness to their ranges and applies
// CenterOnDestXY. Arguments that would overflow, a source that starts at or
// past the image's edge, and NaN or infinite angles end in DoneFalse.
RenderStep NormalizeRender(bool hasImage, int32_t imageWidth, int32_t imageHeight, bool hasDestination,
                           RenderArgs &a);

enum class RenderPath { AlphaBlend, Own, GdiPlus };

struct PathInputs {
    bool gdiPlusEnabled = false;
    bool gdiTokenLent = false;
    bool alphaBlendFriendly = false;
    bool highQuality = false;
};

bool IsMirrored(const RenderArgs &a);
bool IsStretched(const RenderArgs &a);
RenderPath ChooseRenderPath(const RenderArgs &a, const PathInputs &in);

// The constant alpha of an opacity in percent.
inline int32_t ConstantAlpha(int32_t opacity) { return opacity * 255 / 100; }

}  // namespace lumio::render
