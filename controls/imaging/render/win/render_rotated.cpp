#include <cmath>

#include "imaging/render.h"
#include "rotate_bits.h"
#include "surface_view.h"

namespace lumio {

bool RenderRotated(c32bppDIB &self, HDC destinationDC, float Angle, std::int32_t destX, std::int32_t destY,
                   std::int32_t destWidth, std::int32_t destHeight, std::int32_t SrcX, std::int32_t SrcY,
                   std::int32_t srcWidth, std::int32_t srcHeight, std::int32_t Opacity, c32bppDIB *destHostDIB,
                   std::int32_t grayScale, float LightAdjustment) {
    if (!std::isfinite(Angle)) return false;
    if (self.isGDIplusEnabled()) {
        cGDIPlus gdi;
        // GDI+ turns by the angle itself; reduced first, as whole turns change nothing.
        const float angle = static_cast<float>(std::fmod(static_cast<double>(Angle), 360.0));
        if (RenderDIB(gdi, self, destinationDC, angle, Opacity, destX, destY, destWidth, destHeight, SrcX, SrcY,
                      srcWidth, srcHeight, self.HighQualityInterpolation(), grayScale, self.gdiToken(),
                      LightAdjustment))
            return true;
    }
    render::OwnRotation rotation;
    if (!rotation.Prepare(render::ViewOf(self), Angle, destX, destY, destWidth, destHeight, SrcX, SrcY, srcWidth,
                          srcHeight, LightAdjustment))
        return false;
    c32bppDIB square;
    if (!square.InitializeDIB(rotation.Size(), rotation.Size())) return false;
    square.isGDIplusEnabled(self.isGDIplusEnabled());
    square.HighQualityInterpolation(self.HighQualityInterpolation());
    square.gdiToken(self.gdiToken());
    rotation.Draw(render::ViewOf(square), self.HighQualityInterpolation());
    return Render(square, destinationDC, rotation.Left(), rotation.Top(), 0, 0, 0, 0, 0, 0, Opacity, true,
                  destHostDIB == nullptr, destHostDIB, grayScale, 0.0f, 0.0f, false);
}

}  // namespace lumio
