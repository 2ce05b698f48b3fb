#pragma once
// Access to the rules file: values and whole sections, read and written at once.
// Text is bytes in the ANSI code page (GBK on a Chinese system); nothing is re-encoded.
// A command that reads many values (a list refresh) may hold a ProfileSnapshot
// (private_profile.h) for its length, so that the file is read once.
#include "private_profile.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct IniEntry {
    std::string Key;
    std::string Value;
};

std::string ReadIniString(std::string_view section, std::string_view key, std::string_view def,
                          const std::string &file);
// Writes return false when the file could not be written (ProfileWriteFailure says why).
bool WriteIniString(std::string_view section, std::string_view key, std::string_view value, const std::string &file);
std::string TrimIniValue(std::string_view s);
// The whole section, each line followed by CR LF; one CR LF for a missing or empty section.
std::string ReadSectionText(std::string_view section, const std::string &file);
// The whole section's key lines in file order: keys without blanks around them, values as
// the game reads a registry line (cut at ";", without blanks); lines whose key starts with
// ";" are left out. At least one element: a blank one when no line qualifies.
std::vector<IniEntry> SplitSectionEntries(std::string_view section, const std::string &file);

// Removes the key's line from the section (a value write with no value).
bool DeleteIniKey(std::string_view section, std::string_view key, const std::string &file);
// Removes every line of the section whose value, blanks around it removed, is exactly value;
// every other byte of the file stays. Returns the number of lines removed, or -1 when the
// file could not be read or rewritten.
int DeleteIniLinesWithValue(std::string_view section, std::string_view value, const std::string &file);
// Replaces the section's lines by entries, taken unchanged: lines each ended by a NUL,
// the list ended by an empty line (two NULs in a row) or by the end of the view.
// A missing section is added at the end of the file.
bool WriteIniSection(std::string_view section, std::string_view entries, const std::string &file);
// The count a whole-section read into a 32767-character buffer returns:
// 0 when the section is missing or has no line.
int32_t ReadSectionCount(std::string_view section, const std::string &file);
