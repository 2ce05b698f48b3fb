#pragma once
// DEFLATE decoder for the image data of PNG files, used when no zlib library is installed
// or when zlib refuses the data.
#include <cstddef>
#include <cstdint>
#include <span>

namespace lumio {

// Inflates the zlib stream in `input` into `output`, whose size is the expected size.
// The two header bytes are skipped unchecked and the Adler-32 trailer is not read.
// Output never goes past output.size(); a stream that ends earlier succeeds and the rest
// of `output` is zero. Returns false on any decoding error.
// longLengths: a length of exactly 258 is followed by 16 bits holding the length - 3.
bool InflateStream(std::span<uint8_t> output, std::span<const uint8_t> input, bool longLengths = false);

// Receives inflated bytes in order, a piece at a time; a piece is valid only during the call.
class InflateSink {
public:
    virtual ~InflateSink() = default;
    virtual void Take(std::span<const uint8_t> bytes) = 0;
};

// The same decoding without holding the whole output: the stream, given as the pieces it
// is stored in, is inflated through a window of a few hundred KB and each stretch is handed
// to `sink` before it is overwritten. On success the sink has been given exactly outputSize
// bytes (zeros after an early end); on failure, some prefix of them. Throws std::bad_alloc
// when the window cannot be had. windowRoom: bytes the window holds beyond the 64 KB that
// matches reach back into (0: the default; never less than the longest match), so tests can
// make it slide often.
bool InflateStream(uint64_t outputSize, std::span<const std::span<const uint8_t>> input, InflateSink &sink,
                   bool longLengths = false, size_t windowRoom = 0);

// Tests: decode with the loop that every processor of the target runs, even where this one
// has a faster variant (same results, only slower).
void InflateForcePortable(bool on);

}  // namespace lumio
