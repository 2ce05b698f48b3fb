#pragma once
// The rows of the unit list: one per registered unit of a unit-type section.
#include "rwini.h"

#include <string>
#include <string_view>
#include <vector>

// Section of each registry option, in the order of the four option buttons.
inline constexpr const char *kUnitSections[4] = {"InfantryTypes", "VehicleTypes", "BuildingTypes", "AircraftTypes"};
inline constexpr int kBuildingsOption = 2;

struct UnitRow {
    std::string Id;      // the registry value as it stands, comment included
    std::u16string Name; // display name from the string table (empty unless asked for)
    std::string Primary;
    std::string Secondary;
};

// The unit ID cut before its first space or ";" among characters 2 to 41
// (characters of the ANSI code page, a two-byte character counting once).
std::string CutUnitId(std::string_view text);

// Units whose display names are never looked up.
bool HasNoDisplayName(std::string_view section);

// Reads the section's lines into entries (one blank element when it yields none)
// and builds one row per entry with a value. With withName and withExt the row
// carries the display name; with withExt the two weapons.
std::vector<UnitRow> BuildUnitRows(std::string_view unitSection, const std::string &file, bool withName,
                                   bool withExt, std::vector<IniEntry> &entries);
