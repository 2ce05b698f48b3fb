#include "ico/ico_reader.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdlib>
#include <cstring>

#include "imaging/image_type.h"
#include "imaging/byte_source.h"
#include "imaging/mod_parsers.h"

namespace lumio {
namespace {

constexpr std::size_t kDirectoryHeader = 6;
constexpr std::size_t kEntrySize = 16;
constexpr std::size_t kInfoHeaderSize = 40;
constexpr std::uint16_t kPngPlanes = 255;
constexpr std::uint8_t kPngSignature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};

std::uint16_t Little16(const std::uint8_t *p) { return static_cast<std::uint16_t>(p[0] | p[1] << 8); }

// Bytes per row of `bits`-per-pixel rows padded to 4 bytes, in 64 bits (never raises).
std::int64_t RowBytes(std::int64_t bits, std::int64_t width) { return (bits * width + 31) / 32 * 4; }

constexpr std::uint32_t kBitFields = 3;
constexpr std::size_t kMasksSize = 12;

// One colour field of a bit-field pixel: where it sits and how wide it is.
struct FieldMask {
    std::uint32_t mask = 0;
    int shift = 0, length = 0;
    explicit FieldMask(std::uint32_t m)
        : mask(m), shift(m == 0 ? 0 : std::countr_zero(m)), length(static_cast<int>(std::bit_width(m == 0 ? 0u : m >> shift))) {}

    // The field as 8 bits, its bits repeated from the top: the largest value gives 255,
    // and 5- and 6-bit fields come out as the system's own conversions give them.
    std::uint8_t Of(std::uint32_t pixel) const noexcept {
        if (length == 0) return 0;
        const std::uint64_t value = (pixel & mask) >> shift;
        std::uint64_t repeated = 0;
        int filled = 0;
        for (; filled < 8; filled += length) repeated = repeated << length | value;
        return static_cast<std::uint8_t>(repeated >> (filled - 8));
    }
};

// Bit-field rows (`stride` bytes each, bottom-up, 16 or 32 bits a pixel, red, green and
// blue masks) into the host's colour bytes. Columns right of `columns` stay as they are.
void DecodeBitFields(std::span<const std::uint8_t> rows, std::size_t stride, std::uint16_t bits,
                     const std::array<FieldMask, 3> &rgb, std::int32_t columns, SurfaceCore &host) {
    const std::size_t bytes = bits / 8u;
    const auto width = static_cast<std::size_t>(host.Width());
    const std::size_t cols = std::min({static_cast<std::size_t>(std::max(columns, 0)), width, stride / bytes});
    for (std::size_t row = 0; row < static_cast<std::size_t>(host.Height()); ++row) {
        if ((row + 1) * stride > rows.size()) return;
        const std::uint8_t *src = rows.data() + row * stride;
        std::uint8_t *p = host.BitsPointer() + row * width * 4;
        for (std::size_t x = 0; x < cols; ++x, src += bytes, p += 4) {
            const std::uint32_t pixel = bits == 16 ? Little16(src) : ReadLittleEndian32(src);
            p[0] = rgb[2].Of(pixel);
            p[1] = rgb[1].Of(pixel);
            p[2] = rgb[0].Of(pixel);
        }
    }
}

} // namespace

const IcoReader::Entry *IcoReader::At(std::int32_t index) const noexcept {
    if (index < 1 || index > IconCount()) return nullptr;
    return &entries_[static_cast<std::size_t>(index - 1)];
}

std::span<const std::uint8_t> IcoReader::Image(const Entry &e) const noexcept {
    // Validation made sure every entry lies inside the data.
    return data_.subspan(e.imageOffset, e.bytesInRes);
}

std::int32_t IcoReader::Width(std::int32_t index) const noexcept {
    const Entry *e = At(index);
    return e == nullptr ? 0 : e->width == 0 ? 256 : e->width;
}

std::int32_t IcoReader::Height(std::int32_t index) const noexcept {
    const Entry *e = At(index);
    return e == nullptr ? 0 : e->height == 0 ? 256 : e->height;
}

