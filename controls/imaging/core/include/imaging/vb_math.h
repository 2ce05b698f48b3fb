#pragma once
// Integer and rounding arithmetic with the control runtime's rules:
// 16- and 32-bit integer operations raise error 6 on overflow, conversions
// from floating point round half to even, and integer division truncates.
#include <cstdint>
#include <limits>
#include <type_traits>

#include "run_time_error.h"

namespace lumio::vb {

template <class T>
concept VbInteger = std::is_same_v<T, std::int16_t> || std::is_same_v<T, std::int32_t>;

template <VbInteger T>
T Narrow(std::int64_t v) {
    if (v < std::numeric_limits<T>::min() || v > std::numeric_limits<T>::max())
        Raise(kErrOverflow);
    return static_cast<T>(v);
}

template <VbInteger T> T Add(T a, T b) { return Narrow<T>(std::int64_t{a} + b); }
template <VbInteger T> T Sub(T a, T b) { return Narrow<T>(std::int64_t{a} - b); }
template <VbInteger T> T Mul(T a, T b) { return Narrow<T>(std::int64_t{a} * b); }
template <VbInteger T> T Neg(T a) { return Narrow<T>(-std::int64_t{a}); }
template <VbInteger T> T Abs(T a) { return Narrow<T>(a < 0 ? -std::int64_t{a} : a); }

// The \ operator: quotient truncated toward zero; 0 divisor raises 11.
template <VbInteger T> T IntDiv(T a, T b) {
    if (b == 0) Raise(kErrDivisionByZero);
    return Narrow<T>(std::int64_t{a} / b);
}
// Mod: remainder with the dividend's sign; 0 divisor raises 11.
template <VbInteger T> T Mod(T a, T b) {
    if (b == 0) Raise(kErrDivisionByZero);
    return static_cast<T>(std::int64_t{a} % b);
}

// Half to even (banker's) rounding to a whole number; NaN and infinities unchanged.
double RoundHalfEven(double x);

// Conversions of floating-point values: round half to even, then raise 6 out of range (and for NaN).
std::int32_t CLng(double x);
std::int16_t CInt(double x);
std::uint8_t CByte(double x);

// The \ operator on floating-point operands: both are first converted with CLng.
std::int32_t IntDiv(double a, double b);

} // namespace lumio::vb
