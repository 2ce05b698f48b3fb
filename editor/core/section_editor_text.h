#pragma once
// The section editor's text: a unit's section with, on request, the sections of its
// weapons and their warheads, each under its header line; and the lookup of key values
// in that text once the user has edited it. Text is bytes in the ANSI code page.
#include <optional>
#include <string>
#include <string_view>

// The editor text for the unit named by the list item. withWeapons adds the primary and
// secondary weapon sections (a weapon used twice is shown once); withWarheads, only together
// with the weapons, adds their warhead sections (a shared warhead is shown once).
std::string BuildEditorText(const std::string &rulesFile, std::string_view itemText, bool withWeapons,
                            bool withWarheads);

// The value of the first line (or, for the Double form, the second line) whose key is
// weaponType, matched as the INI services match keys (letter case and blanks around the key
// and "=" ignored), cut before its first blank or ";"; nullopt when there is no such line.
std::optional<std::string> GetWeaponName(std::string_view totalData, std::string_view weaponType);
std::optional<std::string> GetDoubleWeaponName(std::string_view totalData, std::string_view weaponType);
