// Unit rows, unit values and what a save writes, read from real rules files.
#include "csf_bytes.h"
#include "csfrw.h"
#include "temp_file.h"
#include "unit_list.h"
#include "unit_values.h"

#include <gtest/gtest.h>

namespace {

const char kRules[] =
    "[InfantryTypes]\r\n"
    "0=E1\r\n"
    "; a comment line\r\n"
    "1=E2 ;engineer\r\n"
    "2=\r\n"
    "3=CANEWY04\r\n"
    "no equals sign\r\n"
    "4 = GHOST \r\n"
    "\r\n"
    "[E1]\r\nUIName=Name:E1\r\nPrimary=M60 ; gun\r\nSecondary=Knife\r\nStrength=125\r\nSpeed=4\r\nArmor=none\r\n"
    "[E2]\r\nUIName=Name:E2\r\nPrimary=Pistol\r\nStrength=75;weak\r\nArmor=flak ;c\r\n"
    "[CANEWY04]\r\nUIName=Name:E1\r\nPrimary=Gun\r\n"
    "[GHOST]\r\nUIName=name:e1\r\n"
    "[M60]\r\nWarhead=SA ;small arms\r\n";

class UnitRows : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        TempRules csf(CsfBytes({{"Name:E1", u"美國大兵"}, {"Name:E2", u"工程師"}}), "ra2.csf");
        LoadCsf(csf.path());
    }
    TempRules rules{kRules};
    std::vector<IniEntry> entries;
};

TEST_F(UnitRows, OneRowPerEntryWithAValueInFileOrder) {
    auto rows = BuildUnitRows("InfantryTypes", rules.path(), true, true, entries);
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0].Id, "E1");
    EXPECT_EQ(rows[1].Id, "E2"); // as the game reads it: the comment is no part of the ID
    EXPECT_EQ(rows[2].Id, "CANEWY04");
    EXPECT_EQ(rows[3].Id, "GHOST");
    EXPECT_EQ(entries.size(), 5u); // lines with "=", the empty value included (it gets no row)

    EXPECT_EQ(rows[0].Name, u"美國大兵");
    EXPECT_EQ(rows[0].Primary, "M60");
    EXPECT_EQ(rows[0].Secondary, "Knife");
    EXPECT_EQ(rows[1].Name, u"工程師"); // read from the section the cut ID names
    EXPECT_EQ(rows[1].Primary, "Pistol");
    EXPECT_EQ(rows[2].Name, u"");       // never named
    EXPECT_EQ(rows[2].Primary, "Gun");
    EXPECT_EQ(rows[3].Name, u"");       // labels are case-sensitive
}

TEST_F(UnitRows, TheTwoChecksDecideTheColumns) {
    struct Case {
        bool withName, withExt, name, weapons;
    } cases[] = {{true, true, true, true}, {false, true, false, true}, {true, false, false, false},
                 {false, false, false, false}};
    for (auto c : cases) {
        auto rows = BuildUnitRows("InfantryTypes", rules.path(), c.withName, c.withExt, entries);
        ASSERT_EQ(rows.size(), 4u);
        EXPECT_EQ(rows[0].Id, "E1");
        EXPECT_EQ(!rows[0].Name.empty(), c.name) << c.withName << c.withExt;
        EXPECT_EQ(!rows[0].Primary.empty(), c.weapons) << c.withName << c.withExt;
    }
}

TEST_F(UnitRows, AMissingSectionGivesNoRowAndOneBlankEntry) {
    auto rows = BuildUnitRows("AircraftTypes", rules.path(), true, true, entries);
    EXPECT_TRUE(rows.empty());
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_TRUE(entries[0].Key.empty() && entries[0].Value.empty());
}

TEST_F(UnitRows, ValuesAsTheBoxesShowThem) {
    UnitValues v = ReadUnitValues("E1", false, rules.path());
    EXPECT_EQ(v.Strength, "125");
    EXPECT_EQ(v.Speed, "4");
    EXPECT_EQ(v.Armor, "none");
    EXPECT_EQ(v.Primary, "M60");
    EXPECT_EQ(v.Warhead, "SA");
    v = ReadUnitValues("E2", false, rules.path());
    EXPECT_EQ(v.Strength, "75");
    EXPECT_EQ(v.Armor, "flak ;c"); // as stored: matches no armor entry
    EXPECT_EQ(ArmorIndexOf(v.Armor), -1);
    EXPECT_EQ(v.Warhead, "");
    EXPECT_EQ(ReadUnitValues("E1", true, rules.path()).Speed, ""); // a building's speed is not read
}

TEST_F(UnitRows, SaveWritesOnlyWhatDiffersFromTheFile) {
    using W = std::vector<std::pair<std::string, std::string>>;
    auto plan = [&](const std::string &unit, const UnitBoxes &boxes, bool building) {
        W out;
        for (const auto &w : PlanUnitSave(unit, boxes, building, rules.path())) out.emplace_back(w.Key, w.Value);
        return out;
    };
    // Unchanged boxes: nothing, so the comments stay.
    EXPECT_EQ(plan("E1", {"125", "4", 6, "M60"}, false), W{});
    EXPECT_EQ(plan("E2", {"75", "", -1, "Pistol"}, false), W{});
    // Changed ones, in the order Strength, Speed, Armor, Primary.
    EXPECT_EQ(plan("E1", {"200", "5", 0, "Laser"}, false),
              (W{{"Strength", "200"}, {"Speed", "5"}, {"Armor", "plate"}, {"Primary", "Laser"}}));
    // An armor stored with a comment is written only once an entry is chosen.
    EXPECT_EQ(plan("E2", {"75", "", 1, "Pistol"}, false), W{});         // "flak" equals the trimmed value
    EXPECT_EQ(plan("E2", {"75", "", 3, "Pistol"}, false), (W{{"Armor", "heavy"}}));
    // A building's speed box is never written.
    EXPECT_EQ(plan("E1", {"125", "9", 6, "M60"}, true), W{});
    // Emptying a box writes the empty value.
    EXPECT_EQ(plan("E1", {"", "4", 6, "M60"}, false), (W{{"Strength", ""}}));
    EXPECT_TRUE(PrimaryChanged("E1", "Laser", rules.path()));
    EXPECT_FALSE(PrimaryChanged("E1", "M60", rules.path()));
}

} // namespace
