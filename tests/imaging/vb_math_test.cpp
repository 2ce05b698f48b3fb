#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>

#include "imaging/vb_math.h"

using namespace lumio;

namespace {
template <class F> std::int32_t ErrorOf(F f) {
    try {
        f();
    } catch (const RunTimeError &e) {
        return e.number();
    }
    return 0;
}
} // namespace

TEST(VbMath, RoundsHalfToEven) {
    struct { double in, out; } cases[] = {
        {0.5, 0}, {1.5, 2}, {2.5, 2}, {-0.5, 0}, {-1.5, -2}, {-2.5, -2},
        {2.4999, 2}, {2.5001, 3}, {-2.5001, -3}, {1e15 + 0.5, 1e15}, {7, 7},
    };
    for (auto c : cases) EXPECT_EQ(vb::RoundHalfEven(c.in), c.out) << c.in;
    EXPECT_TRUE(std::isnan(vb::RoundHalfEven(NAN)));
}

TEST(VbMath, ConversionsRaiseOverflowOutOfRange) {
    EXPECT_EQ(vb::CLng(2147483647.4), INT32_MAX);
    EXPECT_EQ(vb::CLng(-2147483648.5), INT32_MIN); // rounds to even, stays in range
    EXPECT_EQ(ErrorOf([] { vb::CLng(2147483647.5); }), 6);
    EXPECT_EQ(ErrorOf([] { vb::CLng(NAN); }), 6);
    EXPECT_EQ(ErrorOf([] { vb::CInt(32767.5); }), 6);
    EXPECT_EQ(vb::CInt(-32768.4), -32768);
    EXPECT_EQ(vb::CByte(254.5), 254);
    EXPECT_EQ(vb::CByte(-0.5), 0);
    EXPECT_EQ(ErrorOf([] { vb::CByte(255.5); }), 6);
}

TEST(VbMath, IntegerOperationsRaiseOverflowAtTheirWidth) {
    EXPECT_EQ(vb::Add<std::int32_t>(INT32_MAX - 1, 1), INT32_MAX);
    EXPECT_EQ(ErrorOf([] { vb::Add<std::int32_t>(INT32_MAX, 1); }), 6);
    EXPECT_EQ(ErrorOf([] { vb::Sub<std::int32_t>(INT32_MIN, 1); }), 6);
    EXPECT_EQ(ErrorOf([] { vb::Mul<std::int32_t>(536870912, 4); }), 6);
    EXPECT_EQ(vb::Mul<std::int32_t>(536870911, 4), 2147483644);
    EXPECT_EQ(ErrorOf([] { vb::Neg<std::int32_t>(INT32_MIN); }), 6);
    EXPECT_EQ(ErrorOf([] { vb::Add<std::int16_t>(32767, 1); }), 6);
    EXPECT_EQ(vb::Mul<std::int16_t>(-128, 256), -32768);
}

TEST(VbMath, IntegerDivisionTruncates) {
    EXPECT_EQ(vb::IntDiv<std::int32_t>(7, 2), 3);
    EXPECT_EQ(vb::IntDiv<std::int32_t>(-7, 2), -3);
    EXPECT_EQ(vb::Mod<std::int32_t>(-7, 2), -1);
    EXPECT_EQ(ErrorOf([] { vb::IntDiv<std::int32_t>(1, 0); }), 11);
    EXPECT_EQ(ErrorOf([] { vb::IntDiv<std::int32_t>(INT32_MIN, -1); }), 6);
    // Floating operands are rounded half to even first: 2.5 \ 1.5 = 2 \ 2.
    EXPECT_EQ(vb::IntDiv(2.5, 1.5), 1);
    EXPECT_EQ(ErrorOf([] { vb::IntDiv(1.0, 0.4); }), 11);
}