bool IcoReader::IsIconPNG(std::int32_t index) const noexcept {
    const Entry *e = At(index);
    return e != nullptr && e->planes == kPngPlanes;
}

std::int32_t IcoReader::bitDepth(std::int32_t index) const noexcept {
    const Entry *e = At(index);
    return e == nullptr ? 0 : e->bitCount;
}

std::int64_t IcoReader::HeaderSize(const Entry &e) const noexcept {
    const auto image = Image(e);
    return image.size() < 4 ? 0 : ReadLittleEndian32(image.data());
}

std::int64_t IcoReader::ColorCount(std::int32_t index) const noexcept {
    const Entry *e = At(index);
    if (e == nullptr || e->bitCount >= 9) return 0;
    const std::int64_t bitsSize = RowBytes(e->bitCount, Width(index)) * Height(index);
    const std::int64_t maskSize = RowBytes(1, Width(index)) * Height(index);
    return (std::int64_t{e->bytesInRes} - HeaderSize(*e) - bitsSize - maskSize) / 4;
}

std::int64_t IcoReader::ColorByteOffset(std::int32_t index) const noexcept {
    const Entry *e = At(index);
    if (e == nullptr) return 0;
    const std::int64_t palette = e->bitCount < 16 ? std::int64_t{4} << e->bitCount : 0;
    return std::int64_t{e->imageOffset} + HeaderSize(*e) + palette;
}

std::int64_t IcoReader::MaskOffset(std::int32_t index) const noexcept {
    const Entry *e = At(index);
    if (e == nullptr) return 0;
    return std::int64_t{e->imageOffset} + e->bytesInRes - RowBytes(1, Width(index)) * Height(index);
}

bool IcoReader::LoadStream(std::span<const std::uint8_t> data, std::int32_t iconCx, std::int32_t iconCy,
                           SurfaceCore *cHost, std::int32_t iconBitDepth) {
    data_ = data;
    entries_.clear();
    type_ = 0;
    failure_ = DecodeFailure::kNotThisFormat;

    if (data.size() < kDirectoryHeader) return false;
    const std::uint16_t reserved = Little16(&data[0]);
    const std::uint16_t type = Little16(&data[2]);
    const std::uint16_t count = Little16(&data[4]);
    if (count == 0 || reserved != 0 || (type != 1 && type != 2)) return false;
    if (data.size() < kDirectoryHeader + kEntrySize * count) return false;

    std::vector<Entry> entries(count);
    std::uint64_t total = kDirectoryHeader + kEntrySize * count;
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint8_t *p = &data[kDirectoryHeader + kEntrySize * i];
        Entry &e = entries[i];
        e.width = p[0];
        e.height = p[1];
        e.colorCount = p[2];
        e.reserved = p[3];
        e.planes = Little16(p + 4);
        e.bitCount = Little16(p + 6);
        e.bytesInRes = ReadLittleEndian32(p + 8);
        e.imageOffset = ReadLittleEndian32(p + 12);
        total += e.bytesInRes;
        // Each image inside the data, not only their sum.
        if (std::uint64_t{e.imageOffset} + e.bytesInRes > data.size()) return false;
    }
    if (total > data.size()) return false;
    failure_ = DecodeFailure::kBadHeader;
    entries_ = std::move(entries);
    type_ = type;

    bool valid = true;
    for (Entry &e : entries_) {
        e.planes = 1;
        // The header's bit count, or the letters "DR" of a PNG's "IHDR", read from the
        // data whatever size the entry declares: a short entry that is never chosen must
        // not spoil the file. The read stays inside the data.
        if (std::uint64_t{e.imageOffset} + 16 > data.size()) {
            valid = false;
            continue;
        }
        const std::uint16_t mark = Little16(&data[e.imageOffset + 14]);
        if (mark == 0x5244) {
            if (!CheckPngEntry(e)) valid = false;
        } else if (mark != 0) {
            e.bitCount = mark;
        } else if (e.bitCount == 0) {
            valid = false;
        }
    }
    if (!valid) {
        entries_.clear();
        return false;
    }
    failure_ = DecodeFailure::kNone;
    if (cHost == nullptr) return true;

    if (iconCx < 1) iconCx = 32;
    if (iconCy < 1) iconCy = 32;
    const std::int32_t index = SelectBestEntry(iconCx, iconCy, iconBitDepth);
    if (index == 0) {
        failure_ = DecodeFailure::kNoImageData;
        return true;
    }
    const Entry &chosen = *At(index);
    if (chosen.planes == kPngPlanes) return LoadPngEntry(chosen, *cHost);
    LoadBitmapEntry(index, *cHost);
    return true;
}

