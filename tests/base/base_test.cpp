#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "basic_arith.h"
#include "run_time_error.h"
#include "scale_units.h"

namespace {

using namespace lumio;

int32_t ErrorOf(void (*f)()) {
    try {
        f();
    } catch (const RunTimeError& e) {
        return e.number();
    }
    return 0;
}

TEST(BasicArith, RoundsHalvesToEven) {
    struct Case {
        double in;
        int32_t out;
    } cases[] = {{62.5, 62}, {63.5, 64}, {-2.5, -2}, {-3.5, -4}, {0.49999, 0}, {2.5000001, 3}, {-0.5, 0}};
    for (auto c : cases) EXPECT_EQ(RoundToLong(c.in), c.out) << c.in;
    EXPECT_EQ(RoundToInteger(32767.4), 32767);
}

TEST(BasicArith, OverflowRaisesSix) {
    EXPECT_EQ(ErrorOf([] { RoundToLong(2147483647.5); }), kErrOverflow);  // rounds to 2^31
    EXPECT_EQ(ErrorOf([] { RoundToInteger(32767.5); }), kErrOverflow);
    EXPECT_EQ(ErrorOf([] { CheckedMul(65536, 32768); }), kErrOverflow);
    EXPECT_EQ(ErrorOf([] { CheckedAdd(INT32_MAX, 1); }), kErrOverflow);
    EXPECT_EQ(ErrorOf([] { IntDiv(INT32_MIN, -1); }), kErrOverflow);
    EXPECT_EQ(ErrorOf([] { IntDiv(1, 0); }), kErrDivisionByZero);
    EXPECT_EQ(CheckedMul(-65536, 32768), INT32_MIN);
}

TEST(BasicArith, CurrencyKeepsFourDecimalsAndOverflowsAtTheInt64Edge) {
    EXPECT_EQ(RoundToCurrency(10.5), 105000);
    EXPECT_EQ(RoundToCurrency(0.00005), 0);  // half of the last place, to even
    EXPECT_EQ(RoundToCurrency(1.23456), 12346);
    EXPECT_EQ(RoundToCurrency(-4), -40000);
    EXPECT_EQ(RoundToCurrency(-1e14), -1000000000000000000);
    EXPECT_EQ(ErrorOf([] { RoundToCurrency(922337203685477.6); }), kErrOverflow);  // 2^63 after scaling
    EXPECT_EQ(ErrorOf([] { RoundToCurrency(1e30); }), kErrOverflow);
    EXPECT_EQ(ErrorOf([] { RoundToCurrency(-1e30); }), kErrOverflow);
    EXPECT_EQ(ErrorOf([] { RoundToCurrency(std::numeric_limits<double>::infinity()); }), kErrOverflow);
    EXPECT_EQ(ErrorOf([] { RoundToCurrency(std::nan("")); }), kErrOverflow);
}

TEST(BasicArith, IntegerDivisionTruncatesTowardZero) {
    EXPECT_EQ(IntDiv(7, 2), 3);
    EXPECT_EQ(IntDiv(-7, 2), -3);
    EXPECT_EQ(IntDiv(7, -2), -3);
}

TEST(RunTimeErrors, DefaultSourceAndStandardText) {
    try {
        Raise(kErrInvalidPropertyValue);
    } catch (const RunTimeError& e) {
        EXPECT_EQ(e.source(), L"Lumiokit");
        EXPECT_EQ(e.description(), L"Invalid property value");
    }
    try {
        RaiseExact(-1, L"System does not support TrackMouseEvent.", L"");
    } catch (const RunTimeError& e) {
        EXPECT_EQ(e.number(), -1);
        EXPECT_TRUE(e.description().empty());
    }
}

TEST(ScaleUnits, ConvertsBetweenPixelsTwipsAndHimetric) {
    EXPECT_DOUBLE_EQ(TwipsPerPixel(96), 15.0);
    EXPECT_DOUBLE_EQ(TwipsPerPixel(120), 12.0);
    EXPECT_DOUBLE_EQ(ScaleConvert(10, ScaleUnit::Pixels, ScaleUnit::Twips, Axis::Horizontal, 96), 150.0);
    // One inch: 96 pixels, 1440 twips, 2540 HIMETRIC.
    EXPECT_NEAR(ScaleConvert(96, ScaleUnit::Pixels, ScaleUnit::Himetric, Axis::Vertical, 96), 2540.0, 1e-9);
    EXPECT_NEAR(ScaleConvert(2540, ScaleUnit::Himetric, ScaleUnit::Pixels, Axis::Horizontal, 120), 120.0, 1e-9);
    EXPECT_NEAR(ScaleConvert(1, ScaleUnit::Characters, ScaleUnit::Twips, Axis::Vertical, 96), 240.0, 1e-9);
    EXPECT_DOUBLE_EQ(ScaleConvert(7.25, ScaleUnit::Pixels, ScaleUnit::Pixels, Axis::Horizontal, 96), 7.25);
}

}  // namespace
