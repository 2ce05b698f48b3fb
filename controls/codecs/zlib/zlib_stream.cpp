#include "zlib/zlib_stream.h"

#include <algorithm>
#include <memory>

namespace lumio {

bool ZlibInflateStream(ZlibInflater &zlib, uint64_t outputSize, std::span<const std::span<const uint8_t>> input,
                       InflateSink &sink) {
    // Small images need no more than their own size; when the whole output fits, Z_FINISH
    // lets zlib skip its window.
    constexpr size_t kBuffer = 1u << 15;
    const size_t size = size_t(std::clamp<uint64_t>(outputSize, 1, kBuffer));
    const bool finish = outputSize <= kBuffer;
    const std::unique_ptr<uint8_t[]> buffer(new uint8_t[size]);
    uint64_t left = outputSize;
    size_t next = 0;
    std::span<const uint8_t> in;
    for (;;) {
        while (in.empty() && next < input.size())
            in = input[next++];
        // Once the expected size is reached, one byte more of room: zlib writing it means
        // the output would not have fit.
        std::span<uint8_t> out(buffer.get(), left ? size_t(std::min<uint64_t>(left, size)) : 1);
        const size_t room = out.size(), available = in.size();
        const int status = zlib.Inflate(in, out, finish);
        const size_t produced = room - out.size();
        if (produced) {
            if (!left)
                return false;
            sink.Take({buffer.get(), produced});
            left -= produced;
        }
        if (status == kZlibStreamEnd)
            break;
        // Z_BUF_ERROR after some progress: Z_FINISH with more input still to come. Without
        // progress, the input ran out (or the output would not fit): a refusal, as is any
        // other status.
        const bool progress = produced || in.size() != available;
        if (status != kZlibOk && !(status == kZlibBufError && progress))
            return false;
    }
    // An early end: the rest reads as zeros.
    std::fill_n(buffer.get(), size_t(std::min<uint64_t>(left, size)), uint8_t(0));
    while (left) {
        const size_t n = size_t(std::min<uint64_t>(left, size));
        sink.Take({buffer.get(), n});
        left -= n;
    }
    return true;
}

}  // namespace lumio
