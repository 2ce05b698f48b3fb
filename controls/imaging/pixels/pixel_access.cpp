#include "imaging/pixel_access.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "imaging/image_type.h"
#include "imaging/mod_parsers.h"

namespace lumio {
namespace {

struct Area {
    std::int32_t x, y, width, height;
    std::int64_t rowBytes;
};

// The rectangle cut to the image, with the row size of its layout; false when
// it starts outside the image, ends up empty, or its bytes pass 2^31 - 1.
bool ClipArea(const SurfaceCore &s, std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height,
              bool fourBytes, bool wordAligned, Area &area) {
    if (!s.HasImage() || x < 0 || y < 0 || x >= s.Width() || y >= s.Height()) return false;
    std::int64_t w = width == 0 ? s.Width() : width;
    std::int64_t h = height == 0 ? s.Height() : height;
    w = std::min<std::int64_t>(w, s.Width() - x);
    h = std::min<std::int64_t>(h, s.Height() - y);
    if (w < 1 || h < 1) return false;
    area = {x, y, static_cast<std::int32_t>(w), static_cast<std::int32_t>(h), 0};
    if (fourBytes)
        area.rowBytes = w * 4;
    else if (wordAligned)
        area.rowBytes = ((w * 24 + 31) & ~std::int64_t{31}) / 8;
    else
        area.rowBytes = w * 3;
    return area.rowBytes * h <= INT32_MAX;
}

// A straight colour byte of a premultiplied one; bytes above their alpha
// (not premultiplied at all) stay within a byte.
std::uint8_t Straight(std::uint8_t c, std::uint8_t a) {
    return static_cast<std::uint8_t>(std::min<std::uint32_t>(Unpremultiply(c, a), 255));
}

} // namespace

std::int32_t GetPixel(const SurfaceCore &self, std::int32_t x, std::int32_t y, std::int32_t &AlphaValue,
                      bool asPreMultiplied) {
    AlphaValue = 0;
    if (!self.HasImage() || x < 0 || y < 0 || x >= self.Width() || y >= self.Height()) return -1;
    const std::uint8_t *p = self.RowFromTop(y) + static_cast<std::size_t>(x) * 4;
    const std::uint8_t a = p[3];
    AlphaValue = a;
    std::uint8_t b = p[0], g = p[1], r = p[2];
    if (!asPreMultiplied && a != 0 && a != 255) {
        b = Straight(b, a);
        g = Straight(g, a);
        r = Straight(r, a);
    }
    return r + g * 256 + b * 65536;
}

bool GetDIBbits(const SurfaceCore &self, ByteArray &outStream, bool as2dArray, bool asBGRformat, bool as32bpp,
                bool asWordAligned, bool asBottomUp, std::int32_t x, std::int32_t y, std::int32_t Width,
                std::int32_t Height, bool asPreMultiplied) {
    Area r;
    if (!ClipArea(self, x, y, Width, Height, as32bpp, asWordAligned, r)) return false;
    std::vector<std::uint8_t> bytes;
    try {
        bytes.assign(static_cast<std::size_t>(r.rowBytes * r.height), 0);
    } catch (const std::bad_alloc &) {
        return false;
    }

    const bool whole = r.width == self.Width() && r.height == self.Height();
    if (as32bpp && asBGRformat && asBottomUp && asPreMultiplied && whole) {
        std::memcpy(bytes.data(), self.BitsPointer(), self.ByteCount());
    } else {
        const std::size_t step = as32bpp ? 4 : 3;
        for (std::int32_t t = 0; t < r.height; ++t) {
            const std::uint8_t *s = self.RowFromTop(r.y + t) + static_cast<std::size_t>(r.x) * 4;
            const std::int32_t row = asBottomUp ? r.height - 1 - t : t;
            std::uint8_t *d = bytes.data() + static_cast<std::size_t>(row) * static_cast<std::size_t>(r.rowBytes);
            for (std::int32_t k = 0; k < r.width; ++k, s += 4, d += step) {
                const std::uint8_t a = s[3];
                std::uint8_t c[3] = {s[0], s[1], s[2]};
                if (!asPreMultiplied && a != 255) {
                    for (auto &v : c) v = a == 0 ? 0 : Straight(v, a);
                }
                d[0] = asBGRformat ? c[0] : c[2];
                d[1] = c[1];
                d[2] = asBGRformat ? c[2] : c[0];
                if (as32bpp) d[3] = a;
            }
        }
    }
    outStream.bytes = std::move(bytes);
    outStream.dimensions = as2dArray ? 2 : 1;
    outStream.rowBytes = as2dArray ? static_cast<std::int32_t>(r.rowBytes) : 0;
    outStream.rows = as2dArray ? r.height : 0;
    return true;
}

bool SetDIBbits(SurfaceCore &self, std::span<const std::uint8_t> inStream, bool isBGRformat, bool is32bpp,
                bool isWordAligned, bool isBottomUp, std::int32_t dstX, std::int32_t dstY, std::int32_t dstWidth,
                std::int32_t dstHeight) {
    if (inStream.empty()) return false;
    Area r;
    if (!ClipArea(self, dstX, dstY, dstWidth, dstHeight, is32bpp, isWordAligned, r)) return false;
    // The input is measured against the whole surface's height, not the rectangle's.
    const std::int64_t needed = r.rowBytes * self.Height();
    if (needed > INT32_MAX || static_cast<std::uint64_t>(needed) > inStream.size()) return false;

    const std::size_t step = is32bpp ? 4 : 3;
    for (std::int32_t t = 0; t < r.height; ++t) {
        const std::int32_t row = isBottomUp ? r.height - 1 - t : t;
        const std::uint8_t *s = inStream.data() + static_cast<std::size_t>(row) * static_cast<std::size_t>(r.rowBytes);
        std::uint8_t *d = self.RowFromTop(r.y + t) + static_cast<std::size_t>(r.x) * 4;
        for (std::int32_t k = 0; k < r.width; ++k, s += step, d += 4) {
            d[0] = isBGRformat ? s[0] : s[2];
            d[1] = s[1];
            d[2] = isBGRformat ? s[2] : s[0];
            if (is32bpp) d[3] = s[3];
        }
    }

    bool alpha = false;
    std::int32_t kind = 0;
    ClassifyAlpha(self.BitsPointer(), self.Width(), self.Height(), false, alpha, kind);
    if (!alpha) {
        for (std::size_t i = 3; i < self.ByteCount(); i += 4) self.BitsPointer()[i] = 255;
    } else if (kind == image_type::kStraightAlpha) {
        for (std::int32_t t = 0; t < r.height; ++t) {
            std::uint8_t *p = self.RowFromTop(r.y + t) + static_cast<std::size_t>(r.x) * 4;
            for (std::int32_t k = 0; k < r.width; ++k, p += 4) {
                const std::uint8_t a = p[3];
                if (a == 0) {
                    p[0] = p[1] = p[2] = 0;
                } else if (a != 255) {
                    p[0] = Premultiply(p[0], a);
                    p[1] = Premultiply(p[1], a);
                    p[2] = Premultiply(p[2], a);
                }
            }
        }
    }
    self.SetAlpha(alpha);
    return true;
}

} // namespace lumio
