#include <gtest/gtest.h>
#include <windows.h>

#include "ole_colour_win.h"
#include "os_version_win.h"

using namespace lumio;

TEST(TranslateOleColor, SystemColoursAndPlainColours) {
    for (int index : {COLOR_WINDOW, COLOR_BTNFACE, COLOR_HIGHLIGHT, COLOR_WINDOWTEXT, COLOR_3DDKSHADOW}) {
        EXPECT_EQ(TranslateOleColor(0x80000000u | static_cast<std::uint32_t>(index)), GetSysColor(index)) << index;
    }
    EXPECT_EQ(TranslateOleColor(0x00123456u), 0x00123456u);
    EXPECT_EQ(TranslateOleColor(0x800000FFu), 0u) << "no such system colour";
}

TEST(TranslateSysColor, HighBitReadsTheSystemColourAndKeepsOtherValues) {
    EXPECT_EQ(TranslateSysColor(0x80000000u | COLOR_BTNFACE), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(TranslateSysColor(0x00123456u), 0x00123456u);
    EXPECT_EQ(TranslateSysColor(0x02123456u), 0x02123456u) << "no palette rules here";
}

TEST(OsVersion, TheSystemAnswersAsTheNtFamily) {
    const auto v = QueryOsVersion();
    ASSERT_TRUE(v.has_value());
    EXPECT_EQ(v->platformId, kPlatformNt);
    EXPECT_GE(v->major, 5u);
    EXPECT_TRUE(IsNtFamily());
}
