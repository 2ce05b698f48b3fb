#pragma once
#include <cstdint>

namespace lumio::render {

// Grayscale formula codes of Render.
enum GrayScaleCode : int32_t {
    kGrayNone = -1,
    kGrayBT601 = 0,
    kGrayBT709 = 1,
    kGrayAverage = 2,
    kGrayRed = 3,
    kGrayGreen = 4,
    kGrayBlue = 5,
    kGrayRedGreen = 6,
    kGrayGreenBlue = 7,
};

// Channel weights of a grayscale code; unknown codes use BT.601.
void GrayScaleWeights(int32_t code, float &red, float &green, float &blue);

}  // namespace lumio::render
