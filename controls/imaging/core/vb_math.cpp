#include "imaging/vb_math.h"

#include <cmath>

namespace lumio {

namespace vb {

double RoundHalfEven(double x) {
    if (!std::isfinite(x)) return x;
    double f = std::floor(x);
    double diff = x - f;
    if (diff > 0.5) return f + 1.0;
    if (diff < 0.5) return f;
    return std::fmod(f, 2.0) == 0.0 ? f : f + 1.0;
}

namespace {
template <class T> T ConvertRounded(double x) {
    double r = RoundHalfEven(x);
    if (!(r >= static_cast<double>(std::numeric_limits<T>::min()) &&
          r <= static_cast<double>(std::numeric_limits<T>::max())))
        Raise(kErrOverflow);
    return static_cast<T>(r);
}
} // namespace

std::int32_t CLng(double x) { return ConvertRounded<std::int32_t>(x); }
std::int16_t CInt(double x) { return ConvertRounded<std::int16_t>(x); }
std::uint8_t CByte(double x) { return ConvertRounded<std::uint8_t>(x); }

std::int32_t IntDiv(double a, double b) { return IntDiv<std::int32_t>(CLng(a), CLng(b)); }

} // namespace vb
} // namespace lumio
