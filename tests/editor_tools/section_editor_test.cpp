// The section editor's text, the key lookups in edited text, and the save that cuts the
// text back into sections.
#include "rwini.h"
#include "section_editor_text.h"
#include "section_save.h"

#include "../editor_core/temp_dir.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const std::string kRules = "[VehicleTypes]\r\n1=TANK ;main\r\n"
                           "[TANK]\r\nStrength=300\r\nElitePrimary=GunE\r\nPrimary=Gun\r\nSecondary=Rocket\r\n"
                           "[Gun]\r\nDamage=10\r\nWarhead=AP\r\n"
                           "[Rocket]\r\nDamage=20\r\nWarhead=HE\r\n"
                           "[AP]\r\nVerses=100%\r\n"
                           "[HE]\r\nVerses=50%\r\n"
                           "[WeaponsList]\r\n0=Gun\r\n1=Rocket\r\n";

const std::string kFullText = "[TANK]\r\nStrength=300\r\nElitePrimary=GunE\r\nPrimary=Gun\r\nSecondary=Rocket\r\n"
                              "\r\n[Gun]\r\nDamage=10\r\nWarhead=AP\r\n"
                              "\r\n[Rocket]\r\nDamage=20\r\nWarhead=HE\r\n"
                              "\r\n[AP]\r\nVerses=100%\r\n"
                              "\r\n[HE]\r\nVerses=50%\r\n";

class SectionEditorTest : public ::testing::Test {
protected:
    void SetUp() override { PutFile(rules, kRules); }
    void Apply(const SectionSavePlan &plan) {
        for (const auto &w : plan.Writes) WriteIniSection(w.Section, SectionEntries(w.Lines), rules);
    }
    TempDir dir;
    std::string rules = dir.File("Rulesmd.ini");
};

TEST_F(SectionEditorTest, EditorTextShowsTheLinkedSectionsAsAsked) {
    EXPECT_EQ(BuildEditorText(rules, "TANK ;main", true, true), kFullText);
    EXPECT_EQ(BuildEditorText(rules, "TANK\t\t;main", true, true), kFullText); // a tab ends the ID
    EXPECT_EQ(BuildEditorText(rules, "TANK ;main", true, false),
              kFullText.substr(0, kFullText.find("\r\n\r\n[AP]") + 2));
    // Warheads only come with the weapons.
    EXPECT_EQ(BuildEditorText(rules, "TANK", false, true),
              "[TANK]\r\nStrength=300\r\nElitePrimary=GunE\r\nPrimary=Gun\r\nSecondary=Rocket\r\n");
    // A weapon used twice is shown once, its warhead once; a missing section as its header and an empty line.
    PutFile(rules, "[TWIN]\r\nPrimary=Gun\r\nSecondary=Gun\r\n[Gun]\r\nWarhead=AP\r\n[SOLO]\r\nPrimary=Ghost\r\n");
    EXPECT_EQ(BuildEditorText(rules, "TWIN", true, true),
              "[TWIN]\r\nPrimary=Gun\r\nSecondary=Gun\r\n\r\n[Gun]\r\nWarhead=AP\r\n\r\n[AP]\r\n\r\n");
    EXPECT_EQ(BuildEditorText(rules, "SOLO", true, true), "[SOLO]\r\nPrimary=Ghost\r\n\r\n[Ghost]\r\n\r\n");
    EXPECT_EQ(BuildEditorText(rules, "NONE", true, true), "[NONE]\r\n\r\n");
}

TEST(WeaponNameTest, KeysCountOnlyAtTheStartOfALine) {
    const std::string text = "[U]\r\nElitePrimary=Big\r\nPrimary=Gun ;comment\r\nWarhead=A\r\nXWarhead=Q\r\n"
                             "Warhead=B";
    EXPECT_EQ(GetWeaponName(text, "Primary"), "Gun");
    EXPECT_EQ(GetWeaponName(text, "ElitePrimary"), "Big");
    EXPECT_EQ(GetWeaponName(text, "Warhead"), "A");
    EXPECT_EQ(GetDoubleWeaponName(text, "Warhead"), "B"); // the end of the text ends the line
    EXPECT_EQ(GetWeaponName(text, "Secondary"), std::nullopt);
    EXPECT_EQ(GetDoubleWeaponName(text, "Primary"), std::nullopt);
    EXPECT_EQ(GetWeaponName("Primary=X", "Primary"), "X");
    EXPECT_EQ(GetWeaponName("Primary=\r\n", "Primary"), "");
    // Positions far past 32767 characters.
    std::string big = "[U]\r\n" + std::string(70000, ';') + "\r\nPrimary=Far\r\n" + std::string(70000, 'x');
    EXPECT_EQ(GetWeaponName(big, "Primary"), "Far");
    // Keys match as the INI services match them.
    const struct {
        const char *text, *found;
    } spelled[] = {
        {"primary=M60", "M60"},
        {"Primary = M60", "M60"},
        {" \tPRIMARY\t=\tM60\t;gun", "M60"},
        {"Primary=M60\t\t;gun", "M60"},
    };
    for (const auto &c : spelled) EXPECT_EQ(GetWeaponName(c.text, "Primary"), c.found) << c.text;
}

