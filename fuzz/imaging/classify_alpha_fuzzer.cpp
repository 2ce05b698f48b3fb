// Any pixels, once classified and converted, are valid premultiplied pixels:
// no colour above its alpha, nothing but zeros where alpha is 0.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "imaging/mod_parsers.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    if (size < 2) return 0;
    const std::int32_t width = data[0] % 17;
    const bool forceOpaque = data[1] & 0x80;
    const std::vector<std::uint8_t> in(data + 2, data + size);
    const std::int32_t height = width == 0 ? 0 : static_cast<std::int32_t>(in.size() / (std::size_t(width) * 4));
    // Exactly the pixel bytes, so that the sanitizer sees any read past them.
    std::vector<std::uint8_t> px(in.begin(), in.begin() + std::size_t(width) * height * 4);
    const std::vector<std::uint8_t> original = px;
    bool alpha = false;
    std::int32_t type = forceOpaque ? -1 : 0;
    lumio::ClassifyAlpha(px.data(), width, height, true, alpha, type);
    if (type != 1 && type != 6 && type != 7) std::abort();
    if (alpha != (type != 1)) std::abort();
    if (type == 7 && px != original) std::abort();
    for (std::size_t i = 0; i < px.size(); i += 4) {
        const std::uint8_t *p = &px[i];
        if (p[0] > p[3] || p[1] > p[3] || p[2] > p[3]) std::abort();
        if (type == 1 && p[3] != 255) std::abort();
        if (type != 1 && p[3] != original[i + 3]) std::abort(); // alpha itself is kept
    }
    return 0;
}