bool IcoReader::CheckPngEntry(Entry &e) {
    e.planes = kPngPlanes;
    // Like the bit count, the PNG header is read from the data, not from the declared size.
    const auto png = data_.subspan(e.imageOffset);
    if (png.size() < 8 || std::memcmp(png.data(), kPngSignature, 8) != 0) return false;
    if (png.size() >= 24 && std::memcmp(&png[12], "IHDR", 4) == 0) {
        const std::uint32_t width = ReadBigEndian32(&png[16]);
        const std::uint32_t height = ReadBigEndian32(&png[20]);
        if (width == 256) e.width = 0;
        else if (width >= 1 && width <= 255) e.width = static_cast<std::uint8_t>(width);
        else e.bitCount = 0;
        if (height == 256) e.height = 0;
        else if (height >= 1 && height <= 255) e.height = static_cast<std::uint8_t>(height);
        else e.bitCount = 0;
    }
    if (e.bitCount == 0 && png.size() >= 26) {
        const std::uint8_t depth = png[24];
        const std::uint8_t colourType = png[25];
        if (depth == 16) e.bitCount = 32;
        else if (depth == 0) e.bitCount = 0;
        else if (colourType == 4 || colourType == 6) e.bitCount = 32;
        else if (colourType == 2) e.bitCount = 24;
        else e.bitCount = depth;
    }
    return e.bitCount > 0;
}

std::int32_t IcoReader::SelectBestEntry(std::int32_t iconCx, std::int32_t iconCy, std::int32_t iconBitDepth) const {
    const std::int32_t count = IconCount();
    if (count < 2) return count == 1 && entries_[0].bitCount != 0 ? 1 : 0;

    // 64-bit scores: wanted sizes anywhere in the 32-bit range cannot overflow them.
    std::vector<std::int64_t> scores(static_cast<std::size_t>(count) + 1);
    std::int64_t best = 10000;
    std::int32_t bestIndex = 0;
    for (std::int32_t i = 1; i <= count; ++i) {
        const std::int64_t bits = At(i)->bitCount;
        std::int64_t dw = std::int64_t{Width(i)} - iconCx;
        if (dw < 0) dw *= 2;
        std::int64_t dh = std::int64_t{Height(i)} - iconCy;
        if (dh < 0) dh *= 2;
        std::int64_t score = dw + dh + std::abs(std::int64_t{iconBitDepth} - bits);
        if (bits > 32) score = -10000;
        scores[static_cast<std::size_t>(i)] = score;
        if (score == 0) return i;
        if (score > 0 && score < best) {
            best = score;
            bestIndex = i;
        }
    }
    if (bestIndex != 0) return bestIndex;

    // Every entry smaller than wanted: the least short, with the depth nearest 32.
    for (std::int32_t i = count; i >= 1; --i) {
        const std::int64_t score =
            std::abs(scores[static_cast<std::size_t>(i)]) + std::abs(32 - std::int64_t{At(i)->bitCount});
        if (score < best) {
            best = score;
            bestIndex = i;
        }
    }
    return bestIndex == 0 ? 1 : bestIndex;
}

