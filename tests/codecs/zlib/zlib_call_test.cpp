// The zlib calls whose convention is only guessed, and the guess from crc32's code.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "zlib/zlib_call.h"
#include "zlib/zlib_library.h"

using namespace lumio;

TEST(ZlibProbe, CallingConventionScan) {
    using B = std::vector<std::uint8_t>;
    struct { const char *name; B code; int expect; } cases[] = {
        {"ret 12", {0x55, 0x8B, 0xEC, 0xC2, 0x0C, 0x00}, 0},
        {"ret", {0x55, 0x5D, 0xC3}, 1},
        {"xor eax,ebx is not a ret", {0x33, 0xC3, 0xC2, 0x0C, 0x00}, 0},
        {"ret 8 is not the stdcall crc32", {0xC2, 0x08, 0x00, 0xC3}, 1},
        {"ret 12 cut off at the end", {0x90, 0xC2, 0x0C}, -1},
        {"nothing", B(100, 0x90), -1},
    };
    for (auto &c : cases) {
        auto r = ScanCodeForCdecl(c.code);
        EXPECT_EQ(r.has_value() ? int(*r) : -1, c.expect) << c.name;
    }
    // The scan stops at its limit even when the code goes on.
    B longCode(kCallingConventionScanLimit + 16, 0x90);
    longCode.back() = 0xC3;
    EXPECT_FALSE(ScanCodeForCdecl(longCode).has_value());
}

namespace {
extern "C" std::uint32_t Sum5(std::uintptr_t a, std::uintptr_t b, std::uintptr_t c, std::uintptr_t d, std::uintptr_t e) {
    return static_cast<std::uint32_t>(a + 2 * b + 3 * c + 4 * d + 5 * e);
}
extern "C" std::uint32_t Const0() { return 42; }
} // namespace

TEST(ZlibCall, PassesArgumentsInOrder) {
    const std::uintptr_t args[] = {1, 10, 100, 1000, 10000};
    EXPECT_EQ(CallZlibExport(reinterpret_cast<const void *>(&Sum5), args), 1u + 20 + 300 + 4000 + 50000);
    EXPECT_EQ(CallZlibExport(reinterpret_cast<const void *>(&Const0), {}), 42u);
    const std::uintptr_t six[6] = {};
    EXPECT_EQ(CallZlibExport(reinterpret_cast<const void *>(&Const0), six), 0u);
    EXPECT_EQ(CallZlibExport(nullptr, {}), 0u);
}
