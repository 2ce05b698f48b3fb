#include <gtest/gtest.h>


#include "access_key.h"

namespace {

using namespace lumio::buttons;

TEST(AccessKey, FindsTheLastSingleAmpersand) {
    struct Case {
        const wchar_t* caption;
        const wchar_t* key;
    } cases[] = {
        {L"&Save", L"s"},          {L"Save && &Exit", L"e"}, {L"Fish&&Chips", L""}, {L"是(&Y)", L"y"},
        {L"No key", L""},          {L"Trailing&", L""},      {L"&", L""},            {L"", L""},
        {L"&&x", L""},             {L"&a&b", L"b"},
    };
    for (auto& c : cases) EXPECT_EQ(pGetAccessKey(c.caption), c.key) << std::wstring(c.caption).size();
}

}  // namespace