bool IcoReader::LoadPngEntry(const Entry &e, SurfaceCore &cHost) {
    if (system_ == nullptr) return false;
    // An entry declaring too few bytes to hold the signature it was recognised by is an
    // entry that does not hold its image, as a short bitmap entry is.
    const bool recognised = system_->LoadPng(Image(e), cHost) || Image(e).size() < sizeof kPngSignature;
    if (cHost.HasImage()) cHost.SetImageType(image_type::kPngInIcon);
    else failure_ = DecodeFailure::kBadCompressedData;
    return recognised;
}

void IcoReader::LoadBitmapEntry(std::int32_t index, SurfaceCore &cHost) {
    cHost.DestroyDIB();
    const Entry &e = *At(index);
    const auto image = Image(e);
    const std::int32_t width = Width(index);
    const std::int32_t height = Height(index);
    const std::uint16_t bits = e.bitCount;
    failure_ = DecodeFailure::kTruncated;
    if (system_ == nullptr || image.size() < kInfoHeaderSize) return;
    failure_ = DecodeFailure::kUnsupported;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) return;

    // Uncompressed entries go to the system; 16- and 32-bit entries with bit fields are
    // decoded here. Any other compression is left to GDI+.
    const std::int64_t headerSize = HeaderSize(e);
    const auto headerWidth = static_cast<std::int32_t>(ReadLittleEndian32(&image[4]));
    const std::uint32_t compression = ReadLittleEndian32(&image[16]);
    const auto size = static_cast<std::int64_t>(image.size());
    if (headerSize < static_cast<std::int64_t>(kInfoHeaderSize) || headerSize > size) return;
    const bool bitFields = compression == kBitFields && (bits == 16 || bits == 32);
    if (headerWidth < 1 || (compression != 0 && !bitFields)) return;
    // A 40-byte header is followed by the masks; larger headers hold them at that place.
    const std::int64_t masksEnd = static_cast<std::int64_t>(kInfoHeaderSize + kMasksSize);
    if (bitFields && headerSize != static_cast<std::int64_t>(kInfoHeaderSize) && headerSize < masksEnd) return;
    failure_ = DecodeFailure::kTruncated;

    std::int64_t bitsStart = ColorByteOffset(index) - e.imageOffset;
    std::array<FieldMask, 3> rgb{FieldMask(0), FieldMask(0), FieldMask(0)};
    bool alphaBytes = bits == 32;
    if (bitFields) {
        if (size < masksEnd) return;
        for (std::size_t i = 0; i < 3; ++i) rgb[i] = FieldMask(ReadLittleEndian32(&image[kInfoHeaderSize + 4 * i]));
        if (headerSize == static_cast<std::int64_t>(kInfoHeaderSize)) bitsStart += static_cast<std::int64_t>(kMasksSize);
        // Colour in the top byte leaves no alpha byte: the AND mask gives transparency.
        alphaBytes = bits == 32 && ((rgb[0].mask | rgb[1].mask | rgb[2].mask) & 0xFF000000u) == 0;
    }

    std::int64_t colours = 0;
    if (bits <= 8) {
        colours = std::min<std::int64_t>(ColorCount(index), std::int64_t{1} << bits);
        if (colours < 1) return;
    }
    const std::int64_t paletteEnd = headerSize + 4 * colours;
    const std::int64_t stride = RowBytes(bits, headerWidth);
    if (paletteEnd > size || bitsStart > size || stride > (size - bitsStart) / height) return;
    const std::int64_t bitsSize = stride * height;
    if (!alphaBytes && RowBytes(1, width) > size / height) return;
    const auto colourRows = image.subspan(static_cast<std::size_t>(bitsStart), static_cast<std::size_t>(bitsSize));

    failure_ = DecodeFailure::kSystemRefused;
    if (bitFields) {
        if (!cHost.InitializeDIB(width, height)) return;
        DecodeBitFields(colourRows, static_cast<std::size_t>(stride), bits, rgb, headerWidth, cHost);
    } else {
        // The header as the system will read it: our own size, the height of the colour
        // bitmap alone, and no compressed data beyond what we copy.
        std::vector<std::uint8_t> info(static_cast<std::size_t>(kInfoHeaderSize + 4 * colours));
        std::memcpy(info.data(), image.data(), kInfoHeaderSize);
        std::memcpy(info.data() + kInfoHeaderSize, image.data() + headerSize, static_cast<std::size_t>(4 * colours));
        auto put32 = [&](std::size_t at, std::uint32_t v) {
            for (int b = 0; b < 4; ++b) info[at + static_cast<std::size_t>(b)] = static_cast<std::uint8_t>(v >> (8 * b));
        };
        put32(0, kInfoHeaderSize);
        put32(8, static_cast<std::uint32_t>(height));
        info[14] = static_cast<std::uint8_t>(bits);
        info[15] = static_cast<std::uint8_t>(bits >> 8);
        put32(20, 0); // image size
        put32(24, 0); // resolution
        put32(28, 0);
        put32(32, static_cast<std::uint32_t>(colours));
        if (!cHost.InitializeDIB(width, height)) return;
        if (!system_->DecodeDib(info, colourRows, cHost)) {
            cHost.DestroyDIB();
            return;
        }
    }
    failure_ = DecodeFailure::kNone;
    ApplyIconMask(index, alphaBytes ? colourRows : std::span<const std::uint8_t>{}, stride, cHost);
}

