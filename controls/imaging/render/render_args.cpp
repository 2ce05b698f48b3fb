#include "render_args.h"

#include <cmath>

namespace lumio::render {
namespace {

bool Fits(int64_t v) { return v >= INT32_MIN && v <= INT32_MAX; }

}  // namespace

RenderStep NormalizeRender(bool hasImage, int32_t imageWidth, int32_t imageHeight, bool hasDestination,
                           RenderArgs &a) {
    if (a.opacity < 1) return hasImage ? RenderStep::DoneTrue : RenderStep::DoneFalse;
    if (!hasImage || !hasDestination) return RenderStep::DoneFalse;
    if (a.destWidth == 0) a.destWidth = imageWidth;
    if (a.destHeight == 0) a.destHeight = imageHeight;
    if (a.srcX < 0) a.srcX = 0;
    if (a.srcY < 0) a.srcY = 0;

    // A negative source size mirrors: it flips the sign of the destination size.
    auto sourceSize = [](int32_t &src, int32_t &dest, int32_t image) {
        if (src == 0) src = image;
        if (src < 0) {
            if (src == INT32_MIN || dest == INT32_MIN) return false;
            src = -src;
            dest = -dest;
        }
        return true;
    };
    if (!sourceSize(a.srcWidth, a.destWidth, imageWidth) || !sourceSize(a.srcHeight, a.destHeight, imageHeight))
        return RenderStep::DoneFalse;
    if (int64_t{a.srcX} + a.srcWidth > imageWidth) a.srcWidth = imageWidth - a.srcX;
    if (int64_t{a.srcY} + a.srcHeight > imageHeight) a.srcHeight = imageHeight - a.srcY;
    // A source that starts at or past the right or bottom edge is empty.
    if (a.srcWidth < 1 || a.srcHeight < 1) return RenderStep::DoneFalse;
    if (a.destWidth == INT32_MIN || a.destHeight == INT32_MIN) return RenderStep::DoneFalse;

    if (!std::isfinite(a.angle)) return RenderStep::DoneFalse;
    const bool rotated = std::fmod(static_cast<double>(a.angle), 360.0) != 0.0;

    a.opacity %= 100;  // positive here
    if (a.opacity == 0) a.opacity = 100;
    if (!(a.lightness >= -100.0f && a.lightness <= 100.0f)) a.lightness = 0;

    if (a.centerOnDestXY) {
        int64_t x, y;
        if (rotated) {
            x = int64_t{a.destX} - a.destWidth / 2;
            y = int64_t{a.destY} - a.destHeight / 2;
        } else {
            x = int64_t{a.destX} - std::abs(a.destWidth / 2);
            y = int64_t{a.destY} - std::abs(a.destHeight / 2);
        }
        if (!Fits(x) || !Fits(y)) return RenderStep::DoneFalse;
        a.destX = static_cast<int32_t>(x);
        a.destY = static_cast<int32_t>(y);
        a.centerOnDestXY = false;
    }
    return rotated ? RenderStep::Rotated : RenderStep::Unrotated;
}

bool IsMirrored(const RenderArgs &a) { return a.destWidth < 0 || a.destHeight < 0; }

bool IsStretched(const RenderArgs &a) {
    return std::abs(int64_t{a.destWidth}) != a.srcWidth || std::abs(int64_t{a.destHeight}) != a.srcHeight;
}

RenderPath ChooseRenderPath(const RenderArgs &a, const PathInputs &in) {
    bool useAlphaBlend = false;
    if (!(in.gdiPlusEnabled && in.gdiTokenLent) && in.alphaBlendFriendly && !IsMirrored(a) && a.grayScale == -1 &&
        a.lightness == 0.0f)
        useAlphaBlend = IsStretched(a) ? !in.highQuality : true;
    if (in.gdiPlusEnabled && !useAlphaBlend) return RenderPath::GdiPlus;
    return useAlphaBlend ? RenderPath::AlphaBlend : RenderPath::Own;
}

}  // namespace lumio::render
