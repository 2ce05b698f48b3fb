// InflateStream against the bit-at-a-time model decoder: same result, same bytes; and the
// windowed form, over the input cut into pieces, against the one-buffer form.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <span>
#include <vector>

#include "inflate/inflate_stream.h"
#include "support/model_inflate.h"

using namespace lumio;

namespace {

struct Collect final : InflateSink {
    std::vector<uint8_t> bytes;
    void Take(std::span<const uint8_t> b) override { bytes.insert(bytes.end(), b.begin(), b.end()); }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (size < 3)
        return 0;
    // Byte 0 and 1: the expected size; the top bit of byte 0 selects long lengths.
    const bool longLengths = data[0] & 0x80;
    const size_t expected = (size_t(data[0] & 0x7F) << 10) | (size_t(data[1]) << 2);
    const std::vector<uint8_t> input(data + 2, data + size);
    std::vector<uint8_t> fast(expected, 0xCD), model(expected);
    // Odd sizes take the loop every processor runs, so both loops are fuzzed here.
    InflateForcePortable(size & 1);
    const bool a = InflateStream(fast, input, longLengths);
    const bool b = ModelInflate(model, input, longLengths);
    if (a != b || (a && fast != model))
        std::abort();

    // Piece lengths and the window's room follow from the input, so every run is repeatable.
    std::vector<std::span<const uint8_t>> pieces;
    for (size_t at = 0, k = 0; at < input.size(); ++k) {
        const size_t n = std::min(input.size() - at, size_t(1 + input[(k * 31) % input.size()] % 97));
        pieces.push_back({input.data() + at, n});
        at += n;
    }
    Collect windowed;
    const bool c = InflateStream(expected, pieces, windowed, longLengths, 258 + (size * 7919) % 4096);
    if (c != a || (c && windowed.bytes != fast))
        std::abort();
    return 0;
}
