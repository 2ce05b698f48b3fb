// The section export: linked sections appended from the rules file, names that the
// comparison file holds renamed through prompts, and the export of edited text.
#include "section_export.h"

#include "../editor_core/temp_dir.h"

#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

namespace {

const std::string kRules = "[VehicleTypes]\r\n1=HTNK\r\n2=TWIN ;twin guns\r\n3=SOLO\r\n"
                           "[HTNK]\r\nName=Heavy Tank\r\nPrimary=Gun\r\nSecondary=GunX\r\nStrength=400\r\n"
                           "[TWIN]\r\nPrimary=Gun ;note\r\nSecondary=Gun\r\n"
                           "[SOLO]\r\nPrimary=Ghost\r\n"
                           "[Gun]\r\nDamage=10\r\nWarhead=AP\r\n"
                           "[GunX]\r\nDamage=20\r\nWarhead=APX\r\n"
                           "[AP]\r\nVerses=100%\r\n"
                           "[APX]\r\nVerses=50%\r\n";

class SectionExportTest : public ::testing::Test {
protected:
    void SetUp() override {
        PutFile(rules, kRules);
        PutFile(comparison, "[Gun]\r\nDamage=1\r\n[GunX]\r\nDamage=2\r\n[AP]\r\nx=1\r\n[APX]\r\nx=1\r\n"
                            "[HTNK]\r\nx=1\r\n[Taken]\r\nx=1\r\n[Empty]\r\n");
        env.RulesFile = rules;
        env.Exists = [this](const std::string &name) { return ComparisonHasSection(comparison, name); };
        env.Ask = [this](const RenamePrompt &p) {
            asked.push_back(p);
            if (answers.empty()) return std::string();
            std::string a = answers.front();
            answers.pop_front();
            return a;
        };
    }

