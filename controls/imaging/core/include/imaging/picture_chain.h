#pragma once
// The loading chain of a surface: every load ends in LoadPictureData, which offers the bytes
// to the registered readers (PNG, GIF, ICO/CUR, BMP), then to the system's decoder (GDI+)
// when no image exists yet, and keeps the source bytes on request. Portable: what the
// system adds (GDI+, the message for a reader's error) comes through ChainHooks.
#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "imaging/byte_source.h"
#include "imaging/surface_core.h"

namespace lumio {

class ChainHooks {
public:
    virtual ~ChainHooks() = default;
    // Whether the system's decoder (GDI+) may be tried after the readers.
    virtual bool SystemDecoderEnabled() const { return false; }
    // Decodes the file (fileName not empty) or the bytes into the host; with png not null
    // also writes the PNG encoding of the image there. False when it could not.
    virtual bool DecodeWithSystem(std::wstring_view /*fileName*/, std::span<const std::uint8_t> /*bytes*/,
                                  SurfaceCore & /*host*/, std::vector<std::uint8_t> * /*png*/) {
        return false;
    }
    // The description of a run-time error that escaped the PNG reader, shown to the user.
    virtual void ShowReaderError(const std::wstring & /*description*/) {}
};

struct LoadRequest {
    ByteSource *file = nullptr;       // an open file, or null for bytes
    std::wstring_view fileName = {};  // the file's name (with a file)
    std::span<const std::uint8_t> bytes = {}; // without a file: the range to read
    std::int32_t iconCx = 0, iconCy = 0, iconBitDepth = 32;
    bool saveFormat = false;
    std::uintptr_t gdiToken = 0;
};

// Destroys the host's image, then loads; true when the host holds an image afterwards.
// Kept bytes (saveFormat) are the range read, the file's bytes, or the system decoder's PNG.
bool LoadPictureData(SurfaceCore &host, const LoadRequest &request, ChainHooks &hooks);

// The range a stream load reads: a start below 0 becomes 0, a length of 0 the rest of the
// array, a length past the array's end is clipped. Nothing when the start lies past the end
// or 56 bytes or fewer remain (too few for any picture the chain reads).
std::optional<std::span<const std::uint8_t>> StreamLoadRange(std::span<const std::uint8_t> bytes,
                                                            std::int32_t streamStart, std::int32_t streamLength);

// Width, height and bit depth of each image of an icon or cursor file.
struct IconSize {
    std::int32_t width = 0, height = 0, bitDepth = 0;
};
using IconDirectoryReader = bool (*)(std::span<const std::uint8_t> bytes, std::vector<IconSize> &sizes);
// Registered by the codecs: the icon reader's validation and read members.
void RegisterIconDirectoryReader(IconDirectoryReader read) noexcept;

// SourceIconSizes: one column of (width, height, bits, colour value) per icon of the kept
// bytes, or the surface's own size, 32 and -1 when nothing was kept. 0 for surfaces that
// hold no icon or cursor (image types 3, 5, 8, 11, 12) and for kept bytes that are none.
std::int32_t SourceIconSizes(const SurfaceCore &surface, std::vector<std::array<std::int32_t, 4>> &sizeArray);

} // namespace lumio
