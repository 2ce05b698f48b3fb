#pragma once
// zlib's inflate driven a buffer at a time, so the output need not be held whole.
#include <cstdint>
#include <span>

#include "inflate/inflate_stream.h"
#include "zlib/zlib_api.h"

namespace lumio {

// Inflates the stream, given as the pieces it is stored in, handing the output to `sink` in
// order. Succeeds exactly when zlib's uncompress into a buffer of outputSize bytes would
// report Z_OK: the stream is complete, its checksum right, and its output fits. On success
// the sink has been given outputSize bytes (zeros after an early end); on failure, some
// prefix of them. Throws std::bad_alloc when its buffer cannot be had.
bool ZlibInflateStream(ZlibInflater &zlib, uint64_t outputSize, std::span<const std::span<const uint8_t>> input,
                       InflateSink &sink);

}  // namespace lumio