TEST_F(SectionEditorTest, TheFullTextIsWrittenBackSectionBySection) {
    std::string edited = kFullText;
    edited.replace(edited.find("Damage=10"), 9, "Damage=11");
    edited.replace(edited.find("Verses=50%"), 10, "Verses=60%");
    SectionSavePlan plan = PlanSectionSave(rules, edited, "TANK ;main", true, true);
    ASSERT_FALSE(plan.Refused);
    EXPECT_TRUE(plan.Registrations.empty());
    const std::vector<std::pair<std::string, std::vector<std::string>>> writes = {
        {"TANK", {"Strength=300", "ElitePrimary=GunE", "Primary=Gun", "Secondary=Rocket"}},
        {"Gun", {"Damage=11", "Warhead=AP"}},
        {"Rocket", {"Damage=20", "Warhead=HE"}},
        {"AP", {"Verses=100%"}},
        {"HE", {"Verses=60%"}},
    };
    ASSERT_EQ(plan.Writes.size(), writes.size());
    for (size_t i = 0; i < writes.size(); ++i) {
        EXPECT_EQ(plan.Writes[i].Section, writes[i].first);
        EXPECT_EQ(plan.Writes[i].Lines, writes[i].second);
    }
    EXPECT_EQ(SectionEntries({"a=1", "b"}), std::string("a=1\0b\0\0", 7));
    Apply(plan);
    std::string expected = kRules;
    expected.replace(expected.find("Damage=10"), 9, "Damage=11");
    expected.replace(expected.find("Verses=50%"), 10, "Verses=60%");
    EXPECT_EQ(GetFile(rules), expected);
}

