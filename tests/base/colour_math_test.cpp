#include <gtest/gtest.h>

#include <limits>
#include <vector>

#include "colour_math.h"
#include "ole_colour.h"
#include "run_time_error.h"

namespace {

using namespace lumio;

TEST(ColourMath, ClampKeepsItsOrderOfTests) {
    EXPECT_EQ(pClamp(250, 10, 100), 100);
    EXPECT_EQ(pClamp(0, 10, 100), 10);
    EXPECT_EQ(pClamp(55.5f, 10, 100), 55.5f);
    EXPECT_EQ(pClamp(std::numeric_limits<float>::quiet_NaN(), 10, 100), 10);
    // With min above max the max test comes first.
    EXPECT_EQ(pClamp(5, 10, 3), 3);
    EXPECT_EQ(pClamp(1, 10, 3), 10);
}

TEST(ColourMath, SplitComposeBlendAndShift) {
    Rgb c = pSplitRGB(0x00E6C8B4);
    EXPECT_EQ(c.r, 0xB4);
    EXPECT_EQ(c.g, 0xC8);
    EXPECT_EQ(c.b, 0xE6);
    EXPECT_EQ(pSplitRGB(-1).r, 0xFF);
    EXPECT_EQ(pRGB(1, 2, 3), 0x030201);
    EXPECT_EQ(pRGB(300, 0, 0), 300);  // channels are not masked
    try {
        pRGB(0, 0, 40000);
        ADD_FAILURE() << "no overflow";
    } catch (const lumio::RunTimeError& e) {
        EXPECT_EQ(e.number(), 6);
    }
    // 0xE6 + (0xFF - 0xE6) * 0.8 = 250.0; 100 + 155 * 0.5 = 177.5 rounds to 178 (even).
    EXPECT_EQ(pBlendColor(0xE6E6E6, 0xFFFFFF, 0.8f) & 0xFF, 250);
    EXPECT_EQ(pBlendColor(100, 255, 0.5f), 178);
    EXPECT_EQ(pShiftColor(0xF0F0F0, 0.08f), 0xFFFFFF);
    EXPECT_EQ(pShiftColor(0x101010, -0.1f), 0);
    EXPECT_EQ(pShiftColor(0x808080, 0.02f), 0x858585);  // 128 + 5.1 -> 133
}

TEST(TranslateSysColor, HighBitNamesASystemColourByTheRulesIndexBits) {
    std::vector<int> asked;
    auto sys = [&](int index) {
        asked.push_back(index);
        return 0x00100000u + static_cast<uint32_t>(index);
    };
    EXPECT_EQ(TranslateSysColorWith(0x80000002u, sys), 0x00100002u);
    EXPECT_EQ(TranslateSysColorWith(0x80001F0Fu, sys), 0x0010000Fu) << "only the low byte selects";
    EXPECT_EQ(TranslateSysColorWith(0x000000FFu, sys), 0x000000FFu);
    EXPECT_EQ(TranslateSysColorWith(0x7FFFFFFFu, sys), 0x7FFFFFFFu);
    EXPECT_EQ(asked, (std::vector<int>{2, 15}));
    asked.clear();
    EXPECT_EQ(TranslateSysColorWith(0x80001F0Fu, sys, lumio::kSysColorAllBits), 0x00101F0Fu)
        << "the list box's rule: every bit below the high one selects";
    EXPECT_EQ(asked, (std::vector<int>{0x1F0F}));
}

}  // namespace
