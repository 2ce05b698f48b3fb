#include "zlib/win/cdecl_bridge.h"

#include <gtest/gtest.h>

#include <functional>

using namespace lumio;

namespace {

// Runs f and returns the cCDECL error it raised (number 0 when none).
lumio::RunTimeError Raised(const std::function<void()> &f) {
    try {
        f();
    } catch (const lumio::RunTimeError &e) {
        return e;
    }
    return lumio::RunTimeError(0, L"", L"");
}

TEST(cCDECL, CallsZlibsCrc32) {
    cCDECL c;
    ASSERT_TRUE(c.DllLoad("zlib1.dll"));
    const unsigned char abc[] = {'a', 'b', 'c'};
    EXPECT_EQ(uint32_t(c.CallFunc("crc32", {0, intptr_t(abc), 3})), 0x352441C2u);
    EXPECT_EQ(uint32_t(c.CallFunc("crc32", {0, intptr_t(abc), 2})), 0x9E83486Du);  // "ab"
}

TEST(cCDECL, PassesFiveArgumentsInOrderAndKeepsTheLastError) {
    cCDECL c;
    ASSERT_TRUE(c.DllLoad("fake_crc.dll"));
    EXPECT_EQ(c.CallFunc("sum5", {1, 10, 100, 1000, 10000}), 1 + 20 + 300 + 4000 + 50000);
    EXPECT_EQ(c.CallFunc("set_error", {77}), 78);
    EXPECT_EQ(c.LastError(), 77u);
    EXPECT_EQ(c.CallFunc("sum5", {0, 0, 0, 0, 0}), 0);
    EXPECT_EQ(c.LastError(), 0u);  // cleared before every call
}

TEST(cCDECL, LooksTheFunctionUpAgainAfterDllLoad) {
    cCDECL c;
    ASSERT_TRUE(c.DllLoad("zlib1.dll"));
    const unsigned char abc[] = {'a', 'b', 'c'};
    EXPECT_EQ(uint32_t(c.CallFunc("crc32", {0, intptr_t(abc), 3})), 0x352441C2u);
    ASSERT_TRUE(c.DllLoad("fake_crc.dll"));
    EXPECT_EQ(c.CallFunc("crc32", {0, intptr_t(abc), 3}), 1003);
}

TEST(cCDECL, Errors) {
    const auto src = L"cCDECL";
    {
        cCDECL c;
        const lumio::RunTimeError e = Raised([&] { c.CallFunc("crc32", {0, 0, 0}); });
        EXPECT_EQ(e.number(), int32_t(0x80040000u));
        EXPECT_EQ(e.description(), L"DLL not loaded");
        EXPECT_EQ(e.source(), src);
    }
    {
        cCDECL c;
        ASSERT_TRUE(c.DllLoad("zlib1.dll"));
        const lumio::RunTimeError e = Raised([&] { c.CallFunc("no_such_export", {}); });
        EXPECT_EQ(e.number(), int32_t(0x80040001u));
        EXPECT_EQ(e.description(), L"Failed to locate function: no_such_export");
        EXPECT_EQ(e.source(), src);
    }
    {
        cCDECL c;
        ASSERT_TRUE(c.DllLoad("fake_crc.dll"));
        const lumio::RunTimeError e = Raised([&] { c.CallFunc("set_error", {1, 2, 3, 4, 5, 6}); });
        EXPECT_EQ(e.number(), int32_t(0x80040002u));
        EXPECT_EQ(e.description(), L"Too many parameters");
        EXPECT_EQ(c.LastError(), 0u);  // nothing was called
    }
    {
        cCDECL c;
        ASSERT_TRUE(c.DllLoad("zlib1.dll"));
        EXPECT_TRUE(c.DllUnload());
        EXPECT_FALSE(c.DllUnload());
        EXPECT_EQ(Raised([&] { c.CallFunc("crc32", {0, 0, 0}); }).number(), int32_t(0x80040000u));
        EXPECT_FALSE(c.DllLoad("no_such_library.dll"));
        EXPECT_EQ(Raised([&] { c.CallFunc("crc32", {0, 0, 0}); }).number(), int32_t(0x80040000u));
    }
}

TEST(cCDECL, WrapCallbackIsTheRoutineItself) {
    EXPECT_EQ(cCDECL::WrapCallback(intptr_t(&Raised), 1), intptr_t(&Raised));
}

}  // namespace
