// The sample files that `make run` opens: every listed unit has a display name in the
// string table and a primary weapon that is registered, through the editor's own reads.
#include "csfrw.h"
#include "rwini.h"

#include <gtest/gtest.h>

#include <string>

TEST(SamplesTest, UnitsHaveNamesAndRegisteredWeapons) {
    const std::string rules = std::string(LUMIO_SOURCE_DIR) + "/samples/Rulesmd.ini";
    LoadCsf(std::string(LUMIO_SOURCE_DIR) + "/samples/ra2md.csf");
    auto weapons = SplitSectionEntries("WeaponsList", rules);
    auto registered = [&](const std::string &name) {
        for (const auto &w : weapons)
            if (w.Value == name) return true;
        return false;
    };
    ProfileSnapshot snap;
    int units = 0;
    for (const char *list : {"InfantryTypes", "VehicleTypes", "BuildingTypes", "AircraftTypes"}) {
        for (const IniEntry &e : SplitSectionEntries(list, rules)) {
            ASSERT_FALSE(e.Value.empty()) << list;
            ++units;
            std::string label = TrimIniValue(ReadIniString(e.Value, "UIName", "", rules));
            EXPECT_FALSE(LookupCsfLabel(std::u16string(label.begin(), label.end())).empty()) << e.Value;
            std::string primary = TrimIniValue(ReadIniString(e.Value, "Primary", "", rules));
            if (!primary.empty()) {
                EXPECT_TRUE(registered(primary)) << e.Value << " " << primary;
                EXPECT_FALSE(ReadIniString(primary, "Warhead", "", rules).empty()) << primary;
            }
        }
    }
    EXPECT_GE(units, 30);
}
