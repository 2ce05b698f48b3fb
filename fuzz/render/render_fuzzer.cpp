// Render's argument rules and the own pixel loops with arbitrary arguments,
// extreme ones included, on small pictures: nothing may overflow, read or
// write outside its pixels, or ask for absurd memory.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "blend_pixels.h"
#include "mirror_bits.h"
#include "render_args.h"
#include "rotate_bits.h"
#include "stretch_bits.h"

using namespace lumio::render;

namespace {

class Reader {
public:
    Reader(const uint8_t *d, size_t n) : d_(d), n_(n) {}
    uint8_t Byte() { return n_ ? (--n_, *d_++) : 0; }
    // Small values mostly, the 32-bit extremes sometimes.
    int32_t Int() {
        switch (Byte() % 8) {
        case 0: return INT32_MIN;
        case 1: return INT32_MAX;
        case 2: {
            uint32_t v = 0;
            for (int i = 0; i < 4; ++i) v = v << 8 | Byte();
            return static_cast<int32_t>(v);
        }
        default: return static_cast<int8_t>(Byte());
        }
    }
    float Float() {
        switch (Byte() % 6) {
        case 0: return __builtin_nanf("");
        case 1: return __builtin_inff();
        case 2: {
            uint32_t v = 0;
            for (int i = 0; i < 4; ++i) v = v << 8 | Byte();
            float f;
            std::memcpy(&f, &v, 4);
            return f;
        }
        default: return static_cast<float>(static_cast<int8_t>(Byte())) * 1.5f;
        }
    }

private:
    const uint8_t *d_;
    size_t n_;
};

bool Small(int64_t w, int64_t h) { return std::llabs(w) * std::llabs(h) <= (1 << 18); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    Reader in(data, size);
    const int32_t w = 1 + in.Byte() % 12, h = 1 + in.Byte() % 12;
    PixelArray image, hostPixels;
    if (!image.Dimension(w, h) || !hostPixels.Dimension(16, 16)) return 0;
    PixelView self = image.View();
    for (int32_t r = 0; r < h; ++r)
        for (int32_t x = 0; x < w; ++x) {
            uint8_t *p = self.pixel(x, r);
            p[3] = in.Byte();
            for (int c = 0; c < 3; ++c) p[c] = static_cast<uint8_t>(in.Byte() * p[3] / 255);
        }
    RenderArgs a;
    a.destX = in.Int();
    a.destY = in.Int();
    a.destWidth = in.Int();
    a.destHeight = in.Int();
    a.srcX = in.Int();
    a.srcY = in.Int();
    a.srcWidth = in.Int();
    a.srcHeight = in.Int();
    a.opacity = in.Int();
    a.grayScale = static_cast<int8_t>(in.Byte()) % 10;
    a.lightness = in.Float();
    a.angle = in.Float();
    a.centerOnDestXY = in.Byte() & 1;
    const bool hq = in.Byte() & 1;
    const RenderStep step = NormalizeRender(true, w, h, true, a);
    const PixelView host = hostPixels.View();
    // Opacity is normalised only on the steps that go on to draw.
    if (step != RenderStep::Rotated && step != RenderStep::Unrotated) return 0;
    const int32_t k = ConstantAlpha(a.opacity);

    if (step == RenderStep::Rotated) {
        if (!Small(a.destWidth, a.destHeight)) return 0;
        OwnRotation rot;
        if (!rot.Prepare(self, a.angle, a.destX, a.destY, a.destWidth, a.destHeight, a.srcX, a.srcY, a.srcWidth,
                         a.srcHeight, a.lightness))
            return 0;
        PixelArray square, none;
        // The square's side is the destination's diagonal: a long thin destination
        // asks for gigabytes, which the product may allocate but a fuzzer must not.
        if (!Small(rot.Size(), rot.Size()) || !square.Dimension(rot.Size(), rot.Size())) return 0;
        rot.Draw(square.View(), hq);
        BlendToSurface(square.View(), BlendSource::Surface, none, 0, 0, rot.Left(), rot.Top(), rot.Size(),
                       rot.Size(), k, host, a.grayScale, 0);
        return 0;
    }
    if (step != RenderStep::Unrotated) return 0;
    PixelArray mirrored, scaled;
    const bool mirror = IsMirrored(a), stretched = IsStretched(a);
    if (mirror && !MirrorBits(self, a.srcX, a.srcY, a.srcWidth, a.srcHeight, a.destWidth, a.destHeight, mirrored,
                              nullptr, a.lightness))
        return 0;
    if (stretched) {
        if (!Small(a.destWidth, a.destHeight)) return 0;
        if (!StretchBits(self, hq, scaled, mirrored, nullptr, a.srcX, a.srcY, a.srcWidth, a.srcHeight, a.destX,
                         a.destY, a.destWidth, a.destHeight, a.lightness))
            return 0;
        BlendToSurface(self, BlendSource::Scaled, scaled, a.srcX, a.srcY, a.destX, a.destY, a.destWidth,
                       a.destHeight, k, host, a.grayScale, a.lightness);
        return 0;
    }
    BlendToSurface(self, mirror ? BlendSource::Mirrored : BlendSource::Surface, mirrored, a.srcX, a.srcY, a.destX,
                   a.destY, a.destWidth, a.destHeight, k, host, a.grayScale, a.lightness);
    // Into a target surface, as the copying members use them.
    PixelArray unused, none;
    int32_t sx = 0, sy = 0, dw = in.Byte() & 1 ? -w : w, dh = in.Byte() & 1 ? -h : h;
    float l = a.lightness;
    MirrorBits(self, sx, sy, w, h, dw, dh, unused, &host, l);
    int32_t tw = 0, th = 0;
    StretchBits(self, hq, unused, none, &host, 0, 0, w, h, in.Int(), in.Int(), tw, th, l);
    return 0;
}
