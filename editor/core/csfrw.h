#pragma once
// The game's string table (.csf), read whole into memory.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct CsfEntry {
    std::u16string Label;  // bytes widened one by one
    std::u16string Value;
    std::u16string ExtraValue;
};

extern std::vector<CsfEntry> CsfTable;
extern int32_t CsfLabelCount;

// Throws std::runtime_error when the file cannot be opened or read. Returns false when it
// is no string table or a damaged one (shorter than its counts), so that the user can be told.
bool LoadCsf(const std::string &path);

// What the user is told when the string table could not be read.
std::u16string CsfUnreadableMessage(std::u16string_view path);
std::u16string LookupCsfLabel(std::u16string_view label);
