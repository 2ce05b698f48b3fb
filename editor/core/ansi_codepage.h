#pragma once
// The system's ANSI code page (GBK on a Chinese system): which bytes start a two-byte
// character, and conversion to and from UTF-16 that never loses a byte unnoticed.
// Needed wherever a byte could be the second half of such a character
// (GBK second bytes include "]" and the ASCII letters).
#include <optional>
#include <string>
#include <string_view>

bool IsAnsiLeadByte(unsigned char b);

// The bytes as characters; a byte that starts no character of the code page becomes
// U+FFFD, which no conversion back gives again.
std::u16string AnsiToWide(std::string_view bytes);

// The text in the code page; nullopt when a character has no form there.
std::optional<std::string> WideToAnsi(std::u16string_view text);
