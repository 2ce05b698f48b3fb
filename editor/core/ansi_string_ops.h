#pragma once
// Searching and measuring text held as bytes of the ANSI code page. A two-byte
// character's second byte can look like an ASCII letter or bracket, so matches are
// taken only where a character starts, as a search over characters would find them.
#include <cstddef>
#include <string>
#include <string_view>

// Position of the first match of needle at or after from (a character start), npos when none.
// An empty needle matches at from.
size_t AnsiFind(std::string_view text, std::string_view needle, size_t from = 0);

// Every non-overlapping match of what, left to right, replaced by with. An empty what changes nothing.
std::string AnsiReplaceAll(std::string_view text, std::string_view what, std::string_view with);

// Length in characters: a two-byte character counts 1.
size_t AnsiCharCount(std::string_view text);

// Whether two section or key names are the same name as the INI services match
// them: ASCII letter case ignored, a two-byte character compared byte for byte.
bool AnsiSameName(std::string_view a, std::string_view b);
