#pragma once
// Row geometry, row filters and pixel conversion of PNG images.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace lumio::png_rows {

struct Pass {
    int32_t rowStart, columnStart, rowStep, columnStep;
};
// Adam7 passes 1-7, then the whole image of a non-interlaced PNG.
extern const Pass kPasses[8];

struct PassGeometry {
    int32_t columns, rows;
};
PassGeometry PassSize(const Pass &pass, int32_t width, int32_t height);

unsigned BitsPerPixel(uint8_t colorType, uint8_t depth);
// Distance in bytes to the same byte of the pixel to the left.
size_t FilterStep(uint8_t colorType, uint8_t depth);
// (pixels * bpp + 7) / 8; false when pixels * bpp reaches 0x7FFFFFF9.
bool RowByteCount(int64_t pixels, unsigned bpp, int64_t &bytes);

// Reverses one row's filter in place. prev: the previous row of the same pass (already
// reconstructed), null for the first. An unknown filter type leaves the row as stored.
void Unfilter(uint8_t filter, uint8_t *row, const uint8_t *prev, size_t length, size_t step);

struct Format {
    uint8_t colorType, depth;
    const std::vector<uint8_t> &palette;       // R, G, B per entry
    const std::vector<uint8_t> &transparency;  // tRNS as stored (palette images: 256 or more)
    int32_t key;                               // -1: no transparency
};

// Writes one row of pixels as premultiplied B, G, R, A (c * a / 255, truncating; a pixel with
// alpha 0 is left as it is, all zero). False when a pixel refers to a palette or transparency
// entry that does not exist.
class RowConverter {
public:
    explicit RowConverter(const Format &f);
    bool Valid() const { return convert_ != nullptr; }
    bool operator()(const uint8_t *src, uint8_t *dest, int32_t count, size_t destStep) const {
        return convert_(*this, src, dest, count, destStep);
    }

private:
    using Fn = bool (*)(const RowConverter &, const uint8_t *, uint8_t *, int32_t, size_t);
    template <int Depth>
    static bool Indexed(const RowConverter &, const uint8_t *, uint8_t *, int32_t, size_t);
    static bool Rgb8(const RowConverter &, const uint8_t *, uint8_t *, int32_t, size_t);
    static bool Rgba8(const RowConverter &, const uint8_t *, uint8_t *, int32_t, size_t);
    static bool GreyAlpha8(const RowConverter &, const uint8_t *, uint8_t *, int32_t, size_t);
    static bool Wide16(const RowConverter &, const uint8_t *, uint8_t *, int32_t, size_t);

    Format f_;
    Fn convert_ = nullptr;
    // Indexed images: the finished pixel of each sample value, and whether it exists.
    uint32_t lut_[256] = {};
    bool lutValid_[256] = {};
};

}  // namespace lumio::png_rows
