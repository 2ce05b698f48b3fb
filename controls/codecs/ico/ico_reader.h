#pragma once
// The ICO and CUR reader: validates the directory, picks the entry closest to a wanted
// size and depth, and decodes it (PNG entries through the PNG reader, uncompressed bitmap
// entries through the system, bit-field entries here, then alpha from their own alpha
// bytes or their AND mask).
//
// Every offset counts from the first byte of the data given; the data is never written.
#include <cstdint>
#include <span>
#include <vector>

#include "imaging/image_decoder.h"
#include "imaging/surface_core.h"
#include "system/system_decoder.h"

namespace lumio {

class IcoReader {
public:
    // `system` may be null when the reader only validates (no surface).
    explicit IcoReader(SystemDecoder *system) : system_(system) {}
    // The decoder for the next load (null: validation only); the read members need none.
    void SetSystem(SystemDecoder *system) noexcept { system_ = system; }

    // False when the data is no icon or cursor file (or the file is damaged before any
    // image is read); true otherwise, with or without an image in cHost. With cHost null
    // the directory is only validated and the read members describe it.
    bool LoadStream(std::span<const std::uint8_t> data, std::int32_t iconCx, std::int32_t iconCy,
                    SurfaceCore *cHost, std::int32_t iconBitDepth);

    // Entries are counted from 1; an index outside 1..IconCount reads as 0 (False).
    std::int32_t IconCount() const noexcept { return static_cast<std::int32_t>(entries_.size()); }
    std::int32_t Width(std::int32_t index) const noexcept;
    std::int32_t Height(std::int32_t index) const noexcept;
    bool IsIconPNG(std::int32_t index) const noexcept;
    std::int32_t bitDepth(std::int32_t index) const noexcept;
    std::int64_t ColorCount(std::int32_t index) const noexcept;
    std::int64_t ColorByteOffset(std::int32_t index) const noexcept;
    std::int64_t MaskOffset(std::int32_t index) const noexcept;
    bool IsCursor() const noexcept { return type_ == 2; }
    // Why the last load built no image (kNone when it did).
    DecodeFailure Failure() const noexcept { return failure_; }

    // The entry closest to the wanted size and depth; 0 when there is none to decode.
    std::int32_t SelectBestEntry(std::int32_t iconCx, std::int32_t iconCy, std::int32_t iconBitDepth) const;

private:
    struct Entry {
        std::uint8_t width = 0, height = 0, colorCount = 0, reserved = 0;
        std::uint16_t planes = 0, bitCount = 0;
        std::uint32_t bytesInRes = 0, imageOffset = 0;
    };
    const Entry *At(std::int32_t index) const noexcept;
    std::span<const std::uint8_t> Image(const Entry &e) const noexcept;
    std::int64_t HeaderSize(const Entry &e) const noexcept;
    bool CheckPngEntry(Entry &e);
    bool LoadPngEntry(const Entry &e, SurfaceCore &cHost);
    void LoadBitmapEntry(std::int32_t index, SurfaceCore &cHost);
    // Alpha from the entry's own 32-bit rows (`alphaRows`, `stride` bytes each), or from
    // its AND mask when there are none.
    void ApplyIconMask(std::int32_t index, std::span<const std::uint8_t> alphaRows, std::int64_t stride,
                       SurfaceCore &cHost) const;

    SystemDecoder *system_;
    std::span<const std::uint8_t> data_;
    std::uint16_t type_ = 0;
    std::vector<Entry> entries_;
    DecodeFailure failure_ = DecodeFailure::kNone;
};

// Alpha of an icon from its 32-bit colour rows (`stride` bytes each, bottom-up, `columns`
// pixels): alpha 0 clears the pixel, 255 makes it opaque, other values premultiply it.
// Pixels right of `columns` are cleared. `bits` holds at least Height rows.
void ApplyIconAlphaBits(SurfaceCore &host, std::span<const std::uint8_t> bits, std::size_t stride,
                        std::int32_t columns);
// Alpha of an icon from its AND mask (1 bit per pixel, most significant first, rows padded
// to 4 bytes, bottom-up, at least Height rows): set bits clear the pixel, clear bits make
// it opaque. True when at least one pixel became transparent.
bool ApplyIconMaskBits(SurfaceCore &host, std::span<const std::uint8_t> mask);

} // namespace lumio
