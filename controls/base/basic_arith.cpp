#include "basic_arith.h"

#include <cmath>
#include <limits>

#include "run_time_error.h"

namespace lumio {

namespace {
// Nearest, ties to even, independent of the current rounding mode.
double RoundHalfEven(double v) {
    double floor_v = std::floor(v);
    double diff = v - floor_v;
    if (diff > 0.5) return floor_v + 1.0;
    if (diff < 0.5) return floor_v;
    return std::fmod(floor_v, 2.0) == 0.0 ? floor_v : floor_v + 1.0;
}
}  // namespace

int32_t RoundToLong(double value) {
    if (std::isnan(value)) Raise(kErrOverflow);
    double r = RoundHalfEven(value);
    if (r < static_cast<double>(std::numeric_limits<int32_t>::min()) ||
        r > static_cast<double>(std::numeric_limits<int32_t>::max()))
        Raise(kErrOverflow);
    return static_cast<int32_t>(r);
}

int16_t RoundToInteger(double value) {
    if (std::isnan(value)) Raise(kErrOverflow);
    double r = RoundHalfEven(value);
    if (r < -32768.0 || r > 32767.0) Raise(kErrOverflow);
    return static_cast<int16_t>(r);
}

int64_t RoundToCurrency(double value) {
    if (std::isnan(value)) Raise(kErrOverflow);
    double r = RoundHalfEven(value * 10000.0);
    // 2^63 is exact as a double; anything at or beyond it does not fit.
    if (r < -9223372036854775808.0 || r >= 9223372036854775808.0) Raise(kErrOverflow);
    return static_cast<int64_t>(r);
}

int32_t CheckedAdd(int32_t a, int32_t b) {
    int32_t r;
    if (__builtin_add_overflow(a, b, &r)) Raise(kErrOverflow);
    return r;
}

int32_t CheckedSub(int32_t a, int32_t b) {
    int32_t r;
    if (__builtin_sub_overflow(a, b, &r)) Raise(kErrOverflow);
    return r;
}

int32_t CheckedMul(int32_t a, int32_t b) {
    int32_t r;
    if (__builtin_mul_overflow(a, b, &r)) Raise(kErrOverflow);
    return r;
}

int32_t IntDiv(int32_t a, int32_t b) {
    if (b == 0) Raise(kErrDivisionByZero);
    if (a == std::numeric_limits<int32_t>::min() && b == -1) Raise(kErrOverflow);
    return a / b;
}

}  // namespace lumio
