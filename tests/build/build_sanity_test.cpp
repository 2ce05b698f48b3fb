#include <gtest/gtest.h>

#include <cmath>

// The three builds must agree on floating point: no fused multiply-add.
TEST(BuildSanity, NoContractedMultiplyAdd) {
    volatile double a = 1.0 + std::ldexp(1.0, -30), b = 1.0 - std::ldexp(1.0, -30), c = -1.0;
    // a*b rounds to 1.0; a fused a*b+c would keep -2^-60.
    double r = a * b + c;
    EXPECT_EQ(r, 0.0);
}
