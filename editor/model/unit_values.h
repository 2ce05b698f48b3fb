#pragma once
// A unit's values as the value boxes show them, and what saving them writes.
#include <array>
#include <string>
#include <string_view>
#include <vector>

inline constexpr std::array<const char *, 7> kArmorNames = {"plate", "flak", "concrete", "heavy",
                                                            "light", "wood",  "none"};

// Index of the armor entry equal to the stored value, -1 when none is (a value
// with a comment matches none).
int ArmorIndexOf(std::string_view stored);

struct UnitValues {
    std::string Strength;
    std::string Speed;
    std::string Armor; // as stored
    std::string Primary;
    std::string Warhead; // of the primary weapon
};

// Reads the values of unit; for a building, Speed is left empty (the box keeps what it showed).
UnitValues ReadUnitValues(const std::string &unit, bool isBuilding, const std::string &file);

struct UnitBoxes {
    std::string Strength;
    std::string Speed;
    int ArmorIndex = -1; // -1: no armor entry selected
    std::string Primary;
};

struct KeyWrite {
    const char *Key;
    std::string Value;
};

// The writes a save makes, in their order: a key is written only when its box
// differs from the stored value as the boxes show it, so untouched keys keep their
// comments. A building's speed and an unselected armor are never written.
std::vector<KeyWrite> PlanUnitSave(const std::string &unit, const UnitBoxes &boxes, bool isBuilding,
                                   const std::string &file);

// Whether the weapon box names another weapon than the unit's stored "Primary".
bool PrimaryChanged(const std::string &unit, std::string_view weapon, const std::string &file);