void IcoReader::ApplyIconMask(std::int32_t index, std::span<const std::uint8_t> alphaRows, std::int64_t stride,
                              SurfaceCore &cHost) const {
    if (!alphaRows.empty()) {
        ApplyIconAlphaBits(cHost, alphaRows, static_cast<std::size_t>(stride),
                           static_cast<std::int32_t>(std::min<std::int64_t>(stride / 4, cHost.Width())));
        cHost.SetImageType(IsCursor() ? image_type::kCursorWithAlpha : image_type::kIconWithAlpha);
        cHost.SetAlpha(true);
        return;
    }
    const bool transparent = ApplyIconMaskBits(cHost, data_.subspan(static_cast<std::size_t>(MaskOffset(index))));
    cHost.SetImageType(IsCursor() ? image_type::kCursorWithMask : image_type::kIconWithMask);
    cHost.SetAlpha(transparent);
}

void ApplyIconAlphaBits(SurfaceCore &host, std::span<const std::uint8_t> bits, std::size_t stride,
                        std::int32_t columns) {
    const auto width = static_cast<std::size_t>(host.Width());
    const auto cols = static_cast<std::size_t>(std::clamp<std::int32_t>(columns, 0, host.Width()));
    for (std::size_t row = 0; row < static_cast<std::size_t>(host.Height()); ++row) {
        std::uint8_t *p = host.BitsPointer() + row * width * 4;
        const std::uint8_t *src = bits.data() + row * stride;
        for (std::size_t x = 0; x < width; ++x, p += 4) {
            const std::uint8_t a = x < cols ? src[x * 4 + 3] : 0;
            if (a == 0) {
                std::memset(p, 0, 4);
            } else if (a == 255) {
                p[3] = 255;
            } else {
                for (int c = 0; c < 3; ++c) p[c] = static_cast<std::uint8_t>(p[c] * a / 255);
                p[3] = a;
            }
        }
    }
}

bool ApplyIconMaskBits(SurfaceCore &host, std::span<const std::uint8_t> mask) {
    const auto width = static_cast<std::size_t>(host.Width());
    const std::size_t maskScan = (width + 31) / 32 * 4;
    bool transparent = false;
    for (std::size_t row = 0; row < static_cast<std::size_t>(host.Height()); ++row) {
        std::uint8_t *p = host.BitsPointer() + row * width * 4;
        const std::uint8_t *m = mask.data() + row * maskScan;
        for (std::size_t x = 0; x < width; ++x, p += 4) {
            if (m[x / 8] & (0x80 >> (x % 8))) {
                std::memset(p, 0, 4);
                transparent = true;
            } else {
                p[3] = 255;
            }
        }
    }
    return transparent;
}

} // namespace lumio
