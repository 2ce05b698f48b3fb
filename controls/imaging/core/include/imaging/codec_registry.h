#pragma once
// What the surface reaches of the codecs, without depending on them: the codecs register a
// reader per format and their zlib probe when the library starts (controls/codecs), and the
// surface's members ask here.
#include <cstddef>
#include <cstdint>
#include <memory>

#include "imaging/image_decoder.h"

namespace lumio {

// The readers of the loading chain, in the order the loader tries them.
enum class ImageFormat : std::uint8_t { kPng, kGif, kIcon, kBmp };
constexpr std::size_t kImageFormatCount = 4;

// Makes a fresh reader: readers keep nothing between loads.
using DecoderFactory = std::unique_ptr<ImageDecoder> (*)();
// Replaces the reader of a format; null removes it.
void RegisterDecoder(ImageFormat format, DecoderFactory make) noexcept;
// A new reader of the format, or null when none is registered.
std::unique_ptr<ImageDecoder> MakeDecoder(ImageFormat format);

// Whether a zlib library is installed, asked anew at each call; false when no probe is registered.
using ZlibProbe = bool (*)();
void RegisterZlibProbe(ZlibProbe probe) noexcept;
bool ZlibInstalled();

} // namespace lumio
