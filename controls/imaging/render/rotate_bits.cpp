#include "rotate_bits.h"

#include <cmath>
#include <cstring>

#include "lightness.h"
#include "mirror_bits.h"
#include "imaging/vb_math.h"

namespace lumio::render {

bool WholeDegrees(float angle, int32_t &degrees) {
    if (!std::isfinite(angle)) return false;
    // Reduce first: a huge angle must not overflow the integer conversion.
    const double r = vb::RoundHalfEven(std::fmod(static_cast<double>(angle), 360.0));
    degrees = static_cast<int32_t>(r) % 360;
    return true;
}

bool OwnRotation::Prepare(const PixelView &self, float angle, int32_t destX, int32_t destY, int32_t destWidth,
                          int32_t destHeight, int32_t srcX, int32_t srcY, int32_t srcWidth, int32_t srcHeight,
                          float lightness) {
    int32_t degrees;
    if (!WholeDegrees(angle, degrees)) return false;
    if (self.empty() || srcWidth < 1 || srcHeight < 1 || srcX < 0 || srcY < 0 ||
        int64_t{srcX} + srcWidth > self.width || int64_t{srcY} + srcHeight > self.height)
        return false;
    if (destWidth == 0 || destHeight == 0 || destWidth == INT32_MIN || destHeight == INT32_MIN) return false;

    // A negative size extends the rectangle to the left of (above) its origin.
    int64_t left = destX, top = destY;
    if (destWidth < 0) left += destWidth;
    if (destHeight < 0) top += destHeight;

    if (MirrorBits(self, srcX, srcY, srcWidth, srcHeight, destWidth, destHeight, copy_, nullptr, lightness)) {
        source_ = copy_.View();
    } else if (lightness != 0.0f) {
        if (!AdjustLightness(&self, lightness, copy_)) return false;
        source_ = copy_.View();
    } else {
        copy_.Erase();
        source_ = self;
    }
    if (destWidth < 0 || destHeight < 0) return false;  // mirroring refused

    const double xs = static_cast<double>(destWidth) / srcWidth;
    const double ys = static_cast<double>(destHeight) / srcHeight;
    const double pi = 4.0 * std::atan(1.0);
    const double theta = -(pi * degrees) / 180.0;
    cosX_ = std::cos(theta) / xs;
    sinX_ = std::sin(theta) / xs;
    cosY_ = std::cos(theta) / ys;
    sinY_ = std::sin(theta) / ys;

    const double w = destWidth, h = destHeight;
    const double d = vb::RoundHalfEven(std::sqrt(w * w + h * h));
    if (!(d >= 1.0 && d <= INT32_MAX)) return false;
    size_ = static_cast<int32_t>(d);

    wl_ = srcX;
    ww_ = srcWidth;
    wh_ = srcHeight;
    wb_ = source_.height - srcHeight - srcY;

    const int64_t l = destWidth / 2 + left - size_ / 2;
    const int64_t t = destHeight / 2 + top - size_ / 2;
    if (l < INT32_MIN || l > INT32_MAX || t < INT32_MIN || t > INT32_MAX) return false;
    left_ = static_cast<int32_t>(l);
    top_ = static_cast<int32_t>(t);
    return true;
}

void OwnRotation::Draw(const PixelView &square, bool highQuality) const {
    const int32_t d = size_;
    if (square.width < d || square.height < d) return;
    const double cx = ww_ / 2 + wl_, cy = wh_ / 2 + wb_;
    const int32_t mx = (d - ww_) / 2, my = (d - wh_) / 2;
    const double right = static_cast<double>(wl_) + ww_, top = static_cast<double>(wb_) + wh_;
    const int32_t lastCol = wl_ + ww_ - 1;
    for (int32_t j = 0; j < d; ++j) {
        const double dx = -static_cast<double>(mx) - ww_ / 2;
        const double dy = static_cast<double>(j) - my - wh_ / 2;
        double sx = cx + dx * cosX_ + dy * sinX_;
        double sy = cy + dy * cosY_ - dx * sinY_;
        uint8_t *out = square.row(j);
        for (int32_t i = 0; i < d; ++i, sx += cosX_, sy -= sinY_, out += 4) {
            if (!(sx >= wl_ && sx < right && sy >= wb_ && sy < top)) continue;
            const double fxl = std::floor(sx), fyl = std::floor(sy);
            const int32_t ix = static_cast<int32_t>(fxl), iy = static_cast<int32_t>(fyl);
            if (!highQuality) {
                std::memcpy(out, source_.pixel(ix, iy), 4);
                continue;
            }
            const double fx = sx - fxl, fy = sy - fyl;
            const bool oneRow = iy <= wb_;
            const bool oneCol = ix >= lastCol;
            const double rw0 = oneRow ? 1.0 : fy, rw1 = oneRow ? 0.0 : 1.0 - fy;
            const double cw0 = oneCol ? 1.0 : 1.0 - fx, cw1 = oneCol ? 0.0 : fx;
            const uint8_t *r0 = source_.pixel(ix, iy);
            const uint8_t *r1 = oneRow ? r0 : source_.pixel(ix, iy - 1);
            double acc[4] = {0, 0, 0, 0};
            auto add = [&acc](const uint8_t *p, double rw, double cw) {
                for (int c = 0; c < 4; ++c) acc[c] = acc[c] + static_cast<double>(p[c]) * rw * cw;
            };
            if (rw0 != 0.0) {
                if (cw0 != 0.0) add(r0, rw0, cw0);
                if (cw1 != 0.0) add(r0 + 4, rw0, cw1);
            }
            if (rw1 != 0.0) {
                if (cw0 != 0.0) add(r1, rw1, cw0);
                if (cw1 != 0.0) add(r1 + 4, rw1, cw1);
            }
            for (int c = 0; c < 4; ++c) out[c] = static_cast<uint8_t>(static_cast<int32_t>(acc[c]));
        }
    }
}

}  // namespace lumio::render
