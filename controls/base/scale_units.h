#pragma once
// Conversion between the scale units a control and its host use. The controls
// work in pixels; hosts speak twips and HIMETRIC.

namespace lumio {

// Numbered as hosts number their scale modes.
enum class ScaleUnit : int {
    Twips = 1,
    Points = 2,
    Pixels = 3,
    Characters = 4,
    Inches = 5,
    Millimeters = 6,
    Centimeters = 7,
    Himetric = 8,
};

enum class Axis { Horizontal, Vertical };

// Twips per pixel at dpi dots per inch (15 at 96 dpi).
double TwipsPerPixel(int dpi);

// value in from converted to to; pixels at the given dpi of that axis.
// A unit outside the table converts as twips.
double ScaleConvert(double value, ScaleUnit from, ScaleUnit to, Axis axis, int dpi);

}  // namespace lumio
