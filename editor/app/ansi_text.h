#pragma once
// Text crosses to the rules file as bytes in the ANSI code page.
#include <string>
#include <string_view>

std::string ToAnsi(std::wstring_view text);
std::wstring FromAnsi(std::string_view bytes);
std::wstring FromUtf16(std::u16string_view text);
std::u16string ToUtf16(std::wstring_view text);
// A path the ANSI file services can open: its short form when the code page
// cannot hold every character of the long one.
std::string AnsiPath(const std::wstring &path);
