#pragma once
// Code page 936, the Windows form of GBK, converted as the system converts it: the bytes
// that read as a character are those MultiByteToWideChar accepts with MB_ERR_INVALID_CHARS,
// the characters that write are those WideCharToMultiByte takes with WC_NO_BEST_FIT_CHARS.
// The tables come from the system's own table of the code page. Used where there is no
// system to ask (the editor's build away from Windows).
#include <optional>
#include <string>
#include <string_view>

bool IsCp936LeadByte(unsigned char b);

// The bytes as characters; a byte that starts no character becomes U+FFFD.
std::u16string Cp936ToWide(std::string_view bytes);

// The text as bytes; nullopt when a character has no form in the code page.
std::optional<std::string> WideToCp936(std::u16string_view text);
