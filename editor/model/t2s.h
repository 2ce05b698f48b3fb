#pragma once
// Traditional to Simplified Chinese, one UTF-16 unit at a time, from a table
// generated at build time out of OpenCC's character dictionary.
#include <string>
#include <string_view>

char16_t SimplifiedChar(char16_t c);
std::u16string ToSimplified(std::u16string_view text);
