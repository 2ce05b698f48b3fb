#pragma once
// The arithmetic rules the controls follow: floating values become integers
// rounded half to even, integer division truncates, integer overflow raises 6.
#include <cstdint>

namespace lumio {

// Nearest integer, halves to even; out of the 32-bit range raises error 6.
int32_t RoundToLong(double value);
// The same into the 16-bit range.
int16_t RoundToInteger(double value);

// A currency value (scaled by 10,000, as font sizes are held), halves to
// even; out of the 64-bit range or not a number raises error 6.
int64_t RoundToCurrency(double value);

// Overflow-checked 32-bit arithmetic (error 6).
int32_t CheckedAdd(int32_t a, int32_t b);
int32_t CheckedSub(int32_t a, int32_t b);
int32_t CheckedMul(int32_t a, int32_t b);
// Integer division truncating toward zero; a zero divisor raises 11.
int32_t IntDiv(int32_t a, int32_t b);

}  // namespace lumio
