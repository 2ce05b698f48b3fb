#include "imaging/image_decoder.h"

namespace lumio {

const char *DecodeFailureName(DecodeFailure why) noexcept {
    switch (why) {
    case DecodeFailure::kNone: return "none";
    case DecodeFailure::kNotThisFormat: return "not this format";
    case DecodeFailure::kTruncated: return "truncated";
    case DecodeFailure::kBadHeader: return "bad header";
    case DecodeFailure::kTooLarge: return "too large";
    case DecodeFailure::kBadChecksum: return "bad checksum";
    case DecodeFailure::kBadPalette: return "bad palette";
    case DecodeFailure::kNoImageData: return "no image data";
    case DecodeFailure::kBadCompressedData: return "bad compressed data";
    case DecodeFailure::kUnsupported: return "unsupported";
    case DecodeFailure::kSystemRefused: return "system refused";
    }
    return "?";
}

} // namespace lumio
