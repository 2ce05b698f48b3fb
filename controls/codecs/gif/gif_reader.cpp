#include "gif/gif_reader.h"

#include <cstring>

#include "imaging/image_type.h"
#include "imaging/mod_parsers.h"

namespace lumio {
namespace {

constexpr std::size_t kHeaderSize = 13;
constexpr std::size_t kControlExtensionSize = 8;
constexpr std::size_t kDescriptorSize = 10;

// True when n bytes from pos lie inside the data.
bool Inside(std::span<const std::uint8_t> data, std::size_t pos, std::size_t n) {
    return pos <= data.size() && n <= data.size() - pos;
}

bool IsSignature(std::span<const std::uint8_t> data) {
    if (data.size() < 6) return false;
    char text[6];
    for (int i = 0; i < 6; ++i) {
        const std::uint8_t c = data[static_cast<std::size_t>(i)];
        text[i] = static_cast<char>(c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c);
    }
    return std::memcmp(text, "gif89a", 6) == 0 || std::memcmp(text, "gif87a", 6) == 0;
}

// Past a chain of sub-blocks that starts at pos; false when the chain leaves the data.
bool SkipSubBlocks(std::span<const std::uint8_t> data, std::size_t &pos) {
    for (;;) {
        if (!Inside(data, pos, 1)) return false;
        const std::uint8_t length = data[pos];
        if (length == 0) break;
        pos += std::size_t{length} + 1;
    }
    pos += 1;
    return true;
}

} // namespace

GifReader::Walk GifReader::ParseFirstFrame(std::span<const std::uint8_t> data, Frame &frame) {
    frame = {};
    if (!IsSignature(data)) return Walk::kNotGif;
    if (!Inside(data, 0, kHeaderSize)) return Walk::kDamaged;

    std::int32_t colours = 0;
    std::size_t firstBlock = kHeaderSize;
    if (data[10] & 0x80) {
        colours = 2 << (data[10] & 7);
        firstBlock += 3 * static_cast<std::size_t>(colours);
        if (!Inside(data, 0, firstBlock)) return Walk::kDamaged;
    }
    frame.tableOffset = kHeaderSize;

    std::size_t pos = firstBlock;
    std::size_t control = 0; // 0: no graphic control extension
    std::int32_t transparent = -1;
    for (;;) {
        if (!Inside(data, pos, 1)) return Walk::kDamaged;
        const std::uint8_t byte = data[pos];
        if (byte == 0x00) {
            ++pos;
            continue;
        }
        if (byte != 0x21) break;
        if (!Inside(data, pos, 2)) return Walk::kDamaged;
        const std::uint8_t label = data[pos + 1];
        if (label == 0xFF) {
            if (!Inside(data, pos, 3)) return Walk::kDamaged;
            pos += 3 + std::size_t{data[pos + 2]};
            if (!SkipSubBlocks(data, pos)) return Walk::kDamaged;
        } else if (label == 0xF9) {
            if (!Inside(data, pos, kControlExtensionSize)) return Walk::kDamaged;
            transparent = (data[pos + 3] & 1) ? data[pos + 6] : -1;
            control = pos;
            pos += kControlExtensionSize;
        } else {
            pos += 2;
            if (!SkipSubBlocks(data, pos)) return Walk::kDamaged;
        }
    }
    if (data[pos] != 0x2C) return Walk::kNoImage;

    const std::size_t descriptor = pos;
    if (!Inside(data, descriptor, kDescriptorSize + 1)) return Walk::kDamaged;
    const std::uint8_t packed = data[descriptor + 9];
    std::size_t localTable = 0;
    pos = descriptor + kDescriptorSize + 1; // past the LZW minimum code size
    if (packed & 0x80) {
        colours = 2 << (packed & 7);
        localTable = descriptor + kDescriptorSize;
        frame.tableOffset = localTable;
        pos += 3 * static_cast<std::size_t>(colours);
        if (!Inside(data, localTable, 3 * static_cast<std::size_t>(colours) + 1)) return Walk::kDamaged;
    }
    if (!SkipSubBlocks(data, pos)) return Walk::kDamaged;
    const std::size_t imageBytes = pos - descriptor;
    if (imageBytes - 1 < 3) return Walk::kNoImage;
    if (colours == 0) return Walk::kNoImage;

    std::vector<std::uint8_t> &gif = frame.gif;
    gif.reserve(firstBlock + kControlExtensionSize + imageBytes + 1);
    gif.assign(data.begin(), data.begin() + static_cast<std::ptrdiff_t>(firstBlock));
    if (control != 0)
        gif.insert(gif.end(), data.begin() + static_cast<std::ptrdiff_t>(control),
                   data.begin() + static_cast<std::ptrdiff_t>(control + kControlExtensionSize));
    const std::size_t copied = gif.size();
    gif.insert(gif.end(), data.begin() + static_cast<std::ptrdiff_t>(descriptor),
               data.begin() + static_cast<std::ptrdiff_t>(pos));
    gif.push_back(0x3B);
    // The system's loader takes the signature in capitals only.
    std::memcpy(&gif[0], "GIF", 3);
    gif[5] = 'a';
    // The frame becomes the whole picture, at the origin.
    std::memset(&gif[copied + 1], 0, 4);
    std::memcpy(&gif[6], &gif[copied + 5], 4);

    if (transparent >= 0) {
        // Decoded pixel values then equal the colour indexes, whatever colours repeat.
        const std::size_t table = localTable != 0 ? copied + kDescriptorSize : kHeaderSize;
        for (std::int32_t i = 0; i < colours; ++i)
            std::memset(&gif[table + 3 * static_cast<std::size_t>(i)], i, 3);
    }
    frame.transparentIndex = transparent;
    frame.colours = colours;
    return Walk::kFrame;
}

bool GifReader::RenderFirstFrame(Frame &frame, std::span<const std::uint8_t> data, SurfaceCore &cHost) {
    const DecodeResult decoded = system_.DecodeGif(frame.gif, cHost);
    frame.gif.clear();
    frame.gif.shrink_to_fit();
    if (decoded != DecodeResult::kFilled || !cHost.HasImage()) {
        failure_ = DecodeFailure::kSystemRefused;
        cHost.DestroyDIB();
        return decoded != DecodeResult::kNoPicture;
    }
    if (frame.transparentIndex < 0) {
        bool alpha = false;
        std::int32_t type = -1;
        ClassifyAlpha(cHost.BitsPointer(), cHost.Width(), cHost.Height(), true, alpha, type);
        cHost.SetAlpha(false);
    } else {
        std::uint8_t *p = cHost.BitsPointer();
        const std::size_t pixels = cHost.ByteCount() / 4;
        for (std::size_t i = 0; i < pixels; ++i, p += 4) {
            const std::int32_t index = p[0];
            if (index == frame.transparentIndex) {
                std::memset(p, 0, 4);
            } else if (index >= frame.colours) {
                p[0] = p[1] = p[2] = 0;
                p[3] = 255;
            } else {
                const std::uint8_t *rgb = &data[frame.tableOffset + 3 * static_cast<std::size_t>(index)];
                p[0] = rgb[2];
                p[1] = rgb[1];
                p[2] = rgb[0];
                p[3] = 255;
            }
        }
        cHost.SetAlpha(true);
    }
    cHost.SetImageType(image_type::kGif);
    return true;
}

bool GifReader::LoadStream(std::span<const std::uint8_t> data, SurfaceCore &cHost) {
    Frame frame;
    failure_ = DecodeFailure::kNone;
    switch (ParseFirstFrame(data, frame)) {
    case Walk::kNotGif: failure_ = DecodeFailure::kNotThisFormat; return false;
    case Walk::kNoImage: failure_ = DecodeFailure::kNoImageData; return false;
    case Walk::kDamaged:
        failure_ = DecodeFailure::kTruncated;
        cHost.DestroyDIB();
        return true;
    case Walk::kFrame: break;
    }
    return RenderFirstFrame(frame, data, cHost);
}

} // namespace lumio
