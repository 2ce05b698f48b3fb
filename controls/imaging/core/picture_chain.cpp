#include "imaging/picture_chain.h"

#include <algorithm>
#include <exception>
#include <memory>

#include "imaging/codec_registry.h"
#include "imaging/drop_files.h"
#include "imaging/image_type.h"
#include "run_time_error.h"

namespace lumio {
namespace {

IconDirectoryReader g_iconDirectory = nullptr;

// The whole file, or nothing when it cannot be read.
bool ReadWholeFile(ByteSource &file, std::vector<std::uint8_t> &out) {
    const std::uint64_t size = file.Size();
    if (size == 0 || size > 0x7FFFFFFF) return false;
    const std::uint8_t *p = file.Fetch(0, static_cast<std::size_t>(size));
    if (p == nullptr) return false;
    out.assign(p, p + size);
    return true;
}

// One reader's attempt; an error escaping it counts as "not mine".
bool Offer(ImageFormat format, const DecodeRequest &request, SurfaceCore &host, ChainHooks &hooks) {
    std::unique_ptr<ImageDecoder> reader = MakeDecoder(format);
    if (!reader) return false;
    try {
        return reader->Decode(request, host);
    } catch (const RunTimeError &e) {
        host.DestroyDIB();
        if (format == ImageFormat::kPng) hooks.ShowReaderError(e.description());
    } catch (const std::exception &) {
        host.DestroyDIB();
    }
    return false;
}

} // namespace

void RegisterIconDirectoryReader(IconDirectoryReader read) noexcept { g_iconDirectory = read; }

std::optional<std::span<const std::uint8_t>> StreamLoadRange(std::span<const std::uint8_t> bytes,
                                                            std::int32_t streamStart, std::int32_t streamLength) {
    if (bytes.empty() || streamLength < 0) return std::nullopt;
    const std::size_t start = streamStart < 0 ? 0 : static_cast<std::size_t>(streamStart);
    if (start >= bytes.size()) return std::nullopt;
    const std::size_t rest = bytes.size() - start;
    const std::size_t length = streamLength == 0 ? rest : std::min(rest, static_cast<std::size_t>(streamLength));
    if (length <= 56) return std::nullopt;
    return bytes.subspan(start, length);
}

bool LoadPictureData(SurfaceCore &host, const LoadRequest &request, ChainHooks &hooks) {
    host.DestroyDIB();
    std::vector<std::uint8_t> fileBytes;
    std::span<const std::uint8_t> bytes = request.bytes;
    MemoryByteSource memory(bytes);
    ByteSource &first = request.file != nullptr ? *request.file : static_cast<ByteSource &>(memory);
    DecodeRequest req{first, request.file != nullptr ? request.fileName : std::wstring_view{},
                      request.iconCx < 0 ? 0 : request.iconCx, request.iconCy < 0 ? 0 : request.iconCy,
                      request.iconBitDepth < 0 || request.iconBitDepth > 32 ? 32 : request.iconBitDepth,
                      request.gdiToken};

    bool recognised = Offer(ImageFormat::kPng, req, host, hooks);
    if (!recognised) {
        bool haveBytes = true;
        if (request.file != nullptr) {
            haveBytes = ReadWholeFile(*request.file, fileBytes);
            bytes = fileBytes;
        }
        if (haveBytes) {
            for (const ImageFormat format : {ImageFormat::kGif, ImageFormat::kIcon, ImageFormat::kBmp}) {
                MemoryByteSource source(bytes);
                DecodeRequest next{source, {}, req.iconCx, req.iconCy, req.iconBitDepth, req.gdiToken};
                if (Offer(format, next, host, hooks)) break;
            }
        }
    }

    std::vector<std::uint8_t> systemPng;
    bool keptPng = false;
    if (!host.HasImage() && hooks.SystemDecoderEnabled()) {
        // Into a separate array: the caller's bytes stay as they are.
        const std::wstring_view name = request.file != nullptr && bytes.empty() ? request.fileName : std::wstring_view{};
        try {
            if (hooks.DecodeWithSystem(name, bytes, host, request.saveFormat ? &systemPng : nullptr))
                keptPng = request.saveFormat && !systemPng.empty();
        } catch (const std::exception &) {
            host.DestroyDIB();
        }
    }
    if (!host.HasImage()) return false;

    if (request.saveFormat) {
        std::vector<std::uint8_t> kept;
        if (keptPng) {
            kept = std::move(systemPng);
        } else if (!bytes.empty()) {
            kept.assign(bytes.begin(), bytes.end());
        } else if (request.file != nullptr) {
            ReadWholeFile(*request.file, kept);
        }
        host.SetOriginalFormat(std::move(kept));
    }
    return true;
}

std::int32_t SourceIconSizes(const SurfaceCore &surface, std::vector<std::array<std::int32_t, 4>> &sizeArray) {
    using namespace image_type;
    const std::int32_t type = surface.ImageType();
    if (!surface.HasImage() ||
        (type != kIconWithMask && type != kCursorWithMask && type != kIconWithAlpha && type != kPngInIcon &&
         type != kCursorWithAlpha))
        return 0;
    if (surface.OriginalFormat().empty()) {
        sizeArray.assign(1, {surface.Width(), surface.Height(), 32, -1});
        return 1;
    }
    std::vector<IconSize> sizes;
    if (g_iconDirectory == nullptr || !g_iconDirectory(surface.OriginalFormat(), sizes) || sizes.empty()) return 0;
    sizeArray.clear();
    for (const IconSize &s : sizes) sizeArray.push_back({s.width, s.height, s.bitDepth, IconColourValue(s.bitDepth)});
    return static_cast<std::int32_t>(sizeArray.size());
}

} // namespace lumio
