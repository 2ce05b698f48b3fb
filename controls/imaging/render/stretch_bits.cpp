#include "stretch_bits.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>
#include <vector>

#include "lightness.h"

namespace lumio::render {
namespace {

struct Geometry {
    PixelView source;  // bottom-up, the rectangle inside it below
    int32_t left, bottom, width, height;
    PixelView output;
    int64_t ox, oy;
    double xRatio, yRatio;
};

void Nearest(const Geometry &g) {
    const int32_t last = g.left + g.width - 1;
    std::vector<int32_t> col(static_cast<size_t>(g.output.width));
    for (int32_t x = 0; x < g.output.width; ++x) {
        const double cx = std::floor(static_cast<double>(x + g.ox) * g.xRatio + g.left);
        col[static_cast<size_t>(x)] = cx > last ? last : static_cast<int32_t>(cx);
    }
    const int32_t top = g.bottom + g.height - 1;
    for (int32_t y = g.output.height - 1; y >= 0; --y) {
        const double ry = std::floor(static_cast<double>(y + g.oy) * g.yRatio);
        const int32_t r = ry >= g.height ? top : static_cast<int32_t>(ry) + g.bottom;
        const uint32_t *s = reinterpret_cast<const uint32_t *>(g.source.row(r));
        uint8_t *d = g.output.row(y);
        for (int32_t x = 0; x < g.output.width; ++x, d += 4) std::memcpy(d, s + col[static_cast<size_t>(x)], 4);
    }
}

struct Column {
    int32_t ix;    // left sample
    double w0;     // weight of ix
    double w1;     // weight of ix + 1; 0 when ix is the rectangle's last column
};

inline void Accumulate(double acc[4], const uint8_t *p, double rw, double cw) {
    for (int c = 0; c < 4; ++c) acc[c] = acc[c] + static_cast<double>(p[c]) * rw * cw;
}

void Bilinear(const Geometry &g) {
    const int32_t last = g.left + g.width - 1;
    std::vector<Column> cols(static_cast<size_t>(g.output.width));
    for (int32_t x = 0; x < g.output.width; ++x) {
        const double px = static_cast<double>(x + g.ox) * g.xRatio + g.left;
        const double ix = std::floor(px);
        Column &c = cols[static_cast<size_t>(x)];
        if (ix >= last) {
            c = {last, 1.0, 0.0};
        } else {
            const double fx = px - ix;
            c = {static_cast<int32_t>(ix), 1.0 - fx, fx};
        }
    }
    const int32_t top = g.bottom + g.height - 1;
    for (int32_t y = g.output.height - 1; y >= 0; --y) {
        const double py = static_cast<double>(y + g.oy) * g.yRatio + g.bottom;
        const double iyf = std::floor(py);
        const int32_t iy = iyf >= top ? top : static_cast<int32_t>(iyf);
        const double fy = py - iyf;
        // The rectangle's first row has nothing below it that belongs to the picture.
        const bool single = iy <= g.bottom;
        const double rw0 = single ? 1.0 : fy;        // row iy
        const double rw1 = single ? 0.0 : 1.0 - fy;  // row iy - 1
        const uint8_t *r0 = g.source.row(iy);
        const uint8_t *r1 = single ? r0 : g.source.row(iy - 1);
        uint8_t *d = g.output.row(y);
        for (int32_t x = 0; x < g.output.width; ++x, d += 4) {
            const Column &c = cols[static_cast<size_t>(x)];
            const ptrdiff_t o = static_cast<ptrdiff_t>(c.ix) * 4;
            double acc[4] = {0, 0, 0, 0};
            if (rw0 != 0.0) {
                if (c.w0 != 0.0) Accumulate(acc, r0 + o, rw0, c.w0);
                if (c.w1 != 0.0) Accumulate(acc, r0 + o + 4, rw0, c.w1);
            }
            if (rw1 != 0.0) {
                if (c.w0 != 0.0) Accumulate(acc, r1 + o, rw1, c.w0);
                if (c.w1 != 0.0) Accumulate(acc, r1 + o + 4, rw1, c.w1);
            }
            for (int k = 0; k < 4; ++k) d[k] = static_cast<uint8_t>(static_cast<int32_t>(acc[k]));
        }
    }
}

}  // namespace

bool StretchBits(const PixelView &self, bool highQuality, PixelArray &out, PixelArray &src,
                 const PixelView *target, int32_t srcX, int32_t srcY, int32_t srcWidth, int32_t srcHeight,
                 int32_t destX, int32_t destY, int32_t &destWidth, int32_t &destHeight, float &lightness) {
    if (srcWidth == 0) srcWidth = self.width;
    if (srcHeight == 0) srcHeight = self.height;
    Geometry g;
    g.source = src.IsDimensioned() ? src.View() : self;
    if (g.source.empty() || srcWidth < 1 || srcHeight < 1 || srcX < 0 || srcY < 0 ||
        int64_t{srcX} + srcWidth > g.source.width || int64_t{srcY} + srcHeight > g.source.height)
        return false;

    int64_t w, h;
    if (target) {
        if (target->empty()) return false;
        w = target->width;
        h = target->height;
        g.ox = destX;
        g.oy = destY;
        if (g.ox < 0 || g.oy < 0) return false;
    } else {
        w = destWidth < 0 ? -int64_t{destWidth} : destWidth;
        h = destHeight < 0 ? -int64_t{destHeight} : destHeight;
        if (w < 1 || h < 1) return false;
        g.ox = g.oy = 0;
    }
    g.xRatio = static_cast<double>(srcWidth) / static_cast<double>(w);
    g.yRatio = static_cast<double>(srcHeight) / static_cast<double>(h);
    if (!target) {
        if (destX < 0) {
            w += destX;
            g.ox = -int64_t{destX};
        }
        // Rows cut at the top are the last rows of the bottom-up result.
        if (destY < 0) h += destY;
    }
    if (w < 1 || h < 1 || w > INT32_MAX || h > INT32_MAX) return false;

    if (target) {
        g.output = *target;
    } else {
        if (!out.Dimension(static_cast<int32_t>(w), static_cast<int32_t>(h))) return false;
        g.output = out.View();
    }
    g.left = srcX;
    g.width = srcWidth;
    g.height = srcHeight;
    g.bottom = g.source.height - srcHeight - srcY;

    try {
        if (highQuality)
            Bilinear(g);
        else
            Nearest(g);
    } catch (const std::bad_alloc &) {
        if (!target) out.Erase();
        return false;
    }

    if (lightness != 0.0f) {
        LightenPixels(g.output, g.output, lightness);
        lightness = 0.0f;
    }
    destWidth = static_cast<int32_t>(w);
    destHeight = static_cast<int32_t>(h);
    src.Erase();
    return true;
}

}  // namespace lumio::render
