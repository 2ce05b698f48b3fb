#include "gray_scale.h"

namespace lumio::render {

void GrayScaleWeights(int32_t code, float &red, float &green, float &blue) {
    struct W { float r, g, b; };
    W w;
    switch (code) {
    case kGrayNone: w = {1.0f, 1.0f, 1.0f}; break;
    case kGrayBT709: w = {0.213f, 0.715f, 0.072f}; break;
    case kGrayAverage: w = {0.333f, 0.334f, 0.333f}; break;
    case kGrayRed: w = {0.8f, 0.1f, 0.1f}; break;
    case kGrayGreen: w = {0.1f, 0.8f, 0.1f}; break;
    case kGrayBlue: w = {0.1f, 0.1f, 0.8f}; break;
    case kGrayRedGreen: w = {0.45f, 0.45f, 0.1f}; break;
    case kGrayGreenBlue: w = {0.1f, 0.45f, 0.45f}; break;
    default: w = {0.299f, 0.587f, 0.114f}; break;
    }
    red = w.r;
    green = w.g;
    blue = w.b;
}

}  // namespace lumio::render
