#pragma once
// Rounding of the image arithmetic: to the nearest integer, ties to even.
#include <cmath>

namespace lumio::render {

inline double RoundHalfEven(double v) { return std::nearbyint(v); }
inline float RoundHalfEven(float v) { return std::nearbyint(v); }

}  // namespace lumio::render
