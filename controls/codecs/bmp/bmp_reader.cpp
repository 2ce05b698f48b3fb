#include "bmp/bmp_reader.h"

#include <cmath>
#include <cstring>

#include "imaging/byte_source.h"
#include "imaging/mod_parsers.h"

namespace lumio {
namespace {

// Offsets in the file header and BITMAPINFOHEADER.
constexpr std::size_t kBitsOffsetField = 10;
constexpr std::size_t kWidthField = 18;
constexpr std::size_t kHeightField = 22;
constexpr std::size_t kBitCountField = 28;
constexpr std::size_t kCompressionField = 30;
constexpr std::size_t kHeaderEnd = 34;

std::int32_t Signed32(std::span<const std::uint8_t> d, std::size_t at) {
    return static_cast<std::int32_t>(ReadLittleEndian32(&d[at]));
}

} // namespace

std::int32_t HimetricToPixels(std::int32_t value, double twipsPerPixel) {
    if (twipsPerPixel <= 0) return 0;
    const double pixels = std::nearbyint(static_cast<double>(value) * 1440.0 / 2540.0 / twipsPerPixel);
    if (pixels >= 2147483647.0) return INT32_MAX;
    if (pixels <= -2147483648.0) return INT32_MIN;
    return static_cast<std::int32_t>(pixels);
}

bool BmpReader::LoadStream(std::span<const std::uint8_t> data, SurfaceCore &cHost) {
    std::int16_t bitCount = 0;
    failure_ = DecodeFailure::kNone;
    if (data.size() >= 2 && data[0] == 'B' && data[1] == 'M' && data.size() >= kBitCountField + 2) {
        bitCount = static_cast<std::int16_t>(data[kBitCountField] | data[kBitCountField + 1] << 8);
        const std::int32_t width = Signed32(data, kWidthField);
        const std::int32_t height = Signed32(data, kHeightField);
        if (width < 1 || height == 0) {
            failure_ = DecodeFailure::kBadHeader;
            return false;
        }
        if (data.size() >= kHeaderEnd && bitCount == 32 && Signed32(data, kCompressionField) == 0) {
            // Rows and header inside the data, computed without overflow.
            const std::int32_t offset = Signed32(data, kBitsOffsetField);
            const std::int64_t rows = height < 0 ? -std::int64_t{height} : height;
            const std::int64_t scan = std::int64_t{width} * 4;
            if (offset >= 0 && scan <= INT32_MAX && rows <= (INT32_MAX - offset) / scan &&
                scan * rows + offset <= static_cast<std::int64_t>(data.size()))
                return ReadRows(data, static_cast<std::size_t>(offset), width, height, cHost);
        }
    }
    if (cHost.HasImage()) return false;
    if (system_.LoadPicture(data, cHost, bitCount)) return true;
    failure_ = DecodeFailure::kNotThisFormat;
    return false;
}

bool BmpReader::ReadRows(std::span<const std::uint8_t> data, std::size_t bitsOffset, std::int32_t width,
                         std::int32_t height, SurfaceCore &cHost) {
    const std::int32_t rows = height < 0 ? -height : height;
    if (!cHost.InitializeDIB(width, rows)) {
        failure_ = DecodeFailure::kSystemRefused;
        return true;
    }
    const std::size_t scan = static_cast<std::size_t>(cHost.scanWidth());
    const std::uint8_t *bits = data.data() + bitsOffset;
    if (height > 0) {
        std::memcpy(cHost.BitsPointer(), bits, scan * static_cast<std::size_t>(rows));
    } else {
        // A top-down file: its last row is the surface's first memory row.
        for (std::int32_t r = 0; r < rows; ++r)
            std::memcpy(cHost.BitsPointer() + scan * static_cast<std::size_t>(r),
                        bits + scan * static_cast<std::size_t>(rows - 1 - r), scan);
    }
    ClassifyAlpha(cHost, true);
    return true;
}

} // namespace lumio
