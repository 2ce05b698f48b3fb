#include "imaging/codec_registry.h"

namespace lumio {

namespace {
// Filled once while the library starts; the library is single-threaded after that.
DecoderFactory g_decoders[kImageFormatCount] = {};
ZlibProbe g_zlibProbe = nullptr;
} // namespace

void RegisterDecoder(ImageFormat format, DecoderFactory make) noexcept {
    const auto i = static_cast<std::size_t>(format);
    if (i < kImageFormatCount) g_decoders[i] = make;
}

std::unique_ptr<ImageDecoder> MakeDecoder(ImageFormat format) {
    const auto i = static_cast<std::size_t>(format);
    return i < kImageFormatCount && g_decoders[i] != nullptr ? g_decoders[i]() : nullptr;
}

void RegisterZlibProbe(ZlibProbe probe) noexcept { g_zlibProbe = probe; }

bool ZlibInstalled() { return g_zlibProbe != nullptr && g_zlibProbe(); }

} // namespace lumio
