#pragma once
// Access to the rules file: values and whole sections, read and written at once.
// Text is bytes in the ANSI code page (GBK on a Chinese system); nothing is re-encoded.
#include <string>
#include <string_view>
#include <vector>

struct IniEntry {
    std::string Key;
    std::string Value;
};

std::string ReadIniString(std::string_view section, std::string_view key, std::string_view def,
                          const std::string &file);
void WriteIniString(std::string_view section, std::string_view key, std::string_view value, const std::string &file);
std::string TrimIniValue(std::string_view s);
std::string ReadSectionText(std::string_view section, const std::string &file);
std::vector<IniEntry> SplitSectionEntries(std::string_view section, const std::string &file);
