#include "imaging/image_effects.h"

#include <cstring>

#include "imaging/image_type.h"
#include "imaging/mod_parsers.h"
#include "mirror_bits.h"
#include "surface_view.h"

namespace lumio {
namespace {

struct Rgb {
    std::uint8_t r, g, b;
};
Rgb Channels(std::uint32_t colour) {
    return {static_cast<std::uint8_t>(colour), static_cast<std::uint8_t>(colour >> 8),
            static_cast<std::uint8_t>(colour >> 16)};
}

std::uint32_t LoadPixel(const std::uint8_t *p) {
    std::uint32_t v;
    std::memcpy(&v, p, 4);
    return v;
}
void StorePixel(std::uint8_t *p, std::uint32_t v) { std::memcpy(p, &v, 4); }

// The colour as a stored opaque pixel: B, G, R, 255 in memory.
std::uint32_t OpaquePixel(std::uint32_t colour) {
    const Rgb c = Channels(colour);
    const std::uint8_t bytes[4] = {c.b, c.g, c.r, 255};
    return LoadPixel(bytes);
}

} // namespace

bool CreateCheckerBoard(SurfaceCore &self, std::int32_t CheckerSize, std::uint32_t FirstColor,
                        std::uint32_t SecondColor) {
    if (!self.HasImage() || CheckerSize < 1) return false;
    const std::uint32_t colours[2] = {OpaquePixel(FirstColor), OpaquePixel(SecondColor)};
    for (std::int32_t y = 0; y < self.Height(); ++y) {
        std::uint8_t *p = self.RowFromTop(y);
        const std::int32_t band = y / CheckerSize;
        for (std::int32_t x = 0; x < self.Width(); ++x, p += 4)
            StorePixel(p, colours[(band + x / CheckerSize) & 1]);
    }
    self.SetAlpha(false);
    self.SetImageType(image_type::kCheckerBoard);
    return true;
}

bool MakeImageInverse(SurfaceCore &self) {
    if (!self.HasImage()) return false;
    std::uint8_t *p = self.BitsPointer();
    for (std::size_t i = 0, n = self.ByteCount(); i < n; i += 4, p += 4) {
        const std::uint8_t a = p[3];
        if (a == 0) continue;
        // Bytes above their alpha are not premultiplied colour: they stay within a byte.
        for (int k = 0; k < 3; ++k) p[k] = p[k] >= a ? 0 : static_cast<std::uint8_t>(a - p[k]);
    }
    return true;
}

bool MakeTransparent(SurfaceCore &self, std::uint32_t TransparentColor, bool Revert) {
    if (!self.HasImage()) return false;
    const std::uint32_t key = OpaquePixel(TransparentColor);
    std::uint8_t *p = self.BitsPointer();
    const std::size_t n = self.ByteCount();
    if (!Revert) {
        bool changed = false;
        for (std::size_t i = 0; i < n; i += 4)
            if (LoadPixel(p + i) == key) {
                StorePixel(p + i, 0);
                changed = true;
            }
        if (changed) {
            self.SetAlpha(true);
            if (self.ImageType() == image_type::kNoAlpha) self.SetImageType(image_type::kPremultipliedAlpha);
        }
        return true;
    }
    for (std::size_t i = 0; i < n; i += 4)
        if (LoadPixel(p + i) == 0) StorePixel(p + i, key);
    bool alpha = false;
    std::int32_t kind = 0;
    ClassifyAlpha(p, self.Width(), self.Height(), false, alpha, kind);
    self.SetAlpha(alpha);
    if (!alpha && (self.ImageType() == image_type::kStraightAlpha ||
                   self.ImageType() == image_type::kPremultipliedAlpha))
        self.SetImageType(image_type::kNoAlpha);
    return true;
}

bool MirrorImage(SurfaceCore &self, bool MirrorAxisX, bool MirrorAxisY) {
    if (!self.HasImage() || (!MirrorAxisX && !MirrorAxisY)) return false;
    std::int32_t x = 0, y = 0;
    std::int32_t w = MirrorAxisX ? -self.Width() : self.Width();
    std::int32_t h = MirrorAxisY ? -self.Height() : self.Height();
    float lightness = 0;
    render::PixelArray mirrored;
    if (!render::MirrorBits(render::ViewOf(self), x, y, self.Width(), self.Height(), w, h, mirrored, nullptr,
                            lightness))
        return false;
    std::memcpy(self.BitsPointer(), mirrored.View().bits, self.ByteCount());
    return true;
}

} // namespace lumio
