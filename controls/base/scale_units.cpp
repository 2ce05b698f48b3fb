#include "scale_units.h"

namespace lumio {

double TwipsPerPixel(int dpi) { return dpi > 0 ? 1440.0 / dpi : 15.0; }

namespace {
// Twips in one unit.
double TwipsPer(ScaleUnit unit, Axis axis, int dpi) {
    switch (unit) {
    case ScaleUnit::Twips: return 1.0;
    case ScaleUnit::Points: return 20.0;
    case ScaleUnit::Pixels: return TwipsPerPixel(dpi);
    case ScaleUnit::Characters: return axis == Axis::Horizontal ? 120.0 : 240.0;
    case ScaleUnit::Inches: return 1440.0;
    case ScaleUnit::Millimeters: return 1440.0 / 25.4;
    case ScaleUnit::Centimeters: return 1440.0 / 2.54;
    case ScaleUnit::Himetric: return 1440.0 / 2540.0;
    }
    return 1.0;
}
}  // namespace

double ScaleConvert(double value, ScaleUnit from, ScaleUnit to, Axis axis, int dpi) {
    if (from == to) return value;
    return value * TwipsPer(from, axis, dpi) / TwipsPer(to, axis, dpi);
}

}  // namespace lumio
