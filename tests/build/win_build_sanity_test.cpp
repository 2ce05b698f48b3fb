#include <gtest/gtest.h>
#include <windows.h>

// Wine runs these tests with code page 936, as a Chinese system would.
TEST(WineHarness, AnsiCodePageIs936) { EXPECT_EQ(GetACP(), 936u); }

TEST(WineHarness, ScreenIs32BitColour) {
    HDC dc = GetDC(nullptr);
    ASSERT_NE(dc, nullptr);
    EXPECT_EQ(GetDeviceCaps(dc, BITSPIXEL), 32);
    ReleaseDC(nullptr, dc);
}