TEST_F(SectionEditorTest, WhatTheSaveWritesAndRegisters) {
    struct Write {
        std::string section;
        std::vector<std::string> lines;
    };
    const struct {
        const char *what;
        std::string text;
        bool weapons, warheads;
        std::vector<Write> writes;
        std::vector<NameRegistration> registrations;
    } cases[] = {
        {"weapons not shown: the unit alone", "[TANK]\r\nStrength=1\r\n", false, true, {{"TANK", {"Strength=1"}}}, {}},
        {"lines without a header belong to the unit", "Strength=1\r\n;note\r\n", false, false,
         {{"TANK", {"Strength=1", ";note"}}}, {}},
        {"blank lines dropped, lines after them kept",
         "[TANK]\r\nPrimary=Gun\r\n\r\n  \r\nArmor=heavy\r\n\r\n[Gun]\r\nDamage=1\r\n\r\nROF=5\r\n", true, false,
         {{"TANK", {"Primary=Gun", "Armor=heavy"}}, {"Gun", {"Damage=1", "ROF=5"}}}, {}},
        {"renamed weapon under its new header is written there and registered",
         "[TANK]\r\nPrimary=Laser\r\nSecondary=Rocket\r\n\r\n[Laser]\r\nDamage=7\r\n\r\n[Rocket]\r\nDamage=2\r\n", true,
         false, {{"TANK", {"Primary=Laser", "Secondary=Rocket"}}, {"Laser", {"Damage=7"}}, {"Rocket", {"Damage=2"}}},
         {{false, "Laser"}}},
        {"the same weapon twice is written once",
         "[TANK]\r\nPrimary=Gun\r\nSecondary=Gun\r\n\r\n[Gun]\r\nDamage=3\r\n", true, false,
         {{"TANK", {"Primary=Gun", "Secondary=Gun"}}, {"Gun", {"Damage=3"}}}, {{false, "Gun"}}},
        {"a longer key ending in Primary does not name the primary weapon",
         "[TANK]\r\nElitePrimary=GunE\r\nPrimary=Gun\r\n\r\n[Gun]\r\nDamage=4\r\n", true, false,
         {{"TANK", {"ElitePrimary=GunE", "Primary=Gun"}}, {"Gun", {"Damage=4"}}}, {}},
        {"no secondary: weapon cut before its warhead",
         "[TANK]\r\nPrimary=Gun\r\n\r\n[Gun]\r\nWarhead=AP\r\n\r\n[AP]\r\nVerses=1%\r\n", true, true,
         {{"TANK", {"Primary=Gun"}}, {"Gun", {"Warhead=AP"}}, {"AP", {"Verses=1%"}}}, {}},
        {"a shared warhead is written once",
         "[TANK]\r\nPrimary=Gun\r\nSecondary=Rocket\r\n\r\n[Gun]\r\nWarhead=AP\r\n\r\n[Rocket]\r\nWarhead=AP\r\n"
         "\r\n[AP]\r\nVerses=2%\r\n",
         true, true,
         {{"TANK", {"Primary=Gun", "Secondary=Rocket"}}, {"Gun", {"Warhead=AP"}}, {"Rocket", {"Warhead=AP"}},
          {"AP", {"Verses=2%"}}},
         {{true, "AP"}}},
        {"keys spelled as the INI services accept them",
         "[TANK]\r\nprimary = Gun\r\n SECONDARY\t=Rocket\t;x\r\n\r\n[gun]\r\nDamage=5\r\n\r\n[Rocket]\r\nDamage=6\r\n",
         true, false,
         {{"TANK", {"primary = Gun", " SECONDARY\t=Rocket\t;x"}}, {"Gun", {"Damage=5"}}, {"Rocket", {"Damage=6"}}}, {}},
        {"a section left without lines is not written",
         "[TANK]\r\nPrimary=Gun\r\n[Gun]\r\nWarhead=AP\r\n[AP]\r\n\r\n", true, true,
         {{"TANK", {"Primary=Gun"}}, {"Gun", {"Warhead=AP"}}}, {}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        SectionSavePlan plan = PlanSectionSave(rules, c.text, "TANK ;main", c.weapons, c.warheads);
        ASSERT_FALSE(plan.Refused);
        ASSERT_EQ(plan.Writes.size(), c.writes.size());
        for (size_t i = 0; i < c.writes.size(); ++i) {
            EXPECT_EQ(plan.Writes[i].Section, c.writes[i].section);
            EXPECT_EQ(plan.Writes[i].Lines, c.writes[i].lines);
        }
        const std::vector<NameRegistration> &expected = c.registrations;
        ASSERT_EQ(plan.Registrations.size(), expected.size());
        for (size_t i = 0; i < expected.size(); ++i) {
            EXPECT_EQ(plan.Registrations[i].Warhead, expected[i].Warhead);
            EXPECT_EQ(plan.Registrations[i].Name, expected[i].Name);
        }
    }
}

TEST_F(SectionEditorTest, LongTextsAreCutLikeShortOnes) {
    std::string text = "[TANK]\r\n";
    std::vector<std::string> unitLines;
    for (int i = 0; i < 5000; ++i) unitLines.push_back("Key" + std::to_string(i) + "=" + std::string(10, 'v'));
    for (const auto &l : unitLines) text += l + "\r\n";
    text += "Primary=Gun\r\n\r\n[Gun]\r\nDamage=1\r\n";
    unitLines.push_back("Primary=Gun");
    ASSERT_GT(text.size(), 65536u);
    SectionSavePlan plan = PlanSectionSave(rules, text, "TANK", true, false);
    ASSERT_FALSE(plan.Refused);
    ASSERT_EQ(plan.Writes.size(), 2u);
    EXPECT_EQ(plan.Writes[0].Lines, unitLines);
    EXPECT_EQ(plan.Writes[1].Section, "Gun");
}

TEST_F(SectionEditorTest, HeadersThatDoNotMatchTheNamesRefuseTheWholeSave) {
    const struct {
        const char *what;
        std::string text;
        bool weapons, warheads;
    } cases[] = {
        {"weapon renamed in the Primary line only",
         "[TANK]\r\nPrimary=Laser\r\nSecondary=Rocket\r\n\r\n[Gun]\r\nDamage=1\r\n", true, false},
        {"weapon header renamed only", "[TANK]\r\nPrimary=Gun\r\n\r\n[Laser]\r\nDamage=1\r\n", true, false},
        {"a weapon section while weapons are not edited", "[TANK]\r\nPrimary=Gun\r\n[Gun]\r\nDamage=1\r\n", false,
         false},
        {"a warhead section while warheads are not edited",
         "[TANK]\r\nPrimary=Gun\r\n[Gun]\r\nWarhead=AP\r\n[AP]\r\nVerses=1%\r\n", true, false},
        {"the unit's header changed", "[OTHER]\r\nStrength=1\r\n", false, false},
        {"a header named up to its first ]", "[OTHER] ;[TANK]\r\nStrength=1\r\n", false, false},
        {"a header without its bracket", "[TANK]\r\n[Gun\r\nDamage=1\r\n", true, false},
        {"one section twice", "[TANK]\r\nPrimary=Gun\r\n[Gun]\r\nDamage=1\r\n[Gun]\r\nDamage=2\r\n", true, false},
        {"lines before an explicit unit header", "Strength=1\r\n[TANK]\r\nStrength=2\r\n", false, false},
        {"a header hidden behind a lone line feed", "[TANK]\r\nStrength=1\n[Gun]\r\n", false, false},
        {"an empty header", "[TANK]\r\nPrimary=\r\n[]\r\nDamage=1\r\n", true, false},
    };
    const std::string before = GetFile(rules);
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        SectionSavePlan plan = PlanSectionSave(rules, c.text, "TANK ;main", c.weapons, c.warheads);
        EXPECT_TRUE(plan.Refused);
        EXPECT_TRUE(plan.Writes.empty());
        EXPECT_TRUE(plan.Registrations.empty());
    }
    EXPECT_EQ(kSectionMismatchMessage, u"小节内容与武器或弹头名称不符，未保存。");
}

} // namespace
