#include <cstring>

#include "imaging/image_type.h"
#include "imaging/mod_parsers.h"

namespace lumio {

namespace {
enum class Kind { kNoAlpha, kPremultiplied, kStraight };

Kind Scan(const std::uint8_t *pixels, std::size_t count) {
    enum { kNothing, kZeroAlphaColour, kStraight } state = kNothing;
    std::size_t zero = 0, opaque = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint8_t *p = pixels + i * 4;
        const std::uint8_t a = p[3];
        if (a == 0) {
            if (state == kNothing && (p[0] | p[1] | p[2]) != 0) state = kZeroAlphaColour;
            ++zero;
        } else if (a == 255) {
            if (state == kZeroAlphaColour) { state = kStraight; break; }
            ++opaque;
        } else {
            if (state == kZeroAlphaColour || p[0] > a || p[1] > a || p[2] > a) { state = kStraight; break; }
        }
    }
    if (state == kStraight) return Kind::kStraight;
    if (zero == count || opaque == count) return Kind::kNoAlpha;
    return state == kNothing ? Kind::kPremultiplied : Kind::kStraight;
}
} // namespace

void ClassifyAlpha(std::uint8_t *pixels, std::int32_t width, std::int32_t height, bool convert,
                   bool &alphaResult, std::int32_t &imageType) {
    const std::size_t count =
        (width > 0 && height > 0) ? static_cast<std::size_t>(width) * static_cast<std::size_t>(height) : 0;
    const Kind kind = imageType == image_type::kNone ? Kind::kNoAlpha : Scan(pixels, count);
    switch (kind) {
    case Kind::kNoAlpha:
        imageType = image_type::kNoAlpha;
        alphaResult = false;
        if (convert)
            for (std::size_t i = 0; i < count; ++i) pixels[i * 4 + 3] = 255;
        break;
    case Kind::kPremultiplied:
        imageType = image_type::kPremultipliedAlpha;
        alphaResult = true;
        break;
    case Kind::kStraight:
        imageType = image_type::kStraightAlpha;
        alphaResult = true;
        if (convert) {
            for (std::size_t i = 0; i < count; ++i) {
                std::uint8_t *p = pixels + i * 4;
                const std::uint8_t a = p[3];
                if (a == 0) {
                    std::memset(p, 0, 4);
                } else if (a != 255) {
                    p[0] = Premultiply(p[0], a);
                    p[1] = Premultiply(p[1], a);
                    p[2] = Premultiply(p[2], a);
                }
            }
        }
        break;
    }
}

void ClassifyAlpha(SurfaceCore &surface, bool convert) {
    if (!surface.HasImage()) return;
    bool alpha = false;
    std::int32_t type = surface.ImageType();
    ClassifyAlpha(surface.BitsPointer(), surface.Width(), surface.Height(), convert, alpha, type);
    surface.SetAlpha(alpha);
    surface.SetImageType(type);
}

} // namespace lumio
