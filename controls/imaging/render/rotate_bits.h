#pragma once
#include "pixel_array.h"

namespace lumio::render {

// The own rotation: the source rectangle is mirrored and lightened first,
// then turned by whole degrees about its centre and scaled to the
// destination size in one inverse mapping into a square surface that holds
// the destination rectangle in any orientation.
class OwnRotation {
public:
    // Mirrors/lightens as asked and fixes the geometry. False for a NaN or
    // infinite angle, sizes that overflow, or a source outside self.
    bool Prepare(const PixelView &self, float angle, int32_t destX, int32_t destY, int32_t destWidth,
                 int32_t destHeight, int32_t srcX, int32_t srcY, int32_t srcWidth, int32_t srcHeight,
                 float lightness);
    // Side of the square surface to draw into.
    int32_t Size() const { return size_; }
    // Fills a Size() x Size() zeroed surface; pixels outside the picture stay clear.
    void Draw(const PixelView &square, bool highQuality) const;
    // Where the square goes so that its centre is the destination's centre.
    int32_t Left() const { return left_; }
    int32_t Top() const { return top_; }

private:
    PixelView source_;
    PixelArray copy_;
    int32_t wl_ = 0, wb_ = 0, ww_ = 0, wh_ = 0;  // source window, bottom-up
    int32_t size_ = 0, left_ = 0, top_ = 0;
    double cosX_ = 0, sinX_ = 0, cosY_ = 0, sinY_ = 0;
};

// Whole degrees of a rotation angle, 0..359 or -359..0; false for NaN and infinities.
bool WholeDegrees(float angle, int32_t &degrees);

}  // namespace lumio::render
