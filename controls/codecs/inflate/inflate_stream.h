#pragma once
// DEFLATE decoder for the image data of PNG files, used when no zlib library is installed
// or when zlib refuses the data.
#include <cstdint>
#include <span>

namespace lumio {

// Inflates the zlib stream in `input` into `output`, whose size is the expected size.
// The two header bytes are skipped unchecked and the Adler-32 trailer is not read.
// Output never goes past output.size(); a stream that ends earlier succeeds and the rest
// of `output` is zero. Returns false on any decoding error.
// longLengths: a length of exactly 258 is followed by 16 bits holding the length - 3.
bool InflateStream(std::span<uint8_t> output, std::span<const uint8_t> input, bool longLengths = false);

}  // namespace lumio
