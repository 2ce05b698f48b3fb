#pragma once
// The seam between the surface's loader and the image readers. The loader makes one reader
// per attempt (imaging/codec_registry.h), hands it the bytes and the surface, and learns from
// the result whether the format was recognised and from the surface whether an image exists.
// Why a reader built no image stays inside the library: tests and fuzzers read Failure().
#include <cstdint>
#include <string_view>

#include "imaging/byte_source.h"
#include "imaging/surface_core.h"

namespace lumio {

enum class DecodeFailure : std::uint8_t {
    kNone = 0,          // an image was built, or another decoder (GDI+) took the data
    kNotThisFormat,     // too short, or another format: the loader tries the next reader
    kTruncated,         // a structure reaches past the end of the data
    kBadHeader,         // header fields out of range or contradicting each other
    kTooLarge,          // more pixels or bytes than the reader accepts
    kBadChecksum,       // a stored checksum does not match
    kBadPalette,        // bad palette, or a pixel names a colour the palette lacks
    kNoImageData,       // the picture has no pixel data
    kBadCompressedData, // the compressed pixel data does not decompress
    kUnsupported,       // a variant of the format this reader does not decode
    kSystemRefused,     // the system declined: memory for the surface, or its own decoder
};

// A short English name of the reason, for test and fuzzer messages.
const char *DecodeFailureName(DecodeFailure why) noexcept;

struct DecodeRequest {
    ByteSource &source;
    // The open file's name when the source is a file: a decoder of the system may take the
    // file by name. Empty for bytes.
    std::wstring_view fileName = {};
    // The icon entry wanted (icon and cursor files).
    std::int32_t iconCx = 0;
    std::int32_t iconCy = 0;
    std::int32_t iconBitDepth = 32;
    // A GDI+ token lent by the host surface (0: none).
    std::uintptr_t gdiToken = 0;
};

class ImageDecoder {
public:
    virtual ~ImageDecoder() = default;
    // True when the data is this reader's format, whether or not an image was built.
    // Raises no error.
    virtual bool Decode(const DecodeRequest &request, SurfaceCore &host) = 0;
    // Why the last Decode left the surface without image (kNone when it built one).
    DecodeFailure Failure() const noexcept { return failure_; }

protected:
    void SetFailure(DecodeFailure why) noexcept { failure_ = why; }

private:
    DecodeFailure failure_ = DecodeFailure::kNone;
};

} // namespace lumio
