#pragma once
// What a PNG should decode to, by libpng: palette and low-bit grey expanded, 16-bit samples
// cut to their high byte, grey turned to RGB, transparency turned to alpha (for 16-bit
// images the key compares high bytes only), no gamma; then premultiplied c * a / 255,
// truncating, a pixel with alpha 0 all zero. Rows top-down, pixels B, G, R, A.
#include <cstdint>
#include <optional>
#include <vector>

struct ReferenceImage {
    int32_t width = 0, height = 0;
    bool hasAlpha = false;  // colour type with alpha, or a tRNS chunk
    std::vector<uint8_t> bgra;
    std::vector<uint8_t> rgba;  // the same pixels straight (not premultiplied), R, G, B, A
};

// Empty when libpng refuses the file.
std::optional<ReferenceImage> DecodeWithLibpng(const std::vector<uint8_t> &png);
