#include "unit_values.h"

#include "rwini.h"

int ArmorIndexOf(std::string_view stored) {
    for (size_t i = 0; i < kArmorNames.size(); ++i)
        if (stored == kArmorNames[i]) return static_cast<int>(i);
    return -1;
}

namespace {

std::string Shown(const std::string &section, const char *key, const std::string &file) {
    return TrimIniValue(ReadIniString(section, key, "", file));
}

} // namespace

UnitValues ReadUnitValues(const std::string &unit, bool isBuilding, const std::string &file) {
    ProfileSnapshot oneRead;
    UnitValues v;
    v.Strength = Shown(unit, "Strength", file);
    if (!isBuilding) v.Speed = Shown(unit, "Speed", file);
    v.Armor = ReadIniString(unit, "Armor", "", file);
    v.Primary = Shown(unit, "Primary", file);
    v.Warhead = Shown(v.Primary, "Warhead", file);
    return v;
}

std::vector<KeyWrite> PlanUnitSave(const std::string &unit, const UnitBoxes &boxes, bool isBuilding,
                                   const std::string &file) {
    ProfileSnapshot oneRead;
    std::vector<KeyWrite> writes;
    auto add = [&](const char *key, const std::string &value) {
        if (value != Shown(unit, key, file)) writes.push_back({key, value});
    };
    add("Strength", boxes.Strength);
    if (!isBuilding) add("Speed", boxes.Speed);
    if (boxes.ArmorIndex >= 0 && boxes.ArmorIndex < static_cast<int>(kArmorNames.size()))
        add("Armor", kArmorNames[boxes.ArmorIndex]);
    add("Primary", boxes.Primary);
    return writes;
}

bool PrimaryChanged(const std::string &unit, std::string_view weapon, const std::string &file) {
    return Shown(unit, "Primary", file) != weapon;
}
