#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

#include "imaging/cgdiplus.h"
#include "imaging/mod_parsers_win.h"

using namespace lumio;

// The process runs with gdiplus.dll unable to load.
TEST(WithoutGdiPlus, EveryOperationAnswersFalse) {
    ASSERT_FALSE(IsDllFunctionAvailable("gdiplus.dll", "GdiplusStartup"));
    c32bppDIB s;
    EXPECT_FALSE(s.isGDIplusEnabled());
    EXPECT_FALSE(s.HighQualityInterpolation());
    s.isGDIplusEnabled(true);
    EXPECT_FALSE(s.isGDIplusEnabled());
    EXPECT_TRUE(s.isAlphaBlendFriendly());

    cGDIPlus g;
    ULONG_PTR token = 0;
    EXPECT_FALSE(g.isGDIplusOk(token, true));
    EXPECT_EQ(token, 0u);
    ASSERT_TRUE(s.InitializeDIB(2, 2));
    std::vector<std::uint8_t> out;
    EXPECT_FALSE(g.SaveToPNG(L"", out, s, 0));
    EXPECT_FALSE(g.LoadImageToDIB(L"", std::vector<std::uint8_t>(8, 0), s, 0));
    EXPECT_EQ(GdiplusCalls().startups, 0);
}
