#include <gtest/gtest.h>

#include <vector>

#include "imaging/capability_flags.h"
#include "imaging/byte_source.h"
#include "imaging/mod_parsers.h"
#include "run_time_error.h"

using namespace lumio;

TEST(ByteRoutines, ScanWidthForBits) {
    struct { std::uint8_t bits; std::int32_t width, bytes; } cases[] = {
        {24, 3, 12}, {1, 33, 8}, {32, 5, 20}, {8, 0, 0}, {4, 1, 4}, {1, 2147483616, 268435452},
    };
    for (auto c : cases) EXPECT_EQ(ScanWidthForBits(c.bits, c.width), c.bytes) << +c.bits << "x" << c.width;
    EXPECT_THROW(ScanWidthForBits(1, 2147483617), RunTimeError);
    EXPECT_THROW(ScanWidthForBits(32, 67108864), RunTimeError);
}

TEST(ByteRoutines, SwapLongBytes) {
    // The big-endian bytes 00 00 00 0D read little-endian are 0x0D000000.
    EXPECT_EQ(SwapLongBytes(0x0D000000), 13);
    EXPECT_EQ(SwapLongBytes(0x12345678), 0x78563412);
    EXPECT_EQ(SwapLongBytes(static_cast<std::int32_t>(0x80000001u)), 0x01000080);
    for (std::int32_t v : {0, -1, 13, INT32_MIN, 0x7F00FF01}) EXPECT_EQ(SwapLongBytes(SwapLongBytes(v)), v);
    const std::uint8_t be[4] = {0, 0, 0, 13};
    EXPECT_EQ(ReadBigEndian32(be), 13u);
}

TEST(CapabilityFlags, FromOperatingSystemVersion) {
    struct { OsVersion v; std::uint32_t flags; } cases[] = {
        {{1, 4, 0, 0}, 0x20},  // Windows 95
        {{1, 4, 10, 0}, 0x18}, // Windows 98
        {{1, 4, 90, 0}, 0x18}, // ME
        {{2, 4, 0, 5}, 0x20},  // NT 4 SP5
        {{2, 4, 0, 6}, 0x00},  // NT 4 SP6
        {{2, 3, 51, 0}, 0x20},
        {{2, 5, 0, 0}, 0x09},  // 2000
        {{2, 10, 0, 0}, 0x09},
    };
    for (auto c : cases) EXPECT_EQ(CapabilityFlagsFor(c.v), c.flags) << c.v.platformId << " " << c.v.major << "." << c.v.minor;
    // AlphaBlend rendering can only be switched on where it is usable.
    EXPECT_EQ(WithAlphaBlendFriendly(0x20, true), 0x20u);
    EXPECT_EQ(WithAlphaBlendFriendly(0x18, true), 0x19u);
    EXPECT_EQ(WithAlphaBlendFriendly(0x0B, false), 0x0Au);
}
