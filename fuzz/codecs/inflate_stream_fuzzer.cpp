// InflateStream against the bit-at-a-time model decoder: same result, same bytes.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "inflate/inflate_stream.h"
#include "support/model_inflate.h"

using namespace lumio;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (size < 3)
        return 0;
    // Byte 0 and 1: the expected size; the top bit of byte 0 selects long lengths.
    const bool longLengths = data[0] & 0x80;
    const size_t expected = (size_t(data[0] & 0x7F) << 10) | (size_t(data[1]) << 2);
    const std::vector<uint8_t> input(data + 2, data + size);
    std::vector<uint8_t> fast(expected, 0xCD), model(expected);
    const bool a = InflateStream(fast, input, longLengths);
    const bool b = ModelInflate(model, input, longLengths);
    if (a != b || (a && fast != model))
        std::abort();
    return 0;
}