    TempDir dir;
    std::string rules = dir.File("Rulesmd.ini");
    std::string comparison = dir.File("Rules.ini");
    ExportEnv env;
    std::vector<RenamePrompt> asked;
    std::deque<std::string> answers;
};

TEST_F(SectionExportTest, PlainConcatenationWithoutComparison) {
    ExportOptions o;
    EXPECT_EQ(BuildSectionExport(env, o, "HTNK"),
              "[HTNK]\r\nName=Heavy Tank\r\nPrimary=Gun\r\nSecondary=GunX\r\nStrength=400\r\n");
    o.IsWeapon = o.IsWH = true;
    EXPECT_EQ(BuildSectionExport(env, o, "HTNK"),
              "[HTNK]\r\nName=Heavy Tank\r\nPrimary=Gun\r\nSecondary=GunX\r\nStrength=400\r\n"
              "\r\n[Gun]\r\nDamage=10\r\nWarhead=AP\r\n"
              "\r\n[GunX]\r\nDamage=20\r\nWarhead=APX\r\n"
              "\r\n[AP]\r\nVerses=100%\r\n"
              "\r\n[APX]\r\nVerses=50%\r\n");
    EXPECT_TRUE(asked.empty());
}

TEST_F(SectionExportTest, SameWeaponTwiceButSharedWarheadOnceAndMissingSectionsAsEmptyLines) {
    ExportOptions o;
    o.IsWeapon = o.IsWH = true;
    EXPECT_EQ(BuildSectionExport(env, o, "TWIN ;twin guns"),
              "[TWIN]\r\nPrimary=Gun ;note\r\nSecondary=Gun\r\n"
              "\r\n[Gun]\r\nDamage=10\r\nWarhead=AP\r\n"
              "\r\n[Gun]\r\nDamage=10\r\nWarhead=AP\r\n"
              "\r\n[AP]\r\nVerses=100%\r\n");
    EXPECT_EQ(BuildSectionExport(env, o, "SOLO"), "[SOLO]\r\nPrimary=Ghost\r\n\r\n[Ghost]\r\n\r\n");
    EXPECT_EQ(BuildSectionExport(env, o, "NOPE"), "[NOPE]\r\n\r\n");
}

TEST_F(SectionExportTest, RenamingAWeaponReplacesItEverywhereIncludingLongerNames) {
    ExportOptions o;
    o.IsWeapon = o.IsWepCom = true;
    answers = {"Taken", "Cannon", "CannonX2"};
    // "Gun" exists: the first answer "Taken" exists too, so the prompt repeats with it. The
    // first rename also turned the unit's "GunX" into "CannonX"; the second call appends
    // GunX's own section and renames only that.
    EXPECT_EQ(BuildSectionExport(env, o, "HTNK"),
              "[HTNK]\r\nName=Heavy Tank\r\nPrimary=Cannon\r\nSecondary=CannonX\r\nStrength=400\r\n"
              "\r\n[Cannon]\r\nDamage=10\r\nWarhead=AP\r\n"
              "\r\n[CannonX2]\r\nDamage=20\r\nWarhead=APX\r\n");
    ASSERT_EQ(asked.size(), 3u);
    EXPECT_EQ(asked[0].Kind, RenameKind::Weapon);
    EXPECT_EQ(asked[0].Name, "Gun");
    EXPECT_EQ(asked[0].Proposal, "Gun");
    EXPECT_EQ(asked[1].Name, "Taken");
    EXPECT_EQ(asked[1].Proposal, "Taken");
    EXPECT_EQ(asked[2].Name, "GunX");
}

TEST_F(SectionExportTest, SecondNameContainingTheFirstGetsItsOwnNewName) {
    // Warheads AP and APX come from the two weapons in one call: renaming AP first turns
    // APX into NEWX, which the closing step gives the second answer.
    ExportOptions o;
    o.IsWH = o.IsWHCom = true;
    answers = {"NEW", "OTHER"};
    EXPECT_EQ(BuildSectionExport(env, o, "HTNK"),
              "[HTNK]\r\nName=Heavy Tank\r\nPrimary=Gun\r\nSecondary=GunX\r\nStrength=400\r\n"
              "\r\n[NEW]\r\nVerses=100%\r\n"
              "\r\n[OTHER]\r\nVerses=50%\r\n");
    ASSERT_EQ(asked.size(), 2u);
    EXPECT_EQ(asked[0].Kind, RenameKind::Warhead);
    EXPECT_EQ(asked[1].Name, "APX");
}

TEST_F(SectionExportTest, UnitRenameChangesOnlyTheHeaderAndProposesTheListedId) {
    ExportOptions o;
    o.IsNameCom = true;
    answers = {"Taken", "HTNK2"};
    EXPECT_EQ(BuildSectionExport(env, o, "HTNK"),
              "[HTNK2]\r\nName=Heavy Tank\r\nPrimary=Gun\r\nSecondary=GunX\r\nStrength=400\r\n");
    ASSERT_EQ(asked.size(), 2u);
    EXPECT_EQ(asked[0].Kind, RenameKind::Unit);
    EXPECT_EQ(asked[0].Name, "HTNK");
    EXPECT_EQ(asked[1].Name, "Taken");
    EXPECT_EQ(asked[1].Proposal, "HTNK");
}

TEST_F(SectionExportTest, AnEmptyAnswerAbandonsTheExport) {
    ExportOptions o;
    o.IsNameCom = true;
    EXPECT_EQ(BuildSectionExport(env, o, "HTNK"), std::nullopt);
    o = {};
    o.IsWeapon = o.IsWepCom = true;
    answers = {"Cannon"};
    EXPECT_EQ(BuildSectionExport(env, o, "HTNK"), std::nullopt); // GunX left unanswered
}

TEST_F(SectionExportTest, ASectionWithoutLinesDoesNotCountAsPresent) {
    PutFile(rules, "[U]\r\nPrimary=Empty\r\n[Empty]\r\nDamage=1\r\n");
    ExportOptions o;
    o.IsWeapon = o.IsWepCom = o.IsNameCom = true;
    EXPECT_EQ(BuildSectionExport(env, o, "U"), "[U]\r\nPrimary=Empty\r\n\r\n[Empty]\r\nDamage=1\r\n");
    EXPECT_TRUE(asked.empty());
}

TEST_F(SectionExportTest, EditedTextTakesItsFirstHeaderAndGetsTheStoredWeaponsAppended) {
    ExportOptions o;
    o.IsWeapon = true;
    const std::string edited = "[HTNK]\r\nPrimary=Gun\r\nStrength=500\r\n\r\n[Gun]\r\nDamage=99\r\n";
    EXPECT_EQ(BuildEditedExport(env, o, edited, "HTNK"),
              "[HTNK]\r\nPrimary=Gun\r\nStrength=500\r\n\r\n[Gun]\r\nDamage=99\r\n"
              "\r\n[Gun]\r\nDamage=10\r\nWarhead=AP\r\n"
              "\r\n[GunX]\r\nDamage=20\r\nWarhead=APX\r\n");

    // An edited first header is the name tested and kept; the old header line stays below it.
    o = {};
    o.IsNameCom = true;
    answers = {"Mine"};
    EXPECT_EQ(BuildEditedExport(env, o, "[Taken]\r\nStrength=1\r\n", "HTNK"), "[Mine]\r\n[Taken]\r\nStrength=1\r\n");
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].Name, "Taken");
    EXPECT_EQ(asked[0].Proposal, "HTNK");

    // Unanswered: nothing to write.
    EXPECT_EQ(BuildEditedExport(env, o, "[HTNK]\r\nStrength=1\r\n", "HTNK"), std::nullopt);
}

TEST(RenamePromptTest, TextsAndTitles) {
    EXPECT_EQ(RenamePromptText(RenameKind::Unit, u"HTNK"), u"注册名：HTNK已存在，请修改名称。");
    EXPECT_EQ(RenamePromptTitle(RenameKind::Unit), u"修改注册名");
    EXPECT_EQ(RenamePromptText(RenameKind::Weapon, u"Gun"), u"武器：Gun已存在！请修改名称。");
    EXPECT_EQ(RenamePromptTitle(RenameKind::Weapon), u"修改武器名称");
    EXPECT_EQ(RenamePromptText(RenameKind::Warhead, u"AP"), u"弹头：AP已存在！请修改名称。");
    EXPECT_EQ(RenamePromptTitle(RenameKind::Warhead), u"修改弹头名称");
    EXPECT_EQ(ExportFileBytes("[A]\r\n"), "[A]\r\n\r\n");
}

} // namespace

namespace {

TEST(SafeFileNameTest, CharactersAFileNameCannotHoldBecomeUnderscores) {
    const struct {
        std::u16string in, out;
    } cases[] = {
        {u"光棱坦克", u"光棱坦克"},
        {u"\"Tank\" v2?", u"_Tank_ v2_"},
        {u"a/b\\c:d*e<f>g|h", u"a_b_c_d_e_f_g_h"},
        {u"tab\there", u"tab_here"},
        {u"", u""},
    };
    for (const auto &c : cases) EXPECT_EQ(SafeFileName(c.in), c.out);
}

} // namespace
