#pragma once
// The per-pixel pass of a button picture over 24-bit bottom-up rows: pixels
// of the key colour show the background, the rest are blended at an opacity.
#include <cstdint>
#include <functional>
#include <optional>

namespace lumio::buttons {

// Bytes of one 24-bit row, padded to 4 bytes.
int32_t Stride24(int32_t width);

// pic and back hold height rows of Stride24(width) bytes (B, G, R). nearest
// maps an RGB value to the colour the device would show for it; a pixel
// whose nearest colour is key takes the background's bytes.
void KeyAndBlendPicture(uint8_t* pic, const uint8_t* back, int32_t width, int32_t height,
                        std::optional<int32_t> key, float opacity,
                        const std::function<int32_t(int32_t)>& nearest);

}  // namespace lumio::buttons
