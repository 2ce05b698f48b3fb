// The portable code page 936 against the system's own conversion, over every byte, every
// pair of bytes and every UTF-16 unit: the native build must read and write what Windows does.
#include "cp936.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace {

std::string Hex(std::string_view bytes) {
    std::string s;
    char buf[4];
    for (unsigned char b : bytes) {
        std::snprintf(buf, sizeof buf, "%02X", b);
        s += buf;
    }
    return s;
}

// The system's reading; nullopt when MB_ERR_INVALID_CHARS refuses the bytes.
std::optional<std::u16string> SystemRead(std::string_view bytes) {
    wchar_t out[4];
    int n = MultiByteToWideChar(936, MB_ERR_INVALID_CHARS, bytes.data(), static_cast<int>(bytes.size()), out, 4);
    if (n <= 0) return std::nullopt;
    return std::u16string(reinterpret_cast<const char16_t *>(out), static_cast<size_t>(n));
}

std::optional<std::string> SystemWrite(char16_t c) {
    char out[4];
    BOOL lossy = FALSE;
    int n = WideCharToMultiByte(936, WC_NO_BEST_FIT_CHARS, reinterpret_cast<const wchar_t *>(&c), 1, out, sizeof out,
                                nullptr, &lossy);
    if (n <= 0 || lossy) return std::nullopt;
    return std::string(out, static_cast<size_t>(n));
}

TEST(Cp936SystemTest, ReadsEveryByteAndPairAsTheSystemDoes) {
    std::vector<std::string> wrong;
    size_t pairs = 0;
    auto check = [&](std::string_view bytes) {
        auto system = SystemRead(bytes);
        std::u16string ours = Cp936ToWide(bytes);
        bool agree = system ? ours == *system : ours.find(u'\uFFFD') != std::u16string::npos;
        if (system && system->size() == 1 && bytes.size() == 2) {
            ++pairs;
            agree = agree && WideToCp936(ours) == std::string(bytes); // a pair writes back as itself
        }
        if (!agree && wrong.size() < 20) wrong.push_back(Hex(bytes));
    };
    for (unsigned a = 0; a < 256; ++a) {
        EXPECT_EQ(IsCp936LeadByte(static_cast<unsigned char>(a)), IsDBCSLeadByteEx(936, static_cast<BYTE>(a)) != 0) << a;
        check(std::string(1, static_cast<char>(a)));
        for (unsigned b = 0; b < 256; ++b) check(std::string{static_cast<char>(a), static_cast<char>(b)});
    }
    EXPECT_TRUE(wrong.empty()) << "first disagreements: " << ::testing::PrintToString(wrong);
    EXPECT_EQ(pairs, 126u * 190u); // every pair of GBK's grid reads as one character
}

TEST(Cp936SystemTest, WritesEveryCharacterAsTheSystemDoes) {
    std::vector<unsigned> wrong;
    for (unsigned c = 0; c < 0x10000; ++c) {
        const char16_t ch = static_cast<char16_t>(c);
        if (SystemWrite(ch) != WideToCp936(std::u16string_view(&ch, 1)) && wrong.size() < 20) wrong.push_back(c);
    }
    EXPECT_TRUE(wrong.empty()) << "first disagreements: " << ::testing::PrintToString(wrong);
}

} // namespace
