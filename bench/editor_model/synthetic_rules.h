#pragma once
// A synthetic rules file of about 1 MB (thousands of units with weapons and
// warheads) and a string table naming every unit, for timing the unit list.
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "../../tests/editor_model/csf_bytes.h"

struct SyntheticRules {
    std::string Rules;
    std::string Csf;
    int Buildings = 0;
};

inline SyntheticRules MakeSyntheticRules() {
    const struct {
        const char *Section, *Prefix;
        int Count;
    } kinds[] = {{"InfantryTypes", "INF", 1200}, {"VehicleTypes", "VEH", 1200},
                 {"BuildingTypes", "BLD", 1500}, {"AircraftTypes", "AIR", 400}};
    const char *armors[] = {"plate", "flak", "concrete", "heavy", "light", "wood", "none"};
    SyntheticRules out;
    std::string &r = out.Rules;
    std::vector<std::pair<std::string, std::u16string>> labels;
    r += "[General]\r\nName=Synthetic\r\n\r\n";
    for (const auto &k : kinds) {
        r += std::string("[") + k.Section + "]\r\n";
        for (int i = 0; i < k.Count; ++i) r += std::to_string(i) + "=" + k.Prefix + std::to_string(i) + "\r\n";
        r += "\r\n";
    }
    r += "[WeaponsList]\r\n";
    for (int i = 0; i < 1500; ++i) r += std::to_string(i) + "=Weapon" + std::to_string(i) + "\r\n";
    r += "\r\n[WarheadsList]\r\n";
    for (int i = 0; i < 300; ++i) r += std::to_string(i) + "=Warhead" + std::to_string(i) + "\r\n";
    r += "\r\n";
    int n = 0;
    for (const auto &k : kinds) {
        for (int i = 0; i < k.Count; ++i, ++n) {
            std::string id = k.Prefix + std::to_string(i);
            r += "[" + id + "]\r\nUIName=Name:" + id + "\r\nName=" + id + " unit\r\n";
            r += "Primary=Weapon" + std::to_string(n % 1500) + "\r\nSecondary=Weapon" + std::to_string((n * 7) % 1500) +
                 " ;backup\r\n";
            r += "Strength=" + std::to_string(100 + n % 900) + "\r\nSpeed=" + std::to_string(n % 12) +
                 "\r\nArmor=" + armors[n % 7] + "\r\nCost=" + std::to_string(100 * (n % 30)) +
                 "\r\nSight=6\r\nTechLevel=" + std::to_string(n % 11) + "\r\nOwner=British,French,Germans\r\n\r\n";
            std::u16string name = u"合成单位";
            for (char c : std::to_string(n)) name += static_cast<char16_t>(c);
            labels.emplace_back("Name:" + id, name);
        }
    }
    for (int i = 0; i < 1500; ++i)
        r += "[Weapon" + std::to_string(i) + "]\r\nDamage=" + std::to_string(i % 200) + "\r\nROF=30\r\nRange=6\r\n"
             "Projectile=Invisible\r\nWarhead=Warhead" + std::to_string(i % 300) + "\r\n\r\n";
    for (int i = 0; i < 300; ++i)
        r += "[Warhead" + std::to_string(i) + "]\r\nVerses=100%,100%,90%,70%,25%,50%,60%,40%,30%,20%,10%\r\n\r\n";
    out.Buildings = kinds[2].Count;

    out.Csf = CsfBytes(labels);
    return out;
}
